#pragma once

#include "tools/Place.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class FTEvent;
class FTMoc;
class ModelProgress;
class PlaceEventsIndex;

// The listing of the events by place, as a CSV file or an RTF document in the reports folder, for the places of
// the places editor's list (filtered or not). Two questions choose the order: places as written or with their
// parts reversed ("France, Ile de France, Paris"), and alphabetical or by map position (north first, then west
// first). A database has at most a hundred listings of each kind in the folder: the base name and the numbers 1 to
// 99; the next is refused with a message.
//
//   PlacesListing listing(moc, placesEditing.places());
//   listing.printAsCsv(progress);      // asks, writes, opens; the path written, or empty
class PlacesListing {
public:
    PlacesListing(FTMoc* moc, const QStringList& places);
    ~PlacesListing();

    bool invertNames = false;
    bool sortByLatLong = false;
    // The moment the RTF title names (now unless set).
    void setDateTime(const QDateTime& moment) { m_moment = moment; }

    // The two questions; each sets its option.
    void getPrintOptions();
    // The places in listing order.
    QList<Place> sortedArrayOfPlaces(ModelProgress* progress = nullptr);
    // The events at a place, by owner's name, then date.
    QList<FTEvent*> eventsAt(const QString& place);

    // The questions, the file and its opening: the path written, or empty (after a message) when none was.
    QString printAsCsv(ModelProgress* progress = nullptr);
    QString printAsRtf(ModelProgress* progress = nullptr);
    // The file alone, with the options as they stand.
    QString writeCsv(ModelProgress* progress = nullptr);
    QString writeRtf(ModelProgress* progress = nullptr);

    // The base name of the listing's files: "<database>_<EventsListFilename>".
    QString baseName() const;

private:
    PlaceEventsIndex& index();
    // The name key of a place for the options.
    QString label(const Place& place) const { return invertNames ? place.invertedName : place.name; }
    // False, after the message, when every name the listing may take is taken.
    bool checkFreeName(const QString& extension) const;

    FTMoc* m_moc;
    QStringList m_places;
    QDateTime m_moment;
    std::unique_ptr<PlaceEventsIndex> m_index;
    QHash<QString, QList<FTEvent*>> m_sorted;
};
