#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

class FTMoc;
class FTPerson;
class ModelProgress;

// The people whose data changed lately (their own record or anything that belongs to them, by
// FTPerson::latestChangeDate), the latest first, and the plain-text file of their changes.
//
//   DatabaseChanges changes(moc);                       // takes the people once
//   const QList<FTPerson*> changed = changes.changedWithin(2, QDateTime::currentDateTime());
//   QString path;
//   changes.writeReport(changed, 2, now, &path);        // "<database>_LatestChanges.txt"
class DatabaseChanges {
public:
    explicit DatabaseChanges(FTMoc* moc);

    QString modelName;

    // The people taken when made: people added later are not among them.
    const QList<FTPerson*>& people() const { return m_people; }
    // Those changed within `days` days before `now` (a later change counts too), the latest change first.
    QList<FTPerson*> changedWithin(int days, const QDateTime& now) const;
    // An empty first line, then for each of `changed` whose change lies within `days` days before `now` its name
    // with years and its changes, newest first.
    static QString text(const QList<FTPerson*>& changed, int days, const QDateTime& now,
                        ModelProgress* progress = nullptr);
    // Writes text() under the first free "<database>_LatestChanges.txt" name; false, after a message, when the
    // file could not be made or written whole. `path` gets the file's path.
    bool writeReport(const QList<FTPerson*>& changed, int days, const QDateTime& now, QString* path,
                     ModelProgress* progress = nullptr) const;
    // "No changes have been made in the last 3 days".
    static QString noChangesMessage(int days);

private:
    QList<FTPerson*> m_people;
};
