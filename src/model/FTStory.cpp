#include "model/FTStory.h"

#include "model/FTPerson.h"

namespace {
const Key kData("data");
const Key kLastChange("lastChange");
const Key kPerson("person");
}

QByteArray FTStory::data() const
{
    return ManagedObject::dataValue(kData);
}
void FTStory::setData(const QByteArray& value)
{
    ManagedObject::setData(kData, value);
}
QDateTime FTStory::lastChange() const
{
    return ManagedObject::dateValue(kLastChange);
}
void FTStory::setLastChange(const QDateTime& value)
{
    ManagedObject::setDate(kLastChange, value);
}

FTPerson* FTStory::person() const
{
    return ManagedObject::object<FTPerson>(kPerson);
}
void FTStory::setPerson(FTPerson* value)
{
    ManagedObject::setObject(kPerson, value);
}
