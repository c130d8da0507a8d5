#pragma once

#include <QAbstractItemView>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QTableView>
#include <QTreeView>

class QKeyEvent;
class QMouseEvent;

// Cells edited in place, for the tables and the outlines of the person editor (View is QTableView or QTreeView):
// one row selected at a time in the user's highlight colour, alternating row colours, and the editor opened by
// editCell only, with the caret at the end of its text and nothing selected.
//
// An edit ends when Return is pressed, the focus leaves the cell or endEditing() is called. acceptEdit checks
// what was typed first: when it refuses (and has said why), the cell stays open with the text, nothing is
// written, and clicks on other cells wait until the edit is corrected or abandoned with Escape (in the cell, or
// in the alert that said why).
template <class View>
class CellEditingView : public View {
public:
    explicit CellEditingView(QWidget* parent = nullptr);

    // Opens the cell's editor with the caret at the end of the text and nothing selected.
    bool editCell(const QModelIndex& index);
    // Ends the open edit, writing it; false when its check refused it.
    bool endEditing();
    // Closes the open edit without writing it.
    void abandonEditing();
    // The open edit's editor (none once its row has gone).
    QWidget* currentEditor() const { return m_editIndex.isValid() ? m_editor.data() : nullptr; }
    // The open edit's check refused it and it has not been changed since.
    bool isEditRefused() const { return currentEditor() && m_refused; }
    QModelIndex editingIndex() const { return m_editIndex; }

protected:
    // Asked before an edit is written to the model; false keeps the cell open.
    virtual bool acceptEdit(const QModelIndex& index, QWidget* editor) = 0;
    // A key typed while a cell is edited, before the editor and the delegate see it; true when handled.
    virtual bool editorKeyPress(QWidget* editor, QKeyEvent* event);
    // The edit of `index` has ended (written or not).
    virtual void editingDidEnd(const QModelIndex& index);
    // A click while the open edit is refused goes back to its editor; true when the click was taken so.
    bool holdRefusedEdit(QMouseEvent* event);

    bool edit(const QModelIndex& index, QAbstractItemView::EditTrigger trigger, QEvent* event) override;
    void commitData(QWidget* editor) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QPointer<QWidget> m_editor;
    QPersistentModelIndex m_editIndex;
    bool m_refused = false;
    bool m_committing = false;
};

extern template class CellEditingView<QTableView>;
extern template class CellEditingView<QTreeView>;
