// kinloom-bench-scale [PEOPLE]
// The program at the size of the largest trees people keep: a synthetic family database of PEOPLE people (default
// 1,000,000) is built once into the benchmark's own folder, and opened once there, by a second run of this program
// (so that neither the building's memory nor the first opening's one-time work is part of the figures; its time is
// printed apart as build_s), and removed with the folder. Then, in
// this order: the database opened (open_s, and open_peak_mb, the peak resident memory right after); its main window
// on the offscreen platform showing the family diagram and the person editor for a person with many relatives
// (focal_show_ms, median of nine); 100 changes of focal person along families, each drawn in the diagram and the
// editor (focal_change_ms, median); the find-person search for a common given name (search_ms, median of five);
// each page of the person editor shown (editor_pages_ms, the median over the pages of the median of five); the
// whole database exported to GEDCOM (export_s, and export_peak_mb, the peak right after); the integrity checks
// that read the whole database (integrity_s); last the peak of the whole run (peak_mb).
#include "BenchSupport.h"
#include "diagrams/ui/CdDiagram.h"
#include "diagrams/ui/FamilyDiagramSetup.h"
#include "editor/ui/InfoAreaController.h"
#include "editor/ui/PersonEditorSetup.h"
#include "gedcom/ExportToGedcom.h"
#include "gedcom/GedcomExportOptions.h"
#include "shell/FirstRunDefaults.h"
#include "shell/ui/DOvurApplication.h"
#include "shell/ui/DOvurDocument.h"
#include "shell/ui/DocumentController.h"

#include "model/FTModelDefaults.h"
#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/FTSpouseRel.h"
#include "model/SyntheticDatabase.h"

#include "platform/Prompts.h"
#include "platform/ScriptedPrompts.h"

#include <QElapsedTimer>
#include <QFile>
#include <QMainWindow>
#include <QProcess>
#include <QSet>
#include <QSplitter>
#include <QTabWidget>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

const char kBuildFlag[] = "--build-database";

// Until the pane has drawn: pending layout first, then a paint of the whole pane.
void drawn(QWidget* pane)
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    pane->repaint();
}

