#pragma once

#include <QList>
#include <QString>

class FTMoc;
class FTPerson;

// The focal people of one database, newest first: entry 0 is the current focal person, no one appears twice and
// at most kMaxEntries are kept. People are held by their record key, so a person deleted since (or whose creation
// was undone) simply drops out at the next check instead of leaving a dangling entry.
class FocalPeopleHistory {
public:
    static constexpr int kMaxEntries = 50;

    explicit FocalPeopleHistory(FTMoc* moc = nullptr);
    void setMoc(FTMoc* moc);

    // Moves the person to the front (no change when it is already there), dropping the oldest beyond the limit.
    void setFocalPerson(FTPerson* person);
    // The person focal before the current one (entry 1 after a check), or null.
    FTPerson* previousFocalPerson();
    void removePerson(const FTPerson* person);

    // Marks the list to be checked before its next use (after undo, redo and refreshes).
    void setNeedsValidating() { m_needsValidating = true; }
    // Drops the entries whose person can no longer be read, when marked.
    void validate();

    int count(); // after the check
    FTPerson* personAt(int index) const;
    // The drop-down's text of an entry: "Name (year of birth)", the year 0 when unknown; empty for a negative
    // index.
    QString entryText(int index) const;
    QList<FTPerson*> people() const;

private:
    FTMoc* m_moc = nullptr;
    QList<qint64> m_keys;
    bool m_needsValidating = false;
};
