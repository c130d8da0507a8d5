#pragma once

#include "tools/PlacesEditing.h"

#include "tools/ui/TextsAndEventsWindow.h"
#include <QSize>
#include <QStringList>

class EditorTableView;
class EventsByDateModel;
class FTEvent;
class FTMoc;
class QCheckBox;
class QLineEdit;
class QProgressBar;
class TextListModel;

// The places editor: every distinct place text of the database beside the events at the chosen places. The user
// filters the places by the starts of words, renames a place in all its events by editing it in the list, cleans
// punctuation and blanks (asking place by place, or not), clears an event's map information, looks its place up
// on the map, moves place texts into the events' notes or names, corrects a date in place, makes an event's owner
// the focal person, and lists the events by place as CSV or RTF. A sheet on the database's main window; it keeps
// its size for the running program.
//
//   doc->beginSheet(new EventPlacesEditor(doc->moc()), didEnd);
class EventPlacesEditor : public TextsAndEventsWindow {
    Q_OBJECT
public:
    static QSize prevSize();
    static void setPrevSize(const QSize& size);

    explicit EventPlacesEditor(FTMoc* moc, QWidget* parent = nullptr);
    ~EventPlacesEditor() override;

    PlacesEditing& editing() { return m_editing; }
    // Whether cleaning asks place by place (the default).
    bool prompted() const;
    void setPrompted(bool prompted);

    // ---- Actions ----
    // The search field's text filters the places.
    void findLocation(const QString& text);
    void autoClean();
    void deleteMapInfo();
    void findInGoogleMaps();
    void promoteToFocalPerson();
    void movePlaceNameToNotes();
    void movePlaceNameToNameField();
    void helpForFocalPerson();
    void helpForMovePlaceName();
    void printAsCsv();
    void printAsRtf();
    // The place of `row` renamed to `typed` (an edit of the list does this once the edit has closed).
    void renamePlace(int row, const QString& typed);

    // Saves, takes the places again and selects the first.
    void refreshPlaceNamesArray();
    // Takes the places again and selects `place` (nothing when it is gone).
    void refreshDisplay(const QString& place);

    QStringList selectedPlaces() const;
    FTEvent* selectedEvent() const;
    QList<FTEvent*> selectedEvents() const;

    EditorTableView* tv_Locations() const { return m_texts; }
    EditorTableView* tv_Events() const { return m_events; }
    TextListModel* locationsModel() const { return m_textsModel; }
    EventsByDateModel* eventsModel() const { return m_eventsModel; }
    QLineEdit* filterSearchField() const { return m_filterSearchField; }
    QProgressBar* progressIndicator() const { return m_progressIndicator; }

private:
    void loadEventsArray();
    void showPlaces();
    void selectPlaceRow(int row);

    PlacesEditing m_editing;
    QLineEdit* m_filterSearchField = nullptr;
    QProgressBar* m_progressIndicator = nullptr;
    QCheckBox* m_promptedBox = nullptr;
};
