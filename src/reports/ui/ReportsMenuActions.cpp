#include "reports/ui/ReportsMenuActions.h"

#include "reports/ui/AncestorsByGenerationReport.h"
#include "reports/ui/AncestorsReport.h"
#include "reports/ui/DataValidationReport.h"
#include "reports/ui/DatabaseChangesReport.h"
#include "reports/ui/EventsReport.h"
#include "reports/ui/EventsWithNoSourceReferences.h"
#include "reports/ui/FamilyGroupSheetDialog.h"
#include "reports/ui/OnThisDay.h"
#include "reports/ui/PersonalTimeline.h"
#include "reports/ui/FilteredPeopleReport.h"
#include "reports/ui/IndexOfPeople.h"
#include "reports/ui/PeopleWithoutAncestors.h"
#include "reports/ui/PicturesReport.h"
#include "reports/ui/RelativesReport.h"
#include "reports/ui/SourcesReport.h"
#include "reports/ui/StatisticsReport.h"

#include "diagrams/DiagramHooks.h"
#include "editor/ui/EditorHooks.h"

#include "model/FTMoc.h"

#include "shell/Utils.h"
#include "shell/ui/AppController.h"
#include "shell/ui/DOvurDocument.h"
#include "shell/ui/DocumentController.h"
#include "shell/ui/ToolbarController.h"

#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"

#include <QApplication>
#include <QFileDialog>
#include <QMainWindow>

namespace {
QStringList fileDialog(const QString& folder)
{
    QFileDialog dialog(QApplication::activeWindow(),
        QStringLiteral("%1: %2").arg(LocalizedString(QStringLiteral("PreviousReportsTitle")),
            LocalizedString(QStringLiteral("SelectMultipleFiles"))),
        folder);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles() : QStringList();
}

// The sheet on a window that is not a document's (the person editor hands over its own window).
void beginSheetOn(QWidget* window, QDialog* sheet)
{
    if (window)
        sheet->setParent(window, sheet->windowFlags() | Qt::Sheet);
    sheet->setWindowModality(window ? Qt::WindowModal : Qt::ApplicationModal);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    sheet->open();
}

// A listing's sheet on the current document's main window, named for its database; `save` saves first.
template <class Sheet> void beginListingSheet(bool save)
{
    if (DOvurDocument* doc = AppController::documentForCommand(save)) {
        auto* sheet = new Sheet(doc->moc());
        sheet->setModelName(doc->modelName());
        doc->beginSheet(sheet);
    }
}
}

ReportsMenuActions::OpenPanel& ReportsMenuActions::openPanel()
{
    static OpenPanel panel = fileDialog;
    return panel;
}

void ReportsMenuActions::registerMenuItems(AppController& app)
{
    const QString reports = QStringLiteral("Reports");
    app.addMenuItem(reports, QStringLiteral("Ancestors Report..."), [] { generateNarrativeReport(0); });
    app.addMenuItem(reports, QStringLiteral("Descendants Report..."), [] { generateNarrativeReport(1); });
    app.addMenuItem(reports, QStringLiteral("Individual's Report..."), [] { generateNarrativeReport(2); });
    app.addMenuItem(
        reports, QStringLiteral("Ancestors by Generation Report..."), [] { ancestorsByGenerationReport(); });
    app.addMenuItem(reports, QStringLiteral("Family Group Sheet..."), [] { generateFamilyGroupSheet(); });
    app.addMenuItem(reports, QStringLiteral("Filtered People Report..."), [] { generateFilteredPeopleReport(); });
    app.addMenuItem(
        reports, QStringLiteral("People Without Ancestors..."), [] { generatePeopleWithoutAncestorsReport(); });
    app.addMenuItem(reports, QStringLiteral("Sources Report..."), [] { sourcesReport(); });
    app.addMenuItem(reports, QStringLiteral("Pictures Report..."), [] { generatePicturesReport(); });
    app.addMenuItem(reports, QStringLiteral("Statistics..."), [] { statisticsReport(); });
    app.addMenuItem(reports, QStringLiteral("Data Validation Report..."), [] { generateDataValidationReport(); });
    app.addMenuItem(reports, QStringLiteral("Database Changes Report..."), [] { databaseChangesReport(); });
    app.addMenuItem(reports, QStringLiteral("Events Report..."), [] { generateTableOfEvents(); });
    app.addMenuItem(QStringLiteral("Events"), QStringLiteral("Events without Source References..."),
        [] { eventsWithNoSourceReferences(); });
    app.addMenuItem(reports, QStringLiteral("Previous Reports..."), [] { previousReports(); });
    app.addMenuItem(QStringLiteral("Events"), QStringLiteral("On This Day..."), [] { onThisDay(); });
    const QString people = QStringLiteral("People");
    app.addMenuItem(people, QStringLiteral("People Index"), [] { peopleIndex(); });
    app.addMenuItem(people, QStringLiteral("Relationship to Focal Person..."), [] { relationshipToFocalPerson(); });
}

