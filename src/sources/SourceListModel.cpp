#include "sources/SourceListModel.h"

#include "sources/SourceCatalogue.h"

#include "model/FTMoc.h"
#include "model/FTSource.h"

#include "platform/Localizer.h"
#include "platform/store/TextMatch.h"

#include <QColor>

#include <algorithm>

namespace {
// The search field whose folded text orders a column.
SourceSearch::Option fieldOfColumn(int column)
{
    switch (column) {
    case SourceListModel::TypeColumn:
        return SourceSearch::Type;
    case SourceListModel::TitleColumn:
        return SourceSearch::Title;
    case SourceListModel::ShortTitleColumn:
        return SourceSearch::ShortTitle;
    case SourceListModel::AuthorColumn:
        return SourceSearch::Author;
    default:
        return SourceSearch::None;
    }
}

QString oneLine(QString text)
{
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    return text;
}
}

SourceListModel::SourceListModel(FTMoc* moc, QObject* parent)
    : QAbstractTableModel(parent)
    , m_moc(moc)
{
}

void SourceListModel::loadSources()
{
    m_sources = m_moc ? m_moc->fetch<FTSource>() : QList<FTSource*>();
    rearrange();
}

void SourceListModel::setMoc(FTMoc* moc)
{
    m_moc = moc;
    m_search.clear();
    m_active = nullptr;
    loadSources();
}

void SourceListModel::setSourcesArray(const QList<FTSource*>& sources)
{
    m_sources = sources;
    rearrange();
}

FTSource* SourceListModel::sourceAt(int row) const
{
    return row >= 0 && row < m_arranged.size() ? m_arranged[row] : nullptr;
}

int SourceListModel::rowOfSource(const FTSource* source) const
{
    return source ? int(m_arranged.indexOf(const_cast<FTSource*>(source))) : -1;
}

void SourceListModel::setFilter(SourceSearch::Option option, const QString& text)
{
    m_filterOption = option;
    m_filterText = text;
    rearrange();
}

void SourceListModel::sortByNumber()
{
    sort(NumberColumn, Qt::AscendingOrder);
}

void SourceListModel::sort(int column, Qt::SortOrder order)
{
    m_sortColumn = column;
    m_sortOrder = order;
    m_mergeOrder = false;
    rearrange();
}

void SourceListModel::sortForMerge()
{
    m_mergeOrder = true;
    rearrange();
}

void SourceListModel::addSource(FTSource* source)
{
    if (!source || m_sources.contains(source))
        return;
    m_sources << source;
    rearrange();
}

void SourceListModel::removeDeletedSources()
{
    m_sources.removeIf([](const FTSource* s) { return s->isDeleted(); });
    rearrange();
}

void SourceListModel::sourcesEdited(const QList<FTSource*>& sources)
{
    for (const FTSource* s : sources)
        if (const int row = rowOfSource(s); row >= 0)
            Q_EMIT dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

void SourceListModel::allSourcesEdited()
{
    if (!m_arranged.isEmpty())
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}

void SourceListModel::activeSourceChanged()
{
    const FTSource* before = m_active;
    m_active = m_moc ? m_moc->activeSource() : nullptr;
    for (const FTSource* s : { before, m_active })
        if (const int row = rowOfSource(s); row >= 0)
            Q_EMIT dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

void SourceListModel::rearrange()
{
    beginResetModel();
    m_active = m_moc ? m_moc->activeSource() : nullptr;
    const QList<FTSource*>& base = m_sources;
    if (!isFiltered()) {
        m_arranged = base;
    } else {
        const QString folded = TextMatch::fold(m_filterText);
        m_arranged.clear();
        for (FTSource* s : base)
            if (m_search.matchesFolded(s, m_filterOption, folded))
                m_arranged << s;
    }
    if (m_mergeOrder) {
        std::stable_sort(m_arranged.begin(), m_arranged.end(), SourceCatalogue::mergeLess);
    } else {
        // Each key is read once, not at every comparison: text keys come folded from the search's store.
        struct Row {
            FTSource* source;
            int number;
            qint64 key;
            const QString* text;
        };
        const SourceSearch::Option field = fieldOfColumn(m_sortColumn);
        std::vector<Row> rows;
        rows.reserve(m_arranged.size());
        for (FTSource* s : m_arranged) {
            Row r { s, s->numericId(), 0, nullptr };
            if (field != SourceSearch::None)
                r.text = &m_search.foldedField(s, field);
            else if (m_sortColumn == CitationsColumn)
                r.key = s->numSourceRels();
            else
                r.key = r.number;
            rows.push_back(r);
        }
        const bool descending = m_sortOrder == Qt::DescendingOrder;
        std::sort(rows.begin(), rows.end(), [descending](const Row& a, const Row& b) {
            int c = a.text ? a.text->compare(*b.text) : (a.key < b.key ? -1 : a.key > b.key ? 1 : 0);
            if (c == 0)
                c = a.number < b.number ? -1 : a.number > b.number ? 1 : 0;
            return descending ? c > 0 : c < 0;
        });
        for (qsizetype i = 0; i < m_arranged.size(); ++i)
            m_arranged[i] = rows[size_t(i)].source;
    }
    endResetModel();
}

int SourceListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_arranged.size());
}

int SourceListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString SourceListModel::cellText(const FTSource* source, int column) const
{
    switch (column) {
    case NumberColumn:
        return QString::number(source->numericId());
    case TypeColumn:
        return oneLine(source->type());
    case TitleColumn:
        return oneLine(source->title());
    case ShortTitleColumn:
        return oneLine(source->abbreviatedTitle());
    case AuthorColumn:
        return oneLine(source->author());
    case CitationsColumn:
        return QString::number(source->numSourceRels());
    default:
        return QString();
    }
}

QVariant SourceListModel::data(const QModelIndex& index, int role) const
{
    const FTSource* source = sourceAt(index.row());
    if (!source || source->isDeleted())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return cellText(source, index.column());
    case Qt::ToolTipRole:
        return index.column() == TitleColumn ? QVariant(source->title()) : QVariant();
    case Qt::TextAlignmentRole:
        return index.column() == NumberColumn || index.column() == CitationsColumn
            ? QVariant(int(Qt::AlignRight | Qt::AlignVCenter))
            : QVariant();
    case Qt::FontRole:
        if (source == m_active) {
            QFont bold = m_font;
            bold.setBold(true);
            return bold;
        }
        return {};
    case Qt::ForegroundRole:
        // A selected row keeps the table's own text colour: the view draws selected text in its highlight colours.
        return source == m_active ? QVariant(QColor(255, 0, 0)) : QVariant();
    default:
        return {};
    }
}

QVariant SourceListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char* const keys[] = { "SourcesColumnNumber", "SourceFieldType", "SourceFieldTitle",
        "SourceFieldShTit", "SourceFieldAuth", "SourcesColumnCitations" };
    return section >= 0 && section < ColumnCount ? LocalizedString(QString::fromLatin1(keys[section])) : QString();
}
