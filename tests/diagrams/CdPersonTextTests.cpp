#include "DiagramFixture.h"

#include "diagrams/TextMeasurer.h"

#include "model/FTEvent.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"

#include "platform/UserDefaults.h"


namespace {
const QString nb = QString(QChar(0x00A0));
const QString he = QString(QChar(0x2642)) + " ";
}

class CdPersonText : public DiagramFixture {
protected:
    FTEvent* event(FTPerson* owner, const char* tag, const char* name, const char* date)
    {
        FTEvent* e = FTEvent::initInMoc(moc.get(), 303, owner, tag);
        e->setName(name);
        e->setDate(date);
        return e;
    }
    // John Henry Smith (1900-1980) of York, married, with three children, events and citations.
    FTPerson* john()
    {
        FTPerson* p = person("John Henry Smith", M(), 1900, 1980);
        p->setTitle("Weaver");
        p->setCauseOfDeath("Fever");
        p->setValueForKeyPath("birth.place", "York");
        p->setValueForKeyPath("death.place", "Leeds");
        FTSpouseRel* c = couple(p, person("Ann Jones", F(), 1902));
        c->setValueForKeyPath("marriage.date", "1925");
        c->setValueForKeyPath("marriage.place", "Paris");
        link(p, person("Tom Smith", M(), 1926));
        link(p, person("Sue Smith", F(), 1928), FTPcRel::kAdopted);
        link(p, person("Bob Brown", M(), 1920), FTPcRel::kStep);
        event(p, "IMMI", "Immigration", "1930");
        event(p, "CHR", "Christening", "1900");
        event(p, "BURI", "Burial", "1980");
        FTSource* first = FTSource::initInMoc(moc.get());
        first->setNumericId(1);
        FTSource* third = FTSource::initInMoc(moc.get());
        third->setNumericId(3);
        FTSourceRel::initInMoc(moc.get(), third, p, "");
        FTSourceRel::initInMoc(moc.get(), first, p, "");
        FTSourceRel::initInMoc(moc.get(), third, p, "");
        return p;
    }
};

TEST_F(CdPersonText, EveryNameOptionShowsItsDetail)
{
    focusOn(john());
    build();
    CdPerson* box = layout.cdPersonsArray()[0].get();
    const QString first = he + "John Smith (1900-1980)\n";
    struct Case {
        int option;
        QString text;
    };
    const Case cases[] = {
        {0, he + "John Henry Smith\n 1900" + nb + "-" + nb + "1980"},
        {1, he + "John Smith\n 1900" + nb + "-" + nb + "1980"},
        {2, first + "Weaver"},
        {3, first + "Born 1900 York.\n Died 1980 Leeds."},
        {4, first + "m. 1925 Ann Jones  at Paris"},
        {5, first + "Children(2): Tom and Sue"},
        {6, first + "Migration(1): 1930 Immigration"},
        {7, first + "Religious events (1): 1900 Christening"},
        {8, first + "Burial/cremation (1): 1980 Burial"},
        {9, first + "Cause of death: Fever"},
        {10, first.chopped(1)}, // no consanguinity set
        {12, first + "Sources: 1, 3"},
        {14, first.chopped(1)},
    };
    for (const Case& c : cases) {
        options.nameOption = c.option;
        layout.setOptions(options);
        EXPECT_EQ(box->getTextString(), c.text) << c.option;
    }
    options.nameOption = 11;
    layout.setOptions(options);
    box->setAhnentafelNumber("1");
    EXPECT_EQ(box->getTextString(), first + "1");
    options.nameOption = 13;
    layout.setOptions(options);
    box->person()->setLastChange(QDateTime(QDate(2020, 1, 5), QTime(14, 3)));
    EXPECT_EQ(box->getTextString(), first + "Last change: 05 Jan 2020 at 14:03");
}

TEST_F(CdPersonText, TheOptionsSayWhenThereIsNothingToShow)
{
    focusOn(person("Plain Person"));
    build();
    CdPerson* box = layout.cdPersonsArray()[0].get();
    const QString first = he + "Plain Person\n";
    const std::pair<int, const char*> cases[] = {{2, "(no title or occupation)"}, {3, "(no birth or death details)"},
                                                 {4, "(no spouse)"}, {5, "(no children)"}, {6, "(no migration events)"},
                                                 {7, "(no religious events)"}, {8, "(no burial or cremation)"},
                                                 {9, "(no cause of death)"},
                                                 {13, "(none recorded)"}};
    for (const auto& [option, text] : cases) {
        options.nameOption = option;
        layout.setOptions(options);
        EXPECT_EQ(box->getTextString(), first + text) << option;
    }
}

