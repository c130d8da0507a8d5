#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <functional>

class FTMoc;
class FTPicture;
class ManagedObject;

// Makes the missing thumbnails of a whole database: every picture with a file that exists and no thumbnail yet.
// An image file is cut by the picture's crop rectangle; a sound, movie, text, RTF or HTML file gets the program's
// icon for its kind, cut at (20, 2, 88, 120) on a 128-point icon, which also becomes the picture's crop; any other
// kind gets none. Files are decoded on worker threads, as many at once as the decode budget allows (a picture
// larger than the budget is decoded alone); the records are written here, on the caller's thread, and saved every
// 10 thumbnails with their image data released after each save. Undo is off while it builds, and the undo
// history is cleared first.
//
//   ThumbnailBuilder builder(moc);
//   builder.messageChanged = [&](const QString& t) { label->setText(t); };
//   builder.progressChanged = [&](int percent) { bar->setValue(percent); };
//   builder.keepAlive = [] { QCoreApplication::processEvents(); };   // lets a Stop button call stop()
//   builder.start();
//   const QList<FTPicture*> pictures = builder.arrayOfPicsNeedingThumbnailsInMoc();
//   if (!pictures.isEmpty() && ... the user agrees to builder.prebuildQuestion(pictures.size()) ...)
//       builder.createThumbnails(pictures);
//   builder.finish();
class ThumbnailBuilder {
public:
    // An icon's crop, in the icon's 128-point geometry.
    static const QRectF kIconCrop;
    static constexpr int kIconPoints = 128;
    static constexpr int kSaveEvery = 10;
    // The memory the decodes running at once may take together (UtilsPics::thumbnailDecodeBytes), in bytes.
    static constexpr qint64 kDefaultDecodeBudget = qint64(512) * 1024 * 1024;
    // Changes the budget of the builds that start afterwards; 0 or less restores the default.
    static void setDecodeBudget(qint64 bytes);
    static qint64 decodeBudget();

    explicit ThumbnailBuilder(FTMoc* moc);

    std::function<void(const QString& text)> messageChanged;
    std::function<void(int percent)> progressChanged;
    // Called after each picture and while waiting for the workers.
    std::function<void()> keepAlive;
    // Called after each save (for the tests' eyes).
    std::function<void()> saved;
    // Called on a worker thread as the decode of each file starts (for the tests: it may throw, as a decode that
    // runs out of memory does).
    std::function<void(const QString& path)> decoding;

    // A run: start() sets the active flag, stop() clears it (the build stops after the current picture, or at
    // once while it waits for decodes, which then end on their own), finish() ends the run.
    void start();
    void stop();
    void finish();
    bool threadActive() const { return m_active; }

    // The pictures with a file name, no thumbnail and a file that exists, with progress while it looks.
    QList<FTPicture*> arrayOfPicsNeedingThumbnailsInMoc();
    // "Prebuild 12 Thumbnails.\n\nEstimated time = 3 seconds": a quarter of a second a picture, in whole seconds.
    static QString prebuildQuestion(qsizetype count);
    static int estimatedSeconds(qsizetype count) { return int(count / 4); }

    // Builds and stores the thumbnails of `pictures`, in order, until done or stopped. Answers the number made.
    int createThumbnails(const QList<FTPicture*>& pictures);

    // The thumbnail of a file of any kind and the crop used for it (`crop` for an image, the icon crop for an
    // icon). Null, with a reason when the file is an image that does not decode, otherwise with none.
    static QImage thumbnailImageForFile(const QString& path, const QRectF& crop, QRectF* cropUsed, QString* whyNot);
    // The icon file for a kind of file, or empty when the kind has none.
    static QString iconPathFor(const QString& path);

    // The files that did not give a thumbnail in the last build, with the reason where there is one.
    const QStringList& failures() const { return m_failures; }
    // The most memory the decodes of the last build held at once, by their estimates.
    qint64 peakDecodeBytes() const { return m_peakDecodeBytes; }

private:
    void saveTnMoc();
    void message(const QString& text) const;
    void progress(int percent) const;

    FTMoc* m_moc;
    bool m_active = false;
    QList<ManagedObject*> m_unsaved;
    QStringList m_failures;
    qint64 m_peakDecodeBytes = 0;
};
