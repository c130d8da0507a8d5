#include "shell/ui/SpellCheckHighlighter.h"

#include "shell/DisplayMsg.h"
#include "shell/SpellChecker.h"
#include "platform/Localizer.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QTextBlock>
#include <QTextEdit>

#include <memory>

namespace {
constexpr int kMaxSuggestions = 8;
const char* const kHighlighterProperty = "kinloomSpellCheckHighlighter";
}

SpellCheckHighlighter::SpellCheckHighlighter(QTextEdit* edit, const SpellChecker& checker)
    : QSyntaxHighlighter(edit->document())
    , m_edit(edit)
    , m_checker(checker)
{
    setParent(edit); // lives as long as the view, whatever document it shows later
    setDocument(edit->document());
    edit->viewport()->installEventFilter(this);
    edit->setProperty(kHighlighterProperty, QVariant::fromValue<QObject*>(this));
}

SpellCheckHighlighter* SpellCheckHighlighter::attach(QTextEdit* edit, const SpellChecker& checker)
{
    if (auto* existing = qobject_cast<SpellCheckHighlighter*>(edit->property(kHighlighterProperty).value<QObject*>())) {
        if (existing->document() != edit->document())
            existing->setDocument(edit->document());
        return existing;
    }
    return new SpellCheckHighlighter(edit, checker);
}

bool SpellCheckHighlighter::checkSpelling(QTextEdit* edit) { return checkSpelling(edit, SpellChecker::shared()); }

bool SpellCheckHighlighter::checkSpelling(QTextEdit* edit, const SpellChecker& checker)
{
    if (!edit)
        return false;
    if (!checker.isAvailable()) {
        DisplayMsg(LocalizedString(QStringLiteral("SpellCheckNotAvailable")).arg(checker.language()));
        return false;
    }
    attach(edit, checker)->rehighlight();
    const QString text = edit->toPlainText();
    const QList<SpellChecker::Range> wrong = checker.misspelled(text);
    if (wrong.isEmpty())
        return false;
    const int from = edit->textCursor().selectionEnd();
    SpellChecker::Range next = wrong.first();
    for (const SpellChecker::Range& r : wrong)
        if (r.start >= from) {
            next = r;
            break;
        }
    QTextCursor cursor(edit->document());
    cursor.setPosition(next.start);
    cursor.setPosition(next.start + next.length, QTextCursor::KeepAnchor);
    edit->setTextCursor(cursor);
    edit->ensureCursorVisible();
    return true;
}

void SpellCheckHighlighter::highlightBlock(const QString& text)
{
    QTextCharFormat format;
    format.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
    format.setUnderlineColor(Qt::red);
    for (const SpellChecker::Range& r : m_checker.misspelled(text))
        setFormat(r.start, r.length, format);
}

bool SpellCheckHighlighter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::ContextMenu || watched != m_edit->viewport())
        return QSyntaxHighlighter::eventFilter(watched, event);
    auto* menuEvent = static_cast<QContextMenuEvent*>(event);
    QTextCursor cursor = m_edit->cursorForPosition(menuEvent->pos());
    const QTextBlock block = cursor.block();
    const int inBlock = cursor.position() - block.position();
    std::unique_ptr<QMenu> menu(m_edit->createStandardContextMenu(menuEvent->pos()));
    QAction* first = menu->actions().value(0);
    for (const SpellChecker::Range& r : m_checker.misspelled(block.text())) {
        if (inBlock < r.start || inBlock > r.start + r.length)
            continue;
        const QStringList suggestions = m_checker.suggestions(block.text().mid(r.start, r.length));
        const int wordStart = block.position() + r.start;
        const int wordLength = r.length;
        if (suggestions.isEmpty()) {
            QAction* none = new QAction(LocalizedString(QStringLiteral("NoSpellingSuggestions")), menu.get());
            none->setEnabled(false);
            menu->insertAction(first, none);
        }
        for (const QString& s : suggestions.mid(0, kMaxSuggestions)) {
            QAction* action = new QAction(s, menu.get());
            QFont bold = action->font();
            bold.setBold(true);
            action->setFont(bold);
            QObject::connect(action, &QAction::triggered, m_edit, [edit = m_edit, wordStart, wordLength, s] {
                QTextCursor replace(edit->document());
                replace.setPosition(wordStart);
                replace.setPosition(wordStart + wordLength, QTextCursor::KeepAnchor);
                replace.insertText(s);
            });
            menu->insertAction(first, action);
        }
        menu->insertSeparator(first);
        break;
    }
    menu->exec(menuEvent->globalPos());
    return true;
}
