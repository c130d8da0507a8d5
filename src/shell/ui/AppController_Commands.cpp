#include "shell/ui/AppController.h"

#include "shell/AppStartup.h"
#include "shell/DisplayMsg.h"
#include "shell/NewDatabase.h"
#include "shell/RecentDocuments.h"
#include "shell/Utils.h"
#include "shell/ui/AppControllerPrivate.h"
#include "shell/ui/CheckDatabaseIntegrity.h"
#include "shell/ui/DOvurApplication.h"
#include "shell/ui/DOvurDocument.h"
#include "shell/ui/DocumentController.h"
#include "shell/ui/DownloadLatestRelease.h"
#include "shell/ui/QtBackupPanel.h"

#include "model/FTMocUndoManager.h"
#include "model/FTModelDefaults.h"
#include "model/FTPerson.h"

#include "platform/Localizer.h"
#include "platform/Prompts.h"
#include "platform/UserDefaults.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>
#include <QMainWindow>

#include <algorithm>

namespace {
const QString kDataFolderName = QStringLiteral("KinloomData");

// Whether `folder` is `data` or lies inside it, compared by whole folder names with links resolved: a sibling whose
// name merely begins with the data folder's ("KinloomDataOld") is another folder.
bool isSameOrInside(const QString& folder, const QString& data)
{
    auto real = [](const QString& path) {
        const QString canonical = QFileInfo(path).canonicalFilePath();
        return canonical.isEmpty() ? QDir::cleanPath(QFileInfo(path).absoluteFilePath()) : canonical;
    };
    const QString f = real(folder), d = real(data);
    return f == d || f.startsWith(d + QLatin1Char('/'));
}

// The document of a command that needs a database with its main window.
DOvurDocument* documentWithWindow()
{
    DOvurDocument* doc = DocumentController::shared().currentDocument();
    return doc && doc->dovurWindow() ? doc : nullptr;
}
}

DOvurDocument* AppController::documentForCommand(bool save)
{
    DOvurDocument* doc = documentWithWindow();
    if (!doc)
        return nullptr;
    if (save)
        doc->prepareForCommand();
    else
        doc->endEditing();
    return doc;
}

void AppController::newDocument()
{
    QString modelName, personName, gender;
    if (!d->panels.newDatabase || !d->panels.newDatabase(&modelName, &personName, &gender))
        return;
    const QString path = NewDatabase::create(modelName.trimmed(), personName, gender.toUpper().left(1));
    if (!path.isEmpty())
        openDocumentWithContentsOfURL(path);
}

void AppController::openDocument()
{
    const QString path = d->panels.openDatabase ? d->panels.openDatabase() : QString();
    if (path.isEmpty())
        return;
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (AppStartup::isInTrash(absolute)) {
        DisplayMsg(QStringLiteral("File %1\n\n was ignored because it is in the Trash").arg(absolute));
        return;
    }
    FTMoc::OpenError error;
    if (docController().openDocumentWithContentsOfURL(absolute, true, &error))
        RecentDocuments::noteNewRecentDocument(absolute);
    else if (error.code == FTMoc::kWrongModelVersionErrorCode)
        migrateDatabase(absolute);
}

void AppController::moveDataDirectory()
{
    if (!docController().documents().isEmpty()) {
        DisplayMsg(QStringLiteral("Please close all open databases and try again."));
        return;
    }
    const QString data = Utils::KinloomDataDirectory();
    if (data.isEmpty())
        return;
    const QString chosen = d->panels.chooseFolder ? d->panels.chooseFolder(data) : QString();
    Utils::sleep(50);
    if (chosen.isEmpty())
        return;
    const QString folder = QFileInfo(chosen).absoluteFilePath();
    if (isSameOrInside(folder, data)) {
        DisplayMsg(QStringLiteral("You cannot move the folder to be a sub-folder of itself"));
        return;
    }
    const QString target = QStringLiteral("%1/%2").arg(folder, kDataFolderName);
    // rename() never replaces an existing folder.
    if (QFileInfo::exists(target) || !QDir().rename(data, target)) {
        DisplayMsg(QStringLiteral("Unable to move the %1 folder to:\n\n%2").arg(kDataFolderName, target));
        return;
    }
    UserDefaults::standard().setString(QStringLiteral("KinloomDataDirectory"), target);
    // The recent databases moved with the folder.
    QStringList recent = RecentDocuments::paths();
    for (QString& path : recent)
        if (path.startsWith(data + QLatin1Char('/')))
            path = target + path.mid(data.size());
    UserDefaults::standard().setObject(RecentDocuments::kKey, recent);
    DisplayMsg(QStringLiteral("%1\n\nhas been moved to:\n\n%2").arg(data, target));
}

void AppController::closeCurrentDocument()
{
    if (DOvurDocument* doc = documentWithWindow()) {
        doc->showWindows();
        doc->performClose();
    }
}

