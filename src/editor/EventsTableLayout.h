#pragma once

#include <QFont>
#include <QString>

#include <array>
#include <memory>
#include <vector>

class EventInfo;
class TextMeasurer;

// The geometry of the events page's table: its columns and their widths, the line height, each row's height
// (a row is one line high unless its notes are shown in full) and how a row's notes are drawn.
//
//   EventsTableLayout layout;                     // measures with Qt's text layout
//   layout.setFont(tableFont);                    // the line height
//   layout.setColumnWidths(viewportWidth, 20);    // the notes column's width follows
//   layout.calculateRowHeightForAllRows(rows);    // stores each row's full height
//   int h = layout.heightOfRow(*rows[i], selected, multiLineNotes);
class EventsTableLayout {
public:
    enum Column { DetailsButtons, EventType, AgeAtEvent, EventName, Date, Place, Sources, Notes, ColumnCount };
    using Widths = std::array<int, ColumnCount>;
    using Rows = std::vector<std::unique_ptr<EventInfo>>;

    // Rows are this much higher than their text.
    static constexpr int kRowPadding = 3;
    // Text is drawn this far in from the left and right edges of a cell.
    static constexpr int kCellMargin = 3;
    // A notes text is never measured higher than this.
    static constexpr double kMaximumNotesHeight = 1000;

    // The column identifiers ("detailsButtons", "eventType", ... "notes"); -1 for an unknown one.
    static QString identifier(int column);
    static int columnForIdentifier(const QString& identifier);
    // The widths for a visible width W: the fixed columns take W·40/920 (type and age), W·240/920 (name),
    // W·100/920 (date), W·180/920 (place) and W·45/920 (sources), each truncated; the notes column what is left
    // after them, the details buttons and 24 points, but at least 100. A column narrower than its entry in
    // `minimums` (a tag, an age, a date shown whole) is widened to it, the notes giving the room.
    static Widths columnWidths(double visibleWidth, int detailsButtonsWidth, const Widths& minimums = {});

    explicit EventsTableLayout(const TextMeasurer* measurer = nullptr);

    // The table's font; the line height is one line of it times 1.077, truncated.
    void setFont(const QFont& font);
    const QFont& font() const { return m_font; }
    long lineHeight() const { return m_lineHeight; }
    // Answers the widths and keeps the notes column's width for measuring.
    Widths setColumnWidths(double visibleWidth, int detailsButtonsWidth);
    int notesWidth() const { return m_notesWidth; }
    void setNotesWidth(int width) { m_notesWidth = width; }

    // The height the notes need at the notes column's width (bounded by 1000), and never less than a line; an
    // empty text is one line.
    float heightForNotes(const QString& notes) const;
    // heightForNotes() of the given text, or of the row's event notes when `text` is null; one line for a row
    // outside the list or without an event.
    float calculateRowHeightForRow(const Rows& rows, int row, const QString* text = nullptr) const;
    // Stores each row's full height in the row.
    void calculateRowHeightForAllRows(Rows& rows) const;

    // The drawn height of a row: one line, or the row's stored height when every row's notes are shown in full
    // or the row is selected; plus the padding.
    int heightOfRow(const EventInfo& row, bool selected, bool multiLineNotes) const;
    // Notes cut to one line are drawn dark red, so that the user sees there is more.
    bool notesAreCutOff(const EventInfo& row, bool selected, bool multiLineNotes) const;
    // Whether a cut-off cell offers its full text as a tool tip: the notes only where they are cut to one line.
    static bool offersCellExpansion(int column, bool selected, bool multiLineNotes);

private:
    const TextMeasurer* m_measurer;
    QFont m_font;
    long m_lineHeight = 12;
    int m_notesWidth = 100;
};
