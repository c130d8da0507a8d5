#include "model/FTEvent.h"

#include "model/Dates.h"
#include "model/EventTypesVocabulary.h"
#include "model/FTEventType.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"
#include "model/FTSpouseRel.h"

#include "platform/Localizer.h"
#include "platform/store/EntityDescription.h"

#include <QDate>
#include <QLocale>

#include <algorithm>

// The few relatives the derived values need, read through the plain links.
namespace {
constexpr int kNaturalLink = 1;

bool isMale(const FTPerson* p)
{
    return p && p->gender() == LocalizedString(QStringLiteral("MaleShort"));
}

bool isFemale(const FTPerson* p)
{
    return p && p->gender() == LocalizedString(QStringLiteral("FemaleShort"));
}

// The first natural parent of the wanted gender.
FTPerson* naturalParent(const FTPerson* child, bool father)
{
    for (const FTPcRel* link : child->parents()) {
        FTPerson* parent = link->parent();
        if (parent && (link->pcRelType() & kNaturalLink) && (father ? isMale(parent) : isFemale(parent)))
            return parent;
    }
    return nullptr;
}

quint32 birthKey(const FTPerson* p)
{
    const FTEvent* birth = p ? p->birth() : nullptr;
    return birth ? birth->lDate() : 0;
}

// A parent's natural children by birth date, then name.
QList<FTPerson*> naturalChildren(const FTPerson* parent)
{
    QList<FTPerson*> out;
    for (const FTPcRel* link : parent->children())
        if (FTPerson* child = link->child(); child && (link->pcRelType() & kNaturalLink))
            out << child;
    std::stable_sort(out.begin(), out.end(), [](const FTPerson* a, const FTPerson* b) {
        const quint32 ka = birthKey(a), kb = birthKey(b);
        return ka != kb ? ka < kb : a->name() < b->name();
    });
    return out;
}

FTPerson* husbandOf(const FTSpouseRel* couple)
{
    for (FTPerson* p : couple->partners())
        if (isMale(p))
            return p;
    return nullptr;
}

// The birth key of the couple's first common natural child; 0 without one.
quint32 firstChildsBirthDate(const FTSpouseRel* couple)
{
    FTPerson* father = nullptr;
    FTPerson* mother = nullptr;
    for (FTPerson* p : couple->partners()) {
        if (isMale(p))
            father = p;
        else if (isFemale(p))
            mother = p;
    }
    if (!father || !mother)
        return 0;
    const QList<FTPerson*> mothers = naturalChildren(mother);
    for (FTPerson* child : naturalChildren(father))
        if (mothers.contains(child))
            return birthKey(child);
    return 0;
}

QString nonNull(const QString& s)
{
    return s.isNull() ? QStringLiteral("") : s;
}

// "causeOfEvent" -> "Causeofevent".
QString capitalized(const QString& s)
{
    return s.isEmpty() ? s : s.left(1).toUpper() + s.mid(1).toLower();
}

// A source in a few labelled lines: type, titles, author, publisher, date, location and, when that is short, the
// notes.
QString sourceSummary(const FTSource* source)
{
    QString text;
    const std::pair<const char*, QString> fields[] = {
        {"TYPE", source->type()},     {"ABBR", source->abbreviatedTitle()}, {"TITLE", source->title()},
        {"AUTH", source->author()},   {"PUBL", source->publisher()},        {"DATE", source->date()},
        {"LOCN", source->location()},
    };
    for (const auto& [label, value] : fields) {
        const QString v = value.trimmed();
        if (v.isEmpty())
            continue;
        if (!text.isEmpty())
            text += '\n';
        text += QStringLiteral("%1: %2").arg(capitalized(QString::fromLatin1(label)), v);
    }
    const QString notes = source->notes().trimmed();
    if (text.size() < 48 && !notes.isEmpty()) {
        QString flat = notes;
        flat.replace('\n', ' ').replace('\r', ' ');
        if (!text.isEmpty())
            text += '\n';
        text += QStringLiteral("%1: %2").arg(LocalizedString(QStringLiteral("Notes")), flat);
    }
    return text;
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
    FTPerson* father = child ? naturalParent(child, true) : nullptr;
    FTPerson* mother = child ? naturalParent(child, false) : nullptr;
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
    return couple ? firstChildsBirthDate(couple) : 0;
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
        const bool secondFirst = !isMale(partners[0]) && isMale(partners[1]);
        const FTPerson* first = partners[secondFirst ? 1 : 0];
        const FTPerson* second = partners[secondFirst ? 0 : 1];
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
        if (const FTPerson* husband = husbandOf(couple))
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
                       .arg(QString::number(c->source()->numericId()), sourceSummary(c->source()),
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
    QStringList names;
    for (const QString& attribute : entity()->attributeNames()) {
        if (kLeftOut.contains(attribute))
            continue;
        const QVariant v = value(Key(attribute));
        if (!v.isValid() || (v.typeId() == QMetaType::QString && v.toString().isEmpty()))
            continue;
        names << attribute;
    }
    std::sort(names.begin(), names.end(),
              [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    QString text = eventType() ? nonNull(eventType()->name()) : QStringLiteral("");
    for (qsizetype i = 0; i < names.size(); ++i) {
        text += i == 0 ? QStringLiteral(": ") : QStringLiteral(", ");
        text += names[i] == QLatin1String("name") ? LocalizedString(QStringLiteral("EventName")) : capitalized(names[i]);
    }
    return text;
}
