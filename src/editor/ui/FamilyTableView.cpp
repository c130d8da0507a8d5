#include "editor/ui/FamilyTableView.h"

#include "editor/FamilyChildren.h"
#include "editor/PersonFields.h"
#include "editor/ui/FamilyChildrenModel.h"
#include "editor/ui/LineEditDateField.h"
#include "editor/ui/PlaceField.h"

#include "shell/FieldValidation.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTextEdit>

using Layout = FamilyChildrenLayout;
using Keys = FamilyTableKeys;

namespace {
// Shows what a check made of the text in the editor and says why it refused or changed it.
bool report(QWidget* editor, const FieldValidation& v)
{
    EditorTableView::setEditorText(editor, v.text);
    return v.report();
}
}

FamilyTableView::FamilyTableView(QWidget* parent)
    : EditorTableView(parent)
{
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    QHeaderView* columns = horizontalHeader();
    columns->setStretchLastSection(false);
    columns->setMinimumSectionSize(0);
    columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(0);
    shouldEndEditing = [this](const QModelIndex& index, QWidget* editor) { return shouldEndChildEditing(index, editor); };
}

FamilyChildrenModel* FamilyTableView::childrenModel() const
{
    return qobject_cast<FamilyChildrenModel*>(model());
}

void FamilyTableView::setMultiLineNotes(bool on)
{
    m_multiLineNotes = on;
    setHorizontalGridLines(on);
    calculateRowHeightForAllRows();
    viewport()->update();
}

QString FamilyTableView::columnIdentifier(int column) const
{
    return model() ? model()->headerData(column, Qt::Horizontal, Qt::UserRole).toString() : QString();
}

int FamilyTableView::columnOf(const QString& identifier) const
{
    for (int c = 0; model() && c < model()->columnCount(); ++c)
        if (columnIdentifier(c) == identifier)
            return c;
    return -1;
}

