// The generated story: where it goes, its lines, pictures, groups of relatives, sections and event rows, read
// from the document's text and formats on a small family with a fixed clock.
#include "../model/PeopleFixture.h"

#include "editor/StoryGenerator.h"
#include "editor/StoryRtfFile.h"

#include "model/FTPicture.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"
#include "model/UtilsPics.h"

#include "platform/store/Key.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextImageFormat>

#include <gmock/gmock.h>

using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

namespace {

class StoryGeneratorTest : public PeopleFixture {
protected:
    std::unique_ptr<QTextDocument> generate(FTPerson* p, const StoryOptions& options = {})
    {
        StoryGenerator generator(options);
        generator.setClock([] { return QDateTime(QDate(2025, 2, 3), QTime(14, 5)); });
        return generator.generateStory(p);
    }
    static std::string text(const QTextDocument& doc) { return doc.toPlainText().toStdString(); }
    // The paragraph that holds `text`; invalid when none does.
    static QTextBlock blockWith(const QTextDocument& doc, const QString& text)
    {
        for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
            if (b.text().contains(text))
                return b;
        return {};
    }
    static QList<QTextImageFormat> images(const QTextBlock& block)
    {
        QList<QTextImageFormat> out;
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat())
                out << it.fragment().charFormat().toImageFormat();
        return out;
    }
    FTEvent* event(ManagedObject* owner, int type, const char* tag, const QString& date, const QString& notes = {})
    {
        FTEvent* e = FTEvent::initInMoc(moc.get(), type, static_cast<FTManagedObject*>(owner), tag);
        e->setDate(date);
        e->setNotes(notes);
        return e;
    }
    // A default picture with a thumbnail of w by h; with a file name, from a file of that name in the data folder.
    FTPicture* picture(FTPerson* p, int w = 100, int h = 100, const QString& fileName = {})
    {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        QString path;
        if (!fileName.isEmpty()) {
            QDir().mkpath(pathFor("files"));
            path = pathFor("files/" + fileName);
            EXPECT_TRUE(image.save(path));
        }
        FTPicture* picture = FTPicture::initInMoc(moc.get(), path, p);
        if (fileName.isEmpty())
            picture->setThumbnailImage(image);
        p->setDefaultPicture(picture);
        return picture;
    }
};

TEST_F(StoryGeneratorTest, TheTextGoesBeforeAfterOrInPlaceOfTheStory)
{
    FTPerson* ann = person("Ann Lee", F());
    const auto generated = generate(ann);
    const std::string heading = "The story of Ann Lee created on Monday 03-Feb-25 at 14:05";
    EXPECT_THAT(text(*generated), StartsWith(heading + "\nAnn Lee\n"));

    struct Case {
        qlonglong mode;
        bool inserted;
        const char* starts;
        const char* ends;
    };
    for (const Case& c : {Case{0, true, heading.c_str(), "My own words."}, Case{1, true, "My own words.\nThe story", "\n"},
                          Case{2, true, heading.c_str(), "\n"}, Case{3, false, "My own words.", "My own words."}}) {
        SCOPED_TRACE(c.mode);
        QTextDocument story;
        QTextCursor cursor(&story);
        QTextBlockFormat centred;
        centred.setAlignment(Qt::AlignHCenter);
        cursor.setBlockFormat(centred);
        cursor.insertText("My own words.");

        EXPECT_EQ(StoryGenerator::insertGeneratedText(story, *generated, c.mode), c.inserted);
        EXPECT_THAT(text(story), StartsWith(c.starts));
        EXPECT_TRUE(story.toPlainText().endsWith(c.ends));
        EXPECT_EQ(story.toPlainText().count("The story of"), c.inserted ? 1 : 0);
        // Each paragraph keeps its own format where the texts meet.
        const QTextBlock own = blockWith(story, "My own words.");
        EXPECT_EQ(own.isValid(), c.mode != 2);
        if (own.isValid())
            EXPECT_EQ(own.blockFormat().alignment(), Qt::AlignHCenter);
        if (c.inserted)
            EXPECT_EQ(blockWith(story, "The story of").blockFormat().alignment(), Qt::AlignLeft);
    }
}

