#pragma once

#include <QByteArray>
#include <QImage>
#include <QMutex>
#include <QSemaphore>
#include <QString>
#include <QThreadPool>

#include <atomic>
#include <functional>

// Writes the bulk of a web-page run's files on worker threads: the context diagrams are drawn and encoded as JPEG
// there and the person pages written, while the main thread reads the database for the next person. What is
// written never depends on the threads: each file is whole, from data (or a drawing that reads nothing but what it
// was given) handed over complete. Only a few files wait at a time
// (the main thread waits for room), so memory stays flat however many people a run publishes.
//
//   HtmlFileWriter writer;
//   writer.writeJpeg(path, image, 40);
//   writer.writeJpeg(path, [boxes] { return drawn(boxes); }, 40);
//   writer.write(pagePath, page.toUtf8());
//   writer.waitForAll();
//   if (writer.failed()) ... writer.firstFailure() names the file
class HtmlFileWriter {
public:
    HtmlFileWriter();
    // Waits for every file given.
    ~HtmlFileWriter();
    HtmlFileWriter(const HtmlFileWriter&) = delete;
    HtmlFileWriter& operator=(const HtmlFileWriter&) = delete;

    void writeJpeg(const QString& path, const QImage& image, int quality);
    // The image `draw` makes on a worker thread, as JPEG.
    void writeJpeg(const QString& path, std::function<QImage()> draw, int quality);
    void write(const QString& path, const QByteArray& bytes);
    // Waits until every file given so far is written or has failed.
    void waitForAll();
    // True once a file could not be written; later files are then skipped.
    bool failed() const { return m_failed.load(); }
    // The path of the first file that could not be written.
    QString firstFailure() const;
    // Forgets a failure (a new run starts).
    void reset();

    // The image as JPEG at `quality` (0-100); empty when it cannot be encoded.
    static QByteArray jpegData(const QImage& image, int quality);
    // Writes the whole file (replacing one there); false when any of it could not be written.
    static bool writeWhole(const QString& path, const QByteArray& bytes);

private:
    // `data` runs on a worker thread; false when it has nothing to write.
    void submit(const QString& path, std::function<bool(QByteArray&)> data);
    void fail(const QString& path);

    QThreadPool m_pool;
    QSemaphore m_room;
    std::atomic<bool> m_failed {false};
    mutable QMutex m_mutex;
    QString m_firstFailure;
};
