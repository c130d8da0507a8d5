#include "model/FTEvent.h"

#include "model/Dates.h"
#include "model/EventTypesVocabulary.h"
#include "model/FTEventType.h"
#include "model/FTPerson.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"
#include "model/FTSpouseRel.h"

#include "platform/Localizer.h"

#include <QDate>
#include <QLocale>

#include <algorithm>

namespace {
QString nonNull(const QString& s)
{
    return s.isNull() ? QStringLiteral("") : s;
}
}

QString FTEvent::subtypeName() const
{
    const QString vocabulary = EventTypesVocabulary::nameForTag(subtype());
    if (!vocabulary.isEmpty())
        return vocabulary;
    switch (type()) {
    case BirthEvent: return QStringLiteral("Birth");
    case DeathEvent: return QStringLiteral("Death");
    case MarriageEvent: return QStringLiteral("Marriage");
    case OtherPersonalEvent: return QStringLiteral("Other Personal Event");
    case OtherMarriageEvent: return QStringLiteral("Other Marriage Event");
    default: return QStringLiteral("??");
    }
}

quint32 FTEvent::lDate() const
{
    return Dates::getLongDate(qual(), day(), month(), year());
}

quint32 FTEvent::lbDate() const
{
    const quint32 key = lDate();
    if (key != 0 || type() != BirthEvent)
        return key;
    const FTPerson* child = person();
    FTPerson* father = child ? child->naturalFather() : nullptr;
    FTPerson* mother = child ? child->naturalMother() : nullptr;
    if (!father || !mother)
        return 0;
    for (const FTSpouseRel* couple : father->spouseRels()) {
        if (!couple->partners().contains(mother))
            continue;
        const FTEvent* marriage = couple->marriage();
        return marriage ? marriage->lDate() : 0;
    }
    return 0;
}

quint32 FTEvent::lmDate() const
{
    const quint32 key = lDate();
    if (key != 0 || type() != MarriageEvent)
        return key;
    const FTSpouseRel* couple = spouseRel();
    return couple ? couple->firstChildsBirthDate() : 0;
}

qint64 FTEvent::lDateForEventsListSort() const
{
    const int y = year(), m = month(), d = day();
    qint64 key = (qint64(y) << 16) + (m << 8) + d;
    if (qual() == DateValue::After) {
        if (y && !m && !d)
            key += qint64(1) << 16;
        else if (m && !d)
            key += 1 << 8;
        else if (m && d)
            key += 1;
    }
    if (key == 0) {
        static const QStringList kLastWhenUndated = {"DEAT", "BURI", "CREM", "WILL", "RETI", "PROB"};
        if (kLastWhenUndated.contains(subtype()))
            return Dates::getLongDate(0, 1, 1, 10000);
    }
    return key;
}

int FTEvent::yearsSince(const FTEvent* other) const
{
    if (!other || other->year() == 0 || other->year() > year())
        return 0;
    int n = year() - other->year();
    if (month() != 0 && n >= 1) {
        if (other->month() > month() || (other->month() == month() && day() != 0 && other->day() > day()))
            --n;
    }
    return n;
}

int FTEvent::ownersAgeAtEvent() const
{
    const FTPerson* p = person();
    return p ? yearsSince(p->birth()) : 0;
}

bool FTEvent::checkOwnersBirthAndDeathDates(int maximumYears) const
{
    if (type() != BirthEvent && type() != DeathEvent)
        return true;
    const FTPerson* p = person();
    const FTEvent* birth = p ? p->birth() : (type() == BirthEvent ? this : nullptr);
    const FTEvent* death = p ? p->death() : (type() == DeathEvent ? this : nullptr);
    const qint64 b = birth ? birth->lDate() : 0;
    qint64 d = death ? death->lDate() : 0;
    if (b == 0 || d == 0)
        return true;
    if (death->month() == 0)
        d += 12 << 8;
    if (death->day() == 0)
        d += 31;
    return !(d < b || ((d - b) >> 16) > maximumYears);
}

bool FTEvent::isEmptyEvent() const
{
    return lDate() == 0 && place().isEmpty() && notes().isEmpty();
}

QString FTEvent::dateWithWeekday() const
{
    if (!day() || !month() || !year())
        return {};
    const QDate d(year(), month(), day());
    return d.isValid() ? QLocale().toString(d, QStringLiteral("dddd, dd MMMM yyyy")) : QString();
}

QString FTEvent::hebrewDate() const
{
    if (!day() || !month() || !year())
        return QStringLiteral("");
    const QDate d(year(), month(), day());
    if (!d.isValid())
        return QStringLiteral("");
    QString prefix;
    switch (qual()) {
    case DateValue::About: prefix = QStringLiteral("abt "); break;
    case DateValue::Before: prefix = QStringLiteral("bef "); break;
    case DateValue::After: prefix = QStringLiteral("aft "); break;
    case DateValue::Between: prefix = QStringLiteral("bet "); break;
    default: break;
    }
    return prefix + Dates::hebrewDateFor(d);
}

