#pragma once

// Picture files for the benchmarks: JPEGs that compress as photographs do.

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QRandomGenerator>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdio>

// Something like a photograph: soft colour gradients, a few shapes and some grain, so that it compresses as a
// photograph does rather than as a flat colour.
inline QByteArray photoLikeJpeg(int width, int height, quint32 seed)
{
    QImage image(width, height, QImage::Format_RGB32);
    QRandomGenerator random(seed);
    QPainter p(&image);
    QLinearGradient sky(0, 0, width, height);
    sky.setColorAt(0, QColor::fromHsv(int(random.bounded(360)), 120, 230));
    sky.setColorAt(1, QColor::fromHsv(int(random.bounded(360)), 160, 90));
    p.fillRect(image.rect(), sky);
    for (int i = 0; i < 40; ++i) {
        QColor c = QColor::fromHsv(int(random.bounded(360)), int(random.bounded(200)), int(random.bounded(255)), 160);
        p.setBrush(c);
        p.setPen(Qt::NoPen);
        const int w = int(random.bounded(width / 3)) + 10, h = int(random.bounded(height / 3)) + 10;
        p.drawEllipse(int(random.bounded(width)) - w / 2, int(random.bounded(height)) - h / 2, w, h);
    }
    p.end();
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int grain = int(random.bounded(17)) - 8;
            const QRgb v = line[x];
            line[x] = qRgb(qBound(0, qRed(v) + grain, 255), qBound(0, qGreen(v) + grain, 255),
                qBound(0, qBlue(v) + grain, 255));
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 85);
    return bytes;
}

inline bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// `count` files "photo_0000.jpg"... in `folder`, taking the given JPEGs in turn. Empty after a message when one
// cannot be written.
inline QStringList writePhotoFiles(const QString& folder, int count, const QList<QByteArray>& jpegs)
{
    QStringList files;
    for (int i = 0; i < count; ++i) {
        const QString path = QStringLiteral("%1/photo_%2.jpg").arg(folder).arg(i, 4, 10, QLatin1Char('0'));
        if (!writeFile(path, jpegs[i % jpegs.size()])) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return {};
        }
        files << path;
    }
    return files;
}
