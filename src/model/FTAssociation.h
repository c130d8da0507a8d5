#pragma once

#include "model/FTManagedObject.h"

class FTPerson;

// A named association of one person with another (godparent, witness ...): `fromRelationship` says what the
// associated person (`toPerson`) is to `fromPerson`.
class FTAssociation : public FTManagedObject {
public:
    static constexpr const char* kEntityName = "Association";

    // Inserts an association; names the undo action "AddAssociation" (localised) when it has no name yet.
    static FTAssociation* initInMoc(FTMoc* moc);

    QString fromRelationship() const;
    void setFromRelationship(const QString& value);
    QString notes() const;
    void setNotes(const QString& value);
    QDateTime lastChange() const;
    void setLastChange(const QDateTime& value);

    FTPerson* fromPerson() const;
    void setFromPerson(FTPerson* value);
    FTPerson* toPerson() const;
    void setToPerson(FTPerson* value);
};
