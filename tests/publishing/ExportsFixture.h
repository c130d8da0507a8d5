#pragma once

// A family database with a data folder of its own (reports and pictures go there), and the readers that check the
// calendar and contact files with other programs' libraries.

#include "../model/PeopleFixture.h"

#include "shell/Utils.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

class ExportsFixture : public PeopleFixture {
protected:
    void SetUp() override
    {
        PeopleFixture::SetUp();
        QDir().mkpath(dataFolder());
        defaults().setString("KinloomDataDirectory", dataFolder());
    }

    QString dataFolder() const { return pathFor("data"); }

    // The JSON that tests/data/publishing/<script> prints for `file`, read by Debian's python3 (whose icalendar
    // and vobject scripts/setup installs). Null after a failure when the script fails.
    static QJsonDocument readWithPython(const QString& script, const QString& file)
    {
        QProcess python;
        python.start("/usr/bin/python3", {TestSupport::dataFile("publishing/" + script), file});
        python.waitForFinished(TestSupport::kHungRunMilliseconds);
        const QByteArray out = python.readAllStandardOutput();
        if (python.exitStatus() != QProcess::NormalExit || python.exitCode() != 0) {
            ADD_FAILURE() << script.toStdString() << " could not read " << file.toStdString() << ":\n"
                          << python.readAllStandardError().toStdString();
            return {};
        }
        return QJsonDocument::fromJson(out);
    }

    // The physical lines of a file that must end every line with CR LF; a failure names a line that does not, or
    // one longer than 75 octets.
    static QList<QByteArray> foldedLines(const QString& path)
    {
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        EXPECT_TRUE(bytes.endsWith("\r\n"));
        QList<QByteArray> lines = bytes.split('\n');
        lines.removeLast();
        for (QByteArray& line : lines) {
            EXPECT_TRUE(line.endsWith('\r')) << "a line ends without CR LF: " << line.toStdString();
            line.chop(1);
            EXPECT_LE(line.size(), 75) << line.toStdString();
        }
        return lines;
    }
};
