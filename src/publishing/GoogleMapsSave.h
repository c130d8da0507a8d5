#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class FTEvent;
class FTMoc;
class FTPerson;

// Saving the map the user looked at for an event's place: the map's address goes onto the event (and, when chosen,
// onto every other event at the same place), and the map's picture into the pictures folder as a picture of the
// people concerned: everyone with an event at the place, the event's own person or couple, or nobody. The two
// choices are the user defaults "applyToAllEvents" and "applyToAllPeople", read when this is made and written by
// save(). Nothing is stored before save().
//
//   GoogleMapsSave saving(event);
//   saving.geocoding = address;  saving.bitmapData = jpeg;
//   saving.applyToAllPeople = GoogleMapsSave::kOwner;
//   saving.save();
class GoogleMapsSave {
public:
    enum PeopleChoice { kAllPeople = 0, kOwner = 1, kNobody = 2 };

    explicit GoogleMapsSave(FTEvent* event);

    FTEvent* event() const { return m_event; }
    FTMoc* moc() const { return m_moc; }

    // Set by the map window.
    QString geocoding;
    QByteArray bitmapData;
    QString eventDescription;

    bool applyToAllEvents = true;
    int applyToAllPeople = kAllPeople;

    // The people with an event at the place (a couple's event counts for both), by name with years; and the
    // events at the place, by name. Both empty for an event without a place.
    const QList<FTPerson*>& allPeopleArray() const { return m_allPeople; }
    const QList<FTEvent*>& allEventsArray() const { return m_allEvents; }
    // "All 3 people at this place" or "Only one person at this place"; the same for the events.
    QString allPeopleCheckBoxTitle() const;
    QString allEventsCheckBoxTitle() const;

    // Names the undo action "AddMaps", stores the address and the picture, saves the database. The address is kept
    // even when the picture cannot be written (the user has been told why).
    void save();
    // The number of events given the address: the event itself and each other one changed.
    int saveGeocoding();
    // The number of people given the picture (0 for "nobody", or when the file cannot be written).
    int saveImage();
    // Writes the picture into the pictures folder as "<MapImageFilenamePrefix>_<place>.JPG", the place made one
    // safe file name (a "/" or "../" in it never leads out of the folder); an earlier map of the place is
    // replaced. The path, or empty after a message.
    QString saveImageToFile(const QString& place);
    // The person's picture of that file, reused with its crop taken off, or a new one; titled after the place;
    // its thumbnail made again from the new file.
    void addPictureWithFilename(const QString& path, FTPerson* person);
    // The file the picture of `place` goes to.
    static QString mapImagePath(const QString& picturesFolder, const QString& place);

    // The two texts of "Show Me": the people, then the events at the place, each as a title and a list.
    struct Listing {
        QString title;
        QString text;
    };
    QList<Listing> showMeTexts() const;

private:
    void getPeopleAndEventsArrays();
    QList<FTPerson*> owners() const;

    FTEvent* m_event;
    FTMoc* m_moc;
    QList<FTPerson*> m_allPeople;
    QList<FTEvent*> m_allEvents;
};
