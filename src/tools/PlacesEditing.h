#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class FTEvent;
class FTMoc;
class FTPerson;
class ModelProgress;

// What the places editor does to a family database, apart from its window: the list of distinct place texts with
// the word-start filter, the events at the chosen places, renaming a place in all its events, the automatic
// cleaning of punctuation and blanks, clearing map information, moving place texts into the events' notes or
// names, and the person to make focal for an event. Each change of many events is one undo step, saved once at
// its end; the context's places list is built again from the events after it. Questions and messages go through
// Prompts.
//
//   PlacesEditing places(moc);
//   places.setFilterText("lon eng");       // "London, England"
//   places.refreshPlaceNamesArray(true);
//   QList<FTEvent*> events = places.eventsAtPlaces({places.places().first()});
class PlacesEditing {
public:
    explicit PlacesEditing(FTMoc* moc);

    FTMoc* moc() const { return m_moc; }

    // ---- The places list ----

    // The search field's text: every word (split at blanks) must begin the place or begin a word after a blank or
    // a comma, ignoring case and diacritics. No word: no filter. The list is not rebuilt here.
    void setFilterText(const QString& text);
    bool hasFilter() const { return !m_filterWords.isEmpty(); }
    // Whether `place` passes the filter words, each already folded (TextMatch::fold).
    static bool matchesFilter(const QString& place, const QStringList& foldedWords);
    // The context's sorted places, filtered; `save` first saves the database (the editor's own rebuild does).
    void refreshPlaceNamesArray(bool save);
    const QStringList& places() const { return m_places; }

    // Every event whose place is one of `places`, in the store's order.
    QList<FTEvent*> eventsAtPlaces(const QStringList& places) const;

    // ---- Changes ----

    // Gives every one of `events` (the events of the selected places) the place `newText`, as typed, and says how
    // many. Nothing happens, and false is answered, when `newText` equals `oldText`.
    bool renamePlace(const QString& oldText, const QString& newText, const QList<FTEvent*>& events);
    // The tidy form (Utils::cleanPlaceName) for the places that need it. `prompted`: the places of places() in
    // order, each asked about ("Change", "Skip", "Stop"); otherwise every event whose place holds a comma or a
    // full stop or begins with a blank, without a question. Reports and answers the number of events changed.
    int autoClean(bool prompted, ModelProgress* progress = nullptr);
    // Clears the stored map link and position of `event`, or of every event at its place when the user says so.
    // False when nothing was to be done (an event without a place).
    bool deleteMapInfo(FTEvent* event);
    // Each event's place, without surrounding quotes and blanks, added to its notes (after a blank) or made its
    // name (capitalised, the little words put back); the place is then cleared. Answers how many moved.
    int movePlaceNamesToNotes(const QList<FTEvent*>& events, ModelProgress* progress = nullptr);
    int movePlaceNamesToNameField(const QList<FTEvent*>& events, ModelProgress* progress = nullptr);

    // ---- Helpers ----

    // The place text as an event name: surrounding quotes and blanks gone, each word capitalised, the eight
    // little words ("of", "the" ...) put back in their own form where they stand between two blanks, no quotes.
    static QString placeAsEventName(const QString& place);
    // The person an event makes focal: its owner, or a couple's husband, else the wife; null for none.
    static FTPerson* personForEvent(const FTEvent* event);

private:
    FTMoc* m_moc;
    QStringList m_filterWords; // folded
    QStringList m_places;
};
