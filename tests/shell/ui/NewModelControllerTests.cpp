// The new-database dialog's checks.
#include "shell/ui/NewModelController.h"

#include "platform/Localizer.h"
#include "platform/ScriptedPrompts.h"

#include <QLineEdit>

#include <gtest/gtest.h>

namespace {

TEST(NewModelController, StartsEmptyWithAMaleFirstPerson)
{
    NewModelController dialog;
    EXPECT_EQ(dialog.modelName(), "");
    EXPECT_EQ(dialog.name(), "");
    EXPECT_EQ(dialog.gender(), LocalizedString("MaleShort"));
}

TEST(NewModelController, ChecksWhatWasTyped)
{
    struct Case {
        const char* modelName;
        const char* name;
        const char* gender;
        const char* messageKey; // empty: accepted
        const char* storedModelName;
        const char* storedGender;
    } cases[] = {
        {"  Smith Family \n", "John Smith", "M", "", "Smith Family", "M"},
        {"O'Neil Tree 2", "Ann", "f", "", "O'Neil Tree 2", "F"},
        {"My-Tree", "Ann", "F", "FileRestrictions", "My-Tree", "F"},
        {"my.tree", "Ann", "F", "FileRestrictions", "my.tree", "F"},
        {"Zoë", "Ann", "F", "FileRestrictions", "Zoë", "F"},
        {"   ", "Ann", "F", "EnterTreeName", "", "F"},
        {"Tree", "  ", "F", "EnterPersonsName", "Tree", "F"},
        {"Tree", "Ann", "x", "GenderQualification", "Tree", "X"},
        {"Tree", "Ann", "", "GenderQualification", "Tree", ""},
    };
    for (const Case& c : cases) {
        ScriptedPrompts prompts;
        Prompts::install(&prompts);
        NewModelController dialog;
        dialog.setModelName(QString::fromUtf8(c.modelName));
        dialog.setName(c.name);
        dialog.setGender(c.gender);
        const bool accepted = dialog.createNewModel();
        Prompts::install(nullptr);

        const QString expected = QString::fromLatin1(c.messageKey);
        EXPECT_EQ(accepted, expected.isEmpty()) << c.modelName;
        EXPECT_EQ(dialog.result(), expected.isEmpty() ? QDialog::Accepted : QDialog::Rejected) << c.modelName;
        if (expected.isEmpty()) {
            EXPECT_TRUE(prompts.records.isEmpty()) << c.modelName;
        } else {
            ASSERT_EQ(prompts.records.size(), 1) << c.modelName;
            EXPECT_EQ(prompts.records[0].text, LocalizedString(expected)) << c.modelName;
        }
        // The dialog keeps what was typed, the database name trimmed.
        EXPECT_EQ(dialog.modelName(), QString::fromUtf8(c.storedModelName)) << c.modelName;
        EXPECT_EQ(dialog.gender(), c.storedGender) << c.modelName;
    }
}

TEST(NewModelController, AnEmptyNamePassesTheCharacterCheck)
{
    EXPECT_TRUE(NewModelController::isValidModelName(""));
    EXPECT_TRUE(NewModelController::isValidModelName("Abc 123 'x'"));
    EXPECT_FALSE(NewModelController::isValidModelName("a_b"));
    EXPECT_FALSE(NewModelController::isValidModelName("a/b"));
}

}
