#include "model/FTPerson.h"

#include "model/FTAssociation.h"
#include "model/FTEvent.h"
#include "model/FTEventType.h"
#include "model/FTMoc.h"
#include "model/FTPcRel.h"
#include "model/FTPicture.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"
#include "model/FTSpouseRel.h"
#include "model/FTStory.h"

#include "platform/FTLog.h"

#include <QLocale>

#include <algorithm>

namespace {
const Key kParentLinks("parents");
const Key kChildLinks("children");
const Key kCouples("spouseRels");

// A record at the far end of a link that can no longer be read: deleted, or of another database.
bool unreadable(const ManagedObject* end, const ManagedObject* link)
{
    return end && (end->isDeleted() || end->context() != link->context());
}

// Drops, and deletes from the database, the links whose far end cannot be read. The lists that every window reads
// so repair themselves instead of failing again and again.
QList<FTPcRel*> withoutBrokenLinks(QList<FTPcRel*> links, bool childEnd, const FTPerson* owner)
{
    for (qsizetype i = links.size() - 1; i >= 0; --i) {
        FTPcRel* link = links[i];
        FTPerson* end = childEnd ? link->child() : link->parent();
        if (!unreadable(end, link))
            continue;
        FTLog(QStringLiteral("Deleted a parent-child link of %1 whose %2 could no longer be read")
                  .arg(owner->name(), childEnd ? QStringLiteral("child") : QStringLiteral("parent")));
        link->context()->deleteObject(link);
        links.removeAt(i);
    }
    return links;
}

QString nameOf(const FTPerson* p)
{
    return p ? p->name() : QString();
}

// An undated birth sorts at the parents' marriage; no child or no birth sorts first.
quint32 birthSortKey(const FTPerson* p)
{
    const FTEvent* birth = p ? p->birth() : nullptr;
    return birth ? birth->lbDate() : 0;
}
}

QList<FTPcRel*> FTPerson::childRels() const
{
    QList<FTPcRel*> links = withoutBrokenLinks(children(), true, this);
    std::stable_sort(links.begin(), links.end(), [](const FTPcRel* a, const FTPcRel* b) {
        const quint32 ka = birthSortKey(a->child());
        const quint32 kb = birthSortKey(b->child());
        if (ka != kb)
            return ka < kb;
        return nameOf(a->child()).compare(nameOf(b->child())) < 0;
    });
    return links;
}

QList<FTPcRel*> FTPerson::parentRels() const
{
    QList<FTPcRel*> links = withoutBrokenLinks(parents(), false, this);
    std::stable_sort(links.begin(), links.end(), [](const FTPcRel* a, const FTPcRel* b) {
        const QString ga = a->parent() ? a->parent()->gender() : QString();
        const QString gb = b->parent() ? b->parent()->gender() : QString();
        return ga.compare(gb) > 0;
    });
    return links;
}

QList<FTSpouseRel*> FTPerson::spouseRelsArray() const
{
    QList<FTSpouseRel*> couples = spouseRels();
    if (couples.size() < 2)
        return couples;
    QHash<const FTSpouseRel*, quint32> keys;
    for (const FTSpouseRel* couple : couples)
        keys.insert(couple, couple->lmDate());
    std::stable_sort(couples.begin(), couples.end(), [&keys](const FTSpouseRel* a, const FTSpouseRel* b) {
        const quint32 ka = keys.value(a);
        const quint32 kb = keys.value(b);
        if (ka != kb)
            return ka < kb;
        return a->numericId() < b->numericId();
    });
    return couples;
}

QList<FTPerson*> FTPerson::spouses() const
{
    QList<FTPerson*> out;
    for (const FTSpouseRel* couple : spouseRelsArray())
        if (FTPerson* partner = couple->partnerOf(this))
            out << partner;
    return out;
}

QList<FTEvent*> FTPerson::marriageEvents() const
{
    QList<FTEvent*> out;
    for (const FTSpouseRel* couple : spouseRels()) {
        if (FTEvent* marriage = couple->marriage())
            out << marriage;
        out << couple->otherMarriageEvents();
    }
    return out;
}

QList<FTEvent*> FTPerson::otherEventsWithSubtype(const QString& subtype) const
{
    QList<FTEvent*> out;
    for (FTEvent* e : otherEvents())
        if (e->subtype() == subtype)
            out << e;
    return out;
}

QList<FTPicture*> FTPerson::picturesArray() const
{
    QList<FTPicture*> out = pictures();
    std::stable_sort(
        out.begin(), out.end(), [](const FTPicture* a, const FTPicture* b) { return a->seqNo() < b->seqNo(); });
    return out;
}

QList<FTAssociation*> FTPerson::assocPersonsArray() const
{
    return associationsTo() + associationsFrom();
}

QList<FTSourceRel*> FTPerson::allSourceRels() const
{
    QList<FTSourceRel*> all = sourceRels();
    auto addAll = [&all](const QList<FTSourceRel*>& more) {
        for (FTSourceRel* c : more)
            if (!all.contains(c))
                all << c;
    };
    for (const FTSpouseRel* couple : spouseRels()) {
        if (const FTEvent* marriage = couple->marriage())
            addAll(marriage->sourceRels());
        for (const FTEvent* e : couple->otherMarriageEvents())
            addAll(e->sourceRels());
    }
    for (qsizetype i = all.size() - 1; i >= 0; --i) {
        FTSourceRel* citation = all[i];
        if (!unreadable(citation->source(), citation))
            continue;
        all.removeAt(i);
        citation->context()->deleteObject(citation);
        FTLog(QStringLiteral("Deleted invalid sourceRel for %1").arg(nameWithBirthAndDeathYears()));
    }
    return all;
}

