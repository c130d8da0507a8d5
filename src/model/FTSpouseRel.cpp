#include "model/FTSpouseRel.h"

#include "model/EventTypesVocabulary.h"
#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTPerson.h"

#include "platform/Localizer.h"

#include <QSet>

#include <algorithm>

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

// ---- Behaviour ---------------------------------------------------------------------------------------------------

FTSpouseRel* FTSpouseRel::initInMoc(FTMoc* moc)
{
    auto* couple = moc->insertObject<FTSpouseRel>();
    if (!moc->importThreadIsActive()) // the undo manager ignores names while importing
        nameNewObjectAction(moc, LocalizedString("AddSpouse"));
    couple->assignNumericId(FTCounter::SpouseRel);
    return couple;
}

FTPerson* FTSpouseRel::husband() const
{
    for (FTPerson* p : partners())
        if (p->isMale())
            return p;
    return nullptr;
}

FTPerson* FTSpouseRel::wife() const
{
    for (FTPerson* p : partners())
        if (p->isFemale())
            return p;
    return nullptr;
}

FTPerson* FTSpouseRel::partnerOf(const FTPerson* person) const
{
    const QList<FTPerson*> both = partners();
    if (both.size() != 2)
        return nullptr;
    return both[0] == person ? both[1] : both[0];
}

quint32 FTSpouseRel::firstChildsBirthDate() const
{
    const FTPerson* father = nullptr;
    const FTPerson* mother = nullptr;
    for (const FTPerson* p : partners()) {
        if (p->isMale())
            father = p;
        else if (p->isFemale())
            mother = p;
    }
    if (!father || !mother)
        return 0;
    // A mother without children settles it before the father's (possibly long) list is sorted.
    const QList<FTPerson*> mothersChildren = mother->naturalChildren();
    if (mothersChildren.isEmpty())
        return 0;
    const QSet<const FTPerson*> hers(mothersChildren.cbegin(), mothersChildren.cend());
    for (const FTPerson* child : father->naturalChildren())
        if (hers.contains(child))
            return child->birth() ? child->birth()->lDate() : 0;
    return 0;
}

quint32 FTSpouseRel::lmDate() const
{
    return marriage() ? marriage()->lmDate() : firstChildsBirthDate();
}

QString FTSpouseRel::marriageStatusString() const
{
    QList<FTEvent*> events = otherMarriageEvents();
    if (FTEvent* m = marriage())
        events << m;
    if (events.isEmpty())
        return LocalizedString("NoMarriage");
    std::stable_sort(events.begin(), events.end(),
        [](const FTEvent* a, const FTEvent* b) { return a->lDate() < b->lDate(); });
    const FTEvent* latest = events.last();
    if (latest->subtype() == QLatin1String("EVEN"))
        return latest->name();
    const QMap<QString, QString> vocabulary = EventTypesVocabulary::dictionary(240);
    if (!vocabulary.contains(latest->subtype()))
        return QString();
    const QString name = vocabulary.value(latest->subtype());
    return name == LocalizedString("Marriage") ? LocalizedString("Married") : name;
}

QList<FTEvent*> FTSpouseRel::otherMarriageEventsArray() const
{
    QList<FTEvent*> events = otherMarriageEvents();
    std::stable_sort(events.begin(), events.end(), [](const FTEvent* a, const FTEvent* b) {
        return std::tuple(a->year(), a->month(), a->day()) < std::tuple(b->year(), b->month(), b->day());
    });
    return events;
}

QList<FTEvent*> FTSpouseRel::otherMarriageEventsWithSubtype(const QString& subtype) const
{
    QList<FTEvent*> out;
    for (FTEvent* e : otherMarriageEvents())
        if (e->subtype() == subtype)
            out << e;
    return out;
}

void FTSpouseRel::setValueForKeyPath(const QString& keyPath, const QVariant& value)
{
    const qsizetype dot = keyPath.indexOf('.');
    if (dot < 0) {
        setValueForKey(keyPath, value);
        return;
    }
    const QString first = keyPath.left(dot);
    if (first == QLatin1String("marriage") && !marriage() && moc())
        setMarriage(FTEvent::initInMoc(moc(), FTEvent::MarriageEvent, this, QStringLiteral("MARR")));
    if (ManagedObject* target = ManagedObject::fromVariant(valueForKey(first)))
        target->setValueForKey(keyPath.mid(dot + 1), value);
}

QVariant FTSpouseRel::valueForKey(const QString& key) const
{
    if (key == QLatin1String("husband"))
        return toVariant(husband());
    if (key == QLatin1String("wife"))
        return toVariant(wife());
    if (key == QLatin1String("marriageStatusString"))
        return marriageStatusString();
    if (key == QLatin1String("firstChildsBirthDate"))
        return qint64(firstChildsBirthDate());
    if (key == QLatin1String("lmDate"))
        return qint64(lmDate());
    if (key == QLatin1String("otherMarriageEventsArray")) {
        QList<ManagedObject*> out;
        for (FTEvent* e : otherMarriageEventsArray())
            out << e;
        return QVariant::fromValue(out);
    }
    return FTManagedObject::valueForKey(key);
}

void FTSpouseRel::addEventToOtherMarriageEventsIndex(FTEvent* event)
{
    if (!m_otherMarriageEventsIndex)
        m_otherMarriageEventsIndex = std::make_unique<QSet<FTEvent*>>();
    if (event)
        m_otherMarriageEventsIndex->insert(event);
}
