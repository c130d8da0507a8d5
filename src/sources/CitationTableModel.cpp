#include "sources/CitationTableModel.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"
#include "model/FTSpouseRel.h"

#include "platform/Localizer.h"
#include "platform/UserDefaults.h"

#include <algorithm>
#include <cmath>

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}
}

QString CitationTableModel::identifier(Column column)
{
    switch (column) {
    case SourceId:
        return QStringLiteral("sourceId");
    case SourceDescription:
        return QStringLiteral("sourceDescription");
    case PageRef:
        return QStringLiteral("pageRef");
    case Topic:
        return QStringLiteral("topic");
    case Relationship:
        return QStringLiteral("relationship");
    }
    return QString();
}

QString CitationTableModel::validationKind(Column column)
{
    switch (column) {
    case PageRef:
        return QStringLiteral("PageRef");
    case Topic:
        return QStringLiteral("SourceRefTopic");
    default:
        return QString();
    }
}

bool CitationTableModel::decidesHeight(Column column)
{
    return column == SourceDescription || column == PageRef || column == Topic;
}

CitationTableModel::CitationTableModel(const QList<Column>& columns, QObject* parent)
    : QAbstractTableModel(parent)
    , m_columns(columns)
{
}

void CitationTableModel::arrange(QList<FTSourceRel*>& citations) const
{
    std::stable_sort(citations.begin(), citations.end(), [](const FTSourceRel* a, const FTSourceRel* b) {
        const int na = a->source() ? a->source()->numericId() : 0;
        const int nb = b->source() ? b->source()->numericId() : 0;
        if (na != nb)
            return na < nb;
        return a->itemDescribed().compare(b->itemDescribed()) < 0;
    });
}

void CitationTableModel::setCitations(const QList<FTSourceRel*>& citations)
{
    beginResetModel();
    m_arranged = citations;
    arrange(m_arranged);
    m_lineHeightsDictionary.clear();
    m_descriptions.clear();
    m_shownFields.reset();
    endResetModel();
}

FTSourceRel* CitationTableModel::citationAt(int row) const
{
    return row >= 0 && row < m_arranged.size() ? m_arranged[row] : nullptr;
}

int CitationTableModel::rowOf(const FTSourceRel* citation) const
{
    return citation ? int(m_arranged.indexOf(const_cast<FTSourceRel*>(citation))) : -1;
}

void CitationTableModel::addCitation(FTSourceRel* citation)
{
    if (!citation || m_arranged.contains(citation))
        return;
    QList<FTSourceRel*> rows = m_arranged;
    rows << citation;
    arrange(rows);
    const int row = int(rows.indexOf(citation));
    beginInsertRows({}, row, row);
    m_arranged = rows;
    endInsertRows();
}

bool CitationTableModel::removeCitation(const FTSourceRel* citation)
{
    const int row = rowOf(citation);
    if (row < 0)
        return false;
    beginRemoveRows({}, row, row);
    m_arranged.removeAt(row);
    endRemoveRows();
    return true;
}

void CitationTableModel::showSourceFields(bool allFields)
{
    static const char* const keys[] = { "showSourceType", "showSourceShortTitle", "showSourceTitle",
        "showSourceAuthor", "showSourcePublisher", "showSourceDate", "showSourceLocation", "showSourceNotes" };
    UserDefaults& defaults = UserDefaults::standard();
    for (const char* key : keys)
        defaults.setBool(QString::fromLatin1(key), allFields || qstrcmp(key, "showSourceTitle") == 0);
}

// ---- Heights and tool tips ---------------------------------------------------------------------------------------

double CitationTableModel::calculateHeightOfRow(
    const FTSourceRel* citation, const Measure& measure, const ColumnWidth& width) const
{
    double height = kMinimumHeight;
    for (Column column : m_columns) {
        if (!decidesHeight(column))
            continue;
        QString text;
        if (column == SourceDescription)
            text = descriptionOf(citation->source());
        else if (column == PageRef)
            text = citation->reference();
        else
            text = citation->itemDescribed();
        if (!text.isEmpty())
            height = std::max(height, measure(text, width(column)));
    }
    return height;
}

