#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

class FTMoc;
class FTPerson;

// The to-do notes of a database: the people that carry one, by name with years; clearing one; and the listing of
// every note as an RTF file in the reports folder ("<database>_ToDoList", a free name, never over an earlier
// one), each person's summary followed by the note in red, that opens in the RTF application the user chose.
//
//   TodoNotes todos(moc);
//   todos.loadPeopleArray();
//   todos.remove(todos.people().first());
//   todos.printAll();          // the path, or empty after a message
class TodoNotes {
public:
    explicit TodoNotes(FTMoc* moc);

    void loadPeopleArray();
    const QList<FTPerson*>& people() const { return m_people; }
    // The person's note cleared and the person taken off the list.
    void remove(FTPerson* person);

    void setDateTime(const QDateTime& moment) { m_moment = moment; }
    QString printAll();
    QString writeListing();

private:
    FTMoc* m_moc;
    QList<FTPerson*> m_people;
    QDateTime m_moment;
};
