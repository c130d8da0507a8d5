#include "model/FTEvent.h"

#include "model/FTEventType.h"
#include "model/FTPerson.h"
#include "model/FTSourceRel.h"
#include "model/FTSpouseRel.h"

namespace {
const Key kType("type");
const Key kSubtype("subtype");
const Key kName("name");
const Key kDate("date");
const Key kQual("qual");
const Key kDay("day");
const Key kMonth("month");
const Key kYear("year");
const Key kPlace("place");
const Key kNotes("notes");
const Key kComments("comments");
const Key kCauseOfEvent("causeOfEvent");
const Key kNumericId("numericId");
const Key kExtraData("extraData");
const Key kLastChange("lastChange");
const Key kEventType("eventType");
const Key kSourceRels("sourceRels");
const Key kPerson("person");
const Key kSpouseRel("spouseRel");
}

int FTEvent::type() const
{
    return int(ManagedObject::integerValue(kType));
}
void FTEvent::setType(int value)
{
    ManagedObject::setInteger(kType, value);
}
QString FTEvent::subtype() const
{
    return ManagedObject::stringValue(kSubtype);
}
void FTEvent::setSubtype(const QString& value)
{
    ManagedObject::setString(kSubtype, value);
}
QString FTEvent::name() const
{
    return ManagedObject::stringValue(kName);
}
void FTEvent::setName(const QString& value)
{
    ManagedObject::setString(kName, value);
}
QString FTEvent::date() const
{
    return ManagedObject::stringValue(kDate);
}
void FTEvent::setDate(const QString& value)
{
    ManagedObject::setString(kDate, value);
}
int FTEvent::qual() const
{
    return int(ManagedObject::integerValue(kQual));
}
void FTEvent::setQual(int value)
{
    ManagedObject::setInteger(kQual, value);
}
int FTEvent::day() const
{
    return int(ManagedObject::integerValue(kDay));
}
void FTEvent::setDay(int value)
{
    ManagedObject::setInteger(kDay, value);
}
int FTEvent::month() const
{
    return int(ManagedObject::integerValue(kMonth));
}
void FTEvent::setMonth(int value)
{
    ManagedObject::setInteger(kMonth, value);
}
int FTEvent::year() const
{
    return int(ManagedObject::integerValue(kYear));
}
void FTEvent::setYear(int value)
{
    ManagedObject::setInteger(kYear, value);
}
QString FTEvent::place() const
{
    return ManagedObject::stringValue(kPlace);
}
void FTEvent::setPlace(const QString& value)
{
    ManagedObject::setString(kPlace, value);
}
QString FTEvent::notes() const
{
    return ManagedObject::stringValue(kNotes);
}
void FTEvent::setNotes(const QString& value)
{
    ManagedObject::setString(kNotes, value);
}
QString FTEvent::comments() const
{
    return ManagedObject::stringValue(kComments);
}
void FTEvent::setComments(const QString& value)
{
    ManagedObject::setString(kComments, value);
}
QString FTEvent::causeOfEvent() const
{
    return ManagedObject::stringValue(kCauseOfEvent);
}
void FTEvent::setCauseOfEvent(const QString& value)
{
    ManagedObject::setString(kCauseOfEvent, value);
}
int FTEvent::numericId() const
{
    return int(ManagedObject::integerValue(kNumericId));
}
void FTEvent::setNumericId(int value)
{
    ManagedObject::setInteger(kNumericId, value);
}
QByteArray FTEvent::extraData() const
{
    return ManagedObject::dataValue(kExtraData);
}
void FTEvent::setExtraData(const QByteArray& value)
{
    ManagedObject::setData(kExtraData, value);
}
QDateTime FTEvent::lastChange() const
{
    return ManagedObject::dateValue(kLastChange);
}
void FTEvent::setLastChange(const QDateTime& value)
{
    ManagedObject::setDate(kLastChange, value);
}

FTEventType* FTEvent::eventType() const
{
    return ManagedObject::object<FTEventType>(kEventType);
}
void FTEvent::setEventType(FTEventType* value)
{
    ManagedObject::setObject(kEventType, value);
}
QList<FTSourceRel*> FTEvent::sourceRels() const
{
    return ManagedObject::objectList<FTSourceRel>(kSourceRels);
}
void FTEvent::addSourceRelsObject(FTSourceRel* value)
{
    ManagedObject::addObject(kSourceRels, value);
}
void FTEvent::removeSourceRelsObject(FTSourceRel* value)
{
    ManagedObject::removeObject(kSourceRels, value);
}
FTPerson* FTEvent::person() const
{
    return optionalObject<FTPerson>(kPerson);
}
void FTEvent::setPerson(FTPerson* value)
{
    ManagedObject::setObject(kPerson, value);
}
FTSpouseRel* FTEvent::spouseRel() const
{
    return optionalObject<FTSpouseRel>(kSpouseRel);
}
void FTEvent::setSpouseRel(FTSpouseRel* value)
{
    ManagedObject::setObject(kSpouseRel, value);
}