QString FTEvent::ownerName() const
{
    if (ownedByCoupleType()) {
        const FTSpouseRel* couple = spouseRel();
        const QList<FTPerson*> partners = couple ? couple->partners() : QList<FTPerson*>();
        if (partners.size() != 2)
            return LocalizedString(QStringLiteral("marriageEvent"));
        const FTPerson* first = couple->husband() ? couple->husband() : partners[0];
        const FTPerson* second = couple->partnerOf(first);
        return QStringLiteral("%1 +. %2").arg(first->name(), second->name());
    }
    const FTPerson* p = person();
    return p ? nonNull(p->name()) : QStringLiteral("");
}

QString FTEvent::familyName() const
{
    if (const FTPerson* p = person())
        return nonNull(p->familyName());
    if (const FTSpouseRel* couple = spouseRel())
        if (const FTPerson* husband = couple->husband())
            return nonNull(husband->familyName());
    return QStringLiteral("");
}

QString FTEvent::ownersNumericIdAsString() const
{
    if (const FTPerson* p = person())
        return QStringLiteral("P.%1").arg(p->numericId());
    if (const FTSpouseRel* couple = spouseRel())
        return QStringLiteral("M.%1").arg(couple->numericId());
    return QStringLiteral("");
}

QString FTEvent::sourceReferenceNumbers() const
{
    QList<int> numbers;
    for (const FTSourceRel* citation : sourceRels())
        if (const FTSource* source = citation->source())
            numbers << source->numericId();
    std::sort(numbers.begin(), numbers.end());
    QStringList parts;
    for (int n : numbers)
        parts << QString::number(n);
    return parts.join(QStringLiteral(", "));
}

QString FTEvent::eventDescription() const
{
    return QStringLiteral("Type: %1, Name: %2, Date: %3, Place: %4 Notes: %5")
        .arg(nonNull(subtype()), name(), date(), nonNull(place()), nonNull(notes()));
}

QString FTEvent::eventDescription_full() const
{
    QString text = ownedByCoupleType() ? QStringLiteral("Couple: %1").arg(ownerName())
                                       : QStringLiteral("Person: %1").arg(ownerName());
    text += QStringLiteral("\n\nType: %1").arg(nonNull(subtype()));
    text += QStringLiteral("\n\nName: %1").arg(name());
    text += QStringLiteral("\n\nDate: %1").arg(date());
    text += QStringLiteral("\n\nPlace: %1").arg(nonNull(place()));
    text += QStringLiteral("\n\nNotes: %1").arg(nonNull(notes()));
    text += QStringLiteral("\n\nSources:\n");
    QList<FTSourceRel*> citations = sourceRels();
    citations.removeIf([](const FTSourceRel* c) { return c->source() == nullptr; });
    std::stable_sort(citations.begin(), citations.end(), [](const FTSourceRel* a, const FTSourceRel* b) {
        return a->source()->numericId() < b->source()->numericId();
    });
    QStringList entries;
    for (const FTSourceRel* c : citations)
        entries << QStringLiteral("\nSource No: %1\n%2\nPage Ref = %3; Topic = %4; Notes = %5")
                       .arg(QString::number(c->source()->numericId()), c->source()->shortDescription(),
                            nonNull(c->reference()), nonNull(c->itemDescribed()), nonNull(c->notes()));
    return text + entries.join(QStringLiteral("\n\n"));
}

QString FTEvent::nameForSourceRefDialog() const
{
    QString text;
    if (ownedByCoupleType()) {
        const FTSpouseRel* couple = spouseRel();
        const QList<FTPerson*> partners = couple ? couple->partners() : QList<FTPerson*>();
        text = partners.size() == 2
            ? QStringLiteral("Event = %1 of %2 and %3").arg(name(), partners[0]->name(), partners[1]->name())
            : QStringLiteral("Event = %1").arg(name());
    } else {
        const FTPerson* p = person();
        text = p ? QStringLiteral("Event = %1 of %2").arg(name(), p->name()) : QStringLiteral("Event = %1").arg(name());
    }
    const QString when = date();
    if (!when.isEmpty())
        text += (day() != 0 ? QStringLiteral(" on %1") : QStringLiteral(" in %1")).arg(when);
    return text;
}

QString FTEvent::attributesBeingMerged() const
{
    static const QStringList kLeftOut
        = {"day", "extraData", "lastChange", "month", "numericId", "qual", "subtype", "type", "year"};
    return attributesWithValues(eventType() ? nonNull(eventType()->name()) : QStringLiteral(""), kLeftOut,
                                {{QStringLiteral("name"), LocalizedString(QStringLiteral("EventName"))}});
}
