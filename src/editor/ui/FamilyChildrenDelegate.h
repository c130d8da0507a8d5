#pragma once

#include <QStyledItemDelegate>

class FamilyTableView;

// Draws and edits the cells of a couple's children table: a details and a family button per child, notes in full
// or cut to one line (dark red when more is hidden), one-line editors for the name, gender, dates and places, and
// a text editor for the notes that grows with what is typed.
class FamilyChildrenDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit FamilyChildrenDelegate(FamilyTableView* table);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void updateEditorGeometry(
        QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    bool isNotes(const QModelIndex& index) const;
    void paintNotes(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const;

    FamilyTableView* m_table;
};
