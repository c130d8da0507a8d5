#include "editor/ui/AddChildEventsTableView.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

AddChildEventsTableView::AddChildEventsTableView(QWidget* parent)
    : EditorTableView(parent)
{
    horizontalHeader()->setStretchLastSection(false);
}

void AddChildEventsTableView::mousePressEvent(QMouseEvent* event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || !index.isValid() || index.column() == m_typeColumn || isEditRefused())
        return EditorTableView::mousePressEvent(event);
    event->accept();
    editCell(index);
}

bool AddChildEventsTableView::editorKeyPress(QWidget*, QKeyEvent* event)
{
    if (event->key() != Qt::Key_Up && event->key() != Qt::Key_Down)
        return false;
    const QModelIndex at = editingIndex();
    const int row = at.row() + (event->key() == Qt::Key_Down ? 1 : -1);
    if (row >= 0 && row < model()->rowCount() && endEditing())
        editCell(model()->index(row, at.column()));
    return true;
}
