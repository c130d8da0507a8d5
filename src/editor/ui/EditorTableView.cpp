#include "editor/ui/EditorTableView.h"

#include "shell/Utils.h"

#include <QApplication>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QTimer>
#include <QToolTip>

EditorTableView::EditorTableView(QWidget* parent)
    : QTableView(parent)
{
    setAlternatingRowColors(true);
    setShowGrid(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    verticalHeader()->hide();
    horizontalHeader()->setHighlightSections(false);
    QPalette p = palette();
    const QColor highlight = Utils::tableViewHighlightColour();
    for (QPalette::ColorGroup group : { QPalette::Active, QPalette::Inactive }) {
        p.setColor(group, QPalette::Highlight, highlight);
        p.setColor(group, QPalette::HighlightedText, p.color(group, QPalette::Text));
    }
    setPalette(p);
}

void EditorTableView::setHorizontalGridLines(bool on)
{
    if (m_horizontalLines == on)
        return;
    m_horizontalLines = on;
    viewport()->update();
}

QString EditorTableView::editorText(const QWidget* editor)
{
    if (auto* line = qobject_cast<const QLineEdit*>(editor))
        return line->text();
    if (auto* plain = qobject_cast<const QPlainTextEdit*>(editor))
        return plain->toPlainText();
    if (auto* text = qobject_cast<const QTextEdit*>(editor))
        return text->toPlainText();
    return {};
}

void EditorTableView::setEditorText(QWidget* editor, const QString& text)
{
    if (editorText(editor) == text)
        return;
    if (auto* line = qobject_cast<QLineEdit*>(editor))
        line->setText(text);
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(editor))
        plain->setPlainText(text);
    else if (auto* rich = qobject_cast<QTextEdit*>(editor))
        rich->setPlainText(text);
}

bool EditorTableView::editCell(const QModelIndex& index)
{
    if (!index.isValid() || !(index.flags() & Qt::ItemIsEditable))
        return false;
    if (currentEditor() && m_editIndex == index)
        return true;
    if (!endEditing())
        return false;
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    return edit(index, QAbstractItemView::AllEditTriggers, nullptr);
}

bool EditorTableView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    if (!QTableView::edit(index, trigger, event))
        return false;
    QWidget* editor = indexWidget(index);
    if (!editor)
        return true;
    if (editor != m_editor) {
        m_editor = editor;
        m_editIndex = index;
        m_refused = false;
        // Installed after the delegate's filter, so it sees the keys and the focus first.
        editor->installEventFilter(this);
    }
    // The caret at the end, nothing selected: one click is for adding to the text.
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        line->deselect();
        line->end(false);
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(editor)) {
        plain->moveCursor(QTextCursor::End);
    } else if (auto* text = qobject_cast<QTextEdit*>(editor)) {
        text->moveCursor(QTextCursor::End);
    }
    return true;
}

void EditorTableView::commitData(QWidget* editor)
{
    if (m_committing)
        return; // a second end while the check runs (its alert took the focus) waits for the first
    if (editor != m_editor)
        return QTableView::commitData(editor);
    m_committing = true;
    const bool accepted = !shouldEndEditing || shouldEndEditing(m_editIndex, editor);
    m_committing = false;
    m_refused = !accepted;
    if (accepted)
        QTableView::commitData(editor);
}

void EditorTableView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    if (editor == m_editor && m_refused && hint != QAbstractItemDelegate::RevertModelCache) {
        editor->setFocus(Qt::OtherFocusReason);
        return;
    }
    const QPersistentModelIndex index = m_editIndex;
    if (editor == m_editor) {
        editor->removeEventFilter(this);
        m_editor = nullptr;
        m_editIndex = QPersistentModelIndex();
        m_refused = false;
    }
    QTableView::closeEditor(editor, hint);
    editingDidEnd(index);
}

bool EditorTableView::endEditing()
{
    QWidget* editor = currentEditor();
    if (!editor)
        return true;
    commitData(editor);
    if (m_refused)
        return false;
    closeEditor(editor, QAbstractItemDelegate::NoHint);
    return true;
}

