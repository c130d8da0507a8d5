#include "editor/ui/InfoArea_Relatives_TableView.h"

#include "editor/PersonFields.h"
#include "editor/RelativesPageRows.h"
#include "editor/ui/LineEditDateField.h"
#include "editor/ui/PersonRowDelegate.h"
#include "editor/ui/PlaceField.h"
#include "editor/ui/RelativesTableModel.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

using Rows = RelativesPageRows;

namespace {
constexpr int kButtonColumnWidth = 28;

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
    : EditorTableView(parent)
{
    setObjectName(QStringLiteral("tv"));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QHeaderView* columns = horizontalHeader();
    columns->setStretchLastSection(false);
    columns->setMinimumSectionSize(0);
    columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setItemDelegate(new RelativesDelegate(this));
    shouldEndEditing = [this](const QModelIndex& index, QWidget* editor) {
        return shouldEndRelativeEditing(index, editor);
    };
}

RelativesTableModel* InfoArea_Relatives_TableView::relativesModel() const
{
    return qobject_cast<RelativesTableModel*>(model());
}

void InfoArea_Relatives_TableView::setColumnWidths()
{
    if (!model())
        return;
    const int visible = viewport()->width();
    m_lastVisibleWidth = visible;
    // The buttons keep their width; the text columns share the rest, so that nothing is cut off at the right.
    // A date is never cut off: the room comes from the names and places.
    const QFontMetrics metrics(font());
    const int date = metrics.horizontalAdvance(QStringLiteral("00 Mmm 0000")) + 12;
    const int age = metrics.horizontalAdvance(QStringLiteral("000")) + 12;
    const QList<int> widths = Rows::fitMinimums(Rows::columnWidths(std::max(0, visible - 2 * kButtonColumnWidth)),
                                                {0, 0, date, 0, date, 0, age});
    endEditing();
    for (int c = 0; c < widths.size(); ++c)
        setColumnWidth(c, widths[c]);
    setColumnWidth(RelativesTableModel::DetailsButton, kButtonColumnWidth);
    setColumnWidth(RelativesTableModel::FamilyButton, kButtonColumnWidth);
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

bool InfoArea_Relatives_TableView::shouldEndRelativeEditing(const QModelIndex& index, QWidget* editor)
{
    RelativesTableModel* rows = relativesModel();
    FTPerson* person = rows ? rows->person(index.row()) : nullptr;
    const int tag = Rows::fieldTag(index.column());
    const QString typed = editorText(editor);
    // Only what the user changed is checked: a stored value the checks would refuse can still be looked at.
    if (!person || tag < 0 || typed == index.data(Qt::EditRole).toString())
        return true;
    auto* line = qobject_cast<QLineEdit*>(editor);
    if (!line)
        return true;
    LineEditDateField field(line);
    // The birth date is weighed against the row's person's relatives; a death date on its own.
    const FieldValidation v = PersonFields::validate(tag, field, tag == PersonFields::BirthDate ? person : nullptr);
    // A refused name keeps what was typed, so that it can be corrected.
    if (tag != PersonFields::BirthDate && tag != PersonFields::DeathDate && (v.accepted || tag != PersonFields::Name))
        setEditorText(editor, v.text);
    return v.report();
}

void InfoArea_Relatives_TableView::promoteToFocalPerson(FTPerson* person)
{
    if (person && !person->isDeleted() && person->moc())
        person->moc()->setFocalPerson(person);
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
    if (isEditRefused())
        return EditorTableView::mousePressEvent(event);
    const QModelIndex index = indexAt(event->position().toPoint());
    RelativesTableModel* rows = relativesModel();
    FTPerson* person = rows && index.isValid() ? rows->person(index.row()) : nullptr;
    if (!person) {
        event->accept();
        endEditing();
        return;
    }
    if (currentEditor() && editingIndex() == index)
        return EditorTableView::mousePressEvent(event);
    if (event->button() != Qt::LeftButton)
        return EditorTableView::mousePressEvent(event);
    event->accept();
    if (!endEditing())
        return;
    if (event->modifiers() & Qt::ControlModifier) {
        promoteToFocalPerson(person);
        return;
    }
    const int column = index.column();
    if (column == RelativesTableModel::DetailsButton || column == RelativesTableModel::FamilyButton) {
        selectPersonRow(index.row());
        Q_EMIT buttonClicked(index.row(), column);
        return;
    }
    if (!editColumn(column, index.row()))
        selectPersonRow(index.row());
}

void InfoArea_Relatives_TableView::mouseDoubleClickEvent(QMouseEvent* event)
{
    // One click already edits; a second one goes to the editor, never to the table's own editing.
    event->accept();
}

void InfoArea_Relatives_TableView::contextMenuEvent(QContextMenuEvent* event)
{
    event->accept();
    const QModelIndex index = indexAt(event->pos());
    RelativesTableModel* rows = relativesModel();
    if (!index.isValid() || !rows || !rows->person(index.row()) || !endEditing())
        return;
    Q_EMIT contextMenuRequested(index.row(), event->globalPos());
}

void InfoArea_Relatives_TableView::paintEvent(QPaintEvent* event)
{
    EditorTableView::paintEvent(event);
    if (m_moc && m_moc->hasChanges())
        m_moc->deferredSave();
}
