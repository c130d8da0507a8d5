#include "model/FTModelDefaults.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/FTProjectView.h"

namespace {
const Key kMaxPersonId("maxPersonId");
const Key kMaxEventId("maxEventId");
const Key kMaxSpouseRelId("maxSpouseRelId");
const Key kMaxPictureId("maxPictureId");
const Key kMaxSourceId("maxSourceId");
const Key kExtraData("extraData");
const Key kFocalPerson("focalPerson");
const Key kSelectedPerson("selectedPerson");
const Key kCurrentView("currentView");
}

FTModelDefaults* FTModelDefaults::initInMoc(FTMoc* moc)
{
    auto* defaults = moc->insertObject<FTModelDefaults>();
    for (const Key* k : {&kMaxPersonId, &kMaxEventId, &kMaxSpouseRelId, &kMaxPictureId, &kMaxSourceId})
        defaults->setPrimitiveValue(*k, 0);
    return defaults;
}

static const Key& counterKey(FTCounter counter)
{
    switch (counter) {
    case FTCounter::Person:
        return kMaxPersonId;
    case FTCounter::Event:
        return kMaxEventId;
    case FTCounter::SpouseRel:
        return kMaxSpouseRelId;
    case FTCounter::Picture:
        return kMaxPictureId;
    case FTCounter::Source:
        break;
    }
    return kMaxSourceId;
}

int FTModelDefaults::counter(FTCounter counter) const
{
    return int(integerValue(counterKey(counter)));
}

int FTModelDefaults::takeNextId(FTCounter c)
{
    const int next = counter(c) + 1;
    setInteger(counterKey(c), next);
    return next;
}

int FTModelDefaults::maxPersonId() const
{
    return int(ManagedObject::integerValue(kMaxPersonId));
}
void FTModelDefaults::setMaxPersonId(int value)
{
    ManagedObject::setInteger(kMaxPersonId, value);
}
int FTModelDefaults::maxEventId() const
{
    return int(ManagedObject::integerValue(kMaxEventId));
}
void FTModelDefaults::setMaxEventId(int value)
{
    ManagedObject::setInteger(kMaxEventId, value);
}
int FTModelDefaults::maxSpouseRelId() const
{
    return int(ManagedObject::integerValue(kMaxSpouseRelId));
}
void FTModelDefaults::setMaxSpouseRelId(int value)
{
    ManagedObject::setInteger(kMaxSpouseRelId, value);
}
int FTModelDefaults::maxPictureId() const
{
    return int(ManagedObject::integerValue(kMaxPictureId));
}
void FTModelDefaults::setMaxPictureId(int value)
{
    ManagedObject::setInteger(kMaxPictureId, value);
}
int FTModelDefaults::maxSourceId() const
{
    return int(ManagedObject::integerValue(kMaxSourceId));
}
void FTModelDefaults::setMaxSourceId(int value)
{
    ManagedObject::setInteger(kMaxSourceId, value);
}
QByteArray FTModelDefaults::extraData() const
{
    return ManagedObject::dataValue(kExtraData);
}
void FTModelDefaults::setExtraData(const QByteArray& value)
{
    ManagedObject::setData(kExtraData, value);
}

FTPerson* FTModelDefaults::focalPerson() const
{
    return ManagedObject::object<FTPerson>(kFocalPerson);
}
void FTModelDefaults::setFocalPerson(FTPerson* value)
{
    ManagedObject::setObject(kFocalPerson, value);
}
FTPerson* FTModelDefaults::selectedPerson() const
{
    return ManagedObject::object<FTPerson>(kSelectedPerson);
}
void FTModelDefaults::setSelectedPerson(FTPerson* value)
{
    willChangeValueForKey(kSelectedPerson);
    setPrimitiveValue(kSelectedPerson, toVariant(value));
    didChangeValueForKey(kSelectedPerson);
}
FTProjectView* FTModelDefaults::currentView() const
{
    return ManagedObject::object<FTProjectView>(kCurrentView);
}
void FTModelDefaults::setCurrentView(FTProjectView* value)
{
    ManagedObject::setObject(kCurrentView, value);
}
