#pragma once

#include "model/FTManagedObject.h"

class FTEventType;
class FTPerson;
class FTSourceRel;
class FTSpouseRel;

class FTEvent : public FTManagedObject {
public:
    static constexpr const char* kEntityName = "Event";

    int type() const;
    void setType(int value);
    QString subtype() const;
    void setSubtype(const QString& value);
    QString name() const;
    void setName(const QString& value);
    QString date() const;
    void setDate(const QString& value);
    int qual() const;
    void setQual(int value);
    int day() const;
    void setDay(int value);
    int month() const;
    void setMonth(int value);
    int year() const;
    void setYear(int value);
    QString place() const;
    void setPlace(const QString& value);
    QString notes() const;
    void setNotes(const QString& value);
    QString comments() const;
    void setComments(const QString& value);
    QString causeOfEvent() const;
    void setCauseOfEvent(const QString& value);
    int numericId() const;
    void setNumericId(int value);
    QByteArray extraData() const;
    void setExtraData(const QByteArray& value);
    QDateTime lastChange() const;
    void setLastChange(const QDateTime& value);

    FTEventType* eventType() const;
    void setEventType(FTEventType* value);
    QList<FTSourceRel*> sourceRels() const;
    void addSourceRelsObject(FTSourceRel* value);
    void removeSourceRelsObject(FTSourceRel* value);
    FTPerson* person() const;
    void setPerson(FTPerson* value);
    FTSpouseRel* spouseRel() const;
    void setSpouseRel(FTSpouseRel* value);
};
