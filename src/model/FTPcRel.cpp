#include "model/FTPcRel.h"

#include "model/FTPerson.h"

namespace {
const Key kPcRelType("pcRelType");
const Key kExtraData("extraData");
const Key kLastChange("lastChange");
const Key kParent("parent");
const Key kChild("child");
}

int FTPcRel::pcRelType() const
{
    return int(ManagedObject::integerValue(kPcRelType));
}
void FTPcRel::setPcRelType(int value)
{
    ManagedObject::setInteger(kPcRelType, value);
}
QByteArray FTPcRel::extraData() const
{
    return ManagedObject::dataValue(kExtraData);
}
void FTPcRel::setExtraData(const QByteArray& value)
{
    ManagedObject::setData(kExtraData, value);
}
QDateTime FTPcRel::lastChange() const
{
    return ManagedObject::dateValue(kLastChange);
}
void FTPcRel::setLastChange(const QDateTime& value)
{
    ManagedObject::setDate(kLastChange, value);
}

FTPerson* FTPcRel::parent() const
{
    return ManagedObject::object<FTPerson>(kParent);
}
void FTPcRel::setParent(FTPerson* value)
{
    ManagedObject::setObject(kParent, value);
}
FTPerson* FTPcRel::child() const
{
    return ManagedObject::object<FTPerson>(kChild);
}
void FTPcRel::setChild(FTPerson* value)
{
    ManagedObject::setObject(kChild, value);
}
