// kinloom-bench-app-sources [PEOPLE]
// The sources editor on the offscreen platform over a synthetic family database of PEOPLE people (default
// 100,000), topped up to 10,000 sources and 100,000 citations, one source holding 20,000 of them, and 300 sources
// that equal another. Prints one figure a line as "name: value":
//   open_ms                   the editor made and drawn on the 20,000-citation source, with its first where-used rows
//   filter_ms_<option>        one keystroke's filtering of the list for each search option (median of five texts);
//                             filter_ms_any_first is the first "any field" search, before any text was kept folded
//   sort_ms_<column>          a click on a header of the source list
//   select_big_source_ms      selecting the 20,000-citation source from another one, drawn
//   sort_where_used_ms        a click on the where-used table's header with 20,000 rows
//   merge_equal_ms            merging the equal sources (the log is written and handed to a stand-in application)
//   renumber_ms               renumbering every source afterwards, the list reloaded
//   source_menu_ms_<option>   a source menu button's click: the sources grouped by type and the option, and the
//                             menu shown (median of five)
//   source_submenu_ms         the largest type's submenu filled and shown (grouped by title)
//   citations_page_ms         the person editor's citations page chosen for a person with 1,000 citations, its
//                             rows measured and drawn (median of five)
//   review_step_ms            one step of the review of source citations to the next source by number (median of
//                             201 steps through the 10,000 sources)
//   review_report_ms          the review's RTF report of the 20,000-citation source, written and handed to a
//                             stand-in application
//   clone_1000_ms             copying 1,000 sources of another database (half of them held here already) into
//                             this one
//   open_other_db_s           a second database of PEOPLE people chosen in the clone window, read and its sources
//                             listed (busy pointer meanwhile)
//   peak_mb                   peak resident memory
// Everything is written into a temporary folder of its own.
#include "BenchSupport.h"

#include "sources/SelectASourceDelegate.h"
#include "sources/SourceCloner.h"
#include "sources/SourceReferencesReport.h"
#include "sources/SourceReferencesReview.h"
#include "sources/SourceListModel.h"
#include "sources/SourceMenuModel.h"
#include "sources/SourceSearch.h"
#include "sources/WhereUsedModel.h"
#include "sources/ui/CloneSources.h"
#include "sources/ui/OtherDatabaseChooser.h"
#include "sources/ui/SelectASourceButton.h"
#include "sources/ui/SourceCitingSetup.h"
#include "sources/ui/SourcesAddModDel.h"
#include "sources/ui/WhereUsedTableView.h"

#include "editor/ui/InfoAreaController.h"
#include "editor/ui/PersonEditorSetup.h"

#include "shell/FirstRunDefaults.h"
#include "shell/ui/DOvurApplication.h"
#include "shell/ui/DOvurDocument.h"
#include "shell/ui/DocumentController.h"

#include "model/FTMoc.h"
#include "model/FTMocUndoManager.h"
#include "model/FTModelDefaults.h"
#include "model/FTPerson.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"
#include "model/SyntheticDatabase.h"

#include "platform/Localizer.h"
#include "platform/Prompts.h"
#include "platform/ScriptedPrompts.h"
#include "platform/UserDefaults.h"
#include "platform/Workspace.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QTabWidget>

#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

namespace {
constexpr int kSources = 10000;
constexpr int kCitations = 100000;
constexpr int kBigSource = 20000;
constexpr int kEqualSources = 300;

double elapsedMs(QElapsedTimer& t)
{
    return t.nsecsElapsed() / 1e6;
}

void write(const QString& path, const QByteArray& text)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(text);
}

// A text/plain application that does nothing, so that opening the merge log starts no real program.
void installStandInApplication(const QString& folder)
{
    QDir().mkpath(folder + "/data/applications");
    QDir().mkpath(folder + "/config");
    write(folder + "/data/applications/nothing.desktop",
          "[Desktop Entry]\nType=Application\nName=Nothing\nExec=true %f\nMimeType=text/plain;\n");
    write(folder + "/config/mimeapps.list", "[Default Applications]\ntext/plain=nothing.desktop;\n");
    Workspace::shared().setSearchPaths({folder + "/data"}, {folder + "/config"});
}

