#include "publishing/AddressBookExport.h"

#include "ExportsFixture.h"

namespace {
std::string s(const QString& q) { return q.toStdString(); }

class ContactCards : public ExportsFixture {
protected:
    QJsonArray cardsIn(const QString& path) { return readWithPython("vcard_to_json.py", path).array(); }
    QDateTime now {QDate(2025, 3, 10), QTime(14, 30)};
};
}

TEST_F(ContactCards, CandidatesAreTheLivingBornInTheLastHundredYears)
{
    year(person("Zoe Hundred", F()), "birth", 1925);
    year(person("Old Hundred One", M()), "birth", 1924);
    year(person("adam young", M()), "birth", 2001);
    FTPerson* dated = person("Dead Dated", M());
    year(dated, "birth", 1950);
    dated->setValueForKeyPath("death.date", "Y"); // known dead, no date
    FTPerson* undated = person("Death Undated", F());
    year(undated, "birth", 1950);
    FTEvent::initInMoc(moc.get(), FTEvent::DeathEvent, undated, {}); // a death event without a date
    person("No Birth", F());

    AddressBookExport ab(moc.get());
    ab.setNow(now);
    EXPECT_EQ(names(ab.createPeopleArray()), QStringList({"adam young", "Death Undated", "Zoe Hundred"}));
}

TEST_F(ContactCards, EachCardCarriesTheNamesNotesAndGroupUnchanged)
{
    FTPerson* ann = person("Mary Ann [Nan] \"Smith\"", F());
    ann->setValueForKey("notes", "Likes tea, cake; and \\ backslashes.\nSecond line: " + QString(200, 'x'));
    FTPerson* bob = person("Bob O'Brien-Jones", M());
    const QString group = "Family {2025}, Leeds";
    const QString path = AddressBookExport::exportToGroup({ann, bob}, group);
    ASSERT_FALSE(path.isEmpty()) << s(messages().join("\n"));
    EXPECT_EQ(QFileInfo(path).absolutePath(), QFileInfo(Utils::reportsDirectory()).absoluteFilePath());
    foldedLines(path);

    const QJsonArray cards = cardsIn(path);
    ASSERT_EQ(cards.size(), 2);
    int i = 0;
    for (const FTPerson* p : {ann, bob}) {
        const QJsonObject card = cards[i++].toObject();
        SCOPED_TRACE(s(p->name()));
        EXPECT_EQ(card["version"].toString(), "4.0");
        EXPECT_EQ(s(card["fn"].toString()), s(p->name()));
        EXPECT_EQ(s(card["family"].toString()), s(p->familyName()));
        EXPECT_EQ(s(card["given"].toString()), s(p->firstName()));
        if (p->notes().isEmpty())
            EXPECT_TRUE(card["note"].isNull());
        else
            EXPECT_EQ(s(card["note"].toString()), s(p->notes()));
        EXPECT_EQ(card["categories"].toArray(), QJsonArray({group}));
    }
    EXPECT_EQ(cards[0]["additional"].toArray(), QJsonArray({"Ann", "[Nan]"}));
}

TEST_F(ContactCards, AGroupIsAFileAndExportingIntoItKeepsItsCards)
{
    FTPerson* ann = person("Ann Smith", F());
    FTPerson* bob = person("Bob Jones", M());
    EXPECT_TRUE(AddressBookExport::existingGroups().isEmpty());
    EXPECT_FALSE(AddressBookExport::groupExists("Family"));
    const QString path = AddressBookExport::exportToGroup({ann}, "Family");
    EXPECT_TRUE(AddressBookExport::groupExists("Family"));
    EXPECT_EQ(AddressBookExport::exportToGroup({bob, ann}, "Family"), path);
    QStringList fns;
    for (const QJsonValue& card : cardsIn(path))
        fns << card["fn"].toString();
    EXPECT_EQ(fns, QStringList({"Ann Smith", "Bob Jones", "Ann Smith"}));

    // No people still makes the group; a name that names folders stays one file in the reports folder.
    AddressBookExport::exportToGroup({}, "../Friends/abroad");
    EXPECT_EQ(AddressBookExport::existingGroups(), QStringList({"Family", "|Friends|abroad"}));
}

TEST(ContactGroupNames, AreTrimmedAndMustBeLongerThanFiveCharacters)
{
    const std::pair<const char*, bool> cases[] = {
        {"Family", true}, {"  Famil  ", false}, {"Famil", false}, {"\tFamily\n", true}, {"", false},
    };
    for (const auto& [typed, accepted] : cases)
        EXPECT_EQ(AddressBookExport::isGroupNameLongEnough(AddressBookExport::groupName(typed)), accepted) << typed;
}
