#include "publishing/ui/PublishingMenuActions.h"

#include "publishing/ui/ExportBirthdaysTo_iCal.h"
#include "publishing/ui/ExportPeopleToAddressBook.h"
#include "publishing/ui/GoogleMaps.h"
#include "publishing/ui/PublishAsHtmlSheet.h"

#include "model/FTEvent.h"
#include "model/ModelHooks.h"

#include "shell/ui/AppController.h"
#include "shell/ui/DOvurDocument.h"
#include "shell/ui/DocumentController.h"

#include <QMainWindow>

void PublishingMenuActions::registerMenuItems(AppController& app)
{
    const QString file = QStringLiteral("File");
    app.addMenuItem(file, QStringLiteral("Export Birthdays to Calendar (iCal)..."), [] { exportBirthDaysToICal(); });
    app.addMenuItem(file, QStringLiteral("Export People as Contact Cards (vCard)..."),
                    [] { exportPeopleToAddressBook(); });
    app.addMenuItem(QStringLiteral("Publish"), QStringLiteral("Generate Web Pages..."), [] { generateHtmlWebPages(); });
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
