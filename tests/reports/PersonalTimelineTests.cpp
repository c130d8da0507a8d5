// Where a person's timeline puts its decade labels, its rows and its lines.
#include "../model/PeopleFixture.h"

#include "reports/PersonalTimelineLayout.h"

#include <QFont>

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

class PersonalTimelineTest : public PeopleFixture {
protected:
    FTEvent* event(FTPerson* who, const QString& tag, int day, int month, int year)
    {
        FTEvent* e = FTEvent::initInMoc(moc.get(), FTEvent::OtherPersonalEvent, who, tag);
        e->setDate(Dates::dateStringFor(0, day, month, year));
        return e;
    }
    static QStringList labels(const PersonalTimelineLayout& layout)
    {
        QStringList out;
        for (const auto& l : layout.labels)
            out << QStringLiteral("%1@%2").arg(l.text).arg(l.at.x());
        return out;
    }
    QFont font{QStringLiteral("Arial"), 10};
};

TEST_F(PersonalTimelineTest, RowsStackInTheirDecadeAndTheNextDecadeStartsAtTheTop)
{
    FTPerson* ann = person("Ann Root", F());
    date(ann, "birth", 3, 3, 1951);
    event(ann, "RESI", 0, 0, 1957);
    event(ann, "EDUC", 0, 6, 0);   // no year: not drawn
    FTPerson* hal = person("Hal Hart", M());
    date(couple(ann, hal), "marriage", 20, 6, 1975);
    date(ann, "death", 1, 2, 2003);
    FTPerson* bob = person("Bob Root", M());
    link(bob, ann);
    date(bob, "death", 5, 5, 1980);
    FTPerson* ivy = person("Ivy Hart", F());
    link(ann, ivy);
    date(ivy, "birth", 9, 9, 1976);

    const PersonalTimelineLayout layout = PersonalTimelineLayout::make(ann, true, QSizeF(1000, 600), font);
    EXPECT_EQ(layout.columnWidth, 100);
    EXPECT_THAT(labels(layout), ElementsAre("1950-1959@3", "1960-1969@103", "1970-1979@203", "1980-1989@303",
                                    "1990-1999@403", "2000-2009@503"));
    ASSERT_EQ(layout.rows.size(), 6);

    // Birth and the 1957 residence share the first column, one below the other; the birth shows no age.
    const auto& birth = layout.rows[0];
    EXPECT_EQ(birth.rect.topLeft(), QPointF(3, 15));
    EXPECT_TRUE(birth.text.startsWith("03-Mar-1951\n")) << birth.text.toStdString();
    EXPECT_EQ(birth.rect.width(), 97);
    EXPECT_DOUBLE_EQ(birth.rect.height(), PersonalTimelineLayout::textHeight(birth.text, 97, font));
    const auto& residence = layout.rows[1];
    EXPECT_EQ(residence.rect.topLeft(), QPointF(3, 15 + birth.rect.height() + 15));
    EXPECT_TRUE(residence.text.startsWith("6.  1957\n")) << residence.text.toStdString();

    // The 1970s start again at the top: marriage (aged 24), then the daughter's birth below it.
    const auto& marriage = layout.rows[2];
    EXPECT_EQ(marriage.rect.topLeft(), QPointF(203, 15));
    EXPECT_TRUE(marriage.text.startsWith("24.  20-Jun-1975\n")) << marriage.text.toStdString();
    EXPECT_THAT(marriage.text.toStdString(), HasSubstr("Hal Hart"));
    EXPECT_EQ(layout.rows[3].rect.topLeft(), QPointF(203, 15 + marriage.rect.height() + 15));
    EXPECT_THAT(layout.rows[3].text.toStdString(), HasSubstr("Ivy Hart"));
    EXPECT_EQ(layout.rows[4].rect.topLeft(), QPointF(303, 15));
    EXPECT_THAT(layout.rows[4].text.toStdString(), HasSubstr("Bob Root"));
    EXPECT_EQ(layout.rows[5].rect.topLeft(), QPointF(503, 15));
    EXPECT_TRUE(layout.rows[5].text.startsWith("51.  01-Feb-2003\n")) << layout.rows[5].text.toStdString();

    // The line under the labels, then the nine column boundaries.
    ASSERT_EQ(layout.lines.size(), 10);
    EXPECT_EQ(layout.lines[0], QLineF(0, 15, 1000, 15));
    EXPECT_EQ(layout.lines[1], QLineF(100, 0, 100, 600));
    EXPECT_EQ(layout.lines[9], QLineF(900, 0, 900, 600));
    // At another width the lines still follow the columns.
    const PersonalTimelineLayout narrow = PersonalTimelineLayout::make(ann, true, QSizeF(500, 300), font);
    ASSERT_EQ(narrow.lines.size(), 10);
    EXPECT_EQ(narrow.lines[1], QLineF(50, 0, 50, 300));

    // Without the related events the parent's death and the child's birth go; the spouse's marriage stays.
    const PersonalTimelineLayout own = PersonalTimelineLayout::make(ann, false, QSizeF(1000, 600), font);
    ASSERT_EQ(own.rows.size(), 4);
    EXPECT_THAT(own.rows[2].text.toStdString(), HasSubstr("Hal Hart"));
    EXPECT_EQ(own.rows[3].rect.topLeft(), QPointF(503, 15));
}

TEST_F(PersonalTimelineTest, APersonWithoutADatedEventGetsOneLabelAndTheGrid)
{
    FTPerson* ann = person("Ann Root", F());
    event(ann, "RESI", 4, 5, 0);
    const PersonalTimelineLayout layout = PersonalTimelineLayout::make(ann, true, QSizeF(1000, 600), font);
    EXPECT_THAT(labels(layout), ElementsAre("0-9@3"));
    EXPECT_TRUE(layout.rows.isEmpty());
    EXPECT_EQ(layout.lines.size(), 10);
}

}
