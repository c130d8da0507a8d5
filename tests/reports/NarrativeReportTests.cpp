// The narrative reports as files: the ancestors, descendants and individual reports, one line per person, and
// the ancestors by generation, against golden files; then the edge cases of the walks and of a person's section.
#include "ReportFixture.h"

#include "reports/NarrativePersonWriter.h"
#include "reports/ReportEventList.h"
#include "reports/ReportFileType.h"

#include "model/EventInfo.h"
#include "model/FTProjectView.h"

#include "WithoutPermissionOverride.h"

#include <QBuffer>
#include <QFileInfo>
#include <QRegularExpression>

#include <gmock/gmock.h>

using ::testing::HasSubstr;
using ::testing::Not;

namespace {
std::string s(const QByteArray& b)
{
    return b.toStdString();
}

// The part of a report from the name heading of `name` up to the next name heading.
QByteArray sectionOf(const QByteArray& rtf, const QByteArray& name, int occurrence = 0)
{
    qsizetype at = -1;
    for (int i = 0; i <= occurrence; ++i) {
        // The heading runs to its paragraph end.
        auto heading = [&rtf](qsizetype from) { return rtf.mid(from, rtf.indexOf("\\par \\b0", from) - from); };
        at = rtf.indexOf("\\s1\\f2\\fs28", at + 1);
        while (at >= 0 && heading(at).indexOf(name) < 0)
            at = rtf.indexOf("\\s1\\f2\\fs28", at + 1);
        if (at < 0)
            return {};
    }
    const qsizetype end = rtf.indexOf("\\s1\\f2\\fs28", at + 1);
    return rtf.mid(at, end < 0 ? -1 : end - at);
}

class NarrativeReports : public ReportFixture {
protected:
    void SetUp() override
    {
        ReportFixture::SetUp();
        makeFamily();
    }
};

struct GoldenCase {
    const char* golden;
    int type; // -1: by generation
    bool oneLine;
};
// The case's own name in test listings, not its bytes.
void PrintTo(const GoldenCase& c, std::ostream* os) { *os << c.golden; }

class NarrativeGolden : public NarrativeReports, public ::testing::WithParamInterface<GoldenCase> { };

TEST_P(NarrativeGolden, WritesTheReportAsBefore)
{
    const GoldenCase& c = GetParam();
    QByteArray rtf;
    if (c.type < 0) {
        NarrativeReportOptions o = byGenerationOptions();
        o.oneLinePerPerson = c.oneLine;
        rtf = byGeneration(ann, o);
    } else {
        NarrativeReportOptions o = options(c.type);
        o.oneLinePerPerson = c.oneLine;
        rtf = narrative(ann, o);
    }
    ASSERT_FALSE(rtf.isEmpty()) << messages().join("\n").toStdString();
    EXPECT_TRUE(wellFormed(rtf));
    TestSupport::expectGolden(rtf, QString("reports/%1.rtf").arg(c.golden));
}

INSTANTIATE_TEST_SUITE_P(Reports, NarrativeGolden,
    ::testing::Values(GoldenCase { "ancestors", NarrativeReportOptions::Ancestors, false },
        GoldenCase { "descendants", NarrativeReportOptions::Descendants, false },
        GoldenCase { "individual", NarrativeReportOptions::Individual, false },
        GoldenCase { "ancestors-one-line", NarrativeReportOptions::Ancestors, true },
        GoldenCase { "ancestors-by-generation", -1, false }),
    [](const auto& info) {
        QString name = info.param.golden;
        return name.remove('-').toStdString();
    });

// ---- The edge cases of the walks and of a section ---------------------------------------------------------------

TEST_F(NarrativeReports, GenerationsLimitTheWalkAndSetTheIndent)
{
    struct Case {
        int type;
        int generations;
        int sections;
    };
    for (const Case& c : { Case { NarrativeReportOptions::Ancestors, 0, 1 },
             Case { NarrativeReportOptions::Ancestors, 1, 3 }, Case { NarrativeReportOptions::Ancestors, 2, 7 },
             Case { NarrativeReportOptions::Descendants, 0, 1 }, Case { NarrativeReportOptions::Descendants, 1, 3 } }) {
        NarrativeReportOptions o = options(c.type);
        o.numGenerations = c.generations;
        const QByteArray rtf = narrative(ann, o);
        EXPECT_EQ(sections(rtf), c.sections) << "type " << c.type << ", generations " << c.generations;
        EXPECT_TRUE(wellFormed(rtf));
    }
    // Five generations deep: 5760 / 5 twips a generation, at most 360.
    EXPECT_EQ(NarrativeReport::getMaxLevel({ ann }, NarrativeReportOptions::Ancestors, 100), 5);
    EXPECT_EQ(NarrativeReport::getMaxLevel({ ann }, NarrativeReportOptions::Ancestors, 3), 3);
    EXPECT_EQ(NarrativeReport::getMaxLevel({ ann }, NarrativeReportOptions::Descendants, 100), 2);
    EXPECT_EQ(NarrativeReport::indentStep(20), 288);
    EXPECT_EQ(NarrativeReport::indentStep(5), 360);
    EXPECT_EQ(NarrativeReport::indentStep(0), 360);
    // A selected person without parents: the ancestors report is that one section.
    EXPECT_EQ(sections(narrative(old, options(NarrativeReportOptions::Ancestors))), 1);
}

TEST_F(NarrativeReports, AhnentafelNumbersInBinaryOrDecimalOrAsACountOfPaths)
{
    QByteArray rtf = narrative(ann, options(NarrativeReportOptions::Ancestors));
    EXPECT_THAT(s(sectionOf(rtf, "Mae")), HasSubstr("Ann's Grandmother, Ahnentafel number = 101\\par "));
    EXPECT_THAT(s(sectionOf(rtf, "Gil")), HasSubstr("Ahnentafel numbers = 1001, 1111\\par "));
    defaults().setBool("binaryAhnentafelNumbers", false);
    rtf = narrative(ann, options(NarrativeReportOptions::Ancestors));
    EXPECT_THAT(s(sectionOf(rtf, "Gil")), HasSubstr("Ann's Great Grandmother, Ahnentafel numbers = 9, 15\\par "));

    // Brothers marrying sisters four generations running: the couple at the top is reached along 16 lines.
    FTPerson* top[2] = { person("Top Man", M()), person("Top Woman", F()) };
    QList<FTPerson*> generation(std::begin(top), std::end(top));
    for (int g = 0; g < 4; ++g) {
        FTPerson* father = person(QString("Son%1 Man").arg(g), M());
        FTPerson* mother = person(QString("Daughter%1 Woman").arg(g), F());
        for (FTPerson* parent : generation)
            for (FTPerson* child : { father, mother })
                link(parent, child);
        generation = { father, mother };
    }
    FTPerson* root = person("Root Child", M());
    for (FTPerson* parent : generation)
        link(parent, root);
    rtf = narrative(root, options(NarrativeReportOptions::Ancestors));
    EXPECT_THAT(s(sectionOf(rtf, "Top MAN")),
        HasSubstr("Root's Great Great Great Grandfather, 16 Ahnentafel paths from Root CHILD\\par "));
    EXPECT_THAT(s(sectionOf(rtf, "Son0 MAN")), HasSubstr("Root's Great Great Grandfather, Ahnentafel numbers = "));
}

TEST_F(NarrativeReports, EndNotesAreNumberedAfreshForEachPerson)
{
    date(bob, "birth", 2, 2, 1905)->setNotes("Born at home.");
    QByteArray rtf = narrative(ann, options(NarrativeReportOptions::Ancestors));
    const QByteArray annSection = sectionOf(rtf, "Ann ROOT");
    EXPECT_THAT(s(annSection), HasSubstr("York  (Note.2) \\par "));
    EXPECT_THAT(s(annSection), HasSubstr("\\par (Note.2) Taught at the village school. \\par "));
    // Bob's own birth keeps its notes; in Ann's list the same birth of her father is not there at all, and a
    // relative's birth never shows its notes.
    const QByteArray bobSection = sectionOf(rtf, "Bob ROOT");
    EXPECT_THAT(s(bobSection), HasSubstr("Bob ROOT was born;   (Note.1) \\par "));
    EXPECT_THAT(s(bobSection), Not(HasSubstr("Note.2")));
    EXPECT_THAT(s(sectionOf(rtf, "Dan ROOT")), Not(HasSubstr("Born at home")));

    // Inline instead: the notes follow the row, their line ends as blanks.
    ann->otherEvents().first()->setNotes("Taught at\nthe village school.");
    NarrativeReportOptions o = options(NarrativeReportOptions::Ancestors);
    o.showEventNotesAsEndnotes = false;
    rtf = narrative(ann, o);
    EXPECT_THAT(s(sectionOf(rtf, "Ann ROOT")), HasSubstr("Occupation; York . Taught at the village school. \\par "));
    EXPECT_THAT(s(rtf), Not(HasSubstr("(Note.")));
}

TEST_F(NarrativeReports, EventsAfterTheDeathAreLeftOutButOrdinancesAndTheSameDayStay)
{
    FTPerson* late = person("Late Hart", F());
    date(late, "birth", 4, 6, 2020);
    link(ann, late);
    FTPerson* sameDay = person("Same Hart", M());
    date(sameDay, "birth", 3, 6, 2020);
    link(ann, sameDay);
    FTSpouseRel* marriage = hal->spouseRelsArray().first();
    FTEvent* sealing = FTEvent::initInMoc(moc.get(), FTEvent::OtherMarriageEvent, marriage, "SLGS");
    sealing->setDate("5 Jan 2022");
    FTEvent* divorce = FTEvent::initInMoc(moc.get(), FTEvent::OtherMarriageEvent, marriage, "DIV");
    divorce->setDate("6 Jan 2022");
    const QByteArray events = sectionOf(narrative(ann, options(NarrativeReportOptions::Individual)), "Ann ROOT");
    EXPECT_THAT(s(events), Not(HasSubstr("Birth of daughter Late HART")));
    EXPECT_THAT(s(events), HasSubstr("Birth of son Same HART"));
    EXPECT_THAT(s(events), HasSubstr("05 Jan 2022"));
    EXPECT_THAT(s(events), Not(HasSubstr("06 Jan 2022")));
}

TEST_F(NarrativeReports, StepRelativesAndRelatedEventsFollowTheirChoices)
{
    auto names = [](FTPerson* p, bool related, bool step) {
        QStringList out;
        for (const auto& row : ReportEventList::createEventInfoArray(p, related, step))
            out << row->eventName();
        return out.join(" | ").toStdString();
    };
    // Kim is Ann's step daughter: her death only with step relatives, her birth never.
    EXPECT_THAT(names(ann, true, false), Not(HasSubstr("Kim")));
    EXPECT_THAT(names(ann, true, true), HasSubstr("Death of step daughter Kim HART"));
    EXPECT_THAT(names(ann, true, true), Not(HasSubstr("Birth of step daughter")));
    // Without relatives' events the children and parents go, the husband's death and the marriage stay.
    EXPECT_THAT(names(ann, false, true), Not(HasSubstr("Ivy")));
    EXPECT_THAT(names(ann, false, true), Not(HasSubstr("father")));
    EXPECT_THAT(names(ann, false, true), HasSubstr("Death of husband Hal HART"));
    EXPECT_THAT(names(ann, false, true), HasSubstr("Married Hal HART"));
    // A step parent's death likewise.
    FTPerson* sid = person("Sid Step", M());
    year(sid, "death", 2000);
    link(sid, ivy, FTPcRel::kStep);
    EXPECT_THAT(names(ivy, true, false), Not(HasSubstr("Sid")));
    EXPECT_THAT(names(ivy, true, true), HasSubstr("Death of step father Sid STEP"));
}

TEST_F(NarrativeReports, AParentTheViewDoesNotNumberGetsAQuestionMark)
{
    // A third natural parent, of no gender: the ancestral view numbers fathers and mothers only.
    FTPerson* other = person("Pat Unknown");
    link(other, ann);
    const QByteArray rtf = byGeneration(ann, byGenerationOptions());
    EXPECT_THAT(s(rtf), HasSubstr("\r\n?. Pat UNKNOWN\r\n"));
    NarrativeReportOptions o = byGenerationOptions();
    o.oneLinePerPerson = true;
    EXPECT_THAT(s(byGeneration(ann, o)), HasSubstr("\r\n?. Pat UNKNOWN, \\par "));
    // Met twice, the unnumbered person is referred back to with question marks.
    FTPerson* child = person("Two Lines", F());
    link(ann, child);
    link(other, child);
    EXPECT_THAT(s(byGeneration(child, byGenerationOptions())),
        HasSubstr("?. (...) Pat UNKNOWN has occurred previously as number ?"));
}

TEST_F(NarrativeReports, AFamilyLoopEndsInEveryReport)
{
    // Each the natural parent of the next, round again: links the dialogs refuse, made directly.
    FTPerson* a = person("Ada Loop", F());
    FTPerson* b = person("Ben Loop", M());
    FTPerson* c = person("Cid Loop", M());
    link(b, a);
    link(c, b);
    link(a, c);
    EXPECT_EQ(NarrativeReport::getMaxLevel({ a }, NarrativeReportOptions::Ancestors, 100), 100);
    for (int type : { NarrativeReportOptions::Ancestors, NarrativeReportOptions::Descendants }) {
        const QByteArray rtf = narrative(a, options(type));
        // Ada, Ben, Cid, and Ada again referred back to.
        EXPECT_EQ(sections(rtf), 4) << "type " << type;
        EXPECT_EQ(rtf.count("(see above) Ada LOOP"), 1);
        EXPECT_TRUE(wellFormed(rtf));
    }
    const QByteArray rtf = byGeneration(a, byGenerationOptions());
    EXPECT_EQ(rtf.count("Generation No:"), 3);
    EXPECT_THAT(s(rtf), HasSubstr("(...) Ada LOOP has occurred previously as number 1"));
}

TEST_F(NarrativeReports, LivingPeopleShowAWordForTheirBirth)
{
    NarrativeReportOptions o = options(NarrativeReportOptions::Descendants);
    QByteArray rtf = narrative(ann, o);
    EXPECT_THAT(s(sectionOf(rtf, "Ivy HART")), HasSubstr("b.Living person \\par "));
    EXPECT_THAT(s(sectionOf(rtf, "Ann ROOT")), HasSubstr("Living person\\tab 34 - Birth of daughter Ivy HART"));
    o.oneLinePerPerson = true;
    EXPECT_THAT(s(narrative(ann, o)), HasSubstr("1. Ivy HART, F, Living\\par "));
    o = options(NarrativeReportOptions::Descendants);
    o.bIncludeLivingBirthDates = true;
    rtf = narrative(ann, o);
    EXPECT_THAT(s(sectionOf(rtf, "Ivy HART")), HasSubstr("b. 1985 \\par "));
}

TEST_F(NarrativeReports, UserTextCannotBreakTheFile)
{
    // The name as typed keeps a quote, a comma and a brace; the family and given names of the index entry come
    // from a GEDCOM file as they were (raw), with a backslash and braces.
    FTPerson* odd = person("Ann \"Nan\" O'Hare, {Jr}", F());
    odd->setFamilyName("O\\Hare}{");
    odd->setGivenNames("Ann \\par {\\b x}");
    odd->setNotes("Notes with } and \\b0 and {\\rtf");
    const QByteArray rtf = narrative(odd, options(NarrativeReportOptions::Individual));
    ASSERT_FALSE(rtf.isEmpty());
    EXPECT_TRUE(wellFormed(rtf));
    EXPECT_THAT(s(rtf), HasSubstr("Ann \\uc0\\u34 Nan\\uc0\\u34  O'Hare,  Jr "));
    EXPECT_THAT(s(rtf), HasSubstr("{ \\xe \\v O\\\\Hare  , Ann \\\\par  \\\\b x  }"));
    EXPECT_THAT(s(rtf), HasSubstr("Notes with   and \\\\b0 and  \\\\rtf\\b0 \\par "));
}

TEST_F(NarrativeReports, AFileThatCannotBeMadeIsReportedAndNothingIsLeftHalfWay)
{
    QFile::setPermissions(Utils::reportsDirectory(), QFile::ReadOwner | QFile::ExeOwner);
    {
        WithoutPermissionOverride asAUser;
        EXPECT_TRUE(narrative(ann, options(NarrativeReportOptions::Ancestors)).isEmpty());
    }
    QFile::setPermissions(Utils::reportsDirectory(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_THAT(prompts.records[0].text.toStdString(), HasSubstr(LocalizedString("UnableToOpenReport").toStdString()));
    EXPECT_TRUE(QDir(Utils::reportsDirectory()).isEmpty(QDir::NoDotAndDotDot | QDir::AllEntries));
}

TEST_F(NarrativeReports, TheDatabaseIsLeftAsItWas)
{
    ASSERT_FALSE(ann->ancestralView());
    const int views = int(moc->fetch<FTProjectView>().size());
    const int undo = moc->undoManager()->undoCount();
    const QDateTime stamp = ann->lastChange();
    EXPECT_FALSE(narrative(ann, options(NarrativeReportOptions::Ancestors)).isEmpty());
    EXPECT_FALSE(byGeneration(ann, byGenerationOptions()).isEmpty());
    EXPECT_FALSE(moc->hasChanges());
    EXPECT_EQ(moc->fetch<FTProjectView>().size(), views);
    EXPECT_EQ(moc->undoManager()->undoCount(), undo);
    EXPECT_FALSE(ann->ancestralView());
    EXPECT_EQ(ann->lastChange(), stamp);
    // A view the person has already is used, and kept.
    FTProjectView* own = FTProjectView::initInMoc(moc.get());
    own->setRootPersonInAncestralView(ann);
    ASSERT_TRUE(moc->saveMoc());
    EXPECT_FALSE(narrative(ann, options(NarrativeReportOptions::Ancestors)).isEmpty());
    EXPECT_EQ(ann->ancestralView(), own);
    EXPECT_FALSE(moc->hasChanges());
}

TEST_F(NarrativeReports, PicturesAreFramedJpegInRtfAndFilesInAnRtfdFolder)
{
    FTPicture::initInMoc(moc.get(), imageFile("hal.png", QSize(75, 100), Qt::blue), hal);
    FTPicture::initInMoc(moc.get(), imageFile("ivy.png", QSize(60, 80), Qt::red), ivy);
    NarrativeReportOptions o = options(NarrativeReportOptions::Individual);
    o.excludeGoogleMaps = false;
    QByteArray rtf = narrative(ann, o);
    EXPECT_TRUE(wellFormed(rtf));
    // Ann's map, Hal's picture, then Ivy's at half the size; Jon has none and is named.
    const QRegularExpression picture(
        R"(\\pict \\picw(\d+) \\pich(\d+) \\picwgoal(\d+) \\pichgoal(\d+) \\jpegblip \\bin(\d+) )");
    const QString text = QString::fromLatin1(rtf);
    QList<QImage> images;
    QStringList goals;
    for (auto it = picture.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        goals << m.captured(3) + "x" + m.captured(4);
        images << QImage::fromData(rtf.mid(m.capturedEnd(), m.captured(5).toLongLong()), "JPEG");
    }
    EXPECT_EQ(goals, (QStringList { "1200x1600", "1200x1600", "600x800" }));
    ASSERT_EQ(images.size(), 3);
    EXPECT_EQ(images[1].size(), QSize(75, 100));
    // Framed in black, the first name along the foot on grey, the picture itself inside.
    EXPECT_LT(qGray(images[1].pixel(0, 50)), 110);
    EXPECT_GT(qBlue(images[1].pixel(37, 40)), 200);
    EXPECT_THAT(s(rtf), HasSubstr(" => Jon + {\\*\\shppict"));

    // The maps left out, as the report starts: neither the picture nor the name.
    o.excludeGoogleMaps = true;
    rtf = narrative(ann, o);
    EXPECT_EQ(rtf.count("\\jpegblip"), 2);
    EXPECT_THAT(s(rtf), HasSubstr("\\keepn \r\n + {\\*\\shppict"));

    // RTFD: the text and each picture a file in the folder.
    QString folder;
    o.cropImagesTo4x3Portrait = true;
    rtf = narrative(ann, o, &folder, "rtfd");
    ASSERT_TRUE(QFileInfo(folder).isDir()) << folder.toStdString();
    EXPECT_TRUE(folder.endsWith("/Ann ROOT.rtfd"));
    const QString halFile = QString("Hal_HART_P%1.tiff").arg(hal->numericId());
    EXPECT_THAT(
        s(rtf), HasSubstr(QString("{{\\NeXTGraphic %1 \\width1200 \\height1600 } ").arg(halFile).toStdString()));
    const QImage stored(folder + "/" + halFile);
    EXPECT_EQ(stored.size(), QSize(75, 100)) << "already 3 by 4: nothing to cut";
    EXPECT_TRUE(QFileInfo::exists(folder + QString("/Ivy_HART_P%1.tiff").arg(ivy->numericId())));
}

TEST(ReportFileTypes, OnlyRtfdFoldersAreQuestioned)
{
    EXPECT_TRUE(ReportFileType::refusal("rtf", "libreoffice-writer.desktop", true).isEmpty());
    EXPECT_FALSE(ReportFileType::refusal("rtfd", "libreoffice-writer.desktop", false).isEmpty());
    EXPECT_FALSE(ReportFileType::refusal("rtfd", QString(), true).isEmpty());
}

} // namespace
