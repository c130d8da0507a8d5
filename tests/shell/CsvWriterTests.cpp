#include "shell/CsvWriter.h"
#include "shell/Utils.h"

#include "platform/Localizer.h"
#include "platform/ScriptedPrompts.h"
#include "platform/UserDefaults.h"

#include "CsvReader.h"
#include "TestSupport.h"
#include "WithoutPermissionOverride.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
std::string s(const QString& q) { return q.toStdString(); }

class CsvFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestSupport::useFreshDefaults();
        tmp = std::make_unique<QTemporaryDir>(TestSupport::tempRoot() + "/csv-XXXXXX");
        UserDefaults::standard().setString("KinloomDataDirectory", tmp->path());
        Prompts::install(&prompts);
    }
    void TearDown() override { Prompts::install(nullptr); }
    std::unique_ptr<QTemporaryDir> tmp;
    ScriptedPrompts prompts;
};
}

TEST(CsvFieldRules, EachRuleQuotesAsItSays)
{
    struct Case {
        QString text;
        const char* escaped;
        const char* quoted;
        const char* tripled;
    } cases[] = {
        {"", "", "", ""},
        {"plain", "\"plain\"", "\"plain\"", "\"\"\"plain\"\"\""},
        {"say \"hi\", then", "\"say \"\"hi\"\", then\"", "\"say \"\"hi\"\", then\"",
         "\"\"\"say \"\"hi\"\", then\"\"\""},
        {"a\nb\r\nc", "\"a\\nb\\r\\nc\"", "\"a\nb\r\nc\"", "\"\"\"a\nb\r\nc\"\"\""},
        {"back\\slash {brace}", "\"back\\slash {brace}\"", "\"back\\slash {brace}\"",
         "\"\"\"back\\slash {brace}\"\"\""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(s(CsvWriter::escapedQuoted(c.text)), c.escaped) << s(c.text);
        EXPECT_EQ(s(CsvWriter::quoted(c.text)), c.quoted) << s(c.text);
        EXPECT_EQ(s(CsvWriter::tripleQuoted(c.text)), c.tripled) << s(c.text);
    }
    EXPECT_EQ(s(CsvWriter::number(0)), "");
    EXPECT_EQ(s(CsvWriter::number(-12)), "-12");
    EXPECT_EQ(s(CsvWriter::number(1850)), "1850");
}

TEST_F(CsvFiles, AFileReadsBackFieldForFieldAndNeverReplacesAnother)
{
    const QString awkward = "O'Brien, \"Paddy\" \\ {x}\nsecond line";
    QString first;
    for (int run = 0; run < 2; ++run) {
        CsvWriter csv;
        ASSERT_TRUE(csv.create("Royal92_List.csv"));
        ASSERT_TRUE(csv.writeLine({"Name", "Notes", "Year"}));
        ASSERT_TRUE(csv.writeLine({CsvWriter::quoted(awkward), CsvWriter::escapedQuoted(awkward), CsvWriter::number(0)}));
        ASSERT_TRUE(csv.close());
        QFile f(csv.outputPath());
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF")) << "a listing keeps its byte-order mark";
        bool wellFormed = false;
        const QList<QStringList> rows = CsvReader::parse(bytes, &wellFormed);
        EXPECT_TRUE(wellFormed);
        ASSERT_EQ(rows.size(), 2);
        EXPECT_EQ(rows[1], QStringList({awkward, "O'Brien, \"Paddy\" \\ {x}\\nsecond line", ""}));
        if (run == 0)
            first = csv.outputPath();
        else
            EXPECT_NE(csv.outputPath(), first) << "the second listing takes the next free name";
    }
    EXPECT_TRUE(QFileInfo(first).fileName() == "Royal92_List.csv");
}

TEST_F(CsvFiles, AFileThatCannotBeMadeIsReportedAndLeavesNothing)
{
    const QString reports = Utils::reportsDirectory();
    ASSERT_TRUE(QFile::setPermissions(reports, QFile::ReadOwner | QFile::ExeOwner));
    bool made = true;
    {
        WithoutPermissionOverride asAUser;
        CsvWriter csv;
        made = csv.create("Locked");
    }
    QFile::setPermissions(reports, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_FALSE(made);
    EXPECT_EQ(prompts.records.size(), 1);
    EXPECT_TRUE(QDir(reports).entryList(QDir::Files).isEmpty());
}

TEST(RtfWriterMoment, TitleDateIsEnglishWhateverTheLocale)
{
    RtfWriter w;
    w.setDateTime(QDateTime(QDate(2026, 12, 10), QTime(14, 5)));
    EXPECT_EQ(s(w.titleDateText()), "Thursday 10-Dec-26 at 14:05");
    EXPECT_EQ(s(w.dateText()), "10 December, 2026");
}
