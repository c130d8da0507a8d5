// kinloom-bench-pictures [PEOPLE] [PICTURES]
// The picture files of a large family database, all in a temporary folder of its own: the 100,000-person synthetic
// database (by default) with 2,000 pictures of generated 3-megapixel JPEGs, and one JPEG of 24 megapixels.
// Prints one figure a line as "name: value":
//   thumb24_whole_ms, thumb24_crop_ms  a thumbnail of the 24-megapixel file, whole and cropped (best of 5)
//   bulk_build_s                       the thumbnail builder over every picture (all cores)
//   export_list_ms                     the export window's list of every picture file with the space needed
//   references_ms                      the pictures that share one picture's file
//   missing_list_ms                    the import window's list of missing pictures, once every file is gone
//   relink_2000_s                      re-linking them all to the dropped files (copies and saves included)
//   peak_mb                            peak resident memory
#include "BenchPictures.h"
#include "BenchSupport.h"

#include "pictures/MissingPictureFiles.h"
#include "pictures/PictureFilesExport.h"
#include "pictures/ThumbnailBuilder.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/FTPicture.h"
#include "model/ModelHooks.h"
#include "model/SyntheticDatabase.h"
#include "model/UtilsPics.h"

#include "platform/UserDefaults.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QtConcurrent/QtConcurrentMap>

#include <cstdio>

namespace {
double bestOf(int runs, const std::function<void()>& fn)
{
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        fn();
        best = std::min(best, double(t.nsecsElapsed()) / 1e6);
    }
    return best;
}
}

int main(int argc, char** argv)
{
    BenchSandbox temp;
    QCoreApplication app(argc, argv);
    const int people = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 100000;
    const int pictureCount = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 2000;

    UserDefaults::standard().setBool("alwaysCopyToPicturesFolder", true);
    const QString data = temp.filePath("KinloomData");

    // The 24-megapixel file, read whole and cropped.
    const QString big = temp.filePath("big24.jpg");
    if (!writeFile(big, photoLikeJpeg(6000, 4000, 24))) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(big));
        return 1;
    }
    QSize size;
    const double whole = bestOf(5, [&] { size = UtilsPics::thumbnailImageForFile(big, {}).size(); });
    const double crop = bestOf(5, [&] { UtilsPics::thumbnailImageForFile(big, QRectF(1500, 1000, 3000, 2000)); });
    if (size != QSize(100, 67)) {
        std::fprintf(stderr, "unexpected thumbnail size %dx%d\n", size.width(), size.height());
        return 1;
    }
    std::printf("thumb24_whole_ms: %.1f\n", whole);
    std::printf("thumb24_crop_ms: %.1f\n", crop);
    std::fflush(stdout);

    // 3-megapixel photographs, a few different ones written under many names.
    const QString photos = temp.filePath("photos");
    QDir().mkpath(photos);
    QList<int> seeds;
    for (int i = 0; i < 16; ++i)
        seeds << i;
    const QList<QByteArray> jpegs = QtConcurrent::blockingMapped(seeds, [](int seed) {
        return photoLikeJpeg(2048, 1536, quint32(seed + 1));
    });
    const QStringList files = writePhotoFiles(photos, pictureCount, jpegs);
    if (files.isEmpty())
        return 1;

    std::unique_ptr<FTMoc> moc = openSyntheticDatabase(temp.filePath("Bench.RezUdu"), people);
    if (!moc)
        return 1;
    const QList<FTPerson*> persons = moc->fetch<FTPerson>();
    QList<FTPicture*> pictures;
    for (int i = 0; i < pictureCount; ++i)
        pictures << FTPicture::initInMoc(moc.get(), files[i], persons[(i * 37) % persons.size()]);
    if (!moc->saveMoc())
        return 1;

    ThumbnailBuilder builder(moc.get());
    QElapsedTimer timer;
    timer.start();
    builder.start();
    const int built = builder.createThumbnails(builder.arrayOfPicsNeedingThumbnailsInMoc());
    builder.finish();
    std::printf("bulk_build_s: %.2f\n", double(timer.nsecsElapsed()) / 1e9);
    if (built != pictureCount) {
        std::fprintf(stderr, "%d thumbnails built of %d\n", built, pictureCount);
        return 1;
    }

    PictureFilesExport exporter(moc.get());
    std::printf("export_list_ms: %.1f\n", bestOf(3, [&] { exporter.loadPictures(); }));
    std::printf("references_ms: %.2f\n", bestOf(3, [&] { UtilsPics::referencesToPicture(pictures[pictureCount / 2]); }));
    std::fflush(stdout);

    // Every file gone, as in a database brought from another computer; then the originals dropped.
    QDir(UtilsPics::picturesDirectory()).removeRecursively();
    UtilsPics::picturesDirectory();
    MissingPictureFiles missing(moc.get());
    timer.restart();
    missing.loadMissingPicsArray();
    std::printf("missing_list_ms: %.1f\n", double(timer.nsecsElapsed()) / 1e6);
    if (missing.picsWithMissingFile().size() != pictureCount) {
        std::fprintf(stderr, "%lld missing of %d\n", qlonglong(missing.picsWithMissingFile().size()), pictureCount);
        return 1;
    }
    timer.restart();
    const int relinked = missing.findMissingPictures(files);
    std::printf("relink_2000_s: %.2f\n", double(timer.nsecsElapsed()) / 1e9);
    if (relinked != pictureCount) {
        std::fprintf(stderr, "%d re-linked of %d\n", relinked, pictureCount);
        return 1;
    }
    std::printf("peak_mb: %.0f\n", peakResidentMegabytes());
    return 0;
}