TEST_F(StoryGeneratorTest, BirthMarriageAndDeathLines)
{
    FTPerson* kim = person("Kim Young", F());
    kim->setValueForKeyPath("birth.date", "1990");
    kim->setValueForKeyPath("birth.place", "Leeds");
    kim->setTitle("Weaver");
    FTPerson* lee = person("Lee Park", M());
    FTSpouseRel* first = couple(kim, lee);
    first->setValueForKeyPath("marriage.date", "2015");
    first->setValueForKeyPath("marriage.place", "York");
    FTPerson* sam = person("Sam Fox", M());
    couple(kim, sam);
    FTPerson* amy = person("Amy Park", F());
    link(kim, amy);
    amy->setValueForKeyPath("birth.date", "2016");
    year(sam, "death", 2020);

    StoryOptions living;
    living.includeBirthsOfLiving = false;
    const auto hidden = generate(kim, living);
    // The couples in the model's order: the undated one first.
    EXPECT_THAT(text(*hidden), HasSubstr("\nb. Living person\n+ (1) Sam Fox\nm.(2) 2015 Lee Park at York\n\n"
                                         "Title/Occupation: Weaver\n"));
    // Every dated birth row shows it in place of the date, a relative's too; other rows keep theirs.
    EXPECT_THAT(blockWith(*hidden, "Amy").text().toStdString(), Not(HasSubstr("2016")));
    int livingRows = 0;
    for (QTextBlock b = blockWith(*hidden, "Events in").next(); b.isValid(); b = b.next())
        livingRows += b.text().startsWith("Living person") ? 1 : 0;
    EXPECT_EQ(livingRows, 2);
    EXPECT_TRUE(blockWith(*hidden, "2020").isValid());

    const auto shown = generate(kim);
    EXPECT_THAT(text(*shown), HasSubstr("\nb. 1990 at Leeds\n+ (1) Sam Fox\n"));
    // A single couple has no number.
    EXPECT_THAT(text(*generate(lee)), HasSubstr("\nm. 2015 Kim Young at York\n"));
}

TEST_F(StoryGeneratorTest, PictureRowLeavesOutMapsAndBreaksBeforeTheChildrenAfterFivePictures)
{
    FTPerson* ann = person("Ann Lee", F());
    picture(ann, 80, 60, "GoogleMap_Leeds.png");
    couple(ann, person("Bob Lee", M()));
    FTPerson* cy = person("Cy Lee", M());
    link(ann, cy);
    picture(cy);
    const auto doc = generate(ann);
    const QTextBlock row = doc->begin().next().next();
    // Neither the map nor the first name: the row starts with the spouse.
    EXPECT_EQ(row.text().left(11), " + Bob => \uFFFC");
    EXPECT_EQ(images(row).size(), 1);
    EXPECT_THAT(text(*doc), HasSubstr("\n+ Bob Lee\n"));

    StoryOptions keepMaps;
    keepMaps.excludeGoogleMaps = false;
    EXPECT_EQ(images(generate(ann, keepMaps)->begin().next().next()).size(), 2);

    for (int spouses : {3, 4}) {
        SCOPED_TRACE(spouses);
        FTPerson* eve = person("Eve Ray", F());
        picture(eve, 100, 100);
        for (int i = 0; i < spouses; ++i) {
            FTPerson* s = person(QString("Man%1 Ray").arg(i), M());
            couple(eve, s);
            picture(s);
        }
        FTPerson* kid = person("Kid Ray", M());
        link(eve, kid);
        picture(kid);
        StoryOptions crop;
        crop.cropTo4x3 = true;
        const auto doc = generate(eve, crop);
        const QTextBlock first = doc->begin().next().next();
        // Five pictures of the person and the spouses fill the row; four leave room for the child's.
        EXPECT_EQ(images(first).size(), 5);
        EXPECT_EQ(first.text().contains("=>"), spouses == 3);
        EXPECT_EQ(first.next().text().startsWith(" => "), spouses == 4);
        // Cropped to 3:4.
        EXPECT_EQ(images(first)[0].width(), 75);
        EXPECT_EQ(images(first)[0].height(), 100);
    }
}

