#pragma once

// A family database in a temporary folder (ModelFixture) with helpers for picture files: files and images on disk,
// people, and pictures whose files are gone.

#include "../model/ModelFixture.h"
#include "PictureTestFiles.h"

#include "model/FTPerson.h"
#include "model/FTPicture.h"

#include "platform/UserDefaults.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QMimeData>
#include <QPainter>
#include <QUrl>

#include <memory>

class PicturesFixture : public ModelFixture {
protected:
    void SetUp() override
    {
        ModelFixture::SetUp();
        UserDefaults::standard().setBool("alwaysCopyToPicturesFolder", true);
    }
    void TearDown() override
    {
        UserDefaults::standard().removeObject("alwaysCopyToPicturesFolder");
        ModelFixture::TearDown();
    }

    QString data() const { return dir.path() + "/data"; }
    QString picturesFolder() const { return data() + "/Pictures"; }

    QString file(const QString& relative, const QByteArray& contents)
    {
        return writeTestFile(dir.path() + "/" + relative, contents);
    }
    // An image file of the format its extension names: left half red, right half blue.
    QString image(const QString& relative, int width = 40, int height = 20)
    {
        QImage img(width, height, QImage::Format_RGB32);
        img.fill(Qt::blue);
        QPainter(&img).fillRect(0, 0, width / 2, height, Qt::red);
        const QString path = dir.path() + "/" + relative;
        QDir().mkpath(QFileInfo(path).path());
        EXPECT_TRUE(img.save(path));
        return path;
    }
    static QByteArray imageBytes(const char* format, int width = 40, int height = 20)
    {
        QImage img(width, height, QImage::Format_RGB32);
        img.fill(Qt::darkCyan);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        EXPECT_TRUE(img.save(&buffer, format));
        return bytes;
    }
    static FTPerson* person(FTMoc& moc, const QString& name)
    {
        auto* p = moc.insertObject<FTPerson>();
        p->setName(name);
        return p;
    }
    // A drag or clipboard of these files.
    static std::unique_ptr<QMimeData> filesDropped(const QStringList& paths)
    {
        auto mime = std::make_unique<QMimeData>();
        QList<QUrl> urls;
        for (const QString& p : paths)
            urls << QUrl::fromLocalFile(p);
        mime->setUrls(urls);
        return mime;
    }
    QStringList picturesFolderEntries() const
    {
        return QDir(picturesFolder()).entryList(QDir::Files | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    }
};
