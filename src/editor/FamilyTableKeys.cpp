#include "editor/FamilyTableKeys.h"

namespace {
using Move = FamilyTableKeys::Move;
using Command = FamilyTableKeys::Command;

const QString kName = QStringLiteral("name");
const QString kGender = QStringLiteral("gender");
const QString kDeathNotes = QStringLiteral("deathNotes");

Move edit(int row, const QString& column)
{
    return Move { Move::Edit, row, column };
}
Move kind(Move::Kind k)
{
    return Move { k, -1, {} };
}
bool isNotes(const QString& column)
{
    return column.endsWith(QLatin1String("Notes"));
}
}

FamilyTableKeys::Move FamilyTableKeys::pageMove(const QString& column, Command command, int row, int n)
{
    const bool notes = isNotes(column);
    switch (command) {
    case Command::MoveDown:
        if (notes)
            return kind(Move::FieldEditor);
        if (row < n - 2 || (row == n - 2 && column == kName))
            return edit(row + 1, column);
        return kind(Move::Consumed);
    case Command::MoveUp:
        if (notes)
            return kind(Move::FieldEditor);
        return row > 0 ? edit(row - 1, column) : kind(Move::Consumed);
    case Command::InsertLineBreak:
    case Command::InsertNewlineIgnoringFieldEditor:
        return kind(notes ? Move::FieldEditor : Move::Consumed);
    case Command::InsertNewline:
        if (notes)
            return kind(Move::FieldEditor);
        if (row == n - 1)
            return column == kName ? edit(row, kGender) : kind(Move::Table);
        return edit(row + 1, kName);
    case Command::InsertTab:
        if (row == n - 1 || column != kDeathNotes)
            return kind(Move::Table);
        return edit(row + 1, kName);
    case Command::InsertBacktab:
        if (column == kName && row > 0)
            return edit(row - 1, kName);
        return kind(Move::Table);
    case Command::Other:
        break;
    }
    return kind(Move::FieldEditor);
}

FamilyTableKeys::Move FamilyTableKeys::dialogMove(
    const QString& column, Command command, int row, int n, bool placeholder)
{
    switch (command) {
    case Command::MoveDown:
        // Without a new-child row the last row is a row like the others.
        if (row < n - 2 || (row == n - 2 && (!placeholder || column == kName)))
            return edit(row + 1, column);
        return kind(Move::Consumed);
    case Command::MoveUp:
        return row > 0 ? edit(row - 1, column) : kind(Move::Consumed);
    case Command::InsertNewline:
        if (row < n - 1)
            return edit(row + 1, kName);
        if (placeholder && row == n - 1 && column == kName)
            return edit(row, kGender);
        return kind(Move::Table);
    case Command::InsertTab:
        if (row < n - 1 && column == kDeathNotes)
            return edit(row + 1, kName);
        return kind(Move::Table);
    case Command::InsertBacktab:
        if (row > 0 && column == kName)
            return edit(row - 1, kName);
        return kind(Move::Table);
    default:
        return kind(Move::Table);
    }
}
