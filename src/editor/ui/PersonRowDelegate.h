#pragma once

#include <QPersistentModelIndex>
#include <QStyledItemDelegate>

class FTMoc;

// The delegate of the tables of people on the relatives, family, ancestors and descendants pages: the details
// and family button columns draw their icons in rows with a person, and the text cells are edited on one line
// (or several, where multiLine says so) with places completed as they are typed.
class PersonRowDelegate : public QStyledItemDelegate {
public:
    PersonRowDelegate(QObject* parent, int detailsColumn, int familyColumn);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex&) const override;

protected:
    // Whether the row of `index` has a person, so that its buttons show.
    virtual bool hasPerson(const QModelIndex& index) const = 0;
    // Whether the column holds a place.
    virtual bool isPlace(int column) const = 0;
    virtual bool multiLine(int /*column*/) const { return false; }
    // Completes the place typed into `editor` for the cell `at`.
    virtual void completePlaceAt(QWidget* editor, const QPersistentModelIndex& at) const = 0;

private:
    int m_detailsColumn;
    int m_familyColumn;
};
