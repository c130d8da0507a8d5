#pragma once

#include <QString>

class FTMoc;
class FTPerson;
class FTProjectView;

// The few person look-ups the shell needs before the people's own behaviour is available everywhere: the focal
// and selected person of a database, a person's label with years, and the first person of a new database.
namespace FirstPerson {
// The stored focal person, else the lowest-numbered person; null for a database without people.
FTPerson* focalPerson(FTMoc* moc);
// The stored selected person, else the focal person.
FTPerson* selectedPerson(FTMoc* moc);
FTProjectView* projectView(FTMoc* moc);
// "Name (1850-1920)", "Name (1850-)", "Name (-1920)" or just the name.
QString nameWithBirthAndDeathYears(const FTPerson* person);
// The person's birth year, 0 when unknown.
int birthYear(const FTPerson* person);
// A new numbered person with the name and gender, its undo action named "Add <name>".
FTPerson* create(FTMoc* moc, const QString& name, const QString& gender);
}
