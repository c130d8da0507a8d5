#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class FTEvent;
class FTMoc;
class ModelProgress;

// Find and replace over the place texts of all events: the places holding the find text (as written: case and
// accents count), each beside the text it would become, and the run that replaces them in the chosen places,
// asking place by place until the user says to replace the rest without asking. The run is one undo step, saved
// once at its end; then the context's places list is built again from the events and every place is shown again.
//
//   PlacesReplacement r(moc);
//   r.setFindString("St ");  r.setReplacementString("Saint ");
//   r.replaceSelectedPlaceNames({0, 3}, [](int row) { ...deselect... }, nullptr);
class PlacesReplacement {
public:
    // The answers of confirmReplacementOf, as the run keeps them.
    enum Answer { Abort = -1, Ignore = 0, Replace = 1, ReplaceAll = 100 };

    explicit PlacesReplacement(FTMoc* moc);

    FTMoc* moc() const { return m_moc; }
    QString findString() const { return m_findString; }
    // Sets the find text and shows the places that hold it (all places for an empty text).
    void setFindString(const QString& text);
    QString replacementString() const { return m_replacementString; }
    void setReplacementString(const QString& text) { m_replacementString = text; }

    // The places shown, in the order of the context's sorted list.
    const QStringList& foundPlaces() const { return m_foundPlaces; }
    // What `place` becomes: every occurrence of the find text replaced (removed for an empty replacement); empty
    // when the find text or the place is empty.
    QString replacementStringFor(const QString& place) const;
    // Asks whether to replace `oldText` by `newText` in `eventCount` events: Replace, Ignore, Abort or ReplaceAll
    // (closing the question aborts). Ignore without a question when there are no events.
    static int confirmReplacementOf(const QString& oldText, const QString& newText, int eventCount);

    struct Outcome {
        int places = 0;
        int events = 0;
        bool ran = false; // false when the run was refused (no find text, no row)
    };
    // Replaces in the rows of foundPlaces() given in `selectedRows` (ascending). Each row that was replaced,
    // ignored, or whose place no event holds any more, is handed to `deselect`. `progress` (may be null) gets the
    // share of rows done every tenth row, with the number of events changed so far as its status; `visit` (may be
    // empty) each row before its question. Ends with the message of how many places and events were changed.
    Outcome replaceSelectedPlaceNames(const QList<int>& selectedRows, const std::function<void(int row)>& deselect,
                                      ModelProgress* progress = nullptr, const std::function<void(int row)>& visit = {});

private:
    FTMoc* m_moc;
    QString m_findString;
    QString m_replacementString;
    QStringList m_foundPlaces;
};
