#pragma once

#include <QString>

// Where the keyboard moves while a cell of a couple's children table is edited. The family page's table and the
// family dialog's tables follow different rules:
//  - the page's table: the arrows, Return and Alt-Return stay inside the notes (a line break, the caret moving);
//    elsewhere the arrows move between rows, Return goes on to the next row's name (from the new-child row's name
//    to the new child's gender), Tab from the death notes to the next row's name;
//  - the dialog's tables: the arrows and Return move between rows from every column, notes included.
// In both, the down arrow reaches the new-child row only from the name column, and Shift-Tab from a name goes to
// the name above. Columns are named by their identifiers ("name", "deathNotes" ...).
class FamilyTableKeys {
public:
    enum class Command {
        MoveDown,
        MoveUp,
        InsertNewline,                    // Return
        InsertNewlineIgnoringFieldEditor, // Alt-Return
        InsertLineBreak,
        InsertTab,
        InsertBacktab,
        Other
    };
    struct Move {
        enum Kind {
            FieldEditor, // the cell's editor handles the key (a line break, the caret moving in the notes)
            Table,       // the table's own handling: the next or previous cell, the end of the edit
            Consumed,    // nothing happens
            Edit         // `row` is selected and its `column` edited
        };
        Kind kind = FieldEditor;
        int row = -1;
        QString column;
        bool operator==(const Move& other) const
        {
            return kind == other.kind && row == other.row && column == other.column;
        }
    };

    // The family page's table of `rowCount` rows, the last the new-child row.
    static Move pageMove(const QString& column, Command command, int row, int rowCount);
    // The family dialog's tables; `placeholder`: the last row is the new-child row (the children table).
    static Move dialogMove(const QString& column, Command command, int row, int rowCount, bool placeholder = true);
};
