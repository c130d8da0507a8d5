#pragma once

// A small family for the narrative reports, the program's first-run defaults, a reports folder of the test's own,
// and helpers that run a report and read its file back.
//
//   Old Root (1820-1890)
//     Gus Root (1850-1920) + Gil Moss (1852-1925), married 1875
//       Dan Root (1878-1950) + Mae Dunn (1882-1960)      Eve Root (1880-1960) + Ned Lane (1879-1940)
//         Bob Root (1905-1975) + Cat Lane (1907-1990), married 1930 at Leeds
//           Ann Root (12 May 1951 Leeds - 3 Jun 2020 York), a teacher, with notes, comments, an occupation with
//           notes, citations of two sources and a saved map as her default picture
//           + Hal Hart (1949-2001), married 1975 at York (the marriage has notes); his daughter Kim Hart
//             (1975-2015) is Ann's step daughter
//             Ivy Hart (b. 1985, living), their daughter; Jon Hart (b. 1980), adopted by both
//
// Bob and Cat are second cousins: Gus, Gil and Old are each Ann's ancestors along two lines.

#include "../model/PeopleFixture.h"

#include "reports/AncestorsByGeneration.h"
#include "reports/NarrativeReport.h"

#include "model/FTPicture.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"

#include "shell/RtfWriter.h"
#include "shell/Utils.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>

class ReportFixture : public PeopleFixture {
protected:
    void SetUp() override
    {
        PeopleFixture::SetUp();
        TestSupport::useFirstRunDefaults();
        QDir().mkpath(dir.path() + "/data");
        defaults().setString("KinloomDataDirectory", dir.path() + "/data");
        NarrativeReportOptions::appendEventNotes() = true;
    }

    // The family above; `ann` is the selected person.
    void makeFamily()
    {
        old = person("Old Root", M());
        year(old, "birth", 1820);
        year(old, "death", 1890);
        gus = person("Gus Root", M());
        year(gus, "birth", 1850);
        year(gus, "death", 1920);
        gil = person("Gil Moss", F());
        year(gil, "birth", 1852);
        year(gil, "death", 1925);
        link(old, gus);
        year(couple(gus, gil), "marriage", 1875);
        dan = person("Dan Root", M());
        year(dan, "birth", 1878);
        year(dan, "death", 1950);
        eve = person("Eve Root", F());
        year(eve, "birth", 1880);
        year(eve, "death", 1960);
        for (FTPerson* child : { dan, eve }) {
            link(gus, child);
            link(gil, child);
        }
        mae = person("Mae Dunn", F());
        year(mae, "birth", 1882);
        year(mae, "death", 1960);
        ned = person("Ned Lane", M());
        year(ned, "birth", 1879);
        year(ned, "death", 1940);
        couple(dan, mae);
        couple(eve, ned);
        bob = person("Bob Root", M());
        year(bob, "birth", 1905);
        year(bob, "death", 1975);
        link(dan, bob);
        link(mae, bob);
        cat = person("Cat Lane", F());
        year(cat, "birth", 1907);
        year(cat, "death", 1990);
        link(ned, cat);
        link(eve, cat);
        year(couple(bob, cat), "marriage", 1930)->setPlace("Leeds");

        ann = person("Ann Root", F());
        date(ann, "birth", 12, 5, 1951)->setPlace("Leeds");
        date(ann, "death", 3, 6, 2020)->setPlace("York");
        link(bob, ann);
        link(cat, ann);
        ann->setTitle("Teacher");
        ann->setCauseOfDeath("Old age");
        ann->setNotes("  Loved her garden.\nKept bees.\n\n");
        ann->setComments("Check the parish register.");
        FTEvent* work = FTEvent::initInMoc(moc.get(), FTEvent::OtherPersonalEvent, ann, "OCCU");
        work->setYear(1975);
        work->setDate("1975");
        work->setPlace("York");
        work->setNotes("Taught at the village school.");

        hal = person("Hal Hart", M());
        year(hal, "birth", 1949);
        year(hal, "death", 2001);
        FTEvent* wedding = year(couple(ann, hal), "marriage", 1975);
        wedding->setPlace("York");
        wedding->setNotes("A June wedding.");
        kim = person("Kim Hart", F());
        year(kim, "birth", 1975);
        year(kim, "death", 2015);
        link(hal, kim);
        link(ann, kim, FTPcRel::kStep);
        ivy = person("Ivy Hart", F());
        year(ivy, "birth", 1985);
        link(ann, ivy);
        link(hal, ivy);
        jon = person("Jon Hart", M());
        year(jon, "birth", 1980);
        link(ann, jon, FTPcRel::kAdopted);
        link(hal, jon, FTPcRel::kAdopted);

        FTSource* parish = FTSource::initInMoc(moc.get());
        parish->setTitle("Parish Register of St Mary");
        parish->setValueForKey("author", "Rev. Smith");
        FTSource* census = FTSource::initInMoc(moc.get());
        census->setTitle("Census 1881");
        FTSourceRel::initInMoc(moc.get(), census, ann, "residence")->setReference("RG11/123");
        FTSourceRel::initInMoc(moc.get(), parish, ann, "baptism")->setReference("p. 12");
        FTSourceRel::initInMoc(moc.get(), parish, ann, QString())->setReference("p. 14");

        // A saved map as Ann's default picture.
        map = FTPicture::initInMoc(moc.get(), imageFile("Map_York.jpg", QSize(80, 60), Qt::darkGreen), ann);

        moc->setSelectedPerson(ann);
        ASSERT_TRUE(moc->saveMoc());
    }

