#include "model/FTSourceRel.h"

#include "model/FTEvent.h"
#include "model/FTPerson.h"
#include "model/FTPicture.h"
#include "model/FTSource.h"

namespace {
const Key kReference("reference");
const Key kItemDescribed("itemDescribed");
const Key kNotes("notes");
const Key kCertainty("certainty");
const Key kExtraData("extraData");
const Key kLastChange("lastChange");
const Key kSource("source");
const Key kPerson("person");
const Key kEvent("event");
const Key kPicture("picture");
}

QString FTSourceRel::reference() const
{
    return ManagedObject::stringValue(kReference);
}
void FTSourceRel::setReference(const QString& value)
{
    ManagedObject::setString(kReference, value);
}
QString FTSourceRel::itemDescribed() const
{
    return ManagedObject::stringValue(kItemDescribed);
}
void FTSourceRel::setItemDescribed(const QString& value)
{
    ManagedObject::setString(kItemDescribed, value);
}
QString FTSourceRel::notes() const
{
    return ManagedObject::stringValue(kNotes);
}
void FTSourceRel::setNotes(const QString& value)
{
    ManagedObject::setString(kNotes, value);
}
int FTSourceRel::certainty() const
{
    return int(ManagedObject::integerValue(kCertainty));
}
void FTSourceRel::setCertainty(int value)
{
    ManagedObject::setInteger(kCertainty, value);
}
QByteArray FTSourceRel::extraData() const
{
    return ManagedObject::dataValue(kExtraData);
}
void FTSourceRel::setExtraData(const QByteArray& value)
{
    ManagedObject::setData(kExtraData, value);
}
QDateTime FTSourceRel::lastChange() const
{
    return ManagedObject::dateValue(kLastChange);
}
void FTSourceRel::setLastChange(const QDateTime& value)
{
    ManagedObject::setDate(kLastChange, value);
}

FTSource* FTSourceRel::source() const
{
    return ManagedObject::object<FTSource>(kSource);
}
void FTSourceRel::setSource(FTSource* value)
{
    ManagedObject::setObject(kSource, value);
}
FTPerson* FTSourceRel::person() const
{
    return ManagedObject::object<FTPerson>(kPerson);
}
void FTSourceRel::setPerson(FTPerson* value)
{
    ManagedObject::setObject(kPerson, value);
}
FTEvent* FTSourceRel::event() const
{
    return ManagedObject::object<FTEvent>(kEvent);
}
void FTSourceRel::setEvent(FTEvent* value)
{
    ManagedObject::setObject(kEvent, value);
}
FTPicture* FTSourceRel::picture() const
{
    return ManagedObject::object<FTPicture>(kPicture);
}
void FTSourceRel::setPicture(FTPicture* value)
{
    ManagedObject::setObject(kPicture, value);
}
