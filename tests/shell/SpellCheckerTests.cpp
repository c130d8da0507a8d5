#include "shell/SpellChecker.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using Range = SpellChecker::Range;

TEST(SpellChecker, WordsKeepInnerApostrophesAndSkipNumbers)
{
    const struct {
        QString text;
        QList<Range> words;
    } cases[] = {
        {"", {}},
        {"  one, two.", {{2, 3}, {7, 3}}},
        {"O'Brien's don't", {{0, 9}, {10, 5}}},
        {"'quoted'", {{1, 6}}},              // quotes around a word are not part of it
        {"born 1900 in 1900s", {{0, 4}, {10, 2}}}, // a word holding a digit is not checked
        {QString::fromUtf8("Müller–Lüdenscheidt"), {{0, 6}, {7, 12}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SpellChecker::words(c.text), c.words) << c.text.toStdString();
}

TEST(SpellChecker, FindsMisspelledWordsWithTheInstalledDictionary)
{
    const SpellChecker checker(QStringLiteral("en_US"));
    ASSERT_TRUE(checker.isAvailable()) << "scripts/setup installs hunspell-en-us";
    const QString text = QStringLiteral("Ths is a tset of O'Brien's notes, don't worry");
    const QList<Range> wrong = checker.misspelled(text);
    ASSERT_EQ(wrong.size(), 2);
    EXPECT_EQ(text.mid(wrong[0].start, wrong[0].length), "Ths");
    EXPECT_EQ(text.mid(wrong[1].start, wrong[1].length), "tset");
    EXPECT_TRUE(checker.suggestions("tset").contains("test"));
}

TEST(SpellChecker, WithoutADictionaryNothingIsMisspelled)
{
    QTemporaryDir empty;
    const SpellChecker checker(QStringLiteral("xx_YY"), {empty.path()});
    EXPECT_FALSE(checker.isAvailable());
    EXPECT_EQ(checker.language(), "xx_YY");
    EXPECT_TRUE(checker.misspelled("qwrtzp").isEmpty());
    EXPECT_TRUE(checker.suggestions("qwrtzp").isEmpty());
}

TEST(SpellChecker, ReadsALatinOneDictionary)
{
    QTemporaryDir dir;
    auto write = [&](const QString& name, const QByteArray& bytes) {
        QFile f(dir.path() + "/" + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    write("de_XX.aff", "SET ISO8859-1\nTRY esianrtolcdugmphbyfvkwz\n");
    write("de_XX.dic", "2\nM\xfcller\nStra\xdf" "e\n");
    const SpellChecker checker(QStringLiteral("de_XX"), {dir.path()});
    ASSERT_TRUE(checker.isAvailable());
    EXPECT_TRUE(checker.isCorrect(QString::fromUtf8("Müller")));
    EXPECT_TRUE(checker.isCorrect(QString::fromUtf8("Straße")));
    EXPECT_FALSE(checker.isCorrect(QString::fromUtf8("Mülller")));
    EXPECT_FALSE(checker.isCorrect(QString::fromUtf8("Müll€r"))) << "a character outside the set is no match";
}
