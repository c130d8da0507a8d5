#include "PeopleFixture.h"

#include "model/FTModelDefaults.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"
#include "model/FTStory.h"

#include "platform/NotificationCenter.h"
#include "platform/store/UndoManager.h"

#include <QDate>

namespace {
struct NameCase {
    const char* typed;
    const char* stored;
    const char* family;
    const char* given;
};
}

TEST_F(PeopleFixture, NamesAreCleanedAndSplitIntoFamilyAndGivenNames)
{
    const NameCase cases[] = {
        { "  Anna /Maria\nvan\\der\r Berg  ", "Anna Maria van der Berg", "van der Berg", "Anna Maria" },
        { "Jean de la Fontaine", "Jean de la Fontaine", "de la Fontaine", "Jean" },
        { "Louis XIV", "Louis XIV", "XIV", "Louis" },
        { "Henry Ford II", "Henry Ford II", "Ford II", "Henry" },
        { "John Smith Jr", "John Smith Jr", "Smith Jr", "John" },
        { "john smith jr", "john smith jr", "smith jr", "john" },
        { "Peter Van Dyke", "Peter Van Dyke", "Van Dyke", "Peter" },
        // Prefixes listed with capitals count as typed.
        { "Seán Ó Briain", "Seán Ó Briain", "Ó Briain", "Seán" },
        { "John III IV", "John III IV", "III IV", "John" },
        { "Smith John Smith", "Smith John Smith", "Smith", "Smith John" },
        { "Madonna", "Madonna", "", "Madonna" },
        { " / ", "Unknown", "", "Unknown" },
    };
    for (const NameCase& c : cases) {
        FTPerson* p = person(QString::fromUtf8(c.typed));
        EXPECT_EQ(p->name(), QString::fromUtf8(c.stored)) << c.typed;
        EXPECT_EQ(p->familyName(), QString::fromUtf8(c.family)) << c.typed;
        EXPECT_EQ(p->givenNames(), QString::fromUtf8(c.given)) << c.typed;
        EXPECT_EQ(p->valueForKey("familyName").toString(), QString::fromUtf8(c.family)) << c.typed;
    }
    FTPerson* unnamed = person(QString());
    EXPECT_EQ(unnamed->name(), "Unknown");
    EXPECT_EQ(unnamed->familyName(), "");
    EXPECT_EQ(unnamed->firstName(), "Unknown");

    FTPerson* p = person("Mary Ann Jones");
    EXPECT_EQ(p->firstName(), "Mary");
    EXPECT_EQ(p->shortName(), "Mary Jones");
    p->setValueForKey("name", "Mary Ann Evans");
    EXPECT_EQ(p->familyName(), "Evans");
    EXPECT_EQ(p->givenNames(), "Mary Ann");
    EXPECT_EQ(FTPerson::validateName("  a  b "), "a b");
}

TEST_F(PeopleFixture, UppercaseFamilyNameDefaultCapitalisesTheLastWordWithoutPunctuation)
{
    defaults().setBool("uppercaseFamilyName", true);
    EXPECT_EQ(person("jean de la fontaine")->name(), "jean de la FONTAINE");
    EXPECT_EQ(person("Mary O'Brien")->name(), "Mary O'Brien");
}

TEST_F(PeopleFixture, CreationNumbersNamesTheUndoActionAndCitesTheActiveSource)
{
    FTSource* source = moc->insertObject<FTSource>();
    source->setTitle("Parish register");
    moc->setActiveSource(source);
    moc->setActiveSourcePageRef("p. 12");
    moc->undoManager()->closeOpenGroups();

    FTPerson* john = person("John Smith", M());
    EXPECT_EQ(moc->undoManager()->actionName(), "Add John Smith");
    EXPECT_EQ(john->numericId(), 1);
    EXPECT_EQ(john->gender(), "M");
    EXPECT_TRUE(john->isMale());
    EXPECT_EQ(john->cGender(), 'M');
    ASSERT_EQ(john->sourceRels().size(), 1);
    EXPECT_EQ(john->sourceRels().first()->source(), source);
    EXPECT_EQ(john->sourceRels().first()->reference(), "p. 12");
    EXPECT_EQ(person("Ann")->numericId(), 2);
    EXPECT_EQ(moc->modelDefaults()->maxPersonId(), 2);
    EXPECT_EQ(person("Nobody")->cGender(), 0);

    // An import numbers, names and cites nothing, and tells no one.
    moc->undoManager()->closeOpenGroups();
    int posts = 0;
    NotificationCenter::defaultCenter().addObserver(
        "PersonNameOrDateChanged", nullptr, [&](const Notification&) { ++posts; }, this);
    moc->setImportThreadIsActive(true);
    FTPerson* imported = person("Imported Person");
    moc->setImportThreadIsActive(false);
    EXPECT_EQ(imported->numericId(), 0);
    EXPECT_TRUE(imported->sourceRels().isEmpty());
    EXPECT_EQ(imported->familyName(), "Person");
    EXPECT_EQ(posts, 0);
    imported->setName("Imported Persons");
    EXPECT_EQ(posts, 1);
    NotificationCenter::defaultCenter().removeObserversOf(this);
}