void ReportsMenuActions::install()
{
    EditorHooks::shared().narrativeReportSheet = [](QWidget* window, FTMoc* moc, int reportType) {
        auto* sheet = new AncestorsReport(moc, reportType);
        sheet->setOneLinePerPerson(true);
        beginSheetOn(window, sheet);
    };
    EditorHooks::shared().personalTimeline = [](QWidget* window, FTPerson* person) {
        if (!person)
            return;
        PersonalTimeline timeline(person, window);
        timeline.exec();
    };
    ToolbarController::setItemHandler(
        ToolbarController::kPeopleIndex, [](DOvurDocument& document) { IndexOfPeople::peopleIndexWindow(&document); });
    DiagramHooks::shared().peopleIndex = [](FTMoc* moc) {
        for (DOvurDocument* document : DocumentController::shared().documents())
            if (document->moc() == moc)
                IndexOfPeople::peopleIndexWindow(document);
    };
}

void ReportsMenuActions::uninstall()
{
    EditorHooks::shared().narrativeReportSheet = nullptr;
    EditorHooks::shared().personalTimeline = nullptr;
    ToolbarController::setItemHandler(ToolbarController::kPeopleIndex, nullptr);
    DiagramHooks::shared().peopleIndex = nullptr;
}

void ReportsMenuActions::peopleIndex()
{
    // The index only shows the database: nothing to save first.
    if (DOvurDocument* doc = AppController::documentForCommand(false))
        IndexOfPeople::peopleIndexWindow(doc);
}

void ReportsMenuActions::relationshipToFocalPerson()
{
    DOvurDocument* doc = AppController::documentForCommand(true);
    if (!doc)
        return;
    FTMoc* moc = doc->moc();
    doc->beginSheet(new RelativesReport(moc, moc->focalPerson(), moc->selectedPerson()));
}

void ReportsMenuActions::generateNarrativeReport(int reportType)
{
    if (DOvurDocument* doc = AppController::documentForCommand(true))
        doc->beginSheet(new AncestorsReport(doc->moc(), reportType));
}

void ReportsMenuActions::ancestorsByGenerationReport()
{
    if (DOvurDocument* doc = AppController::documentForCommand(true))
        doc->beginSheet(new AncestorsByGenerationReport(doc->moc()));
}

void ReportsMenuActions::generateFilteredPeopleReport()
{
    beginListingSheet<FilteredPeopleReport>(false);
}

void ReportsMenuActions::generatePeopleWithoutAncestorsReport()
{
    beginListingSheet<PeopleWithoutAncestors>(false);
}

void ReportsMenuActions::sourcesReport()
{
    beginListingSheet<SourcesReport>(true);
}

void ReportsMenuActions::generatePicturesReport()
{
    beginListingSheet<PicturesReport>(true);
}

void ReportsMenuActions::statisticsReport()
{
    beginListingSheet<StatisticsReport>(true);
}

void ReportsMenuActions::generateDataValidationReport()
{
    beginListingSheet<DataValidationReport>(true);
}

void ReportsMenuActions::databaseChangesReport()
{
    beginListingSheet<DatabaseChangesReport>(true);
}

void ReportsMenuActions::generateTableOfEvents()
{
    beginListingSheet<EventsReport>(true);
}

void ReportsMenuActions::eventsWithNoSourceReferences()
{
    if (DOvurDocument* doc = AppController::documentForCommand(true))
        doc->beginSheet(new EventsWithNoSourceReferences(doc->moc()),
            [](int) { NotificationCenter::defaultCenter().post(QStringLiteral("RefreshAllViews")); });
}

void ReportsMenuActions::previousReports()
{
    const QStringList files = openPanel() ? openPanel()(Utils::reportsDirectory()) : QStringList();
    for (const QString& path : files)
        Utils::displayFile(path, QString());
}

void ReportsMenuActions::onThisDay()
{
    // Only reads the database: no editing is ended and nothing is saved.
    DOvurDocument* doc = DocumentController::shared().currentDocument();
    if (!doc || !doc->moc())
        return;
    OnThisDay window(doc->moc(), doc->dovurWindow());
    window.exec();
}

FamilyGroupSheetDialog* ReportsMenuActions::generateFamilyGroupSheet()
{
    // Opens beside the main window and leaves the database as it is: nothing is saved.
    DOvurDocument* doc = AppController::documentForCommand(false);
    FTPerson* person = doc && doc->moc() ? doc->moc()->selectedPerson() : nullptr;
    if (!person)
        return nullptr;
    auto* window = new FamilyGroupSheetDialog(person, doc->dovurWindow());
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}
