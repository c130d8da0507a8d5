#pragma once

#include <QStyledItemDelegate>

class InfoArea_Events_TableView;

// Draws and edits the cells of the events page's table: a details button per event, notes in full or cut to one
// line (dark red when more is hidden), one-line editors for name, date and place, and a text editor for the notes
// that grows with what is typed.
class EventsTableDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit EventsTableDelegate(InfoArea_Events_TableView* table);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void updateEditorGeometry(
        QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // The notes' colour when they are cut to one line and there is more.
    static QColor cutOffNotesColour();

private:
    void paintNotes(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const;
    void paintDetailsButton(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const;

    InfoArea_Events_TableView* m_table;
};
