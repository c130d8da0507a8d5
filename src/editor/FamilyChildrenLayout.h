#pragma once

#include "editor/ChildInfo.h"

#include <QFont>
#include <QString>

#include <array>
#include <vector>

class TextMeasurer;

// The geometry of a couple's children table (the family page's and the family dialog's): its columns, their widths,
// the line height and each row's height. A row is one line high unless its birth or death notes are shown in full;
// the new-child row is always one line.
//
//   FamilyChildrenLayout layout;                  // measures with Qt's text layout
//   layout.setFont(tableFont);
//   layout.setColumnWidths(FamilyChildrenLayout::pageColumnWidths(viewportWidth));
//   layout.calculateRowHeightForAllRows(rows);
//   int h = layout.heightOfRow(rows[i], selected, multiLineNotes);
class FamilyChildrenLayout {
public:
    enum Column {
        ChildsDetails, ChildsFamily, Name, Gender, BirthDate, BirthPlace, BirthNotes, DeathDate, DeathPlace,
        DeathNotes, AgeAtDeath, ColumnCount
    };
    using Widths = std::array<int, ColumnCount>;
    using Rows = std::vector<ChildInfo>;

    static constexpr int kRowPadding = 3;
    static constexpr int kCellMargin = 3;
    static constexpr double kMaximumNotesHeight = 1000;

    // "childsDetails", "childsFamily", "name", "gender", "birthDate" ... "ageAtDeath"; -1 for an unknown one.
    static QString identifier(int column);
    static int columnForIdentifier(const QString& identifier);
    static bool isNotesColumn(int column) { return column == BirthNotes || column == DeathNotes; }
    static bool isPlaceColumn(int column) { return column == BirthPlace || column == DeathPlace; }

    // The family page's columns for a visible width W: the buttons 20 each, gender 30, the dates 100, the age 35,
    // each times `scale` (the font's pixels per point of an 11-point font); of S = W - 325·scale the name takes the
    // whole part of S·220/800 less one, the places S·140/800 and the notes S·150/800 in the same way (never less
    // than 10). A notes column that is empty in every row keeps a third of its part, or `headingWidth` when its
    // heading needs more (never more than its part), and gives the rest to the name.
    static Widths pageColumnWidths(double visibleWidth, double scale = 1, bool birthNotesEmpty = false,
                                   bool deathNotesEmpty = false, int headingWidth = 0);
    // The family dialog's columns share W in the proportions name 220, gender 40, birthDate 90, birthPlace 150,
    // birthNotes 140, deathDate 90, deathPlace 150, deathNotes 140, ageAtDeath 40; no button columns. Date
    // columns narrower than `dateWidth` take what they lack from the name, place and notes columns, in proportion
    // to their widths and at most half of them.
    static Widths dialogColumnWidths(double visibleWidth, int dateWidth = 0);

    explicit FamilyChildrenLayout(const TextMeasurer* measurer = nullptr);

    // The notes' font; one line of it times 1.077, truncated, is the line height.
    void setFont(const QFont& font);
    const QFont& font() const { return m_font; }
    long lineHeight() const { return m_lineHeight; }
    // The two notes columns' widths are kept for measuring.
    void setColumnWidths(const Widths& widths);
    int notesWidth(int column) const { return column == BirthNotes ? m_birthNotesWidth : m_deathNotesWidth; }

    // The height the notes need in a notes column (bounded by 1000); never less than a line.
    float heightForNotes(const QString& notes, int column) const;
    // The larger of the line and the heights of the row's birth and death notes, `text` standing in for the notes
    // of `column` when given (the text being typed). One line for a row outside the list, the new-child row or
    // the last row.
    float calculateRowHeightForRow(const Rows& rows, int row, int column = -1, const QString* text = nullptr) const;
    void calculateRowHeightForAllRows(Rows& rows) const;

    // The drawn height: one line, or the row's stored height when every row's notes are shown in full or the row
    // is selected; plus the padding.
    int heightOfRow(const ChildInfo& row, bool selected, bool multiLineNotes) const;
    // Notes cut to one line are drawn dark red, so that the user sees there is more.
    bool notesAreCutOff(const ChildInfo& row, bool selected, bool multiLineNotes) const;
    // Whether a cut-off cell offers its full text as a tool tip: notes only where they are cut to one line.
    static bool offersCellExpansion(int column, bool selected, bool multiLineNotes);

private:
    const TextMeasurer* m_measurer;
    QFont m_font;
    long m_lineHeight = 12;
    int m_birthNotesWidth = 100;
    int m_deathNotesWidth = 100;
};
