#pragma once

#include <QPersistentModelIndex>
#include <QPointer>
#include <QTableView>

#include <functional>

// A table of the person editor and its dialogs: alternating row colours, the user's highlight colour, vertical
// grid lines (horizontal ones on request), and cells edited in place with the caret at the end of their text.
//
// An edit ends when Return is pressed, the focus leaves the cell or endEditing() is called. `shouldEndEditing`
// checks what was typed first: when it refuses (and has said why), the cell stays open with the text, nothing is
// written, and clicks on other cells wait until the edit is corrected or abandoned with Escape.
class EditorTableView : public QTableView {
    Q_OBJECT
public:
    explicit EditorTableView(QWidget* parent = nullptr);

    // Asked before an edit is written to the model; false keeps the cell open.
    std::function<bool(const QModelIndex& index, QWidget* editor)> shouldEndEditing;

    void setHorizontalGridLines(bool on);
    bool horizontalGridLines() const { return m_horizontalLines; }

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
    // The text of an editor (line or text edit).
    static QString editorText(const QWidget* editor);
    static void setEditorText(QWidget* editor, const QString& text);

    // Tables whose columns share the visible width and whose selected row grows to show its notes in full (the
    // events page's, the children tables'): the widths are set again when the visible width has changed since
    // setColumnWidths last ran (it keeps m_lastVisibleWidth), and the rows whose selection changed get their
    // height again. Other tables keep these empty.
    virtual void setColumnWidths() {}
    virtual void applyRowHeight(int /*row*/) {}
    // A cell's tool tip, empty for none; the model's own by default.
    virtual QString toolTipForCell(int row, int column) const;

protected:
    // `text` when it does not fit on one line of its cell with `margin` on each side, else nothing: the tool tip
    // of a cut-off cell.
    QString cutOffText(int column, const QString& text, int margin) const;
    int m_lastVisibleWidth = -1;

    // A key typed while a cell is edited, before the editor and the delegate see it; true when handled.
    virtual bool editorKeyPress(QWidget* editor, QKeyEvent* event);
    // The edit of `index` has ended (written or not).
    virtual void editingDidEnd(const QModelIndex& index);

    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void commitData(QWidget* editor) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;

private:
    bool m_horizontalLines = false;
    QPointer<QWidget> m_editor;
    QPersistentModelIndex m_editIndex;
    bool m_refused = false;
    bool m_committing = false;
};
