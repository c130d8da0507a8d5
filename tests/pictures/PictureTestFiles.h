#pragma once

// Files on disk and pictures whose files are gone, for the tests of the pictures library and its windows.

#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/FTPicture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

// Writes `contents` at `path`, making its folders.
inline QString writeTestFile(const QString& path, const QByteArray& contents)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    f.write(contents);
    return path;
}

// A picture of `owner` that names `filename` (and `original` as first chosen), with no file placed: as after
// moving a database to another computer.
inline FTPicture* missingPicture(FTMoc& moc, FTPerson* owner, const QString& filename, const QString& original = {})
{
    auto* p = moc.insertObject<FTPicture>();
    p->setOwner(owner);
    p->setRclCut("{{0, 0}, {0, 0}}");
    p->setString(Key("filename"), filename);
    p->setOriginalFilename(original);
    return p;
}
