#pragma once

#include "model/FTManagedObject.h"

class FTPerson;

class FTAssociation : public FTManagedObject {
public:
    static constexpr const char* kEntityName = "Association";

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
