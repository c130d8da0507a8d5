#include "editor/EventsTableKeys.h"

#include "editor/EventsTableLayout.h"

EventsTableKeys::Move EventsTableKeys::move(int column, Command command, int row, int rowCount)
{
    Move m;
    if (column == EventsTableLayout::Notes) {
        if (command == Command::InsertNewline) {
            m.handled = true;
            m.insertLineBreak = true;
        } else if (command == Command::InsertTab) {
            m.handled = true;
            m.selectRow = row < rowCount - 1 ? row + 1 : 0;
            m.editColumn = EventsTableLayout::EventName;
        }
        return m;
    }
    switch (command) {
    case Command::InsertNewlineIgnoringFieldEditor:
        m.handled = true;
        break;
    case Command::MoveDown:
        if (row < rowCount - 1) {
            m.handled = true;
            m.selectRow = row + 1;
        }
        break;
    case Command::MoveUp:
        if (row > 0) {
            m.handled = true;
            m.selectRow = row - 1;
        }
        break;
    case Command::InsertBacktab:
        if (column != EventsTableLayout::EventName)
            break;
        m.handled = true;
        if (row > 0) {
            m.selectRow = row - 1;
            m.editColumn = EventsTableLayout::Notes;
        }
        break;
    default:
        break;
    }
    return m;
}
