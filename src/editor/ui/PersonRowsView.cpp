#include "editor/ui/PersonRowsView.h"

#include "editor/PersonFields.h"
#include "editor/ui/LineEditDateField.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"

#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMouseEvent>

namespace {
constexpr int kButtonColumnWidth = 28;
}

template <class Base>
PersonRowsView<Base>::PersonRowsView(int detailsColumn, int familyColumn, QWidget* parent)
    : Base(parent)
    , m_detailsColumn(detailsColumn)
    , m_familyColumn(familyColumn)
{
}

template <class Base>
void PersonRowsView<Base>::promoteToFocalPerson(FTPerson* person)
{
    if (person && !person->isDeleted() && person->moc())
        person->moc()->setFocalPerson(person);
}

template <class Base>
int PersonRowsView<Base>::textColumnsRoom() const
{
    return std::max(0, this->viewport()->width() - 2 * kButtonColumnWidth);
}

template <class Base>
int PersonRowsView<Base>::dateColumnMinimum() const
{
    return QFontMetrics(this->font()).horizontalAdvance(QStringLiteral("00 Mmm 0000")) + 12;
}

template <class Base>
void PersonRowsView<Base>::applyColumnWidths(const QList<int>& textWidths)
{
    this->endEditing();
    for (int c = 0; c < textWidths.size(); ++c)
        this->setColumnWidth(c, textWidths[c]);
    this->setColumnWidth(m_detailsColumn, kButtonColumnWidth);
    this->setColumnWidth(m_familyColumn, kButtonColumnWidth);
}

template <class Base>
void PersonRowsView<Base>::clickPersonCell(QMouseEvent* event, const QModelIndex& index, FTPerson* person)
{
    event->accept();
    if (!this->endEditing())
        return;
    if (event->modifiers() & Qt::ControlModifier) {
        promoteToFocalPerson(person);
        return;
    }
    if (isButtonColumn(index.column())) {
        selectRowOf(index);
        buttonClickedAt(index);
        return;
    }
    if (!editPersonCell(index))
        selectRowOf(index);
}

template <class Base>
bool PersonRowsView<Base>::acceptEdit(const QModelIndex& index, QWidget* editor)
{
    FTPerson* person = rowPerson(index);
    const int tag = fieldTag(index.column());
    if (!person || tag < 0 || EditorTableView::editorText(editor) == index.data(Qt::EditRole).toString())
        return true;
    auto* line = qobject_cast<QLineEdit*>(editor);
    if (!line)
        return true;
    LineEditDateField field(line);
    // The birth date is weighed against the row's person's relatives; a death date on its own.
    const bool date = tag == PersonFields::BirthDate || tag == PersonFields::DeathDate;
    const FieldValidation v = PersonFields::validate(tag, field, tag == PersonFields::BirthDate ? person : nullptr);
    // A refused name keeps what was typed, so that it can be corrected.
    if (!date && (v.accepted || tag != PersonFields::Name))
        EditorTableView::setEditorText(editor, v.text);
    // A title is corrected to one line, said so, and ends corrected.
    return v.report() || tag == PersonFields::Title;
}

template <class Base>
void PersonRowsView<Base>::mouseDoubleClickEvent(QMouseEvent* event)
{
    // One click already edits; a second one goes to the editor, never to the view's own editing.
    event->accept();
}

template <class Base>
void PersonRowsView<Base>::contextMenuEvent(QContextMenuEvent* event)
{
    event->accept();
    const QModelIndex index = this->indexAt(event->pos());
    if (!index.isValid() || !rowPerson(index) || !this->endEditing())
        return;
    contextMenuAt(index, event->globalPos());
}

template <class Base>
void PersonRowsView<Base>::paintEvent(QPaintEvent* event)
{
    Base::paintEvent(event);
    if (m_moc && m_moc->hasChanges())
        m_moc->deferredSave();
}

template class PersonRowsView<EditorTableView>;
template class PersonRowsView<CellEditingView<QTreeView>>;
