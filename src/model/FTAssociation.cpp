#include "model/FTAssociation.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"

#include "platform/Localizer.h"

namespace {
const Key kFromRelationship("fromRelationship");
const Key kNotes("notes");
const Key kLastChange("lastChange");
const Key kFromPerson("fromPerson");
const Key kToPerson("toPerson");
}

FTAssociation* FTAssociation::initInMoc(FTMoc* moc)
{
    auto* association = moc->insertObject<FTAssociation>();
    nameNewObjectAction(moc, LocalizedString("AddAssociation"));
    return association;
}

QString FTAssociation::fromRelationship() const
{
    return ManagedObject::stringValue(kFromRelationship);
}
void FTAssociation::setFromRelationship(const QString& value)
{
    ManagedObject::setString(kFromRelationship, value);
}
QString FTAssociation::notes() const
{
    return ManagedObject::stringValue(kNotes);
}
void FTAssociation::setNotes(const QString& value)
{
    ManagedObject::setString(kNotes, value);
}
QDateTime FTAssociation::lastChange() const
{
    return ManagedObject::dateValue(kLastChange);
}
void FTAssociation::setLastChange(const QDateTime& value)
{
    ManagedObject::setDate(kLastChange, value);
}

FTPerson* FTAssociation::fromPerson() const
{
    return ManagedObject::object<FTPerson>(kFromPerson);
}
void FTAssociation::setFromPerson(FTPerson* value)
{
    ManagedObject::setObject(kFromPerson, value);
}
FTPerson* FTAssociation::toPerson() const
{
    return ManagedObject::object<FTPerson>(kToPerson);
}
void FTAssociation::setToPerson(FTPerson* value)
{
    ManagedObject::setObject(kToPerson, value);
}