TEST_F(StoryGeneratorTest, EventRowsOfThePersonAndCloseRelatives)
{
    FTPerson* john = person("John Smith", M());
    date(john, "birth", 5, 1, 1900)->setNotes("Born at home");
    year(john, "death", 1970);
    FTPerson* mary = person("Mary Jones", F());
    FTSpouseRel* wed = couple(john, mary);
    year(wed, "marriage", 1925)->setNotes("Married in the rain");
    event(wed, FTEvent::OtherMarriageEvent, "SLGS", "1990");  // an ordinance after his death
    event(wed, FTEvent::OtherMarriageEvent, "DIV", "1980");   // an event after his death
    FTPerson* tom = person("Tom Smith", M());
    link(john, tom);
    year(tom, "birth", 1926);
    year(tom, "death", 1960)->setNotes("Lost at sea");
    FTPerson* sue = person("Sue Smith", F());
    link(john, sue);
    year(sue, "birth", 1975);
    FTPerson* bob = person("Bob Brown", M());
    link(john, bob, FTPcRel::kStep);
    year(bob, "birth", 1920);
    year(bob, "death", 1965);
    FTPerson* sal = person("Sal Smith", F());
    link(sal, john, FTPcRel::kStep);
    year(sal, "death", 1950);
    FTPerson* will = person("Will Smith", M());
    link(will, john);
    year(will, "birth", 1870);
    year(will, "death", 1940);

    for (bool stepRels : {false, true}) {
        SCOPED_TRACE(stepRels);
        StoryOptions options;
        options.includeStepRels = stepRels;
        options.eventsColour = QColor(1, 2, 3);
        const auto doc = generate(john, options);
        const QTextBlock header = blockWith(*doc, "Events in John Smith's life");
        ASSERT_TRUE(header.isValid());
        QList<QTextBlock> rows;
        for (QTextBlock b = header.next().next(); b.isValid() && !b.text().isEmpty(); b = b.next())
            rows << b;
        auto row = [&rows](const char* text) {
            for (const QTextBlock& b : rows)
                if (b.text().contains(text))
                    return b.text().toStdString();
            return std::string();
        };
        // Own birth and death, the marriage, the children's births and deaths, the father's death, the sealing.
        EXPECT_EQ(row("1900"), "05 Jan 1900 \t   0  - John Smith was born;   (Note.1)");
        EXPECT_THAT(row("1925"), StartsWith("1925        \t 25 - "));
        EXPECT_THAT(row("1925"), HasSubstr("(Note.2)"));
        EXPECT_THAT(row("1960"), Not(HasSubstr("Note")));
        for (const char* listed : {"1926", "1940", "1970", "1990"})
            EXPECT_NE(row(listed), "") << listed;
        // Dated after his death: a child's birth and a divorce are not listed; a parent's birth never is.
        for (const char* left : {"1975", "1980", "1870"})
            EXPECT_EQ(row(left), "") << left;
        // A step-child gives its death only, and only with the option; so does a step-parent.
        EXPECT_EQ(row("1920"), "");
        EXPECT_EQ(row("1965") != "", stepRels);
        EXPECT_EQ(row("1950") != "", stepRels);
        EXPECT_EQ(rows.size(), stepRels ? 9 : 7);
        // The notes follow the list, numbered; relatives' own events show none.
        EXPECT_THAT(text(*doc), HasSubstr("\n(Note.1) Born at home\n\n(Note.2) Married in the rain\n"));
        EXPECT_THAT(text(*doc), Not(HasSubstr("Lost at sea")));

        const QTextBlockFormat rowFormat = rows[2].blockFormat();
        const double px = StoryGenerator::pixelsPerPoint();
        ASSERT_EQ(rowFormat.tabPositions().size(), 1);
        EXPECT_DOUBLE_EQ(rowFormat.tabPositions()[0].position, 100 * px);
        EXPECT_DOUBLE_EQ(rowFormat.leftMargin(), 130 * px);
        EXPECT_DOUBLE_EQ(rowFormat.textIndent(), -130 * px);
        EXPECT_EQ(rows[2].charFormat().foreground().color(), QColor(1, 2, 3));
        const QTextCharFormat headerChars = header.begin().fragment().charFormat();
        EXPECT_TRUE(headerChars.fontUnderline());
        EXPECT_EQ(headerChars.fontWeight(), QFont::Bold);
    }
}

