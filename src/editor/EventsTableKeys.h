#pragma once

// Where the keyboard moves while a cell of the events page's table is edited: Tab from the notes goes on to the next
// row's event name (from the last row back to the first), Shift-Tab from an event name back to the row above's
// notes, the arrows move between rows, Return in the notes starts a new line and Alt-Return elsewhere does nothing.
// Anything else keeps its usual meaning in the table.
class EventsTableKeys {
public:
    enum class Command {
        InsertNewline,
        InsertNewlineIgnoringFieldEditor,
        InsertTab,
        InsertBacktab,
        MoveUp,
        MoveDown,
        Other
    };
    struct Move {
        // False: the command takes its usual meaning.
        bool handled = false;
        // The row to select; -1 keeps the selection.
        int selectRow = -1;
        // The column (EventsTableLayout::Column) to edit in that row; -1 ends the edit without a new one.
        int editColumn = -1;
        // The notes get a line break.
        bool insertLineBreak = false;
    };

    // The move for `command` typed in `column` (EventsTableLayout::Column) at `row` of `rowCount` rows.
    static Move move(int column, Command command, int row, int rowCount);
};
