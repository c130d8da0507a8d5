#include "shell/FieldValidation.h"
#include "shell/PlaceCompletion.h"
#include "shell/Utils.h"
#include "shell/UtilsFunctions.h"

#include "platform/Localizer.h"
#include "platform/ScriptedPrompts.h"
#include "platform/UserDefaults.h"

#include "TestSupport.h"

#include <QColor>
#include <QMap>
#include <QSet>

#include <gtest/gtest.h>

namespace {
std::string s(const QString& q) { return q.toStdString(); }

class Validators : public ::testing::Test {
protected:
    void SetUp() override { TestSupport::useFreshDefaults(); }
    void set(const char* key, bool on) { UserDefaults::standard().setBool(key, on); }
};
}

TEST_F(Validators, NameFieldCleaning)
{
    struct Case {
        const char* typed;
        bool uppercase;
        const char* expected;
    } cases[] = {
        {"John  Smith/", false, "John Smith"},
        {"John\tSmith", false, "JohnSmith"},
        {"  Mary\nAnn\\Jones\r ", false, "Mary Ann Jones"},
        {"John  Smith/", true, "John SMITH"},
        {"Sean O'Brien", true, "Sean O'Brien"},
        {"Anne Smith-Jones", true, "Anne Smith-Jones"},
        {"Madonna", true, "Madonna"},
        {"Zoë  de la Cruz", true, "Zoë de la CRUZ"},
    };
    for (const Case& c : cases) {
        set("uppercaseFamilyName", c.uppercase);
        const FieldValidation v = ValidateNameField(QString::fromUtf8(c.typed));
        EXPECT_TRUE(v.accepted) << c.typed;
        EXPECT_EQ(s(v.text), c.expected) << c.typed;
        EXPECT_TRUE(v.message.isEmpty()) << c.typed;
    }
}

TEST_F(Validators, BlankNameIsRefusedAndTheFieldKeepsWhatWasTyped)
{
    ScriptedPrompts prompts;
    Prompts::install(&prompts);
    const FieldValidation v = ValidateNameField(" / \t");
    EXPECT_FALSE(v.accepted);
    EXPECT_EQ(v.text, " / \t");
    EXPECT_EQ(v.message, "Name field may not be blank");
    EXPECT_TRUE(v.info.contains(QStringLiteral("Undo (Ctrl+Z)"))) << s(v.info);
    EXPECT_FALSE(v.report());
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].text, "Name field may not be blank");
    Prompts::install(nullptr);
}

TEST_F(Validators, ChildNameGetsTheParentsFamilyName)
{
    struct Case {
        const char* typed;
        const char* family;
        bool autoAdd, uppercase;
        bool accepted;
        const char* expected;
    } cases[] = {
        {"John", "Smith", true, false, true, "John Smith"},
        {" John  Henry ", "Smith", true, false, true, "John Henry Smith"},
        {"John Henry smith", "Smith", true, false, true, "John Henry smith"},
        {"John", "", true, false, true, "John"},
        {"John", "Smith", false, false, true, "John"},
        {"John", "Smith", true, true, true, "John SMITH"},
        // A blank name stays refused instead of becoming " Smith".
        {"   ", "Smith", true, false, false, "   "},
    };
    for (const Case& c : cases) {
        set("autoAddFamilyName", c.autoAdd);
        set("uppercaseFamilyName", c.uppercase);
        const FieldValidation v = ValidateNameFieldForChild(c.typed, c.family);
        EXPECT_EQ(v.accepted, c.accepted) << c.typed;
        EXPECT_EQ(s(v.text), c.expected) << c.typed;
        if (!c.accepted) {
            EXPECT_EQ(v.message, "Name field may not be blank");
        }
    }
}

TEST_F(Validators, GenderLetter)
{
    struct Case {
        const char* typed;
        const char* current;
        bool accepted;
        const char* expected;
    } cases[] = {
        {"m", "F", true, "M"}, {" f ", "M", true, "F"}, {"Female", "", true, "F"},
        {"x", "F", false, "F"}, {"", "M", false, "M"},
    };
    for (const Case& c : cases) {
        const FieldValidation v = ValidateGenderText(c.typed, c.current);
        EXPECT_EQ(v.accepted, c.accepted) << c.typed;
        EXPECT_EQ(s(v.text), c.expected) << c.typed;
        EXPECT_EQ(v.message, c.accepted ? QString() : LocalizedString("GenderQualification")) << c.typed;
    }
}