TEST_F(StoryGeneratorTest, TheScopeChoosesTheGroupsOfRelatives)
{
    FTPerson* pat = person("Pat Hill", F());
    FTPerson* fred = person("Fred Hill", M());
    year(fred, "birth", 1900);
    FTPerson* meg = person("Meg Hill", F());
    couple(fred, meg);
    link(fred, pat);
    link(meg, pat);
    FTPerson* grandad = person("Old Hill", M());
    link(grandad, fred);
    FTPerson* aunt = person("Ida Hill", F());
    link(grandad, aunt);
    link(aunt, person("Cousin Hill", M()));
    FTPerson* sister = person("Sis Hill", F());
    link(fred, sister);
    link(meg, sister);
    link(sister, person("Nephew Hill", M()));
    FTPerson* wife = person("Wyn Roe", F());
    couple(pat, wife);
    FTPerson* inLaw = person("Ray Roe", M());
    link(inLaw, wife);
    link(inLaw, person("Wyn's Brother Roe", M()));
    FTPerson* kid = person("Kid Hill", M());
    link(pat, kid);
    FTPerson* grandKid = person("Grand Hill", M());
    link(kid, grandKid);
    link(grandKid, person("Great Hill", M()));
    link(person("Step Mum", F()), pat, FTPcRel::kStep);
    link(person("Adoptive Mum", F()), pat, FTPcRel::kAdopted);
    link(pat, person("Step Son", M()), FTPcRel::kStep);
    link(pat, person("Adopted Son", M()), FTPcRel::kAdopted);

    QStringList every;
    for (const char* key : {"Parents", "StoryStepParents", "StoryAdoptedParents", "Children", "StoryStepChildren",
                            "AdoptedChildren", "Siblings", "Grandparents", "Grandchildren", "GGrandchildren",
                            "ParentsInLaw", "AuntsAndUncles", "Cousins", "SiblingsInLaw", "NephewsAndNieces"})
        every << LocalizedString(key);
    struct Case {
        qlonglong scope;
        QStringList groups;
    };
    for (const Case& c : {Case{-1, every}, Case{0, {}}, Case{0x2000, {every[1], every[4]}}}) {
        SCOPED_TRACE(c.scope);
        StoryOptions options;
        options.scope = c.scope;
        const auto doc = generate(pat, options);
        QStringList groups;
        for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
            if (b.text().startsWith("Pat's "))
                groups << b.text().mid(6).section(':', 0, 0);
        EXPECT_EQ(groups, c.groups);
    }
    StoryOptions all;
    const auto doc = generate(pat, all);
    EXPECT_EQ(blockWith(*doc, "Pat's Parents: ").text(), "Pat's Parents: Fred Hill (1900), Meg Hill");
    EXPECT_EQ(blockWith(*doc, "Pat's Parents: ").begin().fragment().charFormat().fontWeight(), QFont::Bold);
}

