#include "editor/ui/InfoArea_Relatives_TableView.h"

#include "editor/RelativesPageRows.h"
#include "editor/ui/PersonRowDelegate.h"
#include "editor/ui/PlaceField.h"
#include "editor/ui/RelativesTableModel.h"

#include "model/FTPerson.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

using Rows = RelativesPageRows;

namespace {
class RelativesDelegate : public PersonRowDelegate {
public:
    explicit RelativesDelegate(InfoArea_Relatives_TableView* table)
        : PersonRowDelegate(table, RelativesTableModel::DetailsButton, RelativesTableModel::FamilyButton)
        , m_table(table)
    {
    }

protected:
    bool hasPerson(const QModelIndex& index) const override { return m_table->relativesModel()->person(index.row()); }
    bool isPlace(int column) const override { return column == Rows::BirthPlace || column == Rows::DeathPlace; }
    void completePlaceAt(QWidget* editor, const QPersistentModelIndex& at) const override
    {
        completePlace(qobject_cast<QLineEdit*>(editor), m_table->moc(), at.row(), at.column());
    }

private:
    InfoArea_Relatives_TableView* m_table;
};
}

InfoArea_Relatives_TableView::InfoArea_Relatives_TableView(QWidget* parent)
    : PersonRowsView(RelativesTableModel::DetailsButton, RelativesTableModel::FamilyButton, parent)
{
    setObjectName(QStringLiteral("tv"));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QHeaderView* columns = horizontalHeader();
    columns->setStretchLastSection(false);
    columns->setMinimumSectionSize(0);
    columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setItemDelegate(new RelativesDelegate(this));
}

RelativesTableModel* InfoArea_Relatives_TableView::relativesModel() const
{
    return qobject_cast<RelativesTableModel*>(model());
}

void InfoArea_Relatives_TableView::setColumnWidths()
{
    if (!model())
        return;
    m_lastVisibleWidth = viewport()->width();
    // A date is never cut off: the room comes from the names and places.
    const int date = dateColumnMinimum();
    // The relationship and the age read better under a whole heading; the others' headings may end in "...".
    QHeaderView* columns = horizontalHeader();
    const int relationship = columns->sectionSizeHint(Rows::Relationship);
    const int age = std::max(fontMetrics().horizontalAdvance(QStringLiteral("000")) + 12,
        columns->sectionSizeHint(Rows::AgeAtDeath));
    applyColumnWidths(
        Rows::fitMinimums(Rows::columnWidths(textColumnsRoom()), {relationship, 0, date, 0, date, 0, age}));
}

int InfoArea_Relatives_TableView::selectedRow() const
{
    if (!selectionModel())
        return -1;
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

bool InfoArea_Relatives_TableView::selectPersonRow(int row)
{
    RelativesTableModel* rows = relativesModel();
    if (!rows || !rows->person(row))
        return false;
    selectRow(row);
    scrollTo(model()->index(row, 0));
    return true;
}

bool InfoArea_Relatives_TableView::editColumn(int column, int row)
{
    if (!model())
        return false;
    const QModelIndex index = model()->index(row, column);
    if (currentEditor() && editingIndex() == index)
        return true;
    if (!endEditing() || !index.isValid() || !(index.flags() & Qt::ItemIsEditable))
        return false;
    scrollTo(index);
    return editCell(index);
}

FTPerson* InfoArea_Relatives_TableView::rowPerson(const QModelIndex& index) const
{
    RelativesTableModel* rows = relativesModel();
    return rows && index.isValid() ? rows->person(index.row()) : nullptr;
}

int InfoArea_Relatives_TableView::fieldTag(int column) const
{
    return Rows::fieldTag(column);
}

bool InfoArea_Relatives_TableView::editorKeyPress(QWidget*, QKeyEvent* event)
{
    if (event->key() != Qt::Key_Up && event->key() != Qt::Key_Down)
        return false;
    RelativesTableModel* rows = relativesModel();
    const int from = editingIndex().row();
    const int step = event->key() == Qt::Key_Down ? 1 : -1;
    int to = from + step;
    // Separators are passed over; at either end the selection stays where it is.
    while (rows && to >= 0 && to < rows->rowCount() && !rows->person(to))
        to += step;
    if (!rows || to < 0 || to >= rows->rowCount())
        return true;
    if (endEditing())
        selectPersonRow(to);
    return true;
}

void InfoArea_Relatives_TableView::mousePressEvent(QMouseEvent* event)
{
    if (holdRefusedEdit(event))
        return;
    const QModelIndex index = indexAt(event->position().toPoint());
    FTPerson* person = rowPerson(index);
    if (!person) {
        event->accept();
        endEditing();
        return;
    }
    if ((currentEditor() && editingIndex() == index) || event->button() != Qt::LeftButton)
        return QTableView::mousePressEvent(event);
    clickPersonCell(event, index, person);
}