TEST_F(PeopleFixture, SettersNameTheirUndoActionUnlessAnOuterOneDidAndPostTheirNotification)
{
    FTPerson* p = person("John Smith");
    QStringList posted;
    for (const char* n : { "TitleChanged", "NotesOrCommentsChanged", "PersonNameOrDateChanged" })
        NotificationCenter::defaultCenter().addObserver(
            n, p, [&](const Notification& note) { posted << note.name; }, this);
    struct Case {
        std::function<void()> set;
        const char* undoName;
        const char* notification;
    } cases[] = {
        { [&] { p->setTitle("Blacksmith"); }, "Change Person's Title/Occupation", "TitleChanged" },
        { [&] { p->setNotes("n"); }, "Change Person's Notes", "NotesOrCommentsChanged" },
        { [&] { p->setValueForKey("comments", "c"); }, "Change Person's Comments", "NotesOrCommentsChanged" },
        { [&] { p->setName("John Smyth"); }, "Change Person's Name", "PersonNameOrDateChanged" },
    };
    for (const Case& c : cases) {
        moc->undoManager()->closeOpenGroups();
        posted.clear();
        c.set();
        EXPECT_EQ(moc->undoManager()->actionName(), c.undoName);
        EXPECT_EQ(posted, QStringList { c.notification });
    }
    moc->undoManager()->closeOpenGroups();
    moc->undoManager()->setActionName("Merge People");
    p->setTitle("Farrier");
    EXPECT_EQ(moc->undoManager()->actionName(), "Merge People");
    NotificationCenter::defaultCenter().removeObserversOf(this);
}

TEST_F(PeopleFixture, TodoAndAncestralFileNumberLiveInExtraData)
{
    FTPerson* p = person("John Smith");
    moc->undoManager()->closeOpenGroups();
    p->setTodo("   \n");
    EXPECT_TRUE(p->extraData().isEmpty());
    EXPECT_TRUE(moc->undoManager()->actionName().isEmpty());
    EXPECT_TRUE(p->todo().isNull());
    EXPECT_EQ(p->ancestralFileNumber(), "");

    p->setTodo("  find the will \n");
    EXPECT_EQ(p->todo(), "find the will");
    EXPECT_EQ(moc->undoManager()->actionName(), "Change Todo for John Smith");
    p->setValueForKey("ancestralFileNumber", "AB12-3");
    EXPECT_EQ(p->valueForKey("ancestralFileNumber").toString(), "AB12-3");
    p->setTodo("");
    EXPECT_TRUE(p->todo().isNull());
    EXPECT_EQ(p->ancestralFileNumber(), "AB12-3");
}

TEST_F(PeopleFixture, KeyPathsMakeTheMissingBirthDeathAndStory)
{
    FTPerson* p = person("John Smith");
    p->setValueForKeyPath("birth.place", "York");
    ASSERT_TRUE(p->birth());
    EXPECT_EQ(p->birth()->place(), "York");
    EXPECT_EQ(p->birth()->type(), 300);
    EXPECT_EQ(p->birth()->subtype(), "BIRT");
    EXPECT_EQ(p->birth()->numericId(), 1);
    // Made like any new event: typed, and citing the active source.
    FTSource* source = moc->insertObject<FTSource>();
    moc->setActiveSource(source);
    p->setValueForKeyPath("death.place", "Leeds");
    ASSERT_TRUE(p->death());
    EXPECT_EQ(p->death()->subtype(), "DEAT");
    EXPECT_EQ(p->death()->numericId(), 2);
    EXPECT_TRUE(p->death()->eventType());
    ASSERT_EQ(p->death()->sourceRels().size(), 1);
    EXPECT_EQ(p->death()->sourceRels()[0]->source(), source);
    p->setValueForKeyPath("birth.notes", "second write");
    EXPECT_EQ(p->birth()->place(), "York");
    p->setValueForKeyPath("story.data", QByteArray("<p>Once</p>"));
    ASSERT_TRUE(p->story());
    EXPECT_EQ(p->valueForKeyPath("birth.place").toString(), "York");
    EXPECT_FALSE(p->valueForKey("noSuchKey").isValid());
}

TEST_F(PeopleFixture, DisplayStringsShowTheYearsThatAreKnown)
{
    struct Case {
        int born, died;
        const char* full;
        const char* shortForm;
        const char* withId;
    } cases[] = {
        { 1850, 1920, "John Smith (1850 - 1920)", "John Smith (1850-1920)", "[0001] John Smith (1850 - 1920)" },
        { 1850, 0, "John Smith (1850 - )", "John Smith (1850-)", "[0001] John Smith (1850 - )" },
        { 0, 1920, "John Smith ( - 1920)", "John Smith (-1920)", "[0001] John Smith ( - 1920)" },
        { 0, 0, "John Smith", "John Smith", "[0001] John Smith" },
    };
    FTPerson* p = person("John Smith");
    for (const Case& c : cases) {
        year(p, "birth", c.born);
        year(p, "death", c.died);
        EXPECT_EQ(p->nameWithBirthAndDeathYears(), c.full);
        EXPECT_EQ(p->shortNameWithBirthAndDeathYears(), c.shortForm);
        EXPECT_EQ(p->nameWithIdBirthAndDeathYears(), c.withId);
    }
    FTPerson* quoted = person(QString::fromUtf8("John \u2018Jack\u2019 O\u2019Neil"));
    EXPECT_EQ(quoted->nameWithBirthAndDeathYears(), "John 'Jack' O'Neil");
}

