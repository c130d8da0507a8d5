#include "tools/PlaceReplacementModel.h"

#include "tools/PlacesReplacement.h"

#include "platform/Localizer.h"

PlaceReplacementModel::PlaceReplacementModel(const PlacesReplacement& replacement, QObject* parent)
    : QAbstractTableModel(parent)
    , m_replacement(replacement)
{
}

void PlaceReplacementModel::reset()
{
    beginResetModel();
    endResetModel();
}

int PlaceReplacementModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_replacement.foundPlaces().size());
}

int PlaceReplacementModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant PlaceReplacementModel::data(const QModelIndex& index, int role) const
{
    const QStringList& places = m_replacement.foundPlaces();
    if (!index.isValid() || index.row() >= places.size() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    const QString& place = places[index.row()];
    return index.column() == PlaceNameColumn ? place : m_replacement.replacementStringFor(place);
}

QVariant PlaceReplacementModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return LocalizedString(section == PlaceNameColumn ? QStringLiteral("Place") : QStringLiteral("ReplacedBy"));
}
