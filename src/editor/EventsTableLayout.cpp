#include "editor/EventsTableLayout.h"

#include "diagrams/TextMeasurer.h"

#include "model/EventInfo.h"
#include "model/FTEvent.h"

#include <algorithm>

namespace {
const char* const kIdentifiers[EventsTableLayout::ColumnCount] = {
    "detailsButtons",
    "eventType",
    "ageAtEvent",
    "eventName",
    "date",
    "place",
    "sources",
    "notes",
};
}

QString EventsTableLayout::identifier(int column)
{
    return column >= 0 && column < ColumnCount ? QString::fromLatin1(kIdentifiers[column]) : QString();
}

int EventsTableLayout::columnForIdentifier(const QString& identifier)
{
    for (int c = 0; c < ColumnCount; ++c)
        if (identifier == QLatin1String(kIdentifiers[c]))
            return c;
    return -1;
}

EventsTableLayout::Widths EventsTableLayout::columnWidths(
    double visibleWidth, int detailsButtonsWidth, const Widths& minimums)
{
    const double w = visibleWidth;
    Widths widths {};
    widths[DetailsButtons] = detailsButtonsWidth;
    widths[EventType] = int(w * 40 / 920);
    widths[AgeAtEvent] = widths[EventType];
    widths[EventName] = int(w * 240 / 920);
    widths[Date] = int(w * 100 / 920);
    widths[Place] = int(w * 180 / 920);
    widths[Sources] = int(w * 45 / 920);
    for (int c = EventType; c < Notes; ++c)
        widths[c] = std::max(widths[c], minimums[c]);
    int used = 0;
    for (int c = DetailsButtons; c < Notes; ++c)
        used += widths[c];
    widths[Notes] = int(std::max(100.0, w - used - 24));
    return widths;
}

EventsTableLayout::EventsTableLayout(const TextMeasurer* measurer)
    : m_measurer(measurer ? measurer : &DocumentTextMeasurer::shared())
{
}

void EventsTableLayout::setFont(const QFont& font)
{
    m_font = font;
    m_lineHeight = long(m_measurer->heightOfText(QStringLiteral("Xg"), font, 1e6) * 1.077);
}

EventsTableLayout::Widths EventsTableLayout::setColumnWidths(double visibleWidth, int detailsButtonsWidth)
{
    const Widths widths = columnWidths(visibleWidth, detailsButtonsWidth);
    m_notesWidth = widths[Notes];
    return widths;
}

float EventsTableLayout::heightForNotes(const QString& notes) const
{
    if (notes.isEmpty())
        return float(m_lineHeight);
    const double textWidth = std::max(1, m_notesWidth - 2 * kCellMargin);
    const double needed = std::min(kMaximumNotesHeight, m_measurer->heightOfText(notes, m_font, textWidth));
    return float(std::max(double(m_lineHeight), needed));
}

float EventsTableLayout::calculateRowHeightForRow(const Rows& rows, int row, const QString* text) const
{
    if (row < 0 || row >= int(rows.size()))
        return float(m_lineHeight);
    if (text)
        return heightForNotes(*text);
    const FTEvent* event = rows[size_t(row)]->pEvent();
    return heightForNotes(event && !event->isDeleted() ? event->notes() : QString());
}

void EventsTableLayout::calculateRowHeightForAllRows(Rows& rows) const
{
    for (size_t i = 0; i < rows.size(); ++i)
        rows[i]->setRowHeight(calculateRowHeightForRow(rows, int(i)));
}

int EventsTableLayout::heightOfRow(const EventInfo& row, bool selected, bool multiLineNotes) const
{
    double height = double(m_lineHeight);
    if (multiLineNotes || selected)
        height = std::max(height, double(row.rowHeight()));
    return int(height) + kRowPadding;
}

bool EventsTableLayout::notesAreCutOff(const EventInfo& row, bool selected, bool multiLineNotes) const
{
    return !multiLineNotes && !selected && row.rowHeight() > float(m_lineHeight + 1);
}

bool EventsTableLayout::offersCellExpansion(int column, bool selected, bool multiLineNotes)
{
    return column != Notes || (!multiLineNotes && !selected);
}
