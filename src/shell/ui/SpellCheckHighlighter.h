#pragma once

#include <QSyntaxHighlighter>

class QTextEdit;
class SpellChecker;

// Spelling in a text view: misspelled words get a red wavy underline, and the view's context menu offers the
// checker's suggestions for the word under the pointer above its usual entries.
//
//   SpellCheckHighlighter::checkSpelling(notesView);   // the "Check Spelling" command of a notes window
class SpellCheckHighlighter : public QSyntaxHighlighter {
    Q_OBJECT
public:
    // Checks spelling in `edit` from now on (once per view; later calls answer the same highlighter). The checker
    // must outlive the view.
    static SpellCheckHighlighter* attach(QTextEdit* edit, const SpellChecker& checker);
    // The command: without a dictionary the user is told that spell checking is not available; otherwise the view
    // is checked and the next misspelled word after the cursor (from the start after the last) is selected.
    // Answers whether a misspelled word was found.
    static bool checkSpelling(QTextEdit* edit, const SpellChecker& checker);
    static bool checkSpelling(QTextEdit* edit);

    const SpellChecker& checker() const { return m_checker; }

protected:
    void highlightBlock(const QString& text) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    SpellCheckHighlighter(QTextEdit* edit, const SpellChecker& checker);
    QTextEdit* m_edit;
    const SpellChecker& m_checker;
};