int FamilyTableView::selectedRow() const
{
    if (!selectionModel())
        return -1;
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

bool FamilyTableView::editColumn(int column, int row)
{
    if (!model())
        return false;
    if (currentEditor() && editingIndex() == model()->index(row, column))
        return true;
    // Ended first: a new child typed into the last row takes that row, and the cell asked for is then its own.
    if (!endEditing())
        return false;
    if (row < 0 || row >= model()->rowCount())
        return false;
    selectRow(row);
    const QModelIndex index = model()->index(row, column);
    if (!index.isValid() || !(index.flags() & Qt::ItemIsEditable))
        return false;
    scrollTo(index);
    if (!editCell(index))
        return false;
    if (columnIdentifier(column) == QLatin1String("gender"))
        if (auto* line = qobject_cast<QLineEdit*>(currentEditor()))
            line->selectAll();
    return true;
}

void FamilyTableView::applyRowHeights()
{
    FamilyChildrenModel* children = childrenModel();
    if (!children)
        return;
    for (int r = 0; r < children->rowCount(); ++r)
        applyRowHeight(r);
}

void FamilyTableView::applyRowHeight(int row)
{
    FamilyChildrenModel* children = childrenModel();
    const ChildInfo* info = children ? children->row(row) : nullptr;
    if (!info)
        return;
    const int height = m_layout.heightOfRow(*info, isRowSelected(row), m_multiLineNotes);
    if (rowHeight(row) != height)
        setRowHeight(row, height);
}

void FamilyTableView::calculateRowHeightForAllRows()
{
    if (FamilyChildrenModel* children = childrenModel()) {
        m_layout.calculateRowHeightForAllRows(children->rows());
        applyRowHeights();
    }
}

void FamilyTableView::setColumnWidths()
{
    FamilyChildrenModel* children = childrenModel();
    if (!children)
        return;
    const int visible = viewport()->width();
    m_lastVisibleWidth = visible;
    const Layout::Widths widths = columnWidthsFor(visible);
    bool changed = false;
    for (int c = 0; c < children->columnCount(); ++c)
        changed |= columnWidth(c) != widths[size_t(children->layoutColumn(c))];
    if (!changed)
        return;
    endEditing();
    for (int c = 0; c < children->columnCount(); ++c)
        setColumnWidth(c, widths[size_t(children->layoutColumn(c))]);
    m_layout.setColumnWidths(widths);
    calculateRowHeightForAllRows();
    viewport()->update();
}

QString FamilyTableView::toolTipForCell(int row, int column) const
{
    FamilyChildrenModel* children = childrenModel();
    const FTPerson* child = children ? children->child(row) : nullptr;
    QString tip;
    if (child) {
        const int layoutColumn = children->layoutColumn(column);
        if (layoutColumn == Layout::AgeAtDeath)
            tip = child->ageAtDeathInYearsMonthsAndDays();
        else if (Layout::offersCellExpansion(layoutColumn, isRowSelected(row), m_multiLineNotes))
            tip = cutOffText(column, children->text(row, column), Layout::kCellMargin);
    }
    if (tip.isEmpty() && isButtonColumn(column))
        tip = model()->headerData(column, Qt::Horizontal, Qt::ToolTipRole).toString();
    return tip;
}

bool FamilyTableView::shouldEndChildEditing(const QModelIndex& index, QWidget* editor)
{
    FamilyChildrenModel* children = childrenModel();
    if (!children || !index.isValid())
        return true;
    const int layoutColumn = children->layoutColumn(index.column());
    const QString typed = editorText(editor);
    // Only what the user changed is checked: a stored value the checks would refuse can still be looked at.
    if (typed == index.data(Qt::EditRole).toString())
        return true;
    if (children->isNewChildRow(index.row())) {
        // An empty new-child row can always be left.
        if (layoutColumn == Layout::Name)
            setEditorText(editor, FamilyChildren::newChildName(typed, husband ? husband() : nullptr));
        return true;
    }
    FTPerson* child = children->child(index.row());
    if (!child)
        return true;
    switch (layoutColumn) {
    case Layout::Name:
        return report(editor, ValidateNameField(typed));
    case Layout::Gender: {
        const FieldValidation v = ValidateGenderFieldEditor(typed, child);
        if (!v.accepted) {
            // A refused gender is set back to the child's own.
            setEditorText(editor, child->gender());
            v.report();
            if (auto* line = qobject_cast<QLineEdit*>(editor))
                line->selectAll();
            return false;
        }
        return report(editor, v);
    }
    case Layout::BirthDate:
    case Layout::DeathDate: {
        auto* line = qobject_cast<QLineEdit*>(editor);
        if (!line)
            return true;
        LineEditDateField date(line);
        const int tag = layoutColumn == Layout::BirthDate ? PersonFields::BirthDate : PersonFields::DeathDate;
        // The birth date is weighed against the ages of the child's parents and children.
        return PersonFields::validate(tag, date, layoutColumn == Layout::BirthDate ? child : nullptr).accepted;
    }
    case Layout::BirthPlace:
    case Layout::DeathPlace:
        return report(editor, ValidatePlaceField(typed));
    case Layout::BirthNotes:
    case Layout::DeathNotes: {
        const QString trimmed = typed.trimmed();
        setEditorText(editor, trimmed);
        if (ChildInfo* info = children->row(index.row())) {
            info->setRowHeight(m_layout.calculateRowHeightForRow(children->rows(), index.row(), layoutColumn, &trimmed));
            applyRowHeight(index.row());
        }
        return true;
    }
    default:
        return true;
    }
}

void FamilyTableView::textDidChange(const QModelIndex& index, QWidget* editor)
{
    FamilyChildrenModel* children = childrenModel();
    if (!children || !index.isValid())
        return;
    const int layoutColumn = children->layoutColumn(index.column());
    if (Layout::isPlaceColumn(layoutColumn)) {
        completePlace(qobject_cast<QLineEdit*>(editor), m_moc, index.row(), index.column());
        return;
    }
    if (!Layout::isNotesColumn(layoutColumn))
        return;
    ChildInfo* info = children->row(index.row());
    if (!info)
        return;
    const QString text = editorText(editor);
    const float height = m_layout.calculateRowHeightForRow(children->rows(), index.row(), layoutColumn, &text);
    if (height == info->rowHeight())
        return;
    info->setRowHeight(height);
    applyRowHeight(index.row());
}

void FamilyTableView::editingDidEnd(const QModelIndex& index)
{
    // A notes edit abandoned leaves the row as high as the stored notes need.
    FamilyChildrenModel* children = childrenModel();
    if (!children || !index.isValid() || !Layout::isNotesColumn(children->layoutColumn(index.column())))
        return;
    if (ChildInfo* info = children->row(index.row())) {
        info->setRowHeight(m_layout.calculateRowHeightForRow(children->rows(), index.row()));
        applyRowHeight(index.row());
    }
}

bool FamilyTableView::editorKeyPress(QWidget*, QKeyEvent* event)
{
    const QModelIndex at = editingIndex();
    if (!at.isValid())
        return false;
    using Command = Keys::Command;
    Command command = Command::Other;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        command = event->modifiers() & Qt::AltModifier ? Command::InsertNewlineIgnoringFieldEditor
            : event->modifiers() & Qt::ShiftModifier   ? Command::InsertLineBreak
                                                       : Command::InsertNewline;
        break;
    case Qt::Key_Tab:
        command = event->modifiers() & Qt::ShiftModifier ? Command::InsertBacktab : Command::InsertTab;
        break;
    case Qt::Key_Backtab:
        command = Command::InsertBacktab;
        break;
    case Qt::Key_Up:
        command = Command::MoveUp;
        break;
    case Qt::Key_Down:
        command = Command::MoveDown;
        break;
    default:
        return false;
    }
    const Keys::Move move = keyMove(columnIdentifier(at.column()), command, at.row());
    switch (move.kind) {
    case Keys::Move::FieldEditor:
        if (auto* notes = qobject_cast<QTextEdit*>(currentEditor())) {
            // A line break goes into the notes, whatever modifier came with Return.
            if (command == Command::InsertNewline || command == Command::InsertNewlineIgnoringFieldEditor
                || command == Command::InsertLineBreak) {
                notes->insertPlainText(QStringLiteral("\n"));
                return true;
            }
        }
        return false;
    case Keys::Move::Table:
        return false;
    case Keys::Move::Consumed:
        return true;
    case Keys::Move::Edit: {
        const int row = move.row;
        const int column = columnOf(move.column);
        if (!editColumn(column, row) && !currentEditor() && row >= 0 && row < model()->rowCount())
            selectRow(row);
        return true;
    }
    }
    return true;
}

