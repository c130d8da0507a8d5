// The event editor's rules apart from its window: LDS status codes per ordinance, changing an event's type, which
// events may change type, the check before closing and the rows of a drop-down list.

#include "ToolsFixture.h"

#include "tools/EventEditing.h"

#include <gmock/gmock.h>

class EventEditingFixture : public ToolsFixture {};

TEST_F(EventEditingFixture, LdsStatusCodesAreCheckedAgainstTheOrdinancesOwnTable)
{
    const struct {
        const char* subtype;
        const char* typed;
        bool valid;
        const char* kept; // what the field shows afterwards
    } cases[] = {
        {"SLGS", "DNS/CAN", true, "DNS/CAN"},
        {"SLGC", "DNS/CAN", false, "DNS/CAN"},
        {"SLGC", "BIC", true, "BIC"},
        {"SLGS", "BIC", false, "BIC"},
        {"BAPL", "BIC", false, "BIC"},
        {"CONL", "infant", true, "INFANT"}, // confirmation takes the baptism's codes, in capitals
        {"CONL", " child\n", true, "CHILD"},
        {"ENDL", "stillborn", true, "STILLBORN"},
        {"SLGS", "STILLBORN", false, "STILLBORN"},
        {"SLGS", "canceled", true, "CANCELED"},
        {"BAPL", "   ", true, ""},
        {"ENDL", "DONE", false, "DONE"},
    };
    for (const auto& c : cases) {
        prompts.clear();
        QString status = c.typed;
        EXPECT_EQ(EventEditing::validateLdsStatus(c.subtype, status), c.valid) << c.subtype << " " << c.typed;
        EXPECT_EQ(status, c.kept) << c.subtype << " " << c.typed;
        EXPECT_EQ(prompts.records.size(), c.valid ? 0 : 1) << c.subtype << " " << c.typed;
    }

    // The refusal names the code and the ordinance, and lists the valid codes with their meanings.
    prompts.clear();
    QString status = "BIC";
    EXPECT_FALSE(EventEditing::validateLdsStatus("SLGS", status));
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].text, QString("BIC %1 SLGS").arg(L("isInvalidFor")));
    const QString info = prompts.records[0].info;
    EXPECT_TRUE(info.startsWith(QString("%1 SLGS %2:").arg(L("ValidCodesFor"), L("are")))) << info.toStdString();
    EXPECT_TRUE(info.contains(QString("DNS/CAN = %1").arg(L("LDS_DNS"))));
    EXPECT_TRUE(info.contains(QString("CANCELED = %1").arg(L("LDS_CANCELLED"))));
    EXPECT_FALSE(info.contains("BIC ="));
    EXPECT_TRUE(EventEditing::ldsStatusCodes("DEAT").isEmpty());
}

TEST_F(EventEditingFixture, ChangingTheTypeRenamesOnlyADefaultName)
{
    FTPerson* ann = person("Ann Lee", "F");
    FTEvent* unnamed = event(ann, FTEvent::OtherPersonalEvent, "", "1900", "BAPM");
    FTEvent* defaultNamed = event(ann, FTEvent::OtherPersonalEvent, "", "1900", "BAPM");
    defaultNamed->setName("Baptism");
    FTEvent* typed = event(ann, FTEvent::OtherPersonalEvent, "", "1900", "BAPM");
    typed->setName("Font at St Mary's");
    for (FTEvent* e : {unnamed, defaultNamed, typed})
        EventEditing::changeType(e, "CHR");
    EXPECT_EQ(unnamed->subtype(), "CHR");
    EXPECT_EQ(unnamed->name(), "Christening");
    EXPECT_EQ(defaultNamed->name(), "Christening");
    EXPECT_EQ(typed->subtype(), "CHR");
    EXPECT_EQ(typed->name(), "Font at St Mary's");
    EXPECT_TRUE(moc->eventNamesForSubtype("CHR").contains("Font at St Mary's"));
    EXPECT_FALSE(moc->eventNamesForSubtype("BAPM").contains("Font at St Mary's"));

    // Births, deaths and marriages keep their type; "None" is no type.
    FTEvent* birth = event(ann, FTEvent::BirthEvent, "", "1880");
    EventEditing::changeType(birth, "CHR");
    EXPECT_EQ(birth->subtype(), "BIRT");
    EventEditing::changeType(typed, L("None"));
    EXPECT_EQ(typed->subtype(), "CHR");
}

TEST_F(EventEditingFixture, WhatTheEventsKindAllowsAndWhatClosingNeeds)
{
    FTPerson* ann = person("Ann Lee", "F");
    FTPerson* bob = person("Bob Lee");
    FTSpouseRel* c = couple(bob, ann);
    const struct {
        FTEvent* event;
        bool typeEditable;
        bool lds;
        bool death;
    } cases[] = {
        {event(ann, FTEvent::BirthEvent, ""), false, false, false},
        {event(ann, FTEvent::DeathEvent, ""), false, false, true},
        {event(c, FTEvent::MarriageEvent, ""), false, false, false},
        {event(ann, FTEvent::OtherPersonalEvent, "", {}, "ENDL"), true, true, false},
        {event(c, FTEvent::OtherMarriageEvent, "", {}, "SLGS"), true, true, false},
        {event(c, FTEvent::OtherMarriageEvent, "", {}, "DIV"), true, false, false},
        {nullptr, false, false, false},
    };
    for (const auto& t : cases) {
        const QString what = t.event ? t.event->subtype() : "none";
        EXPECT_EQ(EventEditing::typeIsEditable(t.event), t.typeEditable) << what.toStdString();
        EXPECT_EQ(!EventEditing::isNonLdsEvent(t.event), t.lds) << what.toStdString();
        EXPECT_EQ(!EventEditing::isNonDeathEvent(t.event), t.death) << what.toStdString();
    }
    EXPECT_EQ(EventEditing::eventOwnersName(cases[2].event, nullptr, c), "Bob Lee +. Ann Lee");
    EXPECT_EQ(EventEditing::eventOwnersName(cases[0].event, ann, nullptr), ann->nameWithBirthAndDeathYears());

    EXPECT_TRUE(EventEditing::validateEventData("Baptism", "BAPM"));
    EXPECT_TRUE(prompts.records.isEmpty());
    EXPECT_FALSE(EventEditing::validateEventData("  ", "BAPM"));
    EXPECT_FALSE(EventEditing::validateEventData("Baptism", ""));
    ASSERT_EQ(prompts.records.size(), 2);
    EXPECT_EQ(prompts.records[0].text, L("FieldsAreMandatory"));
}

TEST_F(EventEditingFixture, ADropDownShowsTheRowsThatFitButNoMoreThanItHasAndNeverFewerThanFive)
{
    EXPECT_EQ(EventEditing::dropDownRowCount(200, 18, 2, 100), 10);
    EXPECT_EQ(EventEditing::dropDownRowCount(200, 18, 2, 7), 7);
    EXPECT_EQ(EventEditing::dropDownRowCount(30, 18, 2, 100), 5);
    EXPECT_EQ(EventEditing::dropDownRowCount(200, 18, 2, 2), 5);
    EXPECT_EQ(EventEditing::dropDownRowCount(-40, 18, 2, 100), 5);
}