void AppController::backupCurrentDatabase()
{
    DOvurDocument* doc = documentForCommand(false);
    if (!doc)
        return;
    if (const QString refusal = Utils::saveBeforeBackup(*doc->moc()); !refusal.isEmpty()) {
        Utils::displayMsgWithTitle(LocalizedString("bkupWarnTitle"), refusal);
        return;
    }
    QtBackupPanel panel;
    Utils::backupCurrentModel(doc->fileURL(), panel);
}

void AppController::checkDatabaseIntegrity()
{
    DOvurDocument* doc = documentForCommand();
    if (!doc)
        return;
    // The first save of an older database may have put its event-type sheet up: that one comes first.
    if (doc->hasAttachedSheet())
        return;
    doc->beginSheet(new CheckDatabaseIntegrity(doc->moc()));
}

void AppController::metadataFromGedcomLoad()
{
    DOvurDocument* doc = documentWithWindow();
    if (!doc)
        return;
    const QVariantMap info = doc->moc()->metadata().value(QStringLiteral("GedcomLoadInformation")).toMap();
    if (info.isEmpty()) {
        DisplayMsg(QStringLiteral("No Gedcom Load metadata was found"));
        return;
    }
    const QString dateKey = QStringLiteral("Date Gedcom file was read");
    QStringList keys = info.keys();
    keys.removeAll(dateKey);
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(keys.begin(), keys.end(), [&](const QString& a, const QString& b) { return collator.compare(a, b) < 0; });
    QString text = QStringLiteral("\n");
    for (const QString& key : keys)
        text += QStringLiteral("%1: %2\n\n").arg(key, info.value(key).toString());
    Utils::displayMsgWithTitle(
        QStringLiteral("The following Gedcom file was loaded on %1").arg(info.value(dateKey).toString()), text);
}

void AppController::printDocument()
{
    DisplayMsg(QStringLiteral("Sorry, no print functions yet."));
}

void AppController::promoteToFocalPerson()
{
    DOvurDocument* doc = documentWithWindow();
    if (!doc)
        return;
    UserDefaults& defaults = UserDefaults::standard();
    const QString hintKey = QStringLiteral("promoteToFocalPersonHints");
    if (const qlonglong hints = defaults.integerForKey(hintKey); hints < 2) {
        defaults.setInteger(hintKey, hints + 1);
        DisplayMsg(QStringLiteral("You can also promote a person to be the Focal Person by:\n\n Double click on any "
                                  "person\n Ctrl+Click on any person\n Ctrl+Up or Down Arrow keys\n Right click and "
                                  "select \"Promote ...\"\n Using the toolbar Search Field\n Using the toolbar "
                                  "Previous Focal People\n Using the People Index"));
    }
    FTMoc* moc = doc->moc();
    FTPerson* selected = moc->selectedPerson();
    if (!selected)
        return;
    if (selected == moc->focalPerson()) {
        DisplayMsg(QStringLiteral("The Selected Person is already the Focal Person."));
        return;
    }
    moc->undoManager()->setActionName(
        QStringLiteral("%1 %2").arg(LocalizedString("FocusOn"), selected->nameWithBirthAndDeathYears()));
    moc->setFocalPerson(selected);
}

void AppController::saveData()
{
    // What is being typed is stored with the rest; a refused edit stays in its field (its check has said why).
    documentForCommand(true);
    Utils::displayMsgWithTitle(
        QStringLiteral("Kinloom automatically saves your data."),
        QStringLiteral("Kinloom will save your data nearly every time you make a change. There is no need to manually "
                       "invoke a save.\n\nIf the power fails you will normally lose nothing more than the changes in "
                       "the current data entry field. If you are working in a pop-up dialog when the power fails then "
                       "you may also lose the changes in other fields that have been edited since you invoked that "
                       "pop-up dialog.\n\nIn Kinloom there is no \"Save As\" menu option - please use \"Backup "
                       "Current Database...\""));
}

void AppController::undo()
{
    if (DOvurApplication::sendUndoToDialog(false))
        return;
    // What is being typed becomes a step of its own first: typed text that the step's replay wrote would join the
    // step replayed, and the next redo would lose it. A refused edit stops the undo (its check has said why).
    if (DOvurDocument* doc = documentWithWindow(); doc && doc->endEditing())
        doc->undo();
}

void AppController::redo()
{
    if (DOvurApplication::sendUndoToDialog(true))
        return;
    // As undo: what is being typed becomes a step of its own first.
    if (DOvurDocument* doc = documentWithWindow(); doc && doc->endEditing())
        doc->redo();
}

void AppController::downloadLatestRelease()
{
    DownloadLatestRelease::showWindow();
}

void AppController::comingSoon(const QString& menuTitle, const QString& itemTitle)
{
    DisplayMsg(QStringLiteral("Sorry, but the menu option\n\n\"%1 - %2\" \n\nis not available in this version of %3.")
                   .arg(menuTitle, itemTitle, Prompts::kAlertTitle));
}