    // An image file in the test's folder; its path.
    QString imageFile(const QString& name, QSize size, Qt::GlobalColor colour)
    {
        const QString path = dir.path() + "/" + name;
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        EXPECT_TRUE(image.save(path));
        return path;
    }

    static NarrativeReportOptions options(int type)
    {
        NarrativeReportOptions o = NarrativeReportOptions::forType(type);
        o.moment = moment();
        return o;
    }
    static NarrativeReportOptions byGenerationOptions()
    {
        NarrativeReportOptions o = NarrativeReportOptions::fromAncestorsReportDefaults();
        o.moment = moment();
        return o;
    }
    static QDateTime moment() { return QDateTime(QDate(2024, 3, 5), QTime(14, 5)); }

    // Runs the narrative report of `selected` as an RTF file; answers its bytes (empty when it failed).
    QByteArray narrative(
        FTPerson* selected, const NarrativeReportOptions& o, QString* path = nullptr, const QString& fileType = "rtf")
    {
        NarrativeReport report(moc.get(), selected, o);
        RtfWriter writer;
        writer.setFileType(fileType);
        if (!report.generate(writer))
            return {};
        if (path)
            *path = writer.outputPath();
        return readAll(writer.rtfFilePath());
    }
    QByteArray byGeneration(FTPerson* selected, const NarrativeReportOptions& o)
    {
        AncestorsByGeneration report(moc.get(), selected, o);
        RtfWriter writer;
        writer.setFileType("rtf");
        return report.generate(writer) ? readAll(writer.rtfFilePath()) : QByteArray();
    }

    static QByteArray readAll(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // How often the section heading style opens: one per person written in full.
    static int sections(const QByteArray& rtf) { return int(rtf.count("\\s1\\f2\\fs28")); }

    // Whether the groups of an RTF text close as they open, nothing after the last: "\{", "\}" and "\\" are text,
    // and the bytes of a "\binN" picture are skipped.
    static bool wellFormed(const QByteArray& rtf)
    {
        int depth = 0;
        for (qsizetype i = 0; i < rtf.size(); ++i) {
            const char c = rtf[i];
            if (c == '\\') {
                if (i + 1 < rtf.size() && (rtf[i + 1] == '{' || rtf[i + 1] == '}' || rtf[i + 1] == '\\')) {
                    ++i;
                    continue;
                }
                if (rtf.mid(i + 1, 3) == "bin") {
                    qsizetype j = i + 4;
                    qsizetype n = 0;
                    while (j < rtf.size() && rtf[j] >= '0' && rtf[j] <= '9')
                        n = n * 10 + (rtf[j++] - '0');
                    i = j + (j < rtf.size() && rtf[j] == ' ' ? 1 : 0) + n - 1;
                }
                continue;
            }
            if (c == '{')
                ++depth;
            else if (c == '}') {
                if (--depth < 0)
                    return false;
            } else if (depth == 0) {
                return false;
            }
        }
        return depth == 0;
    }

    FTPerson *old = nullptr, *gus = nullptr, *gil = nullptr, *dan = nullptr, *eve = nullptr, *mae = nullptr,
             *ned = nullptr, *bob = nullptr, *cat = nullptr, *ann = nullptr, *hal = nullptr, *kim = nullptr,
             *ivy = nullptr, *jon = nullptr;
    FTPicture* map = nullptr;
};