TEST_F(PeopleFixture, AgesFromBirthAndDeath)
{
    const QDate today = QDate::currentDate();
    FTPerson* p = person("John Smith");
    EXPECT_EQ(p->currentAge(), 0);
    EXPECT_EQ(p->ageAtDeathInYearsMonthsAndDays(), "");

    const QDate birthday = today.addYears(-40).addDays(1); // 40 tomorrow
    date(p, "birth", birthday.day(), birthday.month(), birthday.year());
    EXPECT_EQ(p->currentAge(), 39);
    EXPECT_EQ(p->currentAgeString(), "39");
    EXPECT_EQ(p->ageAtDeath(), " ");
    EXPECT_TRUE(p->ageAtDeathInYearsMonthsAndDays().startsWith("Now 39 years, 11 months and "))
        << p->ageAtDeathInYearsMonthsAndDays().toStdString();
    p->birth()->setDay(0);
    EXPECT_EQ(p->ageAtDeathInYearsMonthsAndDays(), "Now about 40 years since John's birth");

    // A death known only by its notes: no current age.
    p->setValueForKeyPath("death.notes", "Lost at sea");
    EXPECT_EQ(p->currentAgeString(), "");

    FTPerson* old = person("Old Man");
    year(old, "birth", today.year() - 111);
    EXPECT_EQ(old->currentAge(), 111);
    EXPECT_EQ(old->currentAgeString(), "");

    FTPerson* dead = person("Ann Smith");
    date(dead, "birth", 10, 3, 1850);
    date(dead, "death", 11, 5, 1930);
    EXPECT_EQ(dead->ageAtDeath(), "80");
    EXPECT_EQ(dead->ageAtDeathInYearsMonthsAndDays(), "Died at 80 years, 2 months and 1 day");
    date(dead, "death", 0, 5, 1930);
    EXPECT_EQ(dead->ageAtDeathInYearsMonthsAndDays(), "Died at about 80 years");
    date(dead, "death", 0, 0, 1850);
    EXPECT_EQ(dead->ageAtDeath(), "0");
}

TEST_F(PeopleFixture, LivingAndRecentlyDead)
{
    const int now = QDate::currentDate().year();
    FTPerson* p = person("John Smith");
    EXPECT_FALSE(p->isLiving()) << "neither a birth year nor an estimate";
    year(p, "birth", now - 100);
    EXPECT_TRUE(p->isLiving());
    year(p, "birth", now - 101);
    EXPECT_FALSE(p->isLiving());
    year(p, "birth", now - 50);
    p->setValueForKeyPath("death.date", "y");
    EXPECT_FALSE(p->isLiving());
    EXPECT_FALSE(p->isRecentlyDead(10));
    year(p, "death", now - 10);
    EXPECT_FALSE(p->isLiving());
    EXPECT_TRUE(p->isRecentlyDead(10));
    EXPECT_FALSE(p->isRecentlyDead(9));

    // No birth year of its own: estimated from a child born 60 years ago.
    FTPerson* parent = person("Old Smith");
    FTPerson* child = person("Young Smith");
    link(parent, child);
    year(child, "birth", now - 60);
    EXPECT_EQ(parent->estimatedBirthYear(), now - 90);
    EXPECT_TRUE(parent->isLiving());
}

TEST_F(PeopleFixture, EstimatedBirthYearWalksRelativesThenTheSpousesRelatives)
{
    FTPerson* p = person("John Smith", M());
    EXPECT_EQ(p->estimatedBirthYear(), 0);
    FTPerson* first = person("Ann Brown", F());
    FTPerson* second = person("Eve White", F());
    couple(p, first);
    couple(p, second);
    FTPerson* firstsMother = person("Mary Brown", F());
    link(firstsMother, first);
    year(firstsMother, "birth", 1870);
    // Only the first wife's mother is dated; the later wife without relatives does not wipe that out.
    EXPECT_EQ(p->estimatedBirthYear(), 1900);

    FTPerson* grandChild = person("Tom Smith");
    FTPerson* child = person("Bob Smith");
    link(p, child);
    link(child, grandChild, FTPcRel::kAdopted);
    year(grandChild, "birth", 1960);
    EXPECT_EQ(p->estimatedBirthYear(), 1900);
    year(second, "birth", 1899);
    EXPECT_EQ(p->estimatedBirthYear(), 1899) << "a spouse's own year comes first";
    EXPECT_EQ(FTPerson::estimatedBirthYearBasedOn({ first, second, child }, 5), 1904);
}
