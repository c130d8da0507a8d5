#pragma once

#include "publishing/VCardWriter.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

class FTMoc;
class FTPerson;

// Living people of the database as contact cards (vCard 4.0) for an address book. A group is one file in the
// reports folder, "<group>.vcf", the group's name made one safe file name; every card of it carries the group's
// name as its category. The groups that exist are the files earlier exports wrote: exporting into one adds cards
// after those it holds.
//
//   AddressBookExport ab(moc);
//   const QList<FTPerson*> candidates = ab.createPeopleArray();
//   const QString path = AddressBookExport::exportToGroup(chosen, "Family 2024");
class AddressBookExport {
public:
    explicit AddressBookExport(FTMoc* moc);

    // The moment whose year decides who is a candidate; the clock's when not set.
    void setNow(const QDateTime& now) { m_now = now; }

    // Everybody born at most 100 years before the current year with no death date recorded (no death event, or
    // one without a date), by name with years, ignoring case. People without a birth year are left out.
    QList<FTPerson*> createPeopleArray() const;

    // A group's name as typed, without the blanks around it; a name must be longer than five characters.
    static QString groupName(const QString& typed) { return typed.trimmed(); }
    static bool isGroupNameLongEnough(const QString& group) { return group.size() > 5; }
    static constexpr int kMinimumGroupNameLength = 6;

    // The groups earlier exports made, by name ignoring case.
    static QStringList existingGroups();
    static QString groupFilePath(const QString& group);
    static bool groupExists(const QString& group);

    // Writes the cards of `people`, in order, into the group's file: after the cards it holds when the group
    // exists, else into a new file. The file's path, or empty after a message.
    static QString exportToGroup(const QList<FTPerson*>& people, const QString& group);
    // The card of one person: the full name; the family name, the first name and the other given names; the
    // notes; the group.
    static VCardWriter::Card cardFor(const FTPerson* person, const QString& group);

private:
    FTMoc* m_moc;
    QDateTime m_now;
};