TEST_F(Validators, SingleLineFieldsAndTheirLimits)
{
    const QString a120(120, 'a');
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
    struct Case {
        QString typed, kind;
        bool accepted;
        QString expected;
        const char* messageHas;
    } cases[] = {
        {a120, "Place", true, a120, ""},
        {a120 + "b", "Place", false, a120, "The field has been truncated to be 120 characters long."},
        {a120 + "b", "place", false, a120, "A place must be single line of text with a maximum of 120 characters."},
        {"Line one\nLine two\r\n", "EventName", false, "Line one Line two", "maximum of 90 characters.\n"},
        {"a\t\tb  c", "CauseOfDeath", true, "a b c", ""},
        {"1234567890123", "AncestralFileNo", false, "123456789012", "maximum of 12 characters"},
        {QString(21, '7'), "UserReferenceNo", false, QString(20, '7'), "maximum of 20"},
        {QString(249, 'x'), "SomethingElse", false, QString(248, 'x'), "maximum of 248"},
        {QString(248, 'x'), "PageRef", true, QString(248, 'x'), ""},
        {"   \n ", "Place", true, "", ""},
        // The cut never splits a character made of two UTF-16 units.
        {QString(119, 'a') + emoji, "Place", false, QString(119, 'a'), "truncated"},
    };
    for (const Case& c : cases) {
        const FieldValidation v = ValidateSingleLineEntryField(c.typed, c.kind);
        EXPECT_EQ(v.accepted, c.accepted) << s(c.kind) << " " << c.typed.size();
        EXPECT_EQ(v.text, c.expected) << s(c.kind) << " " << c.typed.size();
        if (*c.messageHas)
            EXPECT_TRUE(v.message.contains(QString::fromUtf8(c.messageHas))) << s(v.message);
        else
            EXPECT_TRUE(v.message.isEmpty()) << s(v.message);
    }
    // Cut without line ends: the message ends with the truncation line; line ends only: with the empty tail.
    EXPECT_TRUE(ValidatePlaceField(a120 + "b").message.endsWith("\n\nThe field has been truncated to be 120 characters long."));
    EXPECT_FALSE(ValidatePlaceField("a\nb").message.contains("truncated"));
    EXPECT_EQ(SingleLineEntryFieldLimit("TITLE/OCCUPATION"), 120);
}

