#pragma once

#include "model/FTManagedObject.h"

class FTEvent;

class FTEventType : public FTManagedObject {
public:
    static constexpr const char* kEntityName = "EventType";

    QString name() const;
    void setName(const QString& value);
    QString gedcomCode() const;
    void setGedcomCode(const QString& value);
    QString group() const;
    void setGroup(const QString& value);
    QDateTime lastChange() const;
    void setLastChange(const QDateTime& value);

    QList<FTEvent*> events() const;
    void addEventsObject(FTEvent* value);
    void removeEventsObject(FTEvent* value);
};
