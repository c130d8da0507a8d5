#include "editor/FamilyChildrenLayout.h"

#include "diagrams/TextMeasurer.h"

#include "model/FTEvent.h"
#include "model/FTPerson.h"

#include <algorithm>
#include <iterator>
#include <numeric>

namespace {
const char* const kIdentifiers[FamilyChildrenLayout::ColumnCount] = {
    "childsDetails", "childsFamily", "name", "gender", "birthDate", "birthPlace", "birthNotes",
    "deathDate", "deathPlace", "deathNotes", "ageAtDeath",
};

QString notesOf(const FTEvent* event)
{
    return event && !event->isDeleted() ? event->notes() : QString();
}
}

QString FamilyChildrenLayout::identifier(int column)
{
    return column >= 0 && column < ColumnCount ? QString::fromLatin1(kIdentifiers[column]) : QString();
}

int FamilyChildrenLayout::columnForIdentifier(const QString& identifier)
{
    for (int c = 0; c < ColumnCount; ++c)
        if (identifier == QLatin1String(kIdentifiers[c]))
            return c;
    return -1;
}

FamilyChildrenLayout::Widths FamilyChildrenLayout::pageColumnWidths(double visibleWidth, double scale,
                                                                    bool birthNotesEmpty, bool deathNotesEmpty,
                                                                    int headingWidth)
{
    const double s = visibleWidth - 325 * scale;
    auto part = [s](int p) { return std::max(10, int(s * p / 800) - 1); };
    auto fixed = [scale](int points) { return int(points * scale); };
    Widths w {};
    w[ChildsDetails] = fixed(20);
    w[ChildsFamily] = fixed(20);
    w[Name] = part(220);
    w[Gender] = fixed(30);
    w[BirthDate] = fixed(100);
    w[BirthPlace] = part(140);
    w[BirthNotes] = part(150);
    w[DeathDate] = fixed(100);
    w[DeathPlace] = part(140);
    w[DeathNotes] = part(150);
    w[AgeAtDeath] = fixed(35);
    // Names cut short while a column of nothing keeps its room help no one.
    const std::pair<int, bool> notes[] = {{BirthNotes, birthNotesEmpty}, {DeathNotes, deathNotesEmpty}};
    for (const auto& [column, empty] : notes)
        if (empty) {
            const int kept = std::min(w[column], std::max(part(50), headingWidth));
            w[Name] += w[column] - kept;
            w[column] = kept;
        }
    return w;
}

FamilyChildrenLayout::Widths FamilyChildrenLayout::dialogColumnWidths(double visibleWidth, int dateWidth)
{
    static const int weights[ColumnCount] = {0, 0, 220, 40, 90, 150, 140, 90, 150, 140, 40};
    // The weights share the whole width: no empty strip is left after the last column.
    const int total = std::accumulate(std::begin(weights), std::end(weights), 0);
    Widths w {};
    for (int c = 0; c < ColumnCount; ++c)
        w[c] = int(visibleWidth * weights[c] / total);
    // A date cut short says nothing: the dates take the width they need from the columns of free text, which
    // show the start of what they hold and the rest as a tip. Those give in proportion to their widths, at most
    // half of each.
    const int flexible[] = {Name, BirthPlace, BirthNotes, DeathPlace, DeathNotes};
    int flexibleWidth = 0;
    for (int c : flexible)
        flexibleWidth += w[c];
    const int need = std::max(0, dateWidth - w[BirthDate]) + std::max(0, dateWidth - w[DeathDate]);
    const int given = std::min(need, flexibleWidth / 2);
    if (given > 0) {
        int taken = 0;
        for (int c : flexible) {
            const int take = int(qint64(given) * w[c] / flexibleWidth);
            w[c] -= take;
            taken += take;
        }
        w[Name] -= given - taken; // what the rounding left
        const int birth = std::min(std::max(0, dateWidth - w[BirthDate]), (given + 1) / 2);
        w[BirthDate] += birth;
        w[DeathDate] += given - birth;
    }
    return w;
}

FamilyChildrenLayout::FamilyChildrenLayout(const TextMeasurer* measurer)
    : m_measurer(measurer ? measurer : &DocumentTextMeasurer::shared())
{
}

void FamilyChildrenLayout::setFont(const QFont& font)
{
    m_font = font;
    m_lineHeight = long(m_measurer->heightOfText(QStringLiteral("Xg"), font, 1e6) * 1.077);
}

void FamilyChildrenLayout::setColumnWidths(const Widths& widths)
{
    m_birthNotesWidth = widths[BirthNotes];
    m_deathNotesWidth = widths[DeathNotes];
}

float FamilyChildrenLayout::heightForNotes(const QString& notes, int column) const
{
    if (notes.isEmpty())
        return float(m_lineHeight);
    const double width = std::max(1, notesWidth(column) - 2 * kCellMargin);
    const double needed = std::min(kMaximumNotesHeight, m_measurer->heightOfText(notes, m_font, width));
    return float(std::max(double(m_lineHeight), needed));
}

float FamilyChildrenLayout::calculateRowHeightForRow(const Rows& rows, int row, int column, const QString* text) const
{
    const int count = int(rows.size());
    if (row < 0 || row >= count - 1 || !rows[size_t(row)].child())
        return float(m_lineHeight);
    const FTPerson* child = rows[size_t(row)].child();
    QString birth = child->isDeleted() ? QString() : notesOf(child->birth());
    QString death = child->isDeleted() ? QString() : notesOf(child->death());
    if (text && column == BirthNotes)
        birth = *text;
    else if (text && column == DeathNotes)
        death = *text;
    return std::max(heightForNotes(birth, BirthNotes), heightForNotes(death, DeathNotes));
}

void FamilyChildrenLayout::calculateRowHeightForAllRows(Rows& rows) const
{
    for (size_t i = 0; i < rows.size(); ++i)
        rows[i].setRowHeight(calculateRowHeightForRow(rows, int(i)));
}

int FamilyChildrenLayout::heightOfRow(const ChildInfo& row, bool selected, bool multiLineNotes) const
{
    double height = double(m_lineHeight);
    if (multiLineNotes || selected)
        height = std::max(height, double(row.rowHeight()));
    return int(height) + kRowPadding;
}

bool FamilyChildrenLayout::notesAreCutOff(const ChildInfo& row, bool selected, bool multiLineNotes) const
{
    return !multiLineNotes && !selected && float(m_lineHeight + 1) < row.rowHeight();
}

bool FamilyChildrenLayout::offersCellExpansion(int column, bool selected, bool multiLineNotes)
{
    return !isNotesColumn(column) || (!multiLineNotes && !selected);
}
