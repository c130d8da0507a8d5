#pragma once

#include <QList>
#include <QString>

class FTPerson;

// The ancestors and descendants pages of the person editor: their columns, widths, headings and menu titles.
// The tree follows natural, foster and adopted links (kPcRelTypeMask), never step or not-related ones.
class HierarchyOutlineRules {
public:
    static constexpr int kPcRelTypeMask = 13;
    // After a refresh the rows down to this level are open.
    static constexpr int kOpenLevels = 4;
    // "Expand all" opens this many generations below a row.
    static constexpr int kExpandAllGenerations = 20;

    enum Column { Level, Name, Title, BirthDate, BirthPlace, BirthNotes, ColumnCount };
    // "level", "name", "title", "birth.date", "birth.place", "birth.notes": a key path of the person but the
    // level.
    static QString identifier(int column);
    // The person field a column writes (PersonFields' tag), -1 for the level.
    static int fieldTag(int column);
    // Widths for a visible width `w`: fixed shares of 790, whole points.
    static QList<int> columnWidths(int w);

    // "Ancestors of <name>" or "Descendants of <name>".
    static QString heading(bool ancestors, const FTPerson* person);
    // "Expand all his ancestors", "Collapse all her descendants" (no possessive for a person of unknown gender).
    static QString expandAllTitle(bool ancestors, const FTPerson* person);
    static QString collapseAllTitle(bool ancestors, const FTPerson* person);
};