TEST_F(CdPersonText, NamesYearsAndSymbolsFollowTheBoxKind)
{
    FTPerson* me = person("Me", F());
    FTPerson* husband = person("Hal Jones", M(), 1900, 1980);
    couple(me, husband)->setValueForKeyPath("marriage.date", "1925");
    link(person("?? ?", M()), me);
    FTPerson* grandmother = person("?Great Gran?", F(), 1850);
    FTPerson* dad = person("Dad", M(), 0, 1950);
    link(dad, me);
    link(grandmother, dad);
    focusOn(me);
    options.maxAncLevel = 4;
    build();
    // Not selected: no gender symbol unless asked for everyone.
    EXPECT_EQ(layout.findPerson(husband)->text(), "Hal Jones 1900" + nb + "-" + nb + "1980\n m.1925");
    EXPECT_EQ(layout.findPerson(dad)->text(), "Dad\n d.1950");
    EXPECT_EQ(layout.findPerson(grandmother)->text(), "Great Gran\n b.1850");
    const CdPerson* nameless = layout.cdPersonsArray()[2].get();
    EXPECT_EQ(nameless->text(), "?");
    EXPECT_EQ(layout.cdPersonsArray()[0]->text(), QString(QChar(0x2640)) + " Me");
    options.showGenderSymbolsForAll = true;
    layout.setOptions(options);
    EXPECT_TRUE(layout.findPerson(dad)->text().startsWith(he));

    // Generation 4 keeps the years on the name's line.
    CdPerson far(grandmother, nullptr, false, nullptr, 4, &layout);
    EXPECT_EQ(far.text(), QString(QChar(0x2640)) + " Great Gran b.1850");

    // Empty slots name what they are for.
    CdPerson ghostSpouse(nullptr, nullptr, true, nullptr, CdPerson::kSpouse, &layout);
    CdPerson ghostChild(nullptr, nullptr, false, nullptr, CdPerson::kChild, &layout);
    CdPerson ghostMother(nullptr, nullptr, false, nullptr, 1, &layout);
    ghostMother.setGender(F());
    CdPerson ghostStep(nullptr, nullptr, false, nullptr, 1, &layout);
    ghostStep.setPcRelType(2);
    EXPECT_EQ(QStringList({ghostSpouse.getTextString(), ghostChild.getTextString(), ghostMother.getTextString(),
                           ghostStep.getTextString()}),
              QStringList({"spouse", "child", "mother", "step or adoptive parent"}));
}

TEST_F(CdPersonText, WebPagesHideLivingPeopleAndAlwaysShowTheSymbol)
{
    UserDefaults& d = UserDefaults::standard();
    d.setBool("htmlExcludeLivingPeople", true);
    d.setBool("htmlExcludeRecentlyDeadPeople", true);
    d.setInteger("htmlYearsSinceDeath", 80);
    const int thisYear = QDate::currentDate().year();
    FTPerson* living = person("Young One", F(), thisYear - 20);
    FTPerson* recent = person("Recent One", M(), thisYear - 90, thisYear - 10);
    FTPerson* old = person("Old One Smith", M(), 1800, 1870);
    const auto webText = [](FTPerson* p) { return CdPerson(p, nullptr, false, nullptr, 1, nullptr).text(); };
    EXPECT_EQ(webText(living), "Living person");
    EXPECT_EQ(webText(recent), "Recently deceased");
    EXPECT_EQ(webText(old), he + "Old Smith\n 1800" + nb + "-" + nb + "1870");
    d.setBool("htmlExcludeLivingPeople", false);
    d.setBool("htmlDepersonalizeLivingPeople", true);
    EXPECT_EQ(webText(recent), "Living or recently deceased");
    EXPECT_EQ(webText(living), "Living or recently deceased");
}

TEST_F(CdPersonText, FittingShrinksTheFontUntilTheTextFits)
{
    focusOn(person("Someone"));
    build();
    CdPerson* box = layout.cdPersonsArray()[0].get();
    const FixedTextMeasurer measurer; // 0.5 × size per character, 1.2 × size per line
    const QString text = "abcdefghij klmnopqrst"; // 21 characters
    QFont font;
    struct Case {
        QRectF rect;
        long level;
        double size, textHeight;
    };
    for (const Case& c : {Case {{0, 0, 100, 30}, 0, 11, 26.4},   // two lines of 11 fit 30
                          Case {{0, 0, 100, 20}, 0, 9, 10.8},    // 10 still wraps; 9 fits on one line
                          Case {{0, 0, 100, 2}, 0, 2, 2},        // no room
                          Case {{0, 0, 100, 0.5}, 0, 2, 0.5},
                          Case {{0, 0, 1, 1}, 0, 2, 1}}) {
        box->setRclBox(c.rect);
        box->setIndent();
        EXPECT_EQ(box->calculateFontSize(text, font, measurer), c.size) << c.rect.height();
        EXPECT_NEAR(box->textHeight(), c.textHeight, 1e-9) << c.rect.height();
    }
    // From generation 4 the start is the box height / 1.5.
    CdPerson far(nullptr, nullptr, false, nullptr, 4, &layout);
    far.setRclBox({0, 0, 500, 9});
    EXPECT_EQ(far.calculateFontSize("x", font, measurer), 6);
}

TEST_F(CdPersonText, IndicatorsCountSpousesAndPlaceAmongSiblings)
{
    FTPerson* me = person("Me", M(), 1900);
    FTPerson* mum = person("Mum", F());
    link(mum, me);
    link(mum, person("Younger", F(), 1902));
    link(mum, person("Youngest", F(), 1904));
    focusOn(me);
    build();
    CdPerson* box = layout.cdPersonsArray()[0].get();
    EXPECT_EQ(box->siblingsIndicatorText(), QString("2 ") + QChar(0x2193));
    EXPECT_EQ(box->spousesIndicatorText(), "");
    for (int i = 0; i < 3; ++i)
        couple(me, person(QString("Wife %1").arg(i), F()));
    EXPECT_EQ(box->spousesIndicatorText(), "+++");
    couple(me, person("Wife 4", F()));
    couple(me, person("Wife 5", F()));
    EXPECT_EQ(box->spousesIndicatorText(), "+5");
    focusOn(layout.cdPersonsArray()[0]->person()); // unchanged
    CdPerson middle(moc->fetch<FTPerson>([](const FTPerson* p) { return p->name() == "Younger"; }).value(0), nullptr,
                    false, nullptr, 0, &layout);
    EXPECT_EQ(middle.siblingsIndicatorText(), QString("2 ") + QChar(0x21C5));
}
