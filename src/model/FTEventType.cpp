#include "model/FTEventType.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"

namespace {
const Key kName("name");
const Key kGedcomCode("gedcomCode");
const Key kGroup("group");
const Key kLastChange("lastChange");
const Key kEvents("events");
}

FTEventType* FTEventType::initInMoc(FTMoc* moc)
{
    return moc->insertObject<FTEventType>();
}

QString FTEventType::name() const
{
    return ManagedObject::stringValue(kName);
}
void FTEventType::setName(const QString& value)
{
    ManagedObject::setString(kName, value);
}
QString FTEventType::gedcomCode() const
{
    return ManagedObject::stringValue(kGedcomCode);
}
void FTEventType::setGedcomCode(const QString& value)
{
    ManagedObject::setString(kGedcomCode, value);
}
QString FTEventType::group() const
{
    return ManagedObject::stringValue(kGroup);
}
void FTEventType::setGroup(const QString& value)
{
    ManagedObject::setString(kGroup, value);
}
QDateTime FTEventType::lastChange() const
{
    return ManagedObject::dateValue(kLastChange);
}
void FTEventType::setLastChange(const QDateTime& value)
{
    ManagedObject::setDate(kLastChange, value);
}

QList<FTEvent*> FTEventType::events() const
{
    return ManagedObject::objectList<FTEvent>(kEvents);
}
void FTEventType::addEventsObject(FTEvent* value)
{
    ManagedObject::addObject(kEvents, value);
}
void FTEventType::removeEventsObject(FTEvent* value)
{
    ManagedObject::removeObject(kEvents, value);
}
