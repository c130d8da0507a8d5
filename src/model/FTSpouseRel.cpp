#include "model/FTSpouseRel.h"

#include "model/FTEvent.h"
#include "model/FTPerson.h"

namespace {
const Key kNumericId("numericId");
const Key kSeqNo("seqNo");
const Key kUserId("userId");
const Key kLastChange("lastChange");
const Key kPartners("partners");
const Key kMarriage("marriage");
const Key kOtherMarriageEvents("otherMarriageEvents");
}

int FTSpouseRel::numericId() const
{
    return int(ManagedObject::integerValue(kNumericId));
}
void FTSpouseRel::setNumericId(int value)
{
    ManagedObject::setInteger(kNumericId, value);
}
int FTSpouseRel::seqNo() const
{
    return int(ManagedObject::integerValue(kSeqNo));
}
void FTSpouseRel::setSeqNo(int value)
{
    ManagedObject::setInteger(kSeqNo, value);
}
QString FTSpouseRel::userId() const
{
    return ManagedObject::stringValue(kUserId);
}
void FTSpouseRel::setUserId(const QString& value)
{
    ManagedObject::setString(kUserId, value);
}
QDateTime FTSpouseRel::lastChange() const
{
    return ManagedObject::dateValue(kLastChange);
}
void FTSpouseRel::setLastChange(const QDateTime& value)
{
    ManagedObject::setDate(kLastChange, value);
}

QList<FTPerson*> FTSpouseRel::partners() const
{
    return ManagedObject::objectList<FTPerson>(kPartners);
}
void FTSpouseRel::addPartnersObject(FTPerson* value)
{
    ManagedObject::addObject(kPartners, value);
}
void FTSpouseRel::removePartnersObject(FTPerson* value)
{
    ManagedObject::removeObject(kPartners, value);
}
FTEvent* FTSpouseRel::marriage() const
{
    return ManagedObject::object<FTEvent>(kMarriage);
}
void FTSpouseRel::setMarriage(FTEvent* value)
{
    ManagedObject::setObject(kMarriage, value);
}
QList<FTEvent*> FTSpouseRel::otherMarriageEvents() const
{
    return ManagedObject::objectList<FTEvent>(kOtherMarriageEvents);
}
void FTSpouseRel::addOtherMarriageEventsObject(FTEvent* value)
{
    ManagedObject::addObject(kOtherMarriageEvents, value);
}
void FTSpouseRel::removeOtherMarriageEventsObject(FTEvent* value)
{
    ManagedObject::removeObject(kOtherMarriageEvents, value);
}
