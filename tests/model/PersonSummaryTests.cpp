#include "RelativesTestSupport.h"

#include "model/FTPicture.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>

// A person's summary in plain and rich text, its sections chosen by option bits.

namespace {
class SummaryFixture : public PeopleFixture {
protected:
    void SetUp() override
    {
        PeopleFixture::SetUp();
        john = person("John Smith", M());
        john->setTitle("Dr");
        FTEvent* birth = date(john, "birth", 5, 1, 1900);
        birth->setPlace("Leeds");
        birth->setNotes("Born in a storm");
        FTEvent* death = date(john, "death", 1, 2, 1970);
        death->setPlace("Hull");
        death->setNotes("Of old age");
        john->setNotes("A doctor");
        john->setComments("Check the census");

        FTPerson* mary = person("Mary Brown", F());
        FTSpouseRel* first = couple(john, mary);
        date(first, "marriage", 1, 6, 1925)->setPlace("York");
        couple(john, person("Jane Doe", F())); // no marriage event: "+.", and first because undated

        FTPerson* father = person("Frank Smith", M());
        year(father, "birth", 1870);
        year(father, "death", 1940);
        link(father, john);
        link(person("Ann Smith", F()), john);
        FTPerson* bob = person("Bob Smith", M());
        year(bob, "birth", 1902);
        link(father, bob);
        FTPerson* tom = person("Tom Smith", M());
        year(tom, "birth", 1926);
        link(john, tom);
        link(john, person("Sue Smith", F()));
        link(john, person("Ada Smith", F()), FTPcRel::kAdopted); // not a natural child

        FTEvent* baptism = FTEvent::initInMoc(moc.get(), FTEvent::OtherPersonalEvent, john, "BAPM");
        baptism->setDate("1 Feb 1900");
        baptism->setPlace("St Mary's");
        FTEvent::initInMoc(moc.get(), FTEvent::OtherPersonalEvent, john, "OCCU")->setName("Farmer");

        register3 = source(3, "Parish register\nvolume 2");
        register1 = source(1, "Census");
        cite(register3, "p. 40", "");
        cite(register1, "", "");
        cite(register3, "p. 12", "baptism");

        john->addPicturesObject(moc->insertObject<FTPicture>());
    }
    FTSource* source(int number, const QString& title)
    {
        FTSource* s = moc->insertObject<FTSource>();
        s->setNumericId(number);
        s->setTitle(title);
        return s;
    }
    void cite(FTSource* s, const QString& reference, const QString& item)
    {
        FTSourceRel* c = moc->insertObject<FTSourceRel>();
        c->setSource(s);
        c->setPerson(john);
        c->setReference(reference);
        c->setItemDescribed(item);
    }
    QString plainSources() const
    {
        return "\n\nSource References:\n" //
               "\n1. "
            + register1->shortDescription() + //
            "\n\n3. " + register3->shortDescription().replace("\n", ", ") + //
            "\n  -  Reference = p. 40" //
            "\n  -  Reference = p. 12 (baptism)";
    }

    FTPerson* john = nullptr;
    FTSource* register1 = nullptr;
    FTSource* register3 = nullptr;
};
}

TEST_F(SummaryFixture, EverySectionInItsFixedOrder)
{
    const QString id = QString::number(john->numericId());
    EXPECT_EQ(john->nameWithBirthMarriageAndDeathInfoPlusNotesAndComments(),
        "John Smith, ID " + id
            + ", Dr" //
              "\n b. 05 Jan 1900 at Leeds" //
              "\n +.(1) Jane Doe" //
              "\n m.(2) 01 Jun 1925 Mary Brown at York" //
              "\n d. 01 Feb 1970 at Hull aged 70" //
              "\n\nParents: Frank Smith (1870 - 1940), Ann Smith" //
              "\n\nChildren (2): Sue Smith, Tom Smith (1926)" //
              "\n\nSiblings (1): Bob Smith (1902)" //
              "\n\nBirth Notes:\nBorn in a storm" //
              "\n\nDeath Notes:\nOf old age" //
              "\n\nNotes:\nA doctor" //
              "\n\nComments:\nCheck the census" //
              "\n\nOther Events:\nOCCU; Farmer\n01 Feb 1900; BAPM; Baptism; St Mary's"
            + plainSources() + //
            "\n\nPictures: 1 Picture\n");

    EXPECT_EQ(john->nameWithBirthMarriageAndDeathInfo(),
        "John Smith, ID " + id
            + ", Dr\n b. 05 Jan 1900 at Leeds\n +.(1) Jane Doe\n m.(2) 01 Jun 1925 Mary Brown at "
              "York\n d. 01 Feb 1970 at Hull aged 70");
    // Bits in any combination; the order stays.
    EXPECT_EQ(john->extendedDescription(FTPerson::SummaryComments | FTPerson::SummaryDeath),
        "John Smith\n d. 01 Feb 1970 at Hull aged 70\n\nComments:\nCheck the census");
    john->addPicturesObject(moc->insertObject<FTPicture>());
    EXPECT_EQ(john->extendedDescription(FTPerson::SummaryPictures), "John Smith\n\nPictures: 2 Pictures\n");
}

TEST_F(SummaryFixture, SectionsWithNothingToSayAreLeftOut)
{
    FTPerson* ann = person("Ann Smith", F());
    ann->setValueForKeyPath("birth.notes", "Only notes");
    EXPECT_EQ(ann->extendedDescription(FTPerson::SummaryAll & ~FTPerson::SummaryNumber),
        "Ann Smith\n\nBirth Notes:\nOnly notes");
    // One couple: no number in brackets.
    FTPerson* ned = person("Ned Smith", M());
    date(couple(ann, ned), "marriage", 2, 2, 1920);
    EXPECT_EQ(ann->extendedDescription(FTPerson::SummaryMarriages), "Ann Smith\n m. 02 Feb 1920 Ned Smith");
}

TEST_F(SummaryFixture, StyledSummaryHasTheSameTextWithBoldNameAndHeadings)
{
    QTextDocument doc;
    doc.setHtml(john->attributedDescription());
    // The same words; only the first source follows its heading directly.
    QString plain = john->nameWithBirthMarriageAndDeathInfoPlusNotesAndComments();
    plain.replace("Source References:\n\n1.", "Source References:\n1.");
    EXPECT_EQ(doc.toPlainText(), plain);

    QStringList bold;
    QSet<QString> families;
    QSet<qreal> sizes;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const QTextCharFormat format = f.charFormat();
            if (format.fontWeight() >= QFont::Bold)
                bold << f.text().trimmed();
            families << format.fontFamilies().toStringList().value(0);
            sizes << format.fontPointSize();
            EXPECT_EQ(format.foreground().color(), QColor(Qt::black));
        }
    EXPECT_EQ(bold,
        (QStringList { "John Smith", "Parents:", "Children (2):", "Siblings (1):", "Birth Notes:", "Death Notes:",
            "Notes:", "Comments:", "Other Events:", "Source References:", "Pictures:" }));
    EXPECT_EQ(families, QSet<QString> { "Arial" });
    EXPECT_EQ(sizes, QSet<qreal> { 12 });

    // Text that looks like markup stays text.
    john->setNotes("<b>not bold</b> & more");
    doc.setHtml(john->extendedAttributedDescription(FTPerson::SummaryNotes));
    EXPECT_EQ(doc.toPlainText(), "John Smith\n\nNotes:\n<b>not bold</b> & more");
}