bool FamilyTableView::isButtonColumn(int column) const
{
    const QString id = columnIdentifier(column);
    return id == QLatin1String("childsDetails") || id == QLatin1String("childsFamily");
}

void FamilyTableView::mousePressEvent(QMouseEvent* event)
{
    if (isEditRefused())
        return EditorTableView::mousePressEvent(event);
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid()) {
        if (endEditing())
            EditorTableView::mousePressEvent(event);
        return;
    }
    const bool inEditedCell = currentEditor() && editingIndex() == index;
    if (inEditedCell)
        return EditorTableView::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && (event->modifiers() & Qt::ControlModifier)) {
        event->accept();
        Q_EMIT contextMenuRequested(index.row(), event->globalPosition().toPoint());
        return;
    }
    if (event->button() != Qt::LeftButton)
        return EditorTableView::mousePressEvent(event);
    event->accept();
    if (!endEditing())
        return;
    if (isButtonColumn(index.column())) {
        selectRow(index.row());
        Q_EMIT buttonClicked(index.row(), columnIdentifier(index.column()));
        return;
    }
    // One click edits the cell; a cell that cannot be edited only selects its row.
    if (!editColumn(index.column(), index.row()))
        selectRow(index.row());
}

void FamilyTableView::contextMenuEvent(QContextMenuEvent* event)
{
    event->accept();
    const QModelIndex index = indexAt(event->pos());
    if (!index.isValid())
        return;
    if (!endEditing())
        return;
    Q_EMIT contextMenuRequested(index.row(), event->globalPos());
}

void FamilyTableView::paintEvent(QPaintEvent* event)
{
    EditorTableView::paintEvent(event);
    if (m_moc && m_moc->hasChanges())
        m_moc->deferredSave();
}
