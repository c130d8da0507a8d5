#include "editor/ui/PersonRowDelegate.h"

#include "editor/ui/EditorTableView.h"
#include "editor/ui/NotesCell.h"

#include "shell/ui/ThemeIcon.h"

#include <QApplication>
#include <QPainter>

#include <algorithm>

PersonRowDelegate::PersonRowDelegate(QObject* parent, int detailsColumn, int familyColumn)
    : QStyledItemDelegate(parent)
    , m_detailsColumn(detailsColumn)
    , m_familyColumn(familyColumn)
{
}

void PersonRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const int column = index.column();
    if (column != m_detailsColumn && column != m_familyColumn)
        return QStyledItemDelegate::paint(painter, option, index);
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    QStyle* style = option.widget ? option.widget->style() : QApplication::style();
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &opt, painter, option.widget);
    const int side = std::min({16, option.rect.height() - 2, option.rect.width() - 2});
    if (side <= 0 || !hasPerson(index))
        return;
    const QRect icon(option.rect.center().x() - side / 2 + 1, option.rect.center().y() - side / 2 + 1, side, side);
    themeIcon(QString::fromLatin1(column == m_detailsColumn ? "document-properties" : "system-users")).paint(painter, icon);
}

QWidget* PersonRowDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                         const QModelIndex& index) const
{
    const QPersistentModelIndex at(index);
    const bool place = isPlace(index.column());
    return NotesCell::createEditor(parent, option.font, option.rect.height(), multiLine(index.column()),
                                   [this, at, place](QWidget* editor) {
                                       if (place)
                                           completePlaceAt(editor, at);
                                   });
}

void PersonRowDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    NotesCell::setEditorData(editor, index.data(Qt::EditRole).toString());
}

void PersonRowDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    model->setData(index, EditorTableView::editorText(editor), Qt::EditRole);
}

void PersonRowDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                             const QModelIndex&) const
{
    NotesCell::placeEditor(editor, option.rect, false, option.rect.height());
}