const char* const kTypes[] = {"Census", "Parish Register", "Will", "Birth Certificate", "Newspaper", "Book",
                              "Military Record", "Directory", "Letter", ""};
const char* const kPlaces[] = {"Kew", "Richmond", "Zürich", "Dublin", "Cork", "Bath", "York", "Leeds"};

// Sources up to kSources (kEqualSources of them equal to another), citations of people up to kCitations, the
// first new source holding kBigSource. Not recorded for undo; saved.
FTSource* topUp(FTMoc* moc)
{
    std::mt19937 rng(7);
    moc->undoManager()->disableUndoRegistration();
    QList<FTSource*> sources = moc->fetch<FTSource>();
    QList<FTSource*> made;
    int number = moc->modelDefaults()->maxSourceId();
    while (sources.size() < kSources) {
        auto* s = moc->insertObject<FTSource>();
        s->setNumericId(++number);
        const qsizetype i = sources.size();
        if (made.size() > 1 && i >= kSources - kEqualSources) {
            const FTSource* twin = made[qsizetype(rng() % (made.size() - 1)) + 1];
            for (const char* key : {"type", "title", "abbreviatedTitle", "author", "date", "location", "notes", "publisher"})
                if (!twin->isNil(Key(key)))
                    s->setValueForKey(key, twin->valueForKey(key));
        } else {
            const char* place = kPlaces[rng() % std::size(kPlaces)];
            s->setType(QString::fromUtf8(kTypes[rng() % std::size(kTypes)]));
            s->setTitle(QStringLiteral("%1 records of %2, volume %3").arg(s->type().isEmpty() ? "Family" : s->type(),
                QString::fromUtf8(place)).arg(i));
            s->setAuthor(QStringLiteral("Clerk %1").arg(rng() % 500));
            s->setLocation(QString::fromUtf8(place));
            if (rng() % 3 == 0)
                s->setNotes(QStringLiteral("Transcribed from film %1, item %2.\nSeen at the archive.").arg(rng() % 9000).arg(rng() % 40));
            if (rng() % 2)
                s->setDate(QString::number(1750 + rng() % 200));
            made << s;
        }
        sources << s;
    }
    moc->modelDefaults()->setMaxSourceId(number);

    FTSource* big = made.first();
    const QList<FTPerson*> people = moc->fetch<FTPerson>();
    int citations = moc->count<FTSourceRel>();
    auto cite = [&](FTSource* s) {
        FTPerson* p = people[qsizetype(rng() % people.size())];
        auto* c = moc->insertObject<FTSourceRel>();
        c->setSource(s);
        c->setPerson(p);
        c->setReference(QStringLiteral("Folio %1").arg(rng() % 900 + 1));
        if (rng() % 4 == 0)
            c->setItemDescribed(QStringLiteral("Baptism"));
        ++citations;
    };
    for (int i = 0; i < kBigSource; ++i)
        cite(big);
    while (citations < kCitations)
        cite(sources[qsizetype(rng() % sources.size())]);
    moc->undoManager()->enableUndoRegistration();
    moc->saveMoc();
    return big;
}

// An owner of a source menu that cites nothing (only the menu is timed).
struct IdleOwner : SelectASourceDelegate {
    bool respondsToSourceSearch() const override { return true; }
};

