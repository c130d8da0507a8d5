#include "editor/ui/CellEditingView.h"

#include "shell/Utils.h"

#include "platform/Prompts.h"

#include <QApplication>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QStyleOptionHeader>
#include <QTextEdit>
#include <QTimer>

#include <type_traits>

namespace {
// The headers' own elide mode is not applied to their labels by every Qt version: the label is elided here.
class ElidedHeadingStyle : public QProxyStyle {
public:
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
        const QWidget* widget) const override
    {
        const auto* heading = qstyleoption_cast<const QStyleOptionHeader*>(option);
        if (element != CE_HeaderLabel || !heading || heading->text.isEmpty()) {
            QProxyStyle::drawControl(element, option, painter, widget);
            return;
        }
        int room = heading->rect.width();
        if (!heading->icon.isNull())
            room -= pixelMetric(PM_SmallIconSize, option, widget) + pixelMetric(PM_HeaderMargin, option, widget);
        const QString text = heading->fontMetrics.elidedText(heading->text, Qt::ElideRight, std::max(0, room));
        // The copy keeps the option's version: a style reads the fields of the version it is told.
        if (const auto* v2 = qstyleoption_cast<const QStyleOptionHeaderV2*>(option))
            drawLabel(QStyleOptionHeaderV2(*v2), text, painter, widget);
        else
            drawLabel(QStyleOptionHeader(*heading), text, painter, widget);
    }

private:
    template <class Option>
    void drawLabel(Option option, const QString& text, QPainter* painter, const QWidget* widget) const
    {
        option.text = text;
        QProxyStyle::drawControl(CE_HeaderLabel, &option, painter, widget);
    }
};
}

template <class View>
CellEditingView<View>::CellEditingView(QWidget* parent)
    : View(parent)
{
    this->setAlternatingRowColors(true);
    this->setSelectionBehavior(QAbstractItemView::SelectRows);
    this->setSelectionMode(QAbstractItemView::SingleSelection);
    this->setEditTriggers(QAbstractItemView::NoEditTriggers);
    this->setWordWrap(false);
    QPalette p = this->palette();
    const QColor highlight = Utils::tableViewHighlightColour();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        p.setColor(group, QPalette::Highlight, highlight);
        p.setColor(group, QPalette::HighlightedText, p.color(group, QPalette::Text));
    }
    this->setPalette(p);
    // A heading wider than its column ends in an ellipsis, as the cells do, rather than in a letter cut in half.
    QHeaderView* headings;
    if constexpr (std::is_base_of_v<QTreeView, View>)
        headings = this->header();
    else
        headings = this->horizontalHeader();
    auto* style = new ElidedHeadingStyle;
    style->setParent(headings);
    headings->setStyle(style);
}

template <class View>
bool CellEditingView<View>::editCell(const QModelIndex& index)
{
    if (!index.isValid() || !(index.flags() & Qt::ItemIsEditable))
        return false;
    if (currentEditor() && m_editIndex == index)
        return true;
    if (!endEditing())
        return false;
    this->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    return edit(index, QAbstractItemView::AllEditTriggers, nullptr);
}

template <class View>
bool CellEditingView<View>::edit(const QModelIndex& index, QAbstractItemView::EditTrigger trigger, QEvent* event)
{
    if (!View::edit(index, trigger, event))
        return false;
    QWidget* editor = this->indexWidget(index);
    if (!editor)
        return true;
    if (editor != m_editor) {
        m_editor = editor;
        m_editIndex = index;
        m_refused = false;
        // Installed after the delegate's filter, so it sees the keys and the focus first.
        editor->installEventFilter(this);
    }
    // The caret at the end, nothing selected: one click is for adding to the text.
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        line->deselect();
        line->end(false);
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(editor)) {
        plain->moveCursor(QTextCursor::End);
    } else if (auto* text = qobject_cast<QTextEdit*>(editor)) {
        text->moveCursor(QTextCursor::End);
    }
    return true;
}

template <class View>
void CellEditingView<View>::commitData(QWidget* editor)
{
    if (m_committing)
        return; // a second end while the check runs (its alert took the focus) waits for the first
    if (editor != m_editor)
        return View::commitData(editor);
    m_committing = true;
    const int escapes = Prompts::escapedAlerts();
    const bool accepted = acceptEdit(m_editIndex, editor);
    m_committing = false;
    // The alert that refused the text was closed with Escape: the edit is given up, and closes with nothing
    // written.
    m_refused = !accepted && Prompts::escapedAlerts() == escapes;
    if (accepted)
        View::commitData(editor);
}

template <class View>
void CellEditingView<View>::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    if (editor == m_editor && m_refused && hint != QAbstractItemDelegate::RevertModelCache) {
        editor->setFocus(Qt::OtherFocusReason);
        return;
    }
    const QPersistentModelIndex index = m_editIndex;
    if (editor == m_editor) {
        editor->removeEventFilter(this);
        m_editor = nullptr;
        m_editIndex = QPersistentModelIndex();
        m_refused = false;
    }
    View::closeEditor(editor, hint);
    editingDidEnd(index);
}

template <class View>
bool CellEditingView<View>::endEditing()
{
    QWidget* editor = currentEditor();
    if (!editor)
        return true;
    commitData(editor);
    if (m_refused)
        return false;
    closeEditor(editor, QAbstractItemDelegate::NoHint);
    return true;
}

template <class View>
void CellEditingView<View>::abandonEditing()
{
    if (QWidget* editor = currentEditor())
        closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
}

template <class View>
bool CellEditingView<View>::editorKeyPress(QWidget*, QKeyEvent*)
{
    return false;
}

template <class View>
void CellEditingView<View>::editingDidEnd(const QModelIndex&)
{
}

template <class View>
bool CellEditingView<View>::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_editor)
        return View::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (m_refused && key->key() != Qt::Key_Escape)
            m_refused = false; // the user corrects the text: the next end is checked again
        return editorKeyPress(m_editor, key);
    }
    if (event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        // An alert or a menu taking the focus for a moment is not the end of the edit, nor is a check under way.
        if (m_committing || reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason)
            return true;
        QWidget* editor = m_editor;
        if (QWidget* focus = QApplication::focusWidget(); focus && editor->isAncestorOf(focus))
            return false;
        if (!endEditing()) {
            QPointer<QWidget> keep(editor);
            QTimer::singleShot(0, this, [keep] {
                if (keep && keep->isVisible())
                    keep->setFocus(Qt::OtherFocusReason);
            });
        }
        return true;
    }
    return View::eventFilter(watched, event);
}

template <class View>
bool CellEditingView<View>::holdRefusedEdit(QMouseEvent* event)
{
    // A cell whose edit was refused keeps it until the text is corrected or the edit abandoned.
    if (!isEditRefused())
        return false;
    event->accept();
    m_editor->setFocus(Qt::OtherFocusReason);
    return true;
}

template <class View>
void CellEditingView<View>::mousePressEvent(QMouseEvent* event)
{
    if (!holdRefusedEdit(event))
        View::mousePressEvent(event);
}

template class CellEditingView<QTableView>;
template class CellEditingView<QTreeView>;