TEST_F(Validators, PlaceNameCleaning)
{
    struct Case {
        const char* typed;
        bool importing;
        const char* expected;
    } cases[] = {
        {" ,London,,  Middlesex. ", false, "London, Middlesex"},
        {",,,London , England,,", false, "London, England"},
        {"St. Albans,Herts", false, "St Albans, Herts"},
        {"St. Albans,Herts", true, "St. Albans, Herts"},
        {"c/o a.b@example.org, Leeds", false, "c/o a.b@example.org, Leeds"},
        {"", false, ""},
        {" , , ", false, ""},
        // Places that are clean already come back as they are; one flaw anywhere is still mended.
        {"Leeds, Yorkshire, England", true, "Leeds, Yorkshire, England"},
        {"Zürich", false, "Zürich"},
        {"Leeds,Yorkshire", true, "Leeds, Yorkshire"},
        {"Leeds ,Yorkshire", true, "Leeds, Yorkshire"},
        {"Leeds,  Yorkshire", true, "Leeds, Yorkshire"},
        {"Leeds  Yorkshire", true, "Leeds Yorkshire"},
        {"Leeds, Yorkshire,", true, "Leeds, Yorkshire"},
        {",Leeds", true, "Leeds"},
        {".Leeds", false, "Leeds"},
        {"Leeds.", false, "Leeds"},
        {"Leeds.", true, "Leeds."},
        {".", false, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(s(Utils::cleanPlaceName(c.typed, c.importing)), c.expected) << c.typed;
}

TEST(PlaceCompletion, CompletesOnlyWhileTypingOnAtTheEnd)
{
    PlaceCompletion& pc = PlaceCompletion::shared();
    pc.reset();
    const QStringList places{"London, England", "Londonderry", "Leeds"};
    int asked = 0;
    auto lookup = [&](const QString& prefix) {
        ++asked;
        QStringList out;
        for (const QString& p : places)
            if (p.startsWith(prefix, Qt::CaseInsensitive))
                out << p;
        return out;
    };
    int fieldA = 0, fieldB = 0;
    EXPECT_EQ(pc.complete(&fieldA, -1, -1, "l", 1, lookup), "London, England");
    EXPECT_EQ(pc.complete(&fieldA, -1, -1, "lond", 4, lookup), "London, England");
    EXPECT_EQ(pc.complete(&fieldA, -1, -1, "lon", 3, lookup), "") << "deleting completes nothing";
    EXPECT_EQ(pc.complete(&fieldA, -1, -1, "lonx", 2, lookup), "") << "caret not at the end";
    EXPECT_EQ(pc.complete(&fieldA, -1, -1, "lonxy", 5, lookup), "") << "no place matches";
    EXPECT_EQ(pc.complete(&fieldA, -1, -1, "", 0, lookup), "");
    // Another field (or another cell) starts afresh: a shorter text there still completes.
    EXPECT_EQ(pc.complete(&fieldA, -1, -1, "leeds and more", 14, lookup), "");
    EXPECT_EQ(pc.complete(&fieldB, 2, 1, "le", 2, lookup), "Leeds");
    EXPECT_EQ(pc.complete(&fieldB, 3, 1, "l", 1, lookup), "London, England");
    EXPECT_EQ(pc.complete(&fieldB, 3, 1, "Leeds", 5, lookup), "") << "nothing left to add";
    EXPECT_GT(asked, 0);
}

TEST(Vocabularies, EventTypesByGroup)
{
    EXPECT_EQ(Utils::eventTypesDictionary(1), (QMap<QString, QString>{{"BIRT", "Birth"}, {"DEAT", "Death"}}));
    EXPECT_EQ(Utils::eventTypesDictionary(16 | 64),
              (QMap<QString, QString>{{"MARR", "Marriage"}, {"SLGS", "LDS Spouse Sealing"}}));
    EXPECT_TRUE(Utils::eventTypesDictionary(0).isEmpty());
    const auto all = Utils::allEventTypesDictionary();
    EXPECT_EQ(all.size(), 51);
    EXPECT_EQ(all.value("_MILT"), "Military Service");
    EXPECT_EQ(all.value("CHRA"), "Christening(Adult)");
    EXPECT_EQ(all.value("SSN"), "Soc.Sec.Number");

    const QStringList personal = Utils::otherPersonalEventTypesArray();
    EXPECT_EQ(personal.size(), 21 + 13 + 4 + 1);
    EXPECT_TRUE(personal.contains("Other Event") && personal.contains("LDS Endowment") && personal.contains("Title"));
    EXPECT_FALSE(personal.contains("Birth") || personal.contains("Marriage"));
    const QStringList marriage = Utils::otherMarriageEventTypesArray();
    EXPECT_EQ(marriage, (QStringList{"Divorce Filed", "Divorced", "Engaged", "LDS Spouse Sealing", "Marriage Annulled",
                                     "Marriage Banns", "Marriage Contract", "Marriage Licence", "Marriage Settlement",
                                     "Other Event"}));
    for (qsizetype i = 1; i < personal.size(); ++i)
        EXPECT_LE(personal[i - 1].compare(personal[i], Qt::CaseInsensitive), 0) << s(personal[i]);
}

TEST(Vocabularies, FamilyNamePrefixesAndSuffixes)
{
    const QSet<QString> prefixes = Utils::familyNamePrefixes();
    EXPECT_EQ(prefixes.size(), 32);
    for (const char* p : {"van", "st.", "Bean", "\xC3\x93", "N\xC3\xAD", "In\xC3\xADon", "U\xC3\xAC"})
        EXPECT_TRUE(prefixes.contains(QString::fromUtf8(p))) << p;
    EXPECT_FALSE(prefixes.contains("Van")) << "compared as written";
    const QSet<QString> suffixes = Utils::familyNameSuffixes();
    EXPECT_EQ(suffixes.size(), 22);
    EXPECT_TRUE(suffixes.contains("Jr") && suffixes.contains("XIV") && suffixes.contains("XX"));
}

TEST(Vocabularies, ParentChildTypeNames)
{
    const std::pair<int, const char*> names[] = {{0, "Unknown"}, {1, "Natural"}, {2, "Step"}, {4, "Foster"},
                                                 {8, "Adopted"}, {3, ""},        {4096, ""}, {-1, ""}};
    for (const auto& [bits, name] : names)
        EXPECT_EQ(s(GetPcRelTypeString(bits)), name) << bits;
    const std::pair<const char*, int> parsed[] = {{"Not Related", 4096}, {"Adopted child", 8}, {"Foster", 4},
                                                  {"Step", 2},           {"Natural", 1},       {"natural", 0},
                                                  {"", 0}};
    for (const auto& [text, bits] : parsed)
        EXPECT_EQ(Utils::intPcRelTypeFromString(text), bits) << text;
}

TEST(SmallHelpers, TextsAndColours)
{
    TestSupport::useFreshDefaults();
    const std::pair<int, const char*> times[] = {
        {61, "1 minute and 1 second"}, {59, "59 seconds"}, {0, "0 seconds"}, {125, "2 minutes and 5 seconds"}};
    for (const auto& [secs, text] : times)
        EXPECT_EQ(s(Utils::timeToText(secs)), text);

    EXPECT_EQ(Utils::hexadecimalRepresentation(QByteArray("\x00\xab\xff\x10", 4)), "00abff10");
    EXPECT_EQ(Utils::hexadecimalRepresentation({}), "");
    EXPECT_EQ(Utils::replaceForwardSlashInString("a/b/c"), "a|b|c");
    EXPECT_EQ(Utils::replaceForwardSlashInString(QString::fromUtf8("Ann\tB\nC\x7f\0D/É", 13)), "Ann B C  D|É");

    QString t = QStringLiteral(" \t a b \r\n");
    EXPECT_EQ(TrimString(&t), "a b");
    EXPECT_EQ(t, "a b");
    EXPECT_EQ(TrimString(nullptr), "");

    EXPECT_EQ(RGB(1, 2, 255), QColor(1, 2, 255));
    EXPECT_EQ(PanelColour(), QColor(230, 230, 230));
    EXPECT_EQ(Utils::tableViewHighlightColour(), QColor(190, 220, 220));
    UserDefaults::standard().setColor("panelsBgColour", QColor(204, 226, 213));
    UserDefaults::standard().setColor("tableViewHighlightColour", QColor(192, 220, 220));
    EXPECT_EQ(PanelColour(), QColor(204, 226, 213));
    EXPECT_EQ(Utils::tableViewHighlightColour(), QColor(192, 220, 220));
}
