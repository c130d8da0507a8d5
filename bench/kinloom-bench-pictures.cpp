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
//   bulk_large_s                       the thumbnail builder over 12 large pictures: 100-megapixel JPEGs, sequential
//                                      and progressive, 24-megapixel TIFFs and greyscale PNGs, 3 of each
//   bulk_peak_mb                       how far resident memory rose above its level before that build, at most
//   peak_mb                            peak resident memory
// A third argument sets the builder's decode budget in megabytes (very large: as many decodes at once as cores).
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

#include <QImageWriter>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <thread>

#include <unistd.h>

namespace {
// The resident memory now (not its peak), in megabytes; 0 where /proc is missing.
double residentMegabytes()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    if (!(statm >> pages >> resident))
        return 0;
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// Three files of each: a 100-megapixel sequential JPEG and a progressive one, a 24-megapixel TIFF (uncompressed)
// and a greyscale PNG of the same size. Empty after a message when one cannot be written.
QStringList writeLargePictures(const QString& folder)
{
    QDir().mkpath(folder);
    QStringList originals;
    {
        QImage image(10000, 10000, QImage::Format_RGB32);
        QPainter p(&image);
        QLinearGradient sky(0, 0, 10000, 10000);
        sky.setColorAt(0, QColor(200, 170, 120));
        sky.setColorAt(1, QColor(40, 60, 110));
        p.fillRect(image.rect(), sky);
        p.setPen(Qt::NoPen);
        for (int i = 0; i < 12; ++i) {
            p.setBrush(QColor::fromHsv(i * 30, 120, 200, 160));
            p.drawEllipse(i * 700, i * 600, 3000, 2000);
        }
        p.end();
        for (const bool progressive : { false, true }) {
            const QString path = folder + (progressive ? "/progressive.jpg" : "/sequential.jpg");
            QImageWriter writer(path, "jpeg");
            writer.setQuality(85);
            writer.setProgressiveScanWrite(progressive);
            if (!writer.write(image)) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
                return {};
            }
            originals << path;
        }
        const QImage scan = image.scaled(6000, 4000, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        image = QImage();
        originals << folder + "/scan.tif" << folder + "/scan.png";
        if (!scan.save(originals[2], "TIFF") || !scan.convertToFormat(QImage::Format_Grayscale8).save(originals[3])) {
            std::fprintf(stderr, "cannot write the large scans\n");
            return {};
        }
    }
    QStringList files;
    for (const QString& original : std::as_const(originals)) {
        for (int copy = 0; copy < 3; ++copy) {
            const QString path = QString(original).insert(original.lastIndexOf('.'), QString::number(copy));
            if (!QFile::copy(original, path)) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
                return {};
            }
            files << path;
        }
    }
    return files;
}

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
    std::fflush(stdout);

    // Large pictures, generated here, for the memory the decodes running at once take together.
    const QStringList large = writeLargePictures(temp.filePath("large"));
    if (large.isEmpty())
        return 1;
    for (qsizetype i = 0; i < large.size(); ++i)
        FTPicture::initInMoc(moc.get(), large[i], persons[(i * 53) % persons.size()]);
    if (!moc->saveMoc())
        return 1;
    if (argc > 3)
        ThumbnailBuilder::setDecodeBudget(qint64(QString::fromLocal8Bit(argv[3]).toLongLong()) * 1024 * 1024);
    const double before = residentMegabytes();
    std::atomic<bool> building { true };
    std::atomic<double> highest { before };
    std::thread sampler([&] {
        while (building) {
            highest = std::max(highest.load(), residentMegabytes());
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    });
    timer.restart();
    builder.start();
    const int largeBuilt = builder.createThumbnails(builder.arrayOfPicsNeedingThumbnailsInMoc());
    builder.finish();
    const double largeSeconds = double(timer.nsecsElapsed()) / 1e9;
    building = false;
    sampler.join();
    if (largeBuilt != large.size()) {
        std::fprintf(stderr, "%d large thumbnails built of %lld: %s\n", largeBuilt, qlonglong(large.size()),
            qPrintable(builder.failures().join(QStringLiteral("; "))));
        return 1;
    }
    std::printf("bulk_large_s: %.2f\n", largeSeconds);
    std::printf("bulk_peak_mb: %.0f\n", highest - before);
    std::printf("peak_mb: %.0f\n", peakResidentMegabytes());
    return 0;
}
