#include "editor/ui/EditorTableView.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QToolTip>

EditorTableView::EditorTableView(QWidget* parent)
    : CellEditingView(parent)
{
    setShowGrid(false);
    verticalHeader()->hide();
    horizontalHeader()->setHighlightSections(false);
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

bool EditorTableView::acceptEdit(const QModelIndex& index, QWidget* editor)
{
    return !shouldEndEditing || shouldEndEditing(index, editor);
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