TEST_F(StoryGeneratorTest, SourcesNotesAndCommentsSections)
{
    FTPerson* ann = person("Ann Lee", F());
    ann->setNotes("  Kept the inn.\n");
    ann->setComments("Check the census.");
    FTSource* register_ = FTSource::initInMoc(moc.get());
    register_->setTitle("Parish register");
    FTSourceRel* cited = FTSourceRel::initInMoc(moc.get(), register_, ann, "Birth");
    cited->setReference("p. 12");
    FTSourceRel::initInMoc(moc.get(), register_, ann, "Death");

    StoryOptions options;
    options.sourcesColour = QColor(0, 127, 0);
    const auto withoutComments = generate(ann, options);
    EXPECT_THAT(text(*withoutComments), Not(HasSubstr("census")));
    options.includeComments = true;
    const auto doc = generate(ann, options);
    const QString number = QString::number(register_->numericId());
    EXPECT_THAT(text(*doc), HasSubstr(("\nSource References\n\n" + number + ". ").toStdString()));
    EXPECT_THAT(text(*doc), HasSubstr("Parish register\n  -  Reference = p. 12 (Birth)\n\n\nNotes\n\nKept the inn.\n"
                                      "\nComments\n\nCheck the census.\n"));
    const QTextCharFormat header = blockWith(*doc, "Source References").begin().fragment().charFormat();
    EXPECT_TRUE(header.fontUnderline());
    EXPECT_EQ(header.foreground().color(), QColor(0, 127, 0));
    EXPECT_EQ(blockWith(*doc, "Kept the inn").charFormat().foreground().color(), options.notesColour);
}

TEST_F(StoryGeneratorTest, PicturesTravelInsideTheTextAndIntoTheRtfFile)
{
    FTPerson* ann = person("Ann Lee", F());
    ann->setPrimitiveValue(Key("name"), "AC/DC Lee"); // as older files and imports may hold it
    year(ann, "birth", 1950);
    picture(ann, 40, 50);
    const auto doc = generate(ann);
    // Stored and read back as Qt rich text, the picture comes from the text itself.
    QTextDocument reloaded;
    reloaded.setHtml(doc->toHtml());
    const QList<QTextImageFormat> pictures = images(reloaded.begin().next().next());
    ASSERT_EQ(pictures.size(), 1);
    const QImage image = reloaded.resource(QTextDocument::ImageResource, QUrl(pictures[0].name())).value<QImage>();
    EXPECT_EQ(image.size(), QSize(80, 100));

    // The name cannot lead out of the reports folder.
    const QString reports = pathFor("Reports");
    QDir().mkpath(reports);
    const QString path = StoryRtfFile::pathFor(ann, reports);
    EXPECT_EQ(path, reports + "/Story of AC|DC Lee (1950 - ).rtf");
    QString error;
    ASSERT_TRUE(StoryRtfFile::write(reloaded, path, &error)) << error.toStdString();
    QFile rtf(path);
    ASSERT_TRUE(rtf.open(QIODevice::ReadOnly));
    const QByteArray bytes = rtf.readAll();
    EXPECT_TRUE(bytes.startsWith("{\\rtf1"));
    EXPECT_TRUE(bytes.contains("\\jpegblip ffd8"));
    // Indents in points, as on the page: the events rows hang 130 points in.
    EXPECT_TRUE(bytes.contains("\\fi-2600")) << bytes.constData();

    // A name of some 300 characters is cut to a file name the folder accepts.
    QStringList words;
    for (int i = 0; i < 30; ++i)
        words << "Maximilian";
    ann->setPrimitiveValue(Key("name"), words.join(' '));
    const QString longPath = StoryRtfFile::pathFor(ann, reports);
    EXPECT_EQ(QFileInfo(longPath).absolutePath(), reports);
    EXPECT_TRUE(QFileInfo(longPath).fileName().startsWith("Story of Maximilian Maximilian"));
    ASSERT_TRUE(StoryRtfFile::write(reloaded, longPath, &error)) << error.toStdString();
    EXPECT_TRUE(QFileInfo(longPath).size() > 0);

    // A file that cannot be written says why, and whatever stood there stays.
    const QString blocked = reports + "/blocked.rtf";
    QDir().mkpath(blocked);
    EXPECT_FALSE(StoryRtfFile::write(reloaded, blocked, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(QFileInfo(blocked).isDir());
}

}
