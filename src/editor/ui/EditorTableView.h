#pragma once

#include "editor/ui/CellEditingView.h"

#include <QTableView>

#include <functional>

// A table of the person editor and its dialogs: alternating row colours, the user's highlight colour, vertical
// grid lines (horizontal ones on request), and cells edited in place (CellEditingView) with `shouldEndEditing` as
// the check of what was typed.
class EditorTableView : public CellEditingView<QTableView> {
    Q_OBJECT
public:
    explicit EditorTableView(QWidget* parent = nullptr);

    // Asked before an edit is written to the model; false keeps the cell open.
    std::function<bool(const QModelIndex& index, QWidget* editor)> shouldEndEditing;

    void setHorizontalGridLines(bool on);
    bool horizontalGridLines() const { return m_horizontalLines; }

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

    bool acceptEdit(const QModelIndex& index, QWidget* editor) override;
    void paintEvent(QPaintEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;

private:
    bool m_horizontalLines = false;
};
