#include "model/FTSource.h"

#include "model/FTPicture.h"
#include "model/FTSourceRel.h"

namespace {
const Key kNumericId("numericId");
const Key kType("type");
const Key kTitle("title");
const Key kAbbreviatedTitle("abbreviatedTitle");
const Key kAuthor("author");
const Key kPublisher("publisher");
const Key kDate("date");
const Key kLocation("location");
const Key kNotes("notes");
const Key kUserId("userId");
const Key kFlags("flags");
const Key kLastChange("lastChange");
const Key kSourceRels("sourceRels");
const Key kPicture("picture");
}

int FTSource::numericId() const
{
    return int(ManagedObject::integerValue(kNumericId));
}
void FTSource::setNumericId(int value)
{
    ManagedObject::setInteger(kNumericId, value);
}
QString FTSource::type() const
{
    return ManagedObject::stringValue(kType);
}
void FTSource::setType(const QString& value)
{
    ManagedObject::setString(kType, value);
}
QString FTSource::title() const
{
    return ManagedObject::stringValue(kTitle);
}
void FTSource::setTitle(const QString& value)
{
    ManagedObject::setString(kTitle, value);
}
QString FTSource::abbreviatedTitle() const
{
    return ManagedObject::stringValue(kAbbreviatedTitle);
}
void FTSource::setAbbreviatedTitle(const QString& value)
{
    ManagedObject::setString(kAbbreviatedTitle, value);
}
QString FTSource::author() const
{
    return ManagedObject::stringValue(kAuthor);
}
void FTSource::setAuthor(const QString& value)
{
    ManagedObject::setString(kAuthor, value);
}
QString FTSource::publisher() const
{
    return ManagedObject::stringValue(kPublisher);
}
void FTSource::setPublisher(const QString& value)
{
    ManagedObject::setString(kPublisher, value);
}
QString FTSource::date() const
{
    return ManagedObject::stringValue(kDate);
}
void FTSource::setDate(const QString& value)
{
    ManagedObject::setString(kDate, value);
}
QString FTSource::location() const
{
    return ManagedObject::stringValue(kLocation);
}
void FTSource::setLocation(const QString& value)
{
    ManagedObject::setString(kLocation, value);
}
QString FTSource::notes() const
{
    return ManagedObject::stringValue(kNotes);
}
void FTSource::setNotes(const QString& value)
{
    ManagedObject::setString(kNotes, value);
}
QString FTSource::userId() const
{
    return ManagedObject::stringValue(kUserId);
}
void FTSource::setUserId(const QString& value)
{
    ManagedObject::setString(kUserId, value);
}
int FTSource::flags() const
{
    return int(ManagedObject::integerValue(kFlags));
}
void FTSource::setFlags(int value)
{
    ManagedObject::setInteger(kFlags, value);
}
QDateTime FTSource::lastChange() const
{
    return ManagedObject::dateValue(kLastChange);
}
void FTSource::setLastChange(const QDateTime& value)
{
    ManagedObject::setDate(kLastChange, value);
}

QList<FTSourceRel*> FTSource::sourceRels() const
{
    return ManagedObject::objectList<FTSourceRel>(kSourceRels);
}
void FTSource::addSourceRelsObject(FTSourceRel* value)
{
    ManagedObject::addObject(kSourceRels, value);
}
void FTSource::removeSourceRelsObject(FTSourceRel* value)
{
    ManagedObject::removeObject(kSourceRels, value);
}
FTPicture* FTSource::picture() const
{
    return ManagedObject::object<FTPicture>(kPicture);
}
void FTSource::setPicture(FTPicture* value)
{
    ManagedObject::setObject(kPicture, value);
}
