#include "publishing/HtmlFileWriter.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QMutexLocker>

#include <algorithm>

HtmlFileWriter::HtmlFileWriter()
{
    const int threads = std::max(1, QThread::idealThreadCount());
    m_pool.setMaxThreadCount(threads);
    // Two files a thread keep every thread busy while the main thread draws the next diagram.
    m_room.release(2 * threads);
}

HtmlFileWriter::~HtmlFileWriter()
{
    waitForAll();
}

void HtmlFileWriter::waitForAll()
{
    m_pool.waitForDone();
}

QString HtmlFileWriter::firstFailure() const
{
    QMutexLocker lock(&m_mutex);
    return m_firstFailure;
}

void HtmlFileWriter::reset()
{
    waitForAll();
    QMutexLocker lock(&m_mutex);
    m_firstFailure.clear();
    m_failed = false;
}

void HtmlFileWriter::fail(const QString& path)
{
    QMutexLocker lock(&m_mutex);
    if (!m_failed.exchange(true))
        m_firstFailure = path;
}

void HtmlFileWriter::writeJpeg(const QString& path, const QImage& image, int quality)
{
    writeJpeg(path, [image] { return image; }, quality);
}

void HtmlFileWriter::writeJpeg(const QString& path, std::function<QImage()> draw, int quality)
{
    submit(path, [draw = std::move(draw), quality](QByteArray& data) {
        data = jpegData(draw(), quality);
        return !data.isEmpty();
    });
}

void HtmlFileWriter::write(const QString& path, const QByteArray& bytes)
{
    submit(path, [bytes](QByteArray& data) {
        data = bytes;
        return true;
    });
}

void HtmlFileWriter::submit(const QString& path, std::function<bool(QByteArray&)> data)
{
    if (m_failed)
        return;
    m_room.acquire();
    m_pool.start([this, path, data = std::move(data)] {
        if (!m_failed) {
            QByteArray bytes;
            if (!data(bytes) || !writeWhole(path, bytes))
                fail(path);
        }
        m_room.release();
    });
}

QByteArray HtmlFileWriter::jpegData(const QImage& image, int quality)
{
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(quality);
    if (!writer.write(image))
        return {};
    return out;
}

bool HtmlFileWriter::writeWhole(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    bool ok = f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    if (ok)
        ok = f.write(bytes) == bytes.size();
    if (ok)
        ok = f.flush();
    f.close();
    return ok && f.error() == QFileDevice::NoError;
}
