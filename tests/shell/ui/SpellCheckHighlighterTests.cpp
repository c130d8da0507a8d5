#include "shell/ui/SpellCheckHighlighter.h"

#include "shell/SpellChecker.h"

#include "Screenshot.h"

#include "platform/Localizer.h"
#include "platform/ScriptedPrompts.h"

#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>

#include <gtest/gtest.h>

namespace {
bool underlined(QTextEdit& edit, int position)
{
    const QTextBlock block = edit.document()->findBlock(position);
    for (const QTextLayout::FormatRange& r : block.layout()->formats())
        if (position - block.position() >= r.start && position - block.position() < r.start + r.length)
            return r.format.underlineStyle() == QTextCharFormat::SpellCheckUnderline;
    return false;
}
}

TEST(SpellCheckHighlighter, UnderlinesAndSelectsTheNextMisspelledWord)
{
    const SpellChecker checker(QStringLiteral("en_US"));
    ASSERT_TRUE(checker.isAvailable());
    QTextEdit edit;
    edit.setPlainText("Ths note has one tset\nand a secnd line");
    edit.resize(300, 120);
    edit.show();

    EXPECT_TRUE(SpellCheckHighlighter::checkSpelling(&edit, checker));
    EXPECT_EQ(edit.textCursor().selectedText(), "Ths");
    EXPECT_TRUE(underlined(edit, 1));
    EXPECT_FALSE(underlined(edit, 5)); // "note"
    EXPECT_TRUE(SpellCheckHighlighter::checkSpelling(&edit, checker));
    EXPECT_EQ(edit.textCursor().selectedText(), "tset");
    EXPECT_TRUE(SpellCheckHighlighter::checkSpelling(&edit, checker));
    EXPECT_EQ(edit.textCursor().selectedText(), "secnd");
    EXPECT_TRUE(SpellCheckHighlighter::checkSpelling(&edit, checker));
    EXPECT_EQ(edit.textCursor().selectedText(), "Ths") << "after the last word it starts again at the top";
    EXPECT_EQ(SpellCheckHighlighter::attach(&edit, checker), SpellCheckHighlighter::attach(&edit, checker));
    saveScreenshot(&edit, "spell-check");

    edit.setPlainText("All words here are right");
    EXPECT_FALSE(SpellCheckHighlighter::checkSpelling(&edit, checker));
}

TEST(SpellCheckHighlighter, WithoutADictionaryTheUserIsTold)
{
    ScriptedPrompts prompts;
    Prompts::install(&prompts);
    QTemporaryDir empty;
    const SpellChecker none(QStringLiteral("xx_YY"), {empty.path()});
    QTextEdit edit;
    edit.setPlainText("qwrtzp");
    EXPECT_FALSE(SpellCheckHighlighter::checkSpelling(&edit, none));
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_TRUE(prompts.records[0].text.contains("xx_YY"));
    EXPECT_TRUE(prompts.records[0].text.contains("not available"));
    Prompts::install(nullptr);
}
