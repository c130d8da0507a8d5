#include "editor/ui/NotesTextEdit.h"

#include "shell/SpellChecker.h"
#include "shell/ui/SetFontSize.h"
#include "shell/ui/SpellCheckHighlighter.h"

#include "editor/ui/LargeTextView.h"

#include "platform/Localizer.h"

#include <QFocusEvent>
#include <QLabel>
#include <QLocale>
#include <QVBoxLayout>

NotesTextEdit::NotesTextEdit(QWidget* parent)
    : QTextEdit(parent)
{
    setAcceptRichText(false);
    setTabChangesFocus(true);
    setMargin(5);
    SpellCheckHighlighter::attach(this, SpellChecker::shared());
}

void NotesTextEdit::setValue(const QString& text)
{
    if (text.size() > kLargeText) {
        showLarge(text);
    } else {
        if (m_large)
            leaveLarge();
        if (toPlainText() != text)
            setPlainText(text);
    }
    document()->clearUndoRedoStacks();
    document()->setModified(false);
}

QString NotesTextEdit::value() const
{
    return m_large ? m_largeView->text() : toPlainText();
}

LargeTextView* NotesTextEdit::largeTextView() const
{
    return m_large ? m_largeView : nullptr;
}

void NotesTextEdit::showLarge(const QString& text)
{
    if (m_large && (m_largeView->text().isSharedWith(text) || m_largeView->text() == text))
        return;
    if (!m_largeBox) {
        m_largeBox = new QWidget(this);
        m_largeBox->setObjectName(QStringLiteral("largeText"));
        m_largeBox->setAutoFillBackground(true);
        auto* layout = new QVBoxLayout(m_largeBox);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        m_largeNote = new QLabel(m_largeBox);
        m_largeNote->setWordWrap(true);
        m_largeNote->setContentsMargins(6, 4, 6, 4);
        m_largeNote->setBackgroundRole(QPalette::AlternateBase);
        m_largeNote->setAutoFillBackground(true);
        m_largeView = new LargeTextView(m_largeBox);
        m_largeView->setFrameShape(QFrame::NoFrame);
        m_largeView->setMargin(int(document()->documentMargin()));
        layout->addWidget(m_largeNote);
        layout->addWidget(m_largeView, 1);
    }
    if (!m_large) {
        m_wasReadOnly = isReadOnly();
        m_large = true;
    }
    // The box's own document gives its memory back: the view shares the stored text.
    if (!document()->isEmpty())
        clear();
    setReadOnly(true);
    m_largeNote->setText(LocalizedString(QStringLiteral("LargeTextReadOnly"))
                             .arg(QLocale().toString(double(text.size()) / 1e6, 'f', 1)));
    m_largeView->setText(text);
    m_largeBox->setGeometry(rect());
    m_largeBox->show();
    m_largeBox->raise();
    setFocusProxy(m_largeView);
}

void NotesTextEdit::leaveLarge()
{
    m_large = false;
    setFocusProxy(nullptr);
    m_largeBox->hide();
    m_largeView->setText(QString());
    setReadOnly(m_wasReadOnly);
}

void NotesTextEdit::resizeEvent(QResizeEvent* event)
{
    QTextEdit::resizeEvent(event);
    if (m_largeBox)
        m_largeBox->setGeometry(rect());
}

bool NotesTextEdit::isEditing() const
{
    return !m_large && document()->isModified();
}

void NotesTextEdit::showStored(const QString& text)
{
    if (!isEditing() && value() != text)
        setValue(text);
}

void NotesTextEdit::endEditing()
{
    if (!isEditing())
        return;
    document()->setModified(false);
    if (commit)
        commit(toPlainText());
}

void NotesTextEdit::setPointSize(long size)
{
    if (size <= 0)
        return;
    size = desktopPointSize(int(size));
    QFont f = font();
    if (f.pointSize() == int(size))
        return;
    f.setPointSize(int(size));
    setFont(f);
}

void NotesTextEdit::setMargin(qreal margin)
{
    // The document counts a new margin as a change; taken for typing, it kept the first text shown from loading
    // and wrote the empty box over the record's notes when the edit ended.
    const bool typed = document()->isModified();
    document()->setDocumentMargin(margin);
    document()->setModified(typed);
    if (m_largeView)
        m_largeView->setMargin(int(margin));
}

void NotesTextEdit::focusOutEvent(QFocusEvent* event)
{
    QTextEdit::focusOutEvent(event);
    // Leaving for another window ends the edit too: free text has nothing to refuse, and a text left typed here
    // while the same notes change in another window would later be written over them. Only a menu (the spelling
    // suggestions) leaves the edit open.
    if (event->reason() != Qt::PopupFocusReason)
        endEditing();
}
