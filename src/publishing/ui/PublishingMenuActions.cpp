#include "publishing/ui/PublishingMenuActions.h"

#include "publishing/ui/ExportBirthdaysTo_iCal.h"
#include "publishing/ui/ExportPeopleToAddressBook.h"
#include "publishing/ui/GoogleMaps.h"
#include "publishing/ui/PublishAsHtmlSheet.h"
#include "publishing/ui/BurnDiscSheet.h"
#include "publishing/ui/PrepareForUpload.h"
#include "publishing/ui/UploadToSiteFolder.h"

#include "publishing/DiscBurner.h"

#include "model/FTEvent.h"
#include "model/ModelHooks.h"

#include "shell/DisplayMsg.h"
#include "shell/Utils.h"
#include "shell/ui/AppController.h"
#include "shell/ui/DOvurDocument.h"
#include "shell/ui/DocumentController.h"

#include "platform/Localizer.h"
#include "platform/UserDefaults.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMainWindow>

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}
}

void PublishingMenuActions::registerMenuItems(AppController& app)
{
    const QString file = QStringLiteral("File");
    app.addMenuItem(file, QStringLiteral("Export Birthdays to Calendar (iCal)..."), [] { exportBirthDaysToICal(); });
    app.addMenuItem(file, QStringLiteral("Export People as Contact Cards (vCard)..."),
                    [] { exportPeopleToAddressBook(); });
    app.addMenuItem(file, QStringLiteral("Export to XML File..."), [] { exportToXMLFile(); });
    const QString publish = QStringLiteral("Publish");
    app.addMenuItem(publish, QStringLiteral("Generate Web Pages..."), [] { generateHtmlWebPages(); });
    app.addMenuItem(publish, QStringLiteral("Prepare Pages for Another Web Site..."),
                    [] { prepareForUploadToOtherWebSite(); });
    app.addMenuItem(publish, QStringLiteral("Publish to a Site Folder..."), [] { uploadToSiteFolder(); });
    app.addMenuItem(publish, QStringLiteral("Burn Latest Web Pages to CD or DVD..."), [] {
        burnCdOrDvd(UserDefaults::standard().stringForKey(QStringLiteral("mostRecentWebPagesFolder")));
    });
    app.addMenuItem(publish, QStringLiteral("Burn Other Folder to CD or DVD..."),
                    [] { burnCdOrDvd(QStringLiteral("Other...")); });
    app.addMenuItem(publish, QStringLiteral("Sync to iPhone"), [] { syncToiPhone(); });
}

void PublishingMenuActions::install()
{
    ModelHooks::shared().openMapWindow = [](FTEvent& event, QObject* parent, std::function<void()> didEnd) {
        QWidget* window = qobject_cast<QWidget*>(parent);
        if (!window)
            if (DOvurDocument* doc = DocumentController::shared().currentDocument())
                window = doc->dovurWindow();
        if (window)
            GoogleMaps::beginSheet(event, window->window(), std::move(didEnd));
    };
}

void PublishingMenuActions::exportBirthDaysToICal()
{
    if (DOvurDocument* doc = AppController::documentForCommand(false)) {
        ExportBirthdaysTo_iCal window(doc->moc(), doc->dovurWindow());
        window.setWindowModality(Qt::ApplicationModal);
        window.exec();
    }
}

void PublishingMenuActions::exportPeopleToAddressBook()
{
    if (DOvurDocument* doc = AppController::documentForCommand(false)) {
        ExportPeopleToAddressBook window(doc->moc(), doc->dovurWindow());
        window.setWindowModality(Qt::ApplicationModal);
        window.exec();
    }
}

void PublishingMenuActions::generateHtmlWebPages()
{
    // The pages are written from the saved database: editing ends and the changes are saved first.
    if (DOvurDocument* doc = AppController::documentForCommand(true))
        doc->beginSheet(new PublishAsHtmlSheet(doc->moc()));
}

void PublishingMenuActions::prepareForUploadToOtherWebSite()
{
    if (DOvurDocument* doc = AppController::documentForCommand(true)) {
        PrepareForUpload window(doc->moc(), doc->dovurWindow());
        window.setWindowModality(Qt::ApplicationModal);
        window.exec();
    }
}

void PublishingMenuActions::uploadToSiteFolder()
{
    if (!AppController::documentForCommand(false))
        return;
    if (!Utils::displayYesNoQuery(L("UploadPrivacyAcknowledgement"), L("Continue"), L("Cancel")))
        return;
    if (DOvurDocument* doc = AppController::documentForCommand(true)) {
        UploadToSiteFolder window(doc->moc(), doc->dovurWindow());
        window.setWindowModality(Qt::ApplicationModal);
        window.exec();
    }
}

PublishingMenuActions::BurnPanels& PublishingMenuActions::burnPanels()
{
    static BurnPanels panels {
        [](QWidget* parent, const QString& start) {
            return QFileDialog::getExistingDirectory(parent, L("SelectCdFolder"), start);
        },
        [](QString* error) { return DiscBurner::drives(error); },
    };
    return panels;
}

void PublishingMenuActions::burnCdOrDvd(const QString& title)
{
    DOvurDocument* doc = AppController::documentForCommand(false);
    if (!doc)
        return;
    const QString reports = Utils::reportsDirectory();
    QString folder;
    if (title.startsWith(QLatin1String("Other"))) {
        folder = burnPanels().chooseFolder ? burnPanels().chooseFolder(doc->dovurWindow(), reports) : QString();
        if (folder.isEmpty())
            return;
    } else {
        folder = reports + QLatin1Char('/') + title;
        // No name at all is a folder that is gone too: never the whole Reports folder.
        if (title.isEmpty() || !QFileInfo(folder).isDir()) {
            DisplayMsg(L("BurnCdError"));
            UserDefaults::standard().removeObject(QStringLiteral("mostRecentWebPagesFolder"));
            return;
        }
    }
    QString error;
    const QStringList drives = burnPanels().drives ? burnPanels().drives(&error) : QStringList();
    if (drives.isEmpty()) {
        DisplayMsg(error.isEmpty() ? L("NoBurnDrive") : QStringLiteral("%1\n%2").arg(L("NoBurnProgram"), error));
        return;
    }
    doc->beginSheet(new BurnDiscSheet(folder, drives));
}

void PublishingMenuActions::syncToiPhone()
{
    AppController::documentForCommand(false);
    DisplayMsg(L("iPhoneNotAvailable"));
}

void PublishingMenuActions::exportToXMLFile()
{
    AppController::documentForCommand(false);
    DisplayMsg(L("ExportXmlWarn"));
}