void EditorTableView::abandonEditing()
{
    if (QWidget* editor = currentEditor())
        closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
}

bool EditorTableView::editorKeyPress(QWidget*, QKeyEvent*)
{
    return false;
}

void EditorTableView::editingDidEnd(const QModelIndex&) { }

bool EditorTableView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_editor)
        return QTableView::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (m_refused && key->key() != Qt::Key_Escape)
            m_refused = false; // the user corrects the text: the next end is checked again
        return editorKeyPress(m_editor, key);
    }
    if (event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        // An alert or a menu taking the focus for a moment is not the end of the edit, nor is a check under way.
        if (m_committing || reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason)
            return true;
        QWidget* editor = m_editor;
        if (QWidget* focus = QApplication::focusWidget(); focus && editor->isAncestorOf(focus))
            return false;
        if (!endEditing()) {
            QPointer<QWidget> keep(editor);
            QTimer::singleShot(0, this, [keep] {
                if (keep && keep->isVisible())
                    keep->setFocus(Qt::OtherFocusReason);
            });
        }
        return true;
    }
    return QTableView::eventFilter(watched, event);
}

void EditorTableView::mousePressEvent(QMouseEvent* event)
{
    // A cell whose edit was refused keeps it until the text is corrected or the edit abandoned.
    if (isEditRefused()) {
        event->accept();
        m_editor->setFocus(Qt::OtherFocusReason);
        return;
    }
    QTableView::mousePressEvent(event);
}

void EditorTableView::paintEvent(QPaintEvent* event)
{
    QTableView::paintEvent(event);
    QPainter painter(viewport());
    const QColor line = QColor::fromRgba(style()->styleHint(QStyle::SH_Table_GridLineColor, nullptr, this));
    painter.setPen(line.isValid() && line.alpha() > 0 ? line : palette().color(QPalette::Mid));
    const int height = viewport()->height();
    const int width = viewport()->width();
    QHeaderView* columns = horizontalHeader();
    for (int c = 0; c < columns->count(); ++c) {
        if (columns->isSectionHidden(c))
            continue;
        const int x = columnViewportPosition(c) + columnWidth(c) - 1;
        if (x >= 0 && x < width)
            painter.drawLine(x, 0, x, height);
    }
    if (!m_horizontalLines || !model())
        return;
    const int first = rowAt(0);
    if (first < 0)
        return;
    for (int r = first; r < model()->rowCount(); ++r) {
        const int y = rowViewportPosition(r) + rowHeight(r) - 1;
        if (y >= height)
            break;
        painter.drawLine(0, y, width, y);
    }
}

QString EditorTableView::toolTipForCell(int row, int column) const
{
    return model() ? model()->index(row, column).data(Qt::ToolTipRole).toString() : QString();
}

QString EditorTableView::cutOffText(int column, const QString& text, int margin) const
{
    const int room = columnWidth(column) - 2 * margin - 4;
    if (text.isEmpty() || (!text.contains(QLatin1Char('\n')) && fontMetrics().horizontalAdvance(text) <= room))
        return {};
    return text;
}

bool EditorTableView::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QModelIndex index = indexAt(help->pos());
        const QString tip = index.isValid() ? toolTipForCell(index.row(), index.column()) : QString();
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), tip, viewport(), visualRect(index));
        return true;
    }
    return QTableView::viewportEvent(event);
}

void EditorTableView::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    if (viewport()->width() != m_lastVisibleWidth)
        setColumnWidths();
}

void EditorTableView::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected)
{
    QTableView::selectionChanged(selected, deselected);
    // The selected row shows its notes in full; the row left goes back to one line.
    for (const QItemSelection* s : {&deselected, &selected})
        for (const QModelIndex& index : s->indexes())
            if (index.column() == 0)
                applyRowHeight(index.row());
    viewport()->update();
}
