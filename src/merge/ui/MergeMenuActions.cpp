#include "merge/ui/MergeMenuActions.h"

#include "merge/ui/CompareAndMergeController.h"
#include "merge/ui/CopyPersonFromOtherModel.h"
#include "merge/ui/DuplicatePeople.h"
#include "merge/ui/MergeIntoSelectedPerson.h"
#include "merge/ui/MergeTwoPeople.h"

#include "diagrams/CdPerson.h"
#include "diagrams/DiagramHooks.h"

#include "shell/ui/AppController.h"
#include "shell/ui/DOvurDocument.h"
#include "shell/ui/DocumentController.h"
#include "shell/ui/QtBackupPanel.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"

#include <QMainWindow>

void MergeMenuActions::registerMenuItems(AppController& app)
{
    const QString menu = QStringLiteral("Merge");
    app.addMenuItem(menu, QStringLiteral("Compare and Merge..."), [] { compareAndMerge(); });
    app.addMenuItem(menu, QStringLiteral("Merge a Person from Another Database..."),
        [] { mergeSelectedPersonFromAnotherDatabase(); });
    app.addMenuItem(menu, QStringLiteral("Merge Two People..."), [] { mergeTwoPeopleWithinTheCurrentDatabase(); });
    app.addMenuItem(QStringLiteral("People"), QStringLiteral("Find Duplicate People..."), [] { findDuplcatePeople(); });
}

void MergeMenuActions::install()
{
    DiagramHooks::shared().copyPersonFromOtherModel = &MergeMenuActions::copyPersonFromOtherModel;
    DiagramHooks::shared().mergeSelectedPersonFromAnotherDatabase
        = [](FTPerson* person) { mergeSelectedPersonFromAnotherDatabase(person); };
}

void MergeMenuActions::copyPersonFromOtherModel(FTPerson* sourcePerson, CdPerson* targetBox, FTMoc*, FTMoc* target)
{
    if (!sourcePerson || !targetBox || !targetBox->owner() || !targetBox->owner()->person())
        return;
    QWidget* mainWindow = nullptr;
    for (DOvurDocument* doc : DocumentController::shared().documents())
        if (doc->moc() == target)
            mainWindow = doc->dovurWindow();
    CopyPersonFromOtherModel window(sourcePerson, targetBox->owner()->person(), targetBox->ancLevel(),
                                    targetBox->pcRelType(), mainWindow);
    QtBackupPanel panel;
    window.setBackupPanel(&panel);
    window.exec();
}

void MergeMenuActions::findDuplcatePeople()
{
    if (DOvurDocument* doc = AppController::documentForCommand(true))
        doc->beginSheet(new DuplicatePeople(doc->moc()));
}

void MergeMenuActions::compareAndMerge()
{
    AppController::compareAndMerge(&MergeMenuActions::makeCompareAndMerge);
}

QWidget* MergeMenuActions::makeCompareAndMerge(DOvurDocument& doc)
{
    FTMoc* moc = doc.moc();
    return moc ? new CompareAndMergeController(moc, moc->modelName()) : nullptr;
}

void MergeMenuActions::mergeSelectedPersonFromAnotherDatabase(FTPerson* person)
{
    DOvurDocument* doc = nullptr;
    if (person) {
        // The diagram's box may be in any open document's window, not only the current one.
        for (DOvurDocument* d : DocumentController::shared().documents())
            if (d->moc() == person->moc() && d->dovurWindow())
                doc = d;
        if (doc)
            doc->prepareForCommand();
    } else {
        doc = AppController::documentForCommand();
    }
    FTMoc* moc = doc ? doc->moc() : nullptr;
    if (!moc)
        return;
    doc->addChildWindow(new MergeIntoSelectedPerson(moc, moc->modelName(), person));
}

void MergeMenuActions::mergeTwoPeopleWithinTheCurrentDatabase()
{
    AppController::mergeTwoPeopleWithinTheCurrentDatabase(&MergeMenuActions::makeMergeTwoPeople);
}

QDialog* MergeMenuActions::makeMergeTwoPeople(FTMoc* moc, const QList<FTPerson*>& candidates)
{
    if (!moc)
        return nullptr;
    // Over the database's own window, centred on it.
    QWidget* parent = nullptr;
    for (DOvurDocument* d : DocumentController::shared().documents())
        if (d->moc() == moc)
            parent = d->dovurWindow();
    return new MergeTwoPeople(moc, candidates, parent);
}