// A click on a source menu button for each second-level option: the groups made and the menu shown.
std::vector<std::pair<QString, double>> timeSourceMenus(FTMoc* moc, double* submenuMs)
{
    IdleOwner owner;
    QWidget window;
    auto* button = new SelectASourceButton(&window);
    button->setMoc(moc);
    button->setDelegate(&owner);
    window.show();
    std::vector<std::pair<QString, double>> out;
    const QStringList names = SourceMenuModel::optionNames();
    for (int o = 0; o < names.size(); ++o) {
        SourceMenuModel::storeOptionName(names[o]);
        SelectASourceButton optionButton(&window);
        optionButton.setMoc(moc);
        optionButton.setDelegate(&owner);
        const double ms = medianMs(5, [&] {
            optionButton.openMenu(QPoint(10, 10));
            optionButton.shownMenu()->grab();
        });
        optionButton.shownMenu()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QString key = SourceMenuModel::optionKeys()[o].mid(QStringLiteral("SourceSearch").size()).toLower();
        out.emplace_back(key, ms);
    }
    // The largest type's submenu, grouped by title.
    SourceMenuModel::storeOptionName(SourceMenuModel::defaultOptionName());
    SelectASourceButton titles(&window);
    titles.setMoc(moc);
    titles.setDelegate(&owner);
    SourceMenuModel groups(moc);
    groups.loadSourcesArray(SourceMenuModel::defaultOptionName());
    int largestType = 0;
    for (int t = 1; t < groups.typeCount(); ++t)
        if (groups.typeSize(t) > groups.typeSize(largestType))
            largestType = t;
    titles.openMenu(QPoint(10, 10));
    QMenu* largest = nullptr;
    for (QAction* a : titles.shownMenu()->actions())
        if (a->menu() && a->text() == groups.typeTitle(largestType))
            largest = a->menu();
    QElapsedTimer timer;
    timer.start();
    if (largest) {
        largest->popup(QPoint(200, 10));
        largest->grab();
    }
    *submenuMs = elapsedMs(timer);
    titles.shownMenu()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return out;
}

// One step of the review to the next source by number: the median of 201 steps from the lowest number.
double timeReviewStep(FTMoc* moc)
{
    SourceReferencesReview review(moc, nullptr);
    std::vector<double> steps;
    QElapsedTimer timer;
    for (int i = 0; i <= 200; ++i) {
        timer.start();
        review.nextSource();
        steps.push_back(elapsedMs(timer));
    }
    return median(steps);
}

// 1,000 sources in a new database file beside this one: every other one a copy of a source here (so that it is
// held already), the rest new. Saved and closed; answers the file's path.
QString makeOtherSources(FTMoc* moc, const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.close();
    std::unique_ptr<FTMoc> other = FTMoc::initForStoreURL(path, true);
    if (!other)
        return {};
    const QList<FTSource*> here = moc->fetch<FTSource>();
    other->undoManager()->disableUndoRegistration();
    for (int i = 0; i < 1000; ++i) {
        auto* s = other->insertObject<FTSource>();
        s->setNumericId(i + 1);
        if (i % 2 == 0) {
            SourceCloner::migrateAttributesFrom(here[qsizetype(i * 7) % here.size()], s);
        } else {
            s->setType(QStringLiteral("Letter"));
            s->setTitle(QStringLiteral("Letter %1 of the family papers").arg(i));
            s->setAuthor(QStringLiteral("Writer %1").arg(i % 37));
        }
    }
    other->undoManager()->enableUndoRegistration();
    other->saveMoc();
    return path;
}

// The citations page chosen for a person with 1,000 citations (made here, outside the undo history).
double timeCitationsPage(DOvurDocument* doc)
{
    FTMoc* moc = doc->moc();
    auto* editor = qobject_cast<InfoAreaController*>(doc->pInfoArea());
    if (!editor)
        return -1;
    FTPerson* person = moc->fetch<FTPerson>().first();
    const QList<FTSource*> sources = moc->fetch<FTSource>();
    moc->undoManager()->disableUndoRegistration();
    for (int i = 0; i < 1000; ++i) {
        auto* c = moc->insertObject<FTSourceRel>();
        c->setSource(sources[qsizetype(i * 7) % sources.size()]);
        c->setPerson(person);
        c->setReference(QStringLiteral("Folio %1, entry %2").arg(i % 90 + 1).arg(i));
        c->setItemDescribed(i % 3 ? QStringLiteral("Name") : QStringLiteral("Name, Notes"));
    }
    moc->undoManager()->enableUndoRegistration();
    moc->saveMoc();
    moc->modelDefaults()->setSelectedPerson(person);
    const int sourcesTab = editor->controller().indexOf(QStringLiteral("pSources"));
    auto drawn = [editor] {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        editor->repaint();
    };
    std::vector<double> shows;
    QElapsedTimer timer;
    for (int i = 0; i < 5; ++i) {
        editor->chooseTab(0);
        drawn();
        timer.start();
        editor->chooseTab(sourcesTab);
        drawn();
        shows.push_back(elapsedMs(timer));
    }
    return median(shows);
}
}

