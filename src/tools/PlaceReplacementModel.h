#pragma once

#include <QAbstractTableModel>

class PlacesReplacement;

// The table of find and replace: each place found beside the text it would become with the replacement typed so
// far. Read-only; reset() after the find text, the replacement or the places change.
class PlaceReplacementModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { PlaceNameColumn, ReplacementPlaceNameColumn, ColumnCount };

    explicit PlaceReplacementModel(const PlacesReplacement& replacement, QObject* parent = nullptr);

    void reset();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    const PlacesReplacement& m_replacement;
};