double CitationTableModel::heightOfRow(int row, const Measure& measure, const ColumnWidth& width)
{
    const FTSourceRel* citation = citationAt(row);
    if (!citation)
        return kMinimumHeight;
    const QString uri = citation->objectURI();
    auto kept = m_lineHeightsDictionary.constFind(uri);
    double height;
    if (kept != m_lineHeightsDictionary.constEnd()) {
        height = *kept;
    } else {
        height = calculateHeightOfRow(citation, measure, width);
        m_lineHeightsDictionary.insert(uri, height);
    }
    return std::trunc(height) + 3;
}

void CitationTableModel::dropHeights()
{
    m_lineHeightsDictionary.clear();
    m_descriptions.clear();
    m_shownFields.reset();
}

bool CitationTableModel::hasHeightOf(const FTSourceRel* citation) const
{
    return citation && m_lineHeightsDictionary.contains(citation->objectURI());
}

const QString& CitationTableModel::descriptionOf(const FTSource* source) const
{
    auto it = m_descriptions.find(source);
    if (it == m_descriptions.end()) {
        if (!m_shownFields)
            m_shownFields = FTSource::shownFieldsForIASources();
        it = m_descriptions.insert(source, source ? source->descriptionForIASources(*m_shownFields) : QString());
    }
    return *it;
}

QString CitationTableModel::toolTipForSource(const FTSource* source)
{
    if (!source)
        return QString();
    const QString text = source->shortDescriptionWithNumericId();
    if (text.contains(QStringLiteral("Notes:")))
        return text;
    const QString notes = source->notes();
    if (!notes.isEmpty())
        return QStringLiteral("%1\n\n%2: %3").arg(text, L("Notes"), notes);
    return QStringLiteral("%1\n%2: %3").arg(text, L("Notes"), L("NotesNotPresent"));
}

QString CitationTableModel::relationshipOf(const FTSourceRel* citation) const
{
    const FTEvent* event = citation ? citation->event() : nullptr;
    if (!event)
        return L("Person");
    if (const FTSpouseRel* couple = event->spouseRel())
        if (const FTPerson* partner = m_person ? couple->partnerOf(m_person) : nullptr)
            return QStringLiteral("%1 (%2)").arg(event->name(), partner->name());
    return event->name();
}

// ---- The table ----------------------------------------------------------------------------------------------------

int CitationTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_arranged.size());
}

int CitationTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant CitationTableModel::data(const QModelIndex& index, int role) const
{
    const FTSourceRel* citation = citationAt(index.row());
    if (!citation || citation->isDeleted() || index.column() >= m_columns.size())
        return {};
    const Column column = columnAt(index.column());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        switch (column) {
        case SourceId:
            return citation->source() ? citation->source()->numericId() : QVariant();
        case SourceDescription:
            return descriptionOf(citation->source());
        case PageRef:
            return citation->reference();
        case Topic:
            return citation->itemDescribed();
        case Relationship:
            return relationshipOf(citation);
        }
        break;
    case Qt::ToolTipRole:
        if (m_toolTips && column == SourceDescription)
            return toolTipForSource(citation->source());
        break;
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignTop));
    default:
        break;
    }
    return {};
}

bool CitationTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    FTSourceRel* citation = citationAt(index.row());
    if (role != Qt::EditRole || !citation || citation->isDeleted())
        return false;
    const Column column = columnAt(index.column());
    const QString text = value.toString();
    if (column == PageRef) {
        if (text == citation->reference())
            return false;
        citation->setReference(text);
    } else if (column == Topic) {
        if (text == citation->itemDescribed())
            return false;
        citation->setItemDescribed(text);
    } else {
        return false;
    }
    // The new text may wrap differently.
    m_lineHeightsDictionary.remove(citation->objectURI());
    Q_EMIT dataChanged(this->index(index.row(), 0), this->index(index.row(), columnCount() - 1));
    if (FTMoc* moc = citation->moc())
        moc->deferredSave();
    return true;
}

Qt::ItemFlags CitationTableModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && !validationKind(columnAt(index.column())).isEmpty())
        f |= Qt::ItemIsEditable;
    return f;
}

QVariant CitationTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= m_columns.size())
        return {};
    switch (columnAt(section)) {
    case SourceId:
        return L("SourcesColumnNumber");
    case SourceDescription:
        return L("CitationColumnSource");
    case PageRef:
        return L("WhereUsedPageRef");
    case Topic:
        return L("WhereUsedTopic");
    case Relationship:
        return L("CitationColumnRelationship");
    }
    return {};
}
