#include "model/FTPcRel.h"

#include "model/FTPerson.h"

#include "model/FTMoc.h"
#include "model/FTProjectView.h"

#include "platform/Localizer.h"
#include "platform/Prompts.h"

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

// ---- Type --------------------------------------------------------------------------------------------------------

FTPcRel* FTPcRel::initInMoc(FTMoc* moc)
{
    auto* link = moc->insertObject<FTPcRel>();
    if (!moc->importThreadIsActive()) // the undo manager ignores names while importing
        nameNewObjectAction(moc, LocalizedString("AddPcRel"));
    return link;
}

void FTPcRel::setPcRelType(int value)
{
    // Older files wrote adoption as 3; it is never written again.
    ManagedObject::setInteger(kPcRelType, value == 3 ? kAdopted : value);
}

int FTPcRel::intPcRelType() const
{
    const int type = pcRelType();
    return type == 3 ? kAdopted : type;
}

QString FTPcRel::stringPcRelType() const
{
    switch (intPcRelType()) {
    case kNatural:
        return LocalizedString("Natural");
    case kStep:
        return LocalizedString("Step");
    case kFoster:
        return LocalizedString("Foster");
    case kAdopted:
        return LocalizedString("Adopted");
    case kNotRelated:
        return LocalizedString("Not Related");
    default:
        return LocalizedString("Unknown");
    }
}

void FTPcRel::setStringPcRelType(const QString& word)
{
    int type = 0;
    if (word == LocalizedString("Unknown"))
        type = kUnknown;
    else if (word == LocalizedString("Natural"))
        type = kNatural;
    else if (word == LocalizedString("Step"))
        type = kStep;
    else if (word == LocalizedString("Adopted"))
        type = kAdopted;
    else if (word == LocalizedString("Foster"))
        type = kFoster;
    else if (word == LocalizedString("Not Related"))
        type = kNotRelated;
    if (type == intPcRelType())
        return;
    const FTPerson* c = child();
    const FTPerson* p = parent();
    if (type == kNatural && c && p) {
        if (c->naturalMother() && p->isFemale()) {
            Prompts::current().message(QStringLiteral("%1 %2").arg(c->name(), LocalizedString("cannotMother")));
            return;
        }
        if (c->naturalFather() && p->isMale()) {
            Prompts::current().message(QStringLiteral("%1 %2").arg(c->name(), LocalizedString("cannotFather")));
            return;
        }
    }
    setPcRelType(type);
}

QString FTPcRel::parentType() const
{
    const FTPerson* p = parent();
    return p && p->isMale() ? LocalizedString("Father") : LocalizedString("Mother");
}

QString FTPcRel::childType() const
{
    const FTPerson* c = child();
    return c && c->isMale() ? LocalizedString("Son") : LocalizedString("Daughter");
}

QString FTPcRel::notes() const
{
    const QCborMap map = extraDataMap();
    return map.contains(QStringLiteral("notes")) ? map.value(QStringLiteral("notes")).toString() : QString();
}

void FTPcRel::setNotes(const QString& notes)
{
    setExtraDataValue(QStringLiteral("notes"), notes.isNull() ? QVariant() : QVariant(notes));
}

// ---- Key-value access ----------------------------------------------------------------------------------------------

namespace {
const QStringList& evidenceKeys()
{
    static const QStringList keys { "directEvidence", "indirectEvidence", "primaryInformation", "secondaryInformation",
        "originalSource", "derivativeSource" };
    return keys;
}
}

QVariant FTPcRel::valueForKey(const QString& key) const
{
    if (key == QLatin1String("intPcRelType"))
        return intPcRelType();
    if (key == QLatin1String("stringPcRelType"))
        return stringPcRelType();
    if (key == QLatin1String("parentType"))
        return parentType();
    if (key == QLatin1String("childType"))
        return childType();
    if (key == QLatin1String("notes"))
        return notes().isNull() ? QVariant() : QVariant(notes());
    if (key == QLatin1String("certainty"))
        return certainty();
    if (key == QLatin1String("evidenceAsString"))
        return evidenceAsString();
    if (evidenceKeys().contains(key))
        return evidenceValueForKey(key);
    return FTManagedObject::valueForKey(key);
}

void FTPcRel::setValueForKey(const QString& key, const QVariant& value)
{
    if (key == QLatin1String("pcRelType"))
        setPcRelType(value.toInt());
    else if (key == QLatin1String("stringPcRelType"))
        setStringPcRelType(value.toString());
    else if (key == QLatin1String("notes"))
        setNotes(value.isValid() ? value.toString() : QString());
    else if (key == QLatin1String("certainty"))
        setCertainty(value.toInt());
    else if (evidenceKeys().contains(key))
        setEvidenceValue(value.toBool(), key);
    else
        FTManagedObject::setValueForKey(key, value);
}

// ---- Relatives area ----------------------------------------------------------------------------------------------

void FTPcRel::keyDidChange(const Key& key)
{
    FTManagedObject::keyDidChange(key);
    if (key != kPcRelType && key != kParent && key != kChild)
        return;
    const FTMoc* m = moc();
    if (m && m->importThreadIsActive())
        return;
    FTProjectView::clearAncestorsSetsOfAllViews(context());
}
