#include "model/FTSourceRel.h"

#include "model/FTEvent.h"
#include "model/FTPerson.h"
#include "model/FTPicture.h"
#include "model/FTMoc.h"
#include "model/FTSource.h"
#include "model/FTSpouseRel.h"

#include "platform/FTLog.h"
#include "platform/Localizer.h"
#include "platform/MainThread.h"
#include "platform/NotificationCenter.h"
#include "platform/store/EntityDescription.h"
#include "platform/store/StoreSchema.h"

#include <QRegularExpression>
#include <QUrl>

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
    FTMoc* m = moc();
    if (!m || m->importThreadIsActive())
        return;
    // The next automatic citation of the active source offers the page reference typed last.
    m->setActiveSourcePageRef(m->activeSource() ? value : QString());
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
    FTMoc* m = moc();
    if (m && value && !m->importThreadIsActive())
        m->addRecentSource(value);
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

// ---- Behaviour -------------------------------------------------------------------------------------------------

FTSourceRel* FTSourceRel::initInMoc(FTMoc* moc)
{
    auto* citation = moc->insertObject<FTSourceRel>();
    if (!moc->importThreadIsActive()) // the undo manager ignores names while importing
        nameNewObjectAction(moc, LocalizedString(QStringLiteral("AddSourceCitation")));
    return citation;
}

FTSourceRel* FTSourceRel::initInMoc(FTMoc* moc, FTSource* source, FTManagedObject* owner, const QString& itemDescribed)
{
    FTSourceRel* citation = initInMoc(moc);
    citation->setSource(source);
    if (auto* person = exactOrDynamicCast<FTPerson>(owner)) {
        citation->setPerson(person);
    } else if (auto* event = exactOrDynamicCast<FTEvent>(owner)) {
        citation->setEvent(event);
        // So that the person's citations list it as well.
        if (auto* person = exactOrDynamicCast<FTPerson>(event->owner()))
            citation->setPerson(person);
    } else if (auto* picture = dynamic_cast<FTPicture*>(owner)) {
        citation->setPicture(picture);
    }
    citation->setItemDescribed(itemDescribed);
    if (source && source == moc->activeSource())
        citation->setReference(moc->activeSourcePageRef());
    return citation;
}

FTSourceRel* FTSourceRel::copyFor(FTManagedObject* owner) const
{
    FTMoc* m = owner ? owner->moc() : nullptr;
    FTSource* s = source();
    if (!m || (s && s->context() != m))
        return nullptr;
    FTSourceRel* copy = initInMoc(m, s, owner, itemDescribed());
    for (const QString& name : entity()->attributeNames())
        copy->ManagedObject::setValue(Key(name), ManagedObject::value(Key(name)));
    return copy;
}

int FTSourceRel::numericId() const
{
    static const QRegularExpression digits(QStringLiteral("\\d+"));
    const QString last = QUrl(objectURI()).path().section(QLatin1Char('/'), -1);
    const QRegularExpressionMatch m = digits.match(last);
    return m.hasMatch() ? m.captured().toInt() : 0;
}

FTManagedObject* FTSourceRel::owner() const
{
    if (FTPerson* p = person())
        return p;
    return event();
}

QString FTSourceRel::nameForSourceRefDialog() const
{
    if (const FTEvent* e = event())
        return e->nameForSourceRefDialog();
    return LocalizedString(QStringLiteral("SourceRelDialogTitle"));
}

QString FTSourceRel::lengthIndicator() const
{
    return notes().trimmed().isEmpty() ? QString() : QStringLiteral("*");
}

// Computed on every read: records stay in memory for the whole session, so a kept text would go on showing a
// person's or event's old name after it was changed.
QString FTSourceRel::whereUsedString() const
{
    const QString eventWord = LocalizedString(QStringLiteral("Event"));
    if (const FTEvent* e = event()) {
        if (const FTPerson* p = person())
            return QStringLiteral("%1: %2, %3").arg(eventWord, p->nameWithBirthAndDeathYears(), e->name());
        QString text;
        if (e->type() == FTEvent::MarriageEvent || e->type() == FTEvent::OtherMarriageEvent) {
            const QList<FTPerson*> partners = e->spouseRel() ? e->spouseRel()->partners() : QList<FTPerson*>();
            if (partners.size() != 2)
                return e->name();
            // The man first; a couple of two women or two men in the order the store gives.
            const FTPerson* first = e->spouseRel()->husband() ? e->spouseRel()->husband() : partners[0];
            text = QStringLiteral("%1: %2 <-> %3, %4")
                       .arg(eventWord, first->name(), e->spouseRel()->partnerOf(first)->name(), e->name());
        } else {
            const FTManagedObject* o = e->owner();
            const auto* ownerPerson = dynamic_cast<const FTPerson*>(o);
            const QString ownerName = ownerPerson ? ownerPerson->nameWithBirthAndDeathYears()
                                                  : (o ? o->valueForKey(QStringLiteral("name")).toString() : QString());
            text = QStringLiteral("%1: %2, %3").arg(eventWord, ownerName, e->name());
        }
        if (!e->date().isEmpty())
            text += QStringLiteral(" %1 %2").arg(
                LocalizedString(e->day() != 0 ? QStringLiteral("ConjunctiveOn") : QStringLiteral("ConjunctiveIn")),
                e->date());
        return text;
    }
    if (const FTPerson* p = person())
        return QStringLiteral("%1: %2").arg(LocalizedString(QStringLiteral("Person")), p->nameWithBirthAndDeathYears());
    if (const FTPicture* pic = picture())
        return QStringLiteral("%1: %2").arg(LocalizedString(QStringLiteral("Picture")), pic->name());
    const QString wrong = LocalizedString(QStringLiteral("SomethingWrong"));
    FTLog(QStringLiteral("whereUsedString: %1 (%2)").arg(wrong, objectURI()));
    return wrong;
}

void FTSourceRel::setValueForKey(const QString& key, const QVariant& value)
{
    if (key == QLatin1String("reference"))
        setReference(value.toString());
    else if (key == QLatin1String("source"))
        setSource(dynamic_cast<FTSource*>(ManagedObject::fromVariant(value)));
    else
        FTManagedObject::setValueForKey(key, value);
}

void FTSourceRel::prepareForDeletion()
{
    FTManagedObject::prepareForDeletion();
    // Posted also while an import runs; only the main thread's observers (the windows) listen, and a worker's
    // context is never theirs, so a worker posts nothing rather than reach them from its thread.
    if (MainThread::isMainThread())
        NotificationCenter::defaultCenter().post(QStringLiteral("SourceRelToBeDeleted"), this, moc());
}

void FTSourceRel::declareDerivedKeys(StoreSchema& schema)
{
    schema.entity(QString::fromLatin1(kEntityName))
        .derived(
            QStringLiteral("whereUsedString"),
            [](const ManagedObject* o) { return QVariant(static_cast<const FTSourceRel*>(o)->whereUsedString()); },
            {}, { QStringLiteral("itemDescribed") })
        .derived(QStringLiteral("numericId"),
            [](const ManagedObject* o) { return QVariant(static_cast<const FTSourceRel*>(o)->numericId()); });
}