// The people near `start` (relatives of relatives, at most `limit` of them) and the one among them with the most
// events and relatives: found without reading the whole database.
QList<FTPerson*> nearby(FTPerson* start, int limit)
{
    QList<FTPerson*> found { start };
    QSet<FTPerson*> seen { start };
    for (qsizetype i = 0; i < found.size() && found.size() < limit; ++i) {
        FTPerson* p = found[i];
        QList<FTPerson*> relatives = p->naturalChildren();
        relatives << p->spouses() << p->naturalParents();
        for (FTPerson* r : relatives)
            if (r && !seen.contains(r)) {
                seen.insert(r);
                found << r;
            }
    }
    return found;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], kBuildFlag) == 0) {
        // The building run also opens the database once: the first opening of a new file does its one-time work
        // (the event types added and saved), which the figures of a database in use must not include.
        QCoreApplication app(argc, argv);
        ScriptedPrompts prompts;
        Prompts::install(&prompts);
        const QString database = QString::fromLocal8Bit(argv[2]);
        QString error;
        const bool made = SyntheticDatabase::create(database, std::atoi(argv[3]), &error)
            && FTMoc::initForStoreURL(database, true) != nullptr;
        Prompts::install(nullptr);
        if (made)
            return 0;
        std::fprintf(stderr, "%s\n", error.isEmpty() ? "the new database cannot be opened" : qPrintable(error));
        return 1;
    }
    BenchSandbox sandbox;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    DOvurApplication app(argc, argv);
    ScriptedPrompts prompts;
    Prompts::install(&prompts);
    const int people = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000000;
    const QString path = sandbox.filePath(QStringLiteral("scale.RezUdu"));

    QElapsedTimer timer;
    timer.start();
    const int built = QProcess::execute(QCoreApplication::applicationFilePath(),
        { QString::fromLatin1(kBuildFlag), path, QString::number(people) });
    if (built != 0) {
        std::fprintf(stderr, "the database could not be built\n");
        return 1;
    }
    std::printf("people: %d\n", people);
    std::printf("build_s: %.3f\n", timer.nsecsElapsed() / 1e9);
    std::fflush(stdout);
    FirstRunDefaults::initialiseUserDefaults();
    installFamilyDiagram();
    installPersonEditor();

    {
        timer.restart();
        std::unique_ptr<FTMoc> moc = FTMoc::initForStoreURL(path, true);
        if (!moc) {
            std::fprintf(stderr, "the database cannot be opened\n");
            return 1;
        }
        std::printf("open_s: %.3f\n", timer.nsecsElapsed() / 1e9);
        std::printf("open_peak_mb: %.1f\n", peakResidentMegabytes());
        std::fflush(stdout);
    }

    DOvurDocument* doc = DocumentController::shared().openDocumentWithContentsOfURL(path, true);
    auto* diagram = doc ? qobject_cast<CdDiagram*>(doc->pcd()) : nullptr;
    auto* editor = doc ? qobject_cast<InfoAreaController*>(doc->pInfoArea()) : nullptr;
    if (!diagram || !editor) {
        for (const auto& r : prompts.records)
            std::fprintf(stderr, "%s\n", qPrintable(r.text));
        return 1;
    }
    QMainWindow* window = doc->dovurWindow();
    window->show();
    QCoreApplication::processEvents();
    FTMoc* moc = doc->moc();
    // The focal and selected person change together, as a click on a person in the diagram does; the diagram and
    // the editor are then drawn.
    const auto show = [&](FTPerson* p) {
        moc->modelDefaults()->setFocalPerson(p);
        moc->modelDefaults()->setSelectedPerson(p);
        diagram->prepare();
        drawn(window);
    };

    const QList<FTPerson*> around = nearby(moc->focalPerson(), 2000);
    FTPerson* busiest = busiestPerson(around);
    FTPerson* other = around.value(1, busiest);
    std::vector<double> shows;
    for (int i = 0; i < 9; ++i) {
        show(other);
        timer.restart();
        show(busiest);
        shows.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::printf("focal_show_ms: %.2f\n", median(shows));

    quint32 seed = 12345;
    const auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
    FTPerson* focal = busiest;
    std::vector<double> changes;
    for (int i = 0; i < 100; ++i) {
        QList<FTPerson*> relatives = focal->naturalChildren();
        relatives << focal->spouses() << focal->naturalParents();
        focal = relatives.isEmpty() || next() % 8 == 0 ? around[qsizetype(next() % quint32(around.size()))]
                                                        : relatives[qsizetype(next() % quint32(relatives.size()))];
        timer.restart();
        show(focal);
        changes.push_back(timer.nsecsElapsed() / 1e6);
        QCoreApplication::processEvents(); // the saves and events a user's idle time would see
    }
    std::printf("focal_change_ms: %.2f\n", median(changes));

    qsizetype hits = 0;
    const double search = medianMs(5, [&] { hits = moc->findObjectName(QStringLiteral("John"), QStringLiteral("Person")).size(); });
    std::printf("search_ms: %.2f\n", search);
    std::printf("search_hits: %lld\n", static_cast<long long>(hits));

    show(busiest);
    QTabWidget* tabs = editor->pTabView();
    std::vector<double> pages;
    for (int page = 0; page < tabs->count(); ++page) {
        std::vector<double> times;
        for (int i = 0; i < 5; ++i) {
            editor->chooseTab(page == 0 ? 1 : 0);
            drawn(editor);
            timer.restart();
            editor->chooseTab(page);
            drawn(editor);
            times.push_back(timer.nsecsElapsed() / 1e6);
        }
        pages.push_back(median(times));
    }
    std::printf("editor_pages_ms: %.2f\n", median(pages));
    std::fflush(stdout);

    {
        QFile out(sandbox.filePath(QStringLiteral("scale.ged")));
        if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            std::fprintf(stderr, "%s\n", qPrintable(out.errorString()));
            return 1;
        }
        ExportToGedcom exporter(moc);
        exporter.setOptions(GedcomExportOptions());
        timer.restart();
        const bool ok = exporter.writeTo(&out);
        out.close();
        const double seconds = timer.nsecsElapsed() / 1e9;
        out.remove();
        if (!ok) {
            std::fprintf(stderr, "the export failed\n");
            return 1;
        }
        std::printf("export_s: %.3f\n", seconds);
        std::printf("export_peak_mb: %.1f\n", peakResidentMegabytes());
        std::fflush(stdout);
    }

    // The integrity-check dialog's checks of the whole database (a sound one: nothing to repair): the
    // relationships, the search for cycles and the children with several natural parents.
    timer.restart();
    QString report;
    moc->validateAllRelationships(nullptr, &report);
    moc->recursionCheck(false);
    moc->findChildrenWithMultipleNaturalParents(nullptr, false);
    std::printf("integrity_s: %.3f\n", timer.nsecsElapsed() / 1e9);
    std::printf("peak_mb: %.1f\n", peakResidentMegabytes());

    DocumentController::shared().closeAllDocuments();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Prompts::install(nullptr);
    return 0;
}
