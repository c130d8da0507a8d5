#pragma once

#include "model/FTManagedObject.h"

class FTEvent;

// One row of the database's event-type index (seeded from the event vocabulary when a database opens); events
// link to the type of their GEDCOM tag.
class FTEventType : public FTManagedObject {
public:
    static constexpr const char* kEntityName = "EventType";

    // Inserts an event type; no undo name, nothing else set.
    static FTEventType* initInMoc(FTMoc* moc);

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
