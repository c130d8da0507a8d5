// kinloom-bench-app-diagram [PEOPLE] [FILE]
// The family diagram of a synthetic family database of PEOPLE people (default 100,000; kept at FILE when given and
// opened through a copy, as kinloom-bench-app-open does) in its main window on the offscreen platform, its diagram 980 × 400. The focus
// moves 1,000 times along families (to a child, spouse or parent of the person in focus, now and then to another
// family); each time the diagram's boxes are rebuilt and laid out and the whole diagram painted onto a 980 × 400
// image. Then, around the busiest person, the user's input with what it changed repainted at once: an arrow key that
// moves the selection between two children, a press that selects one, and one step of the relationship band dragged
// from the focal person over a child and back (each the median of 200). Prints "name: value" lines: people,
// boxes_max (the most boxes of one diagram), rebuild_layout_ms (median) and rebuild_layout_ms_max, total_ms (median
// of a focus change with rebuild, layout and painting), key_move_ms, press_ms, band_step_ms, peak_mb and
// peak_mb_growth (the peak after the last change less the peak after the tenth).
#include "AppBenchSupport.h"
#include "BenchSupport.h"
#include "diagrams/CdLayout.h"
#include "diagrams/CdPerson.h"
#include "diagrams/ui/CdDiagram.h"
#include "diagrams/ui/FamilyDiagramSetup.h"
#include "shell/ui/DOvurApplication.h"
#include "shell/ui/DOvurDocument.h"
#include "shell/ui/DocumentController.h"

#include "model/FTModelDefaults.h"
#include "model/FTPerson.h"
#include "model/SyntheticDatabase.h"

#include "platform/Prompts.h"
#include "platform/ScriptedPrompts.h"
#include "platform/UserDefaults.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QMainWindow>
#include <QSplitter>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char** argv)
{
    AppBench<DOvurApplication> bench(argc, argv);
    auto& [sandbox, app, prompts, path] = bench;
    if (path.isEmpty())
        return 1;
    installFamilyDiagram();

    DOvurDocument* doc = DocumentController::shared().openDocumentWithContentsOfURL(path, true);
    auto* diagram = doc ? qobject_cast<CdDiagram*>(doc->pcd()) : nullptr;
    if (!diagram) {
        for (const auto& r : prompts.records)
            std::fprintf(stderr, "%s\n", qPrintable(r.text));
        return 1;
    }
    QMainWindow* window = doc->dovurWindow();
    window->show();
    QCoreApplication::processEvents();
    // The diagram 980 × 400: the window grows or shrinks by the difference.
    window->resize(window->width() + 980 - diagram->width(), window->height() + 400 - diagram->height());
    doc->pHorizSplitView()->setSizes({400, DOvurDocument::kMinEditorHeight});
    QCoreApplication::processEvents();
    if (diagram->size() != QSize(980, 400))
        std::fprintf(stderr, "diagram is %dx%d\n", diagram->width(), diagram->height());

    FTMoc* moc = doc->moc();
    const QList<FTPerson*> all = moc->fetch<FTPerson>();
    FTPerson* focal = moc->focalPerson();
    quint32 seed = 12345;
    const auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
    std::vector<double> rebuilds, totals;
    double peakAtTenth = 0;
    size_t boxesMax = 0;
    QImage image(980, 400, QImage::Format_ARGB32_Premultiplied);
    QElapsedTimer total, step;
    for (int i = 0; i < 1000; ++i) {
        QList<FTPerson*> relatives = focal->naturalChildren();
        relatives << focal->spouses() << focal->naturalParents();
        focal = relatives.isEmpty() || next() % 8 == 0 ? all[qsizetype(next() % quint32(all.size()))]
                                                        : relatives[qsizetype(next() % quint32(relatives.size()))];
        total.start();
        diagram->setFocalPerson(focal);
        step.start();
        diagram->prepare();
        rebuilds.push_back(step.nsecsElapsed() / 1e6);
        diagram->render(&image);
        totals.push_back(total.nsecsElapsed() / 1e6);
        boxesMax = std::max(boxesMax, diagram->cdLayout().cdPersonsArray().size());
        QCoreApplication::processEvents(); // the saves and events a user's idle time would see
        if (i == 9)
            peakAtTenth = peakResidentMegabytes();
    }
    const double peak = peakResidentMegabytes();
    if (diagram->rebuildCount() < 1000)
        std::fprintf(stderr, "only %d rebuilds\n", diagram->rebuildCount());

    // Input around the busiest person (or else the first with two children): the fullest diagram.
    focal = busiestPerson(all);
    for (qsizetype i = 0; focal->naturalChildren().size() < 2 && i < all.size(); ++i)
        focal = all[i];
    diagram->setFocalPerson(focal);
    diagram->prepare();
    diagram->repaint();
    const CdLayout& layout = diagram->cdLayout();
    const auto centre = [&](FTPerson* p) { return layout.findPerson(p)->rclBox().center(); };
    FTPerson* first = focal->naturalChildren().value(0);
    FTPerson* second = focal->naturalChildren().value(1);
    // What the event left to repaint is painted now, as the window's next update would.
    const auto paintUpdates = [&] { QCoreApplication::sendPostedEvents(window, QEvent::UpdateRequest); };
    const auto mouse = [&](QEvent::Type type, const QPointF& at) {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent e(type, at, diagram->mapToGlobal(at), button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(diagram, &e);
    };
    diagram->setSelectedPerson(first);
    int turn = 0;
    const double keyMove = medianMs(200, [&] {
        QKeyEvent e(QEvent::KeyPress, ++turn % 2 ? Qt::Key_Down : Qt::Key_Up, Qt::NoModifier);
        QCoreApplication::sendEvent(diagram, &e);
        paintUpdates();
    });
    const bool keysMoved = moc->selectedPerson() == first || moc->selectedPerson() == second;
    QCoreApplication::processEvents();
    const double press = medianMs(200, [&] {
        const QPointF at = centre(++turn % 2 ? first : second);
        mouse(QEvent::MouseButtonPress, at);
        mouse(QEvent::MouseButtonRelease, at);
        paintUpdates();
    });
    QCoreApplication::processEvents();
    diagram->setSelectedPerson(focal);
    mouse(QEvent::MouseButtonPress, centre(focal));
    mouse(QEvent::MouseMove, centre(focal) + QPointF(4, 0));
    const double bandStep = medianMs(200, [&] {
        mouse(QEvent::MouseMove, ++turn % 2 ? centre(first) : QPointF(3, 395));
        paintUpdates();
    });
    const bool banded = diagram->isRubberBandActive();
    mouse(QEvent::MouseButtonRelease, QPointF(3, 395));
    if (!keysMoved || !banded)
        std::fprintf(stderr, "the keys or the band did not run\n");

    std::printf("people: %lld\n", static_cast<long long>(all.size()));
    std::printf("boxes_max: %zu\n", boxesMax);
    std::printf("rebuild_layout_ms: %.2f\n", median(rebuilds));
    std::printf("rebuild_layout_ms_max: %.2f\n", *std::max_element(rebuilds.begin(), rebuilds.end()));
    std::printf("total_ms: %.2f\n", median(totals));
    std::printf("key_move_ms: %.3f\n", keyMove);
    std::printf("press_ms: %.3f\n", press);
    std::printf("band_step_ms: %.3f\n", bandStep);
    std::printf("peak_mb: %.1f\n", peak);
    std::printf("peak_mb_growth: %.1f\n", peak - peakAtTenth);

    DocumentController::shared().closeAllDocuments();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Prompts::install(nullptr);
    return 0;
}
