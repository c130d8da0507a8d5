#pragma once

#include "model/FTManagedObject.h"

class FTEvent;
class FTPerson;

class FTSpouseRel : public FTManagedObject {
public:
    static constexpr const char* kEntityName = "SpouseRel";

    int numericId() const;
    void setNumericId(int value);
    int seqNo() const;
    void setSeqNo(int value);
    QString userId() const;
    void setUserId(const QString& value);
    QDateTime lastChange() const;
    void setLastChange(const QDateTime& value);

    QList<FTPerson*> partners() const;
    void addPartnersObject(FTPerson* value);
    void removePartnersObject(FTPerson* value);
    FTEvent* marriage() const;
    void setMarriage(FTEvent* value);
    QList<FTEvent*> otherMarriageEvents() const;
    void addOtherMarriageEventsObject(FTEvent* value);
    void removeOtherMarriageEventsObject(FTEvent* value);
};
