// kinloom-bench-hierarchy [PEOPLE] [FILE]
// Builds and lays out hierarchy diagrams as the hierarchy window does: the factory options, 10 generations,
// scrunched, not cascaded, box texts measured with Qt's text layout. The database is FILE when it exists (read
// through a copy); otherwise a synthetic database of PEOPLE people (default 100,000) is made, at FILE when given,
// else in a temporary folder. Cases:
//  - descendants: 10 generations below a first-generation founder, the first whose 10 generations hold a few
//    thousand people (2,000 to 5,000; else the founder with the most), top-down and horizontal;
//  - largest descendants: the same below the founder with the most descendants, top-down;
//  - ancestors: 10 generations above a person of the deepest generation, top-down and horizontal. People
//    married into a synthetic database have no parents, so there the bench first gives every ancestor within
//    10 generations the natural parents they lack (in memory only), making the full pedigree of 2,047 boxes.
// Then the painting of the 10-generation descendants diagram (top-down) onto a 1200 x 800 image, with the box
// of the last generation nearest the diagram's middle selected (where the boxes lie closest): paint_ms paints the 1200 x 800 area around that box, as the window
// paints what it shows; paint_all_ms paints the whole diagram (every box, line and text, the image clipping
// what falls outside it); pdf_ms writes that whole diagram as the window's PDF file (one page, into the temporary
// folder). And window_rebuild_ms: the build the window makes when it opens, of the database's
// focal person's ancestors with the window's five generations and the factory options (run it with the sample
// database Royal92.RezUdu as FILE for that database's figure).
// Prints one figure a line as "name: value": people, descendant_boxes, descendants_ms,
// descendants_horizontal_ms, paint_ms, paint_all_ms, pdf_ms, largest_descendant_boxes, largest_descendants_ms,
// ancestor_boxes, ancestors_ms, ancestors_horizontal_ms, window_rebuild_ms (each time the median of several
// runs) and peak_mb.
#include "BenchSupport.h"

#include "diagrams/HdPainter.h"
#include "diagrams/HdPrinting.h"
#include "diagrams/HierarchyLayout.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"
#include "model/Hierarchy.h"
#include "model/ModelHooks.h"
#include "model/SyntheticDatabase.h"

#include "platform/UserDefaults.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QLineF>
#include <QPainter>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {
constexpr int kGenerations = 10;

// The boxes of a tree of `generations` below `root`, counted without laying it out.
int treeSize(FTPerson* root, bool ancestors, int generations)
{
    Hierarchy tree(root, nullptr, ancestors, FTPcRel::kNatural);
    int count = 0;
    QList<Hierarchy*> pending { &tree };
    while (!pending.isEmpty()) {
        Hierarchy* h = pending.takeLast();
        ++count;
        if (h->level() < generations)
            pending << h->nextGenArray();
    }
    return count;
}

int boxes(const HierarchyLayout& layout)
{
    int count = 0;
    QList<Hierarchy*> pending;
    if (layout.rootHierarchy())
        pending << layout.rootHierarchy();
    while (!pending.isEmpty()) {
        Hierarchy* h = pending.takeLast();
        ++count;
        if (h->level() < layout.maxLevel())
            pending << h->nextGenArray();
    }
    return count;
}
}