int main(int argc, char** argv)
{
    BenchSandbox sandbox;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    DOvurApplication app(argc, argv);
    const int people = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100000;
    installStandInApplication(sandbox.filePath("workspace"));
    ScriptedPrompts prompts; // every question answered with its first button
    Prompts::install(&prompts);
    FirstRunDefaults::initialiseUserDefaults();
    installPersonEditor();
    installSourceCiting();

    const QString path = sandbox.filePath("bench.RezUdu");
    if (!createSyntheticDatabase(path, people))
        return 1;
    DOvurDocument* doc = DocumentController::shared().openDocumentWithContentsOfURL(path, true);
    if (!doc)
        return 1;
    FTMoc* moc = doc->moc();
    FTSource* big = topUp(moc);
    double submenuMs = 0;
    const std::vector<std::pair<QString, double>> menus = timeSourceMenus(moc, &submenuMs);
    const double pageMs = timeCitationsPage(doc);

    QElapsedTimer timer;
    timer.start();
    auto* editor = new SourcesAddModDel(moc, big, doc->dovurWindow());
    doc->beginSheet(editor);
    editor->grab();
    const double openMs = elapsedMs(timer);

    // Filtering: one keystroke for each option.
    QLineEdit* field = editor->searchField();
    const QList<QAction*> options = editor->searchMenu()->actions();
    const char* const optionNames[] = {"any", "number", "type", "title", "short_title", "author", "publisher", "date",
                                       "location", "notes"};
    const char* const texts[] = {"12", "re", "kew", "18", "film", "3", "ri", "clerk 4", "zur", "vol"};
    std::vector<std::pair<std::string, double>> filters;
    double anyFirst = 0;
    for (int o = 0; o < SourceSearch::kOptionCount; ++o) {
        field->clear();
        options[o]->trigger();
        std::vector<double> runs;
        for (const char* text : texts) {
            field->clear();
            timer.restart();
            field->setText(QString::fromLatin1(text));
            runs.push_back(elapsedMs(timer));
        }
        if (o == 0)
            anyFirst = runs.front();
        filters.emplace_back(optionNames[o], median(runs));
    }
    field->clear();

    // Sorting the list by each column.
    QHeaderView* header = editor->tv()->horizontalHeader();
    const char* const columns[] = {"number", "type", "title", "short_title", "author", "citations"};
    std::vector<std::pair<std::string, double>> sorts;
    for (int c = SourceListModel::ColumnCount - 1; c >= 0; --c) {
        timer.restart();
        Q_EMIT header->sectionPressed(c);
        Q_EMIT header->sectionClicked(c);
        sorts.emplace_back(columns[c], elapsedMs(timer));
    }
    std::reverse(sorts.begin(), sorts.end());

    FTSource* other = editor->sourcesArrayController()->sourceAt(1) == big
        ? editor->sourcesArrayController()->sourceAt(2)
        : editor->sourcesArrayController()->sourceAt(1);
    editor->selectSource(other);
    timer.restart();
    editor->selectSource(big);
    editor->whereUsedTable()->grab(); // drawn
    const double selectMs = elapsedMs(timer);

    const double reviewStepMs = timeReviewStep(moc);
    timer.restart();
    const QString report = SourceReferencesReport::print(big);
    const double reviewReportMs = elapsedMs(timer);

    QHeaderView* usedHeader = editor->whereUsedTable()->horizontalHeader();
    timer.restart();
    Q_EMIT usedHeader->sectionPressed(WhereUsedModel::WhereUsedColumn);
    Q_EMIT usedHeader->sectionClicked(WhereUsedModel::WhereUsedColumn);
    editor->whereUsedTable()->grab(); // drawn
    const double sortWhereUsedMs = elapsedMs(timer);
    const int whereUsedRows = editor->sourceRelsArrayController()->rowCount();

    const int before = moc->count<FTSource>();
    moc->undoManager()->closeOpenGroups();
    timer.restart();
    editor->mergeAllEqualSources();
    const double mergeMs = elapsedMs(timer);
    const int merged = before - moc->count<FTSource>();

    timer.restart();
    editor->renumberAll();
    const double renumberMs = elapsedMs(timer);

    editor->closeSheet();

    // Copying from another database, then reading a large one in the clone window.
    const QString otherSources = makeOtherSources(moc, sandbox.filePath("otherSources.RezUdu"));
    double cloneMs = -1;
    int cloned = 0;
    if (!otherSources.isEmpty()) {
        std::unique_ptr<FTMoc> other = FTMoc::initForStoreURL(otherSources, true);
        const QList<FTSource*> chosen = other->fetch<FTSource>();
        timer.restart();
        const SourceCloner::Result result = SourceCloner(moc).cloneSources(chosen);
        cloneMs = elapsedMs(timer);
        cloned = result.copied;
    }
    double openOtherS = -1;
    int otherSourcesListed = 0;
    if (createSyntheticDatabase(sandbox.filePath("KinloomData/large.RezUdu"), people)) {
        auto* clone = new CloneSources(moc);
        doc->beginSheet(clone);
        timer.restart();
        clone->chooser()->setSourceFilename(QStringLiteral("large.RezUdu"));
        clone->grab(); // listed and drawn
        openOtherS = elapsedMs(timer) / 1000;
        otherSourcesListed = clone->sourcesArrayController()->rowCount();
        clone->close();
    }

    std::printf("people: %d\n", moc->count<FTPerson>());
    std::printf("sources: %d\n", before);
    std::printf("citations: %d\n", moc->count<FTSourceRel>());
    std::printf("open_ms: %.1f\n", openMs);
    std::printf("filter_ms_any_first: %.2f\n", anyFirst);
    for (const auto& [name, ms] : filters)
        std::printf("filter_ms_%s: %.2f\n", name.c_str(), ms);
    for (const auto& [name, ms] : sorts)
        std::printf("sort_ms_%s: %.2f\n", name.c_str(), ms);
    std::printf("select_big_source_ms: %.2f\n", selectMs);
    std::printf("sort_where_used_rows: %d\n", whereUsedRows);
    std::printf("sort_where_used_ms: %.1f\n", sortWhereUsedMs);
    std::printf("merged_sources: %d\n", merged);
    std::printf("merge_equal_ms: %.1f\n", mergeMs);
    std::printf("renumber_ms: %.1f\n", renumberMs);
    for (const auto& [name, ms] : menus)
        std::printf("source_menu_ms_%s: %.2f\n", qPrintable(name), ms);
    std::printf("source_submenu_ms: %.2f\n", submenuMs);
    std::printf("citations_page_ms: %.2f\n", pageMs);
    std::printf("review_step_ms: %.3f\n", reviewStepMs);
    std::printf("review_report_ms: %.1f%s\n", reviewReportMs, report.isEmpty() ? " (not written)" : "");
    std::printf("cloned_sources: %d\n", cloned);
    std::printf("clone_1000_ms: %.1f\n", cloneMs);
    std::printf("other_db_sources: %d\n", otherSourcesListed);
    std::printf("open_other_db_s: %.2f\n", openOtherS);
    std::printf("peak_mb: %.1f\n", peakResidentMegabytes());

    DocumentController::shared().closeAllDocuments();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Workspace::shared().setSearchPaths({}, {});
    Prompts::install(nullptr);
    return 0;
}
