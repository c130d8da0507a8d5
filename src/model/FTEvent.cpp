#include "model/FTEvent.h"

#include "model/Dates.h"
#include "model/FTEventType.h"
#include "model/FTMoc.h"
#include "model/ModelFlags.h"
#include "model/FTPerson.h"
#include "model/FTSourceRel.h"
#include "model/FTSpouseRel.h"

#include "platform/FTLog.h"
#include "platform/NotificationCenter.h"
#include "platform/Prompts.h"

#include <QSet>
#include <QUrl>

#include <algorithm>
#include <iterator>

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
QString FTEvent::notes() const
{
    return ManagedObject::stringValue(kNotes);
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

// ---- Kinds of event ---------------------------------------------------------------------------------------------

namespace {
struct Kind {
    int type;
    const char* entity;
    const char* subtype;
    const char* undoName;
};
const Kind kKinds[] = {
    {FTEvent::BirthEvent, "BirthEvent", "BIRT", "Add Birth Event"},
    {FTEvent::DeathEvent, "DeathEvent", "DEAT", "Add Death Event"},
    {FTEvent::MarriageEvent, "MarriageEvent", "MARR", "Add Marriage Event"},
    {FTEvent::OtherPersonalEvent, "OtherPersonalEvent", "EVEN", "Add Other Personal Event"},
    {FTEvent::OtherMarriageEvent, "OtherMarriageEvent", "EVEN", "Add Other Marriage Event"},
};

const Kind* kindOf(int type)
{
    for (const Kind& k : kKinds)
        if (k.type == type)
            return &k;
    return nullptr;
}

bool ownedByPerson(int type)
{
    return type == FTEvent::BirthEvent || type == FTEvent::DeathEvent || type == FTEvent::OtherPersonalEvent;
}

bool ownedByCouple(int type)
{
    return type == FTEvent::MarriageEvent || type == FTEvent::OtherMarriageEvent;
}
}

struct FTEvent::ExportIndex {
    QSet<FTSourceRel*> sourceRels;
};

FTEvent::FTEvent() = default;
FTEvent::~FTEvent() = default;

QString FTEvent::entityNameForType(int eventType)
{
    const Kind* k = kindOf(eventType);
    return k ? QString::fromLatin1(k->entity) : QString();
}

bool FTEvent::importing() const
{
    const FTMoc* m = moc();
    return m && m->importThreadIsActive();
}

void FTEvent::post(const QString& name, const void* object) const
{
    NotificationCenter::defaultCenter().post(name, object, moc());
}

// ---- Construction -----------------------------------------------------------------------------------------------

FTEvent* FTEvent::initInMoc(FTMoc* moc, int eventType)
{
    const Kind* kind = kindOf(eventType);
    return initInMoc(moc, eventType, kind ? QString::fromLatin1(kind->subtype) : QString());
}

FTEvent* FTEvent::initInMoc(FTMoc* moc, int eventType, const QString& subtype)
{
    const Kind* kind = kindOf(eventType);
    if (!kind) {
        Prompts::current().message(QStringLiteral("FTEvent :: initInMoc - unknown eventType = %1").arg(eventType));
        return nullptr;
    }
    const bool importing = moc->importThreadIsActive();
    // Named before the first values are written, which would otherwise name the action after themselves.
    if (!importing)
        nameNewObjectAction(moc, QString::fromLatin1(kind->undoName));
    // The entity names as texts once, not for each of an import's events.
    static const QString kEntities[std::size(kKinds)] = {
        QString::fromLatin1(kKinds[0].entity), QString::fromLatin1(kKinds[1].entity),
        QString::fromLatin1(kKinds[2].entity), QString::fromLatin1(kKinds[3].entity),
        QString::fromLatin1(kKinds[4].entity)};
    auto* event = static_cast<FTEvent*>(moc->insertObject(kEntities[kind - kKinds]));
    event->ManagedObject::setString(kSubtype, subtype);
    event->ManagedObject::setInteger(kType, eventType);
    event->ManagedObject::setString(kDate, QString(""));
    event->ManagedObject::setString(kName, QString(""));
    if (importing)
        return event;
    // Linked at once, so that a new event never waits for the event-type repair.
    event->linkEventTypeForSubtype();
    event->assignNumericId(FTCounter::Event);
    return event;
}

FTEvent* FTEvent::initInMoc(FTMoc* moc, int eventType, FTManagedObject* owner, const QString& subtype)
{
    FTEvent* event = initInMoc(moc, eventType);
    if (!event)
        return nullptr;
    event->setOwner(owner);
    // An event always keeps a tag: an empty one would be written as an empty GEDCOM line.
    if (!subtype.isEmpty())
        event->setSubtype(subtype);
    if (!moc->importThreadIsActive())
        if (FTSource* active = moc->activeSource())
            event->addReferenceToSource(active);
    return event;
}

// ---- Values with side effects -----------------------------------------------------------------------------------

void FTEvent::setOwner(FTManagedObject* owner)
{
    const int t = type();
    const char* ownerEntity = ownedByPerson(t) ? FTPerson::kEntityName
        : ownedByCouple(t)                     ? FTSpouseRel::kEntityName
                                               : nullptr;
    if (!ownerEntity)
        return;
    if (owner && owner->entityName() != QLatin1String(ownerEntity)) {
        FTLog(QStringLiteral("FTEvent::setOwner - a %1 cannot own a %2").arg(owner->entityName(), entityName()));
        return;
    }
    ManagedObject::setObject(ownedByPerson(t) ? kPerson : kSpouseRel, owner);
}

FTManagedObject* FTEvent::owner() const
{
    const int t = type();
    if (ownedByPerson(t))
        return person();
    if (ownedByCouple(t))
        return spouseRel();
    return nullptr;
}

QString FTEvent::name() const
{
    const QString stored = ManagedObject::stringValue(kName);
    return stored.isEmpty() ? subtypeName() : stored;
}

void FTEvent::setName(const QString& value)
{
    FTMoc* m = moc();
    const bool listsFollow = m && !m->importThreadIsActive();
    if (listsFollow)
        if (const QString old = ManagedObject::stringValue(kName); !old.isEmpty())
            m->removeEventName(old, subtype());
    ManagedObject::setString(kName, value);
    if (!listsFollow)
        return;
    if (!value.isEmpty())
        m->addEventName(value, subtype());
    post(QStringLiteral("EventNameOrDateChanged"), this);
}

void FTEvent::setSubtype(const QString& value)
{
    FTMoc* m = moc();
    const bool listsFollow = m && !m->importThreadIsActive();
    const QString ownName = ManagedObject::stringValue(kName);
    const QString old = subtype();
    if (listsFollow && !old.isEmpty())
        m->removeEventName(ownName, old);
    ManagedObject::setString(kSubtype, value);
    if (!listsFollow)
        return;
    if (!ownName.isEmpty())
        m->addEventName(ownName, value);
    linkEventTypeForSubtype();
}

void FTEvent::linkEventTypeForSubtype()
{
    const FTMoc* m = moc();
    if (!m)
        return;
    if (FTEventType* t = m->eventTypeForEventGedcomCode(subtype()))
        setEventType(t);
}

QString FTEvent::date() const
{
    if (gHebrewDates)
        return hebrewDate();
    const QString stored = ManagedObject::stringValue(kDate);
    return stored.isNull() ? QStringLiteral("") : stored;
}

void FTEvent::setDate(const QString& value)
{
    const bool quiet = importing();
    const std::optional<DateValue> v = Dates::getDateComponents(value, {.quiet = quiet});
    if (!v) {
        // Refused as a whole: the text and the numbers stay as they were, so the event keeps sorting and counting
        // by the date it still shows.
        if (quiet) {
            FTLog(QStringLiteral("FTEvent::setDate : invalid Date = %1").arg(value));
            return;
        }
        Prompts::current().message(QStringLiteral("FTEvent::setDate : invalid Date = %1").arg(value));
        post(QStringLiteral("EventNameOrDateChanged"), this);
        return;
    }
    const int t = type();
    ManagedObject::setInteger(kQual, v->qual());
    ManagedObject::setInteger(kDay, v->day());
    ManagedObject::setInteger(kMonth, v->month());
    ManagedObject::setInteger(kYear, v->year());
    ManagedObject::setString(kDate, v->eventDateText(t == DeathEvent || t == MarriageEvent));
    if (quiet || !moc())
        return;
    if (t == BirthEvent || t == DeathEvent) {
        FTPerson* p = person();
        if (p && !checkOwnersBirthAndDeathDates(120))
            Prompts::current().message(
                QStringLiteral("Warning - %1's birth and death dates are inconsistent.").arg(p->name()));
        if (p)
            post(QStringLiteral("PersonNameOrDateChanged"), p);
    } else if (t == MarriageEvent) {
        if (FTSpouseRel* couple = spouseRel())
            for (FTPerson* partner : couple->partners())
                post(QStringLiteral("PersonNameOrDateChanged"), partner);
    }
    post(QStringLiteral("EventNameOrDateChanged"), this);
}

void FTEvent::setPlace(const QString& value)
{
    FTMoc* m = moc();
    const bool listsFollow = m && !m->importThreadIsActive();
    if (listsFollow)
        m->removePlaceName(place());
    ManagedObject::setString(kPlace, value);
    if (!listsFollow)
        return;
    m->addPlaceName(value);
    post(QStringLiteral("BDMInfoChanged"), owner());
}

void FTEvent::setNotes(const QString& value)
{
    ManagedObject::setString(kNotes, value);
    if (moc() && !importing())
        post(QStringLiteral("NotesOrCommentsChanged"), this);
}

// ---- Citations gathered while a GEDCOM file is written ----------------------------------------------------------

void FTEvent::addSourceRelToSourceRelsSet(FTSourceRel* sourceRel)
{
    if (!m_export)
        m_export = std::make_unique<ExportIndex>();
    if (sourceRel)
        m_export->sourceRels.insert(sourceRel);
}

QList<FTSourceRel*> FTEvent::sourceRelsArrayFromSourceRelsSet() const
{
    if (!m_export)
        return {};
    QList<FTSourceRel*> out(m_export->sourceRels.begin(), m_export->sourceRels.end());
    // A citation's number is its row key.
    std::sort(out.begin(), out.end(),
              [](const FTSourceRel* a, const FTSourceRel* b) { return a->primaryKey() < b->primaryKey(); });
    return out;
}

void FTEvent::removeGedcomExportIndexes()
{
    m_export.reset();
}

// ---- By name ----------------------------------------------------------------------------------------------------

QVariant FTEvent::valueForKey(const QString& key) const
{
    using Getter = QVariant (*)(const FTEvent*);
    static const QHash<QString, Getter> kGetters = {
        {"name", [](const FTEvent* e) -> QVariant { return e->name(); }},
        {"date", [](const FTEvent* e) -> QVariant { return e->date(); }},
        {"owner", [](const FTEvent* e) -> QVariant { return toVariant(e->owner()); }},
        {"ownerName", [](const FTEvent* e) -> QVariant { return e->ownerName(); }},
        {"familyName", [](const FTEvent* e) -> QVariant { return e->familyName(); }},
        {"subtypeName", [](const FTEvent* e) -> QVariant { return e->subtypeName(); }},
        {"lDate", [](const FTEvent* e) -> QVariant { return qint64(e->lDate()); }},
        {"lbDate", [](const FTEvent* e) -> QVariant { return qint64(e->lbDate()); }},
        {"lmDate", [](const FTEvent* e) -> QVariant { return qint64(e->lmDate()); }},
        {"lDateForEventsListSort", [](const FTEvent* e) -> QVariant { return e->lDateForEventsListSort(); }},
        {"ownersAgeAtEvent", [](const FTEvent* e) -> QVariant { return e->ownersAgeAtEvent(); }},
        {"isEmptyEvent", [](const FTEvent* e) -> QVariant { return e->isEmptyEvent(); }},
        {"dateWithWeekday", [](const FTEvent* e) -> QVariant { return e->dateWithWeekday(); }},
        {"hebrewDate", [](const FTEvent* e) -> QVariant { return e->hebrewDate(); }},
        {"eventDescription", [](const FTEvent* e) -> QVariant { return e->eventDescription(); }},
        {"eventDescription_full", [](const FTEvent* e) -> QVariant { return e->eventDescription_full(); }},
        {"nameForSourceRefDialog", [](const FTEvent* e) -> QVariant { return e->nameForSourceRefDialog(); }},
        {"ownersNumericIdAsString", [](const FTEvent* e) -> QVariant { return e->ownersNumericIdAsString(); }},
        {"sourceReferenceNumbers", [](const FTEvent* e) -> QVariant { return e->sourceReferenceNumbers(); }},
        {"attributesBeingMerged", [](const FTEvent* e) -> QVariant { return e->attributesBeingMerged(); }},
        {"latitude", [](const FTEvent* e) -> QVariant { return e->latitude(); }},
        {"longitude", [](const FTEvent* e) -> QVariant { return e->longitude(); }},
        {"googleMapUrl",
         [](const FTEvent* e) -> QVariant {
             const QUrl url = e->googleMapUrl();
             return url.isEmpty() ? QVariant() : QVariant(url);
         }},
        {"coordinates", [](const FTEvent* e) -> QVariant { return e->coordinates(); }},
        {"googleMapAddress", [](const FTEvent* e) -> QVariant { return e->googleMapAddress(); }},
        {"gedcomDate", [](const FTEvent* e) -> QVariant { return e->gedcomDate(); }},
        {"ldsStatus", [](const FTEvent* e) -> QVariant { return e->ldsStatus(); }},
        {"ldsTempleCode", [](const FTEvent* e) -> QVariant { return e->ldsTempleCode(); }},
        {"ldsStatusAndTempleCode", [](const FTEvent* e) -> QVariant { return e->ldsStatusAndTempleCode(); }},
    };
    if (const auto it = kGetters.constFind(key); it != kGetters.constEnd())
        return (*it)(this);
    return FTManagedObject::valueForKey(key);
}

void FTEvent::setValueForKey(const QString& key, const QVariant& value)
{
    using Setter = void (*)(FTEvent*, const QVariant&);
    static const QHash<QString, Setter> kSetters = {
        {"date", [](FTEvent* e, const QVariant& v) { e->setDate(v.toString()); }},
        {"name", [](FTEvent* e, const QVariant& v) { e->setName(v.toString()); }},
        {"subtype", [](FTEvent* e, const QVariant& v) { e->setSubtype(v.toString()); }},
        {"place", [](FTEvent* e, const QVariant& v) { e->setPlace(v.toString()); }},
        {"notes", [](FTEvent* e, const QVariant& v) { e->setNotes(v.toString()); }},
        {"owner", [](FTEvent* e, const QVariant& v) { e->setOwner(dynamic_cast<FTManagedObject*>(fromVariant(v))); }},
        {"latitude", [](FTEvent* e, const QVariant& v) { e->setLatitude(v.toFloat()); }},
        {"longitude", [](FTEvent* e, const QVariant& v) { e->setLongitude(v.toFloat()); }},
        {"googleMapUrl",
         [](FTEvent* e, const QVariant& v) {
             e->saveGoogleMapUrl(v.typeId() == QMetaType::QUrl ? v.toUrl().toString() : v.toString());
         }},
        {"gedcomDate", [](FTEvent* e, const QVariant& v) { e->setGedcomDate(v.toString()); }},
        {"ldsStatus", [](FTEvent* e, const QVariant& v) { e->setLdsStatus(v.toString()); }},
        {"ldsTempleCode", [](FTEvent* e, const QVariant& v) { e->setLdsTempleCode(v.toString()); }},
    };
    if (const auto it = kSetters.constFind(key); it != kSetters.constEnd())
        (*it)(this, value);
    else
        FTManagedObject::setValueForKey(key, value);
}