int main(int argc, char** argv)
{
    BenchSandbox sandbox;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int target = argc > 1 ? std::max(100, std::atoi(argv[1])) : 100000;
    // A database given is read through a copy: opening one may bring it up to date and save it.
    const QString given = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    const QString path = sandbox.filePath("bench.RezUdu");
    const bool synthetic = given.isEmpty() || !QFileInfo::exists(given);
    QString error;
    if (synthetic && !SyntheticDatabase::create(given.isEmpty() ? path : given, target, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    if (!given.isEmpty() && !QFile::copy(given, path)) {
        std::fprintf(stderr, "%s: cannot be read\n", qPrintable(given));
        return 1;
    }
    std::unique_ptr<FTMoc> moc = FTMoc::initForStoreURL(path, true);
    if (!moc) {
        std::fprintf(stderr, "%s: cannot be opened\n", qPrintable(path));
        return 1;
    }

    // Generations: a person's depth is one more than the deepest natural parent's; people are made parents
    // first, so one pass in number order settles them.
    const QList<FTPerson*> people
        = moc->fetch<FTPerson>({}, [](const FTPerson* a, const FTPerson* b) { return a->numericId() < b->numericId(); });
    std::printf("people: %lld\n", static_cast<long long>(people.size()));
    if (people.isEmpty())
        return 1;
    QHash<const FTPerson*, int> depth;
    for (const FTPerson* p : people) {
        int d = 0;
        for (const FTPerson* parent : p->naturalParents())
            d = std::max(d, depth.value(parent) + 1);
        depth.insert(p, d);
    }
    FTPerson* deepest = *std::max_element(
        people.begin(), people.end(), [&](const FTPerson* a, const FTPerson* b) { return depth[a] < depth[b]; });
    FTPerson* founder = nullptr;
    FTPerson* largest = nullptr;
    int largestSize = 0;
    for (FTPerson* p : people) {
        if (depth[p] != 0 || p->children().isEmpty())
            continue;
        const int size = treeSize(p, false, kGenerations);
        if (!founder && size >= 2000 && size <= 5000)
            founder = p;
        if (size > largestSize) {
            largest = p;
            largestSize = size;
        }
    }
    if (!founder)
        founder = largest ? largest : people.first();
    if (synthetic)
        completePedigree(*moc, deepest, kGenerations);

    HdOptions options; // the factory options
    options.generations = kGenerations;
    options.scrunched = true;
    options.cascaded = false;
    HierarchyLayout layout;
    const QSizeF visible(1200, 800);
    const QSizeF paper(612, 792);
    auto run = [&](FTPerson* root, bool ancestors, bool horizontal) {
        options.horizontal = horizontal;
        layout.setRootPerson(root);
        layout.setBAncestors(ancestors);
        return medianMs(5, [&] {
            layout.createHierarchy(options, visible.width(), paper);
            layout.resetFrameSize(nullptr, visible);
            layout.createRootPath();
        });
    };

    const double descendants = run(founder, false, false);
    std::printf("descendant_boxes: %d\n", boxes(layout));
    std::printf("descendants_ms: %.2f\n", descendants);
    {
        const QPointF centre(layout.xExtent() / 2, layout.yExtent() / 2);
        Hierarchy* nearest = nullptr;
        double best = 0;
        QList<Hierarchy*> pending { layout.rootHierarchy() };
        while (!pending.isEmpty()) {
            Hierarchy* h = pending.takeLast();
            const double d = QLineF(h->rclBox().center(), centre).length();
            if (h->level() == layout.maxLevelFound() && (!nearest || d < best)) {
                nearest = h;
                best = d;
            }
            if (h->level() < layout.maxLevel())
                pending << h->nextGenArray();
        }
        layout.setSelectedHierarchy(nearest);
        layout.createRootPath();
        const QSizeF view(layout.xExtent(), layout.yExtent());
        QImage image(1200, 800, QImage::Format_ARGB32_Premultiplied);
        HdPainter painter(layout);
        painter.dialogTitle = QStringLiteral("Descendants");
        const QRectF around(nearest->rclBox().center() - QPointF(600, 400), QSizeF(1200, 800));
        std::printf("paint_ms: %.2f\n", medianMs(7, [&] {
            QPainter p(&image);
            p.translate(-around.topLeft());
            painter.paint(p, around, view);
        }));
        if (qEnvironmentVariableIsSet("KINLOOM_BENCH_IMAGE"))
            image.save(qEnvironmentVariable("KINLOOM_BENCH_IMAGE"));
        std::printf("paint_all_ms: %.2f\n", medianMs(3, [&] {
            QPainter p(&image);
            painter.paint(p, QRectF(QPointF(0, 0), view), view);
        }));
        const QString pdf = sandbox.filePath(QStringLiteral("Descendants.PDF"));
        QString pdfError;
        bool written = true;
        std::printf("pdf_ms: %.2f\n",
            medianMs(3, [&] { written = HdPrinting::writePdf(painter, view, pdf, &pdfError) && written; }));
        if (!written)
            std::fprintf(stderr, "pdf: %s\n", qPrintable(pdfError));
    }
    std::printf("descendants_horizontal_ms: %.2f\n", run(founder, false, true));
    if (largest) {
        const double all = run(largest, false, false);
        std::printf("largest_descendant_boxes: %d\n", boxes(layout));
        std::printf("largest_descendants_ms: %.2f\n", all);
    }
    const double ancestors = run(deepest, true, false);
    std::printf("ancestor_boxes: %d\n", boxes(layout));
    std::printf("ancestors_ms: %.2f\n", ancestors);
    std::printf("ancestors_horizontal_ms: %.2f\n", run(deepest, true, true));
    if (FTPerson* focal = moc->focalPerson()) {
        HdOptions window;
        window.generations = 5;
        window.cascaded = false;
        layout.setRootPerson(focal);
        layout.setBAncestors(true);
        std::printf("window_rebuild_ms: %.2f\n", medianMs(5, [&] {
            layout.createHierarchy(window, visible.width(), paper);
            layout.resetFrameSize(focal, visible);
            layout.createRootPath();
        }));
    }
    std::printf("peak_mb: %.1f\n", peakResidentMegabytes());
    return 0;
}
