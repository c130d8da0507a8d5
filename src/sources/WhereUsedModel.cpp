#include "sources/WhereUsedModel.h"

#include "model/FTPerson.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"

#include "platform/Localizer.h"
#include "platform/store/TextMatch.h"

#include <algorithm>
#include <vector>

namespace {
// The sort key beyond the columns: the family name of the citing person.
constexpr int kFamilyNameKey = WhereUsedModel::ColumnCount;

QString cellText(const FTSourceRel* citation, int column)
{
    switch (column) {
    case kFamilyNameKey:
        return citation->person() ? citation->person()->familyName() : QString();
    case WhereUsedModel::WhereUsedColumn:
        return citation->whereUsedString();
    case WhereUsedModel::PageRefColumn:
        return citation->reference();
    case WhereUsedModel::TopicColumn:
        return citation->itemDescribed();
    default:
        return QString();
    }
}
}

WhereUsedModel::WhereUsedModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

void WhereUsedModel::setSource(FTSource* source)
{
    m_source = source;
    m_pageRefFilter.clear();
    m_sortColumn = -1;
    refresh();
}

void WhereUsedModel::refresh()
{
    m_citations = m_source && !m_source->isDeleted() ? m_source->sourceRels() : QList<FTSourceRel*>();
    rearrange();
}

void WhereUsedModel::setPageRefFilter(const QString& text)
{
    m_pageRefFilter = text;
    rearrange();
}

void WhereUsedModel::clearSortDescriptors()
{
    m_sortColumn = -1;
    rearrange();
}

void WhereUsedModel::sort(int column, Qt::SortOrder order)
{
    m_sortColumn = column >= 0 && column < ColumnCount ? column : -1;
    m_sortOrder = order;
    rearrange();
}

void WhereUsedModel::sortByFamilyName()
{
    m_sortColumn = kFamilyNameKey;
    m_sortOrder = Qt::AscendingOrder;
    rearrange();
}

void WhereUsedModel::rearrange()
{
    beginResetModel();
    if (m_pageRefFilter.isEmpty()) {
        m_arranged = m_citations;
    } else {
        const QString part = TextMatch::fold(m_pageRefFilter);
        m_arranged.clear();
        for (FTSourceRel* c : m_citations)
            if (TextMatch::fold(c->reference()).contains(part))
                m_arranged << c;
    }
    if (m_sortColumn >= 0) {
        // The where-used text is composed from the citing records: made once a row here, not at each comparison.
        std::vector<std::pair<QString, FTSourceRel*>> keyed;
        keyed.reserve(m_arranged.size());
        for (FTSourceRel* c : m_arranged)
            keyed.emplace_back(TextMatch::fold(cellText(c, m_sortColumn)), c);
        const bool descending = m_sortOrder == Qt::DescendingOrder;
        std::stable_sort(keyed.begin(), keyed.end(),
            [descending](const auto& a, const auto& b) { return descending ? b.first < a.first : a.first < b.first; });
        for (size_t i = 0; i < keyed.size(); ++i)
            m_arranged[qsizetype(i)] = keyed[i].second;
    }
    endResetModel();
}

FTSourceRel* WhereUsedModel::citationAt(int row) const
{
    return row >= 0 && row < m_arranged.size() ? m_arranged[row] : nullptr;
}

int WhereUsedModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_arranged.size());
}

int WhereUsedModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant WhereUsedModel::data(const QModelIndex& index, int role) const
{
    const FTSourceRel* citation = citationAt(index.row());
    if (!citation || citation->isDeleted())
        return {};
    if (role == Qt::DisplayRole || (role == Qt::ToolTipRole && index.column() == WhereUsedColumn))
        return cellText(citation, index.column());
    return {};
}

QVariant WhereUsedModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char* const keys[] = { "WhereUsedColumn", "WhereUsedPageRef", "WhereUsedTopic" };
    return section >= 0 && section < ColumnCount ? LocalizedString(QString::fromLatin1(keys[section])) : QString();
}