bool FTPerson::hasSourceRels() const
{
    if (!sourceRels().isEmpty())
        return true;
    for (const FTSpouseRel* couple : spouseRels())
        if (const FTEvent* marriage = couple->marriage(); marriage && !marriage->sourceRels().isEmpty())
            return true;
    return false;
}

bool FTPerson::isUnconnected() const
{
    // Asked of every person after an import: the sets are looked at, not copied.
    return objects(kParentLinks).isEmpty() && objects(kChildLinks).isEmpty() && objects(kCouples).isEmpty();
}

bool FTPerson::isMarriedTo(const FTPerson* other) const
{
    if (!other)
        return false;
    for (const FTSpouseRel* couple : spouseRels())
        if (couple->marriage() && couple->partners().contains(const_cast<FTPerson*>(other)))
            return true;
    return false;
}

void FTPerson::addAncestorsToSet(QSet<int>& numericIds) const
{
    for (const FTPcRel* link : parents()) {
        const FTPerson* parent = link->parent();
        if (!parent || link->intPcRelType() == 2 || numericIds.contains(parent->numericId()))
            continue;
        numericIds.insert(parent->numericId());
        parent->addAncestorsToSet(numericIds);
    }
}

// ---- Change history ----------------------------------------------------------------------------------------------

namespace {
// The person's own record and every record that belongs to the person, unordered.
QList<FTManagedObject*> recordsOf(const FTPerson* p)
{
    QList<FTManagedObject*> records { const_cast<FTPerson*>(p) };
    auto add = [&records](const auto& list) {
        for (auto* o : list)
            records << o;
    };
    if (FTEvent* b = p->birth())
        records << b;
    if (FTEvent* d = p->death())
        records << d;
    add(p->marriageEvents());
    add(p->otherEvents());
    add(p->children());
    add(p->parents());
    add(p->sourceRels());
    add(p->spouseRels());
    add(p->pictures());
    if (FTStory* story = p->story())
        records << story;
    return records;
}

// The same, newest stamp first, unstamped records last.
QList<FTManagedObject*> stampedRecordsOf(const FTPerson* p)
{
    QList<std::pair<QDateTime, FTManagedObject*>> stamped;
    for (FTManagedObject* o : recordsOf(p))
        stamped.append({ o->lastChange(), o });
    std::stable_sort(stamped.begin(), stamped.end(), [](const auto& a, const auto& b) {
        if (a.first.isValid() != b.first.isValid())
            return a.first.isValid();
        return a.first > b.first;
    });
    QList<FTManagedObject*> records;
    records.reserve(stamped.size());
    for (const auto& s : std::as_const(stamped))
        records << s.second;
    return records;
}
}

QDateTime FTPerson::latestChangeDate() const
{
    // Asked of every person by the list of recent changes: one look at each record, no sorting.
    QDateTime latest;
    for (const FTManagedObject* o : recordsOf(this)) {
        const QDateTime when = o->lastChange();
        if (when.isValid() && (!latest.isValid() || when > latest))
            latest = when;
    }
    return latest;
}

QString FTPerson::latestChanges() const
{
    QString out;
    for (const FTManagedObject* o : stampedRecordsOf(this)) {
        const QDateTime when = o->lastChange();
        if (!when.isValid())
            continue;
        const QString stamp = QLocale::c().toString(when, QStringLiteral("dd MMM yyyy 'at' HH:mm"));
        if (o == this) {
            out += QStringLiteral("%1 - %2\n").arg(stamp, QStringLiteral("Personal data"));
        } else if (const auto* e = dynamic_cast<const FTEvent*>(o)) {
            const QString typeName = e->eventType() ? e->eventType()->name() : QString();
            if (typeName == e->name())
                out += QStringLiteral("%1 - %2\n").arg(stamp, e->name());
            else
                out += QStringLiteral("%1 - %2 (%3): %4\n").arg(stamp, typeName, e->date(), e->name());
        } else if (const auto* link = dynamic_cast<const FTPcRel*>(o)) {
            if (link->parent() == this)
                out += QStringLiteral("%1 - Relationship to %2: %3\n")
                           .arg(stamp, QStringLiteral("Child"), nameOf(link->child()));
            else
                out += QStringLiteral("%1 - Relationship to %2: %3\n")
                           .arg(stamp, QStringLiteral("Parent"), nameOf(link->parent()));
        } else if (const auto* picture = dynamic_cast<const FTPicture*>(o)) {
            out += QStringLiteral("%1 - Picture: %2\n").arg(stamp, picture->name());
        } else if (const auto* citation = dynamic_cast<const FTSourceRel*>(o)) {
            const FTSource* source = citation->source();
            out += QStringLiteral("%1 - Reference to Source No %2. %3\n")
                       .arg(stamp, source ? QString::number(source->numericId()) : QString(),
                           source ? source->title() : QString());
        } else if (dynamic_cast<const FTStory*>(o)) {
            out += QStringLiteral("%1 - Story\n").arg(stamp);
        }
    }
    return out + QStringLiteral("\n\n");
}
