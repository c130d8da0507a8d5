#pragma once

#include "editor/ui/EditorTableView.h"

// The events table of the add-child dialog: one click on a cell starts editing it (caret at the end), except in
// the event-type column, whose cells choose from a list and take clicks as usual; the up and down arrows move the
// edit to the same column of the row above or below and stop at the first and last rows. The columns keep the
// widths the dialog gives them.
class AddChildEventsTableView : public EditorTableView {
    Q_OBJECT
public:
    explicit AddChildEventsTableView(QWidget* parent = nullptr);

    // The event-type column (-1: none).
    void setEventTypeColumn(int column) { m_typeColumn = column; }
    int eventTypeColumn() const { return m_typeColumn; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    bool editorKeyPress(QWidget* editor, QKeyEvent* event) override;

private:
    int m_typeColumn = -1;
};
