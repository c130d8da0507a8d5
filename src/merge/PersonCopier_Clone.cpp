// Making the copies: people with their fields, events, pictures, story and citations, then the links between
// them, then the couples with their marriage events. A copy keeps every attribute of its record but the number,
// which the target gives. The sources cited come along once: a source the target already has (the same in every
// field, both ways) is cited where it is.
#include "merge/PersonCopier.h"

#include "sources/SourceCloner.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"
#include "model/FTPicture.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"
#include "model/FTSpouseRel.h"
#include "model/FTStory.h"
#include "model/ModelProgress.h"

#include <algorithm>

namespace {
int migrate(const ManagedObject* from, ManagedObject* to)
{
    return SourceCloner::migrateAttributesFrom(from, to);
}

QString describe(FTManagedObject* record)
{
    if (auto* e = dynamic_cast<FTEvent*>(record))
        return e->attributesBeingMerged();
    if (auto* p = dynamic_cast<FTPicture*>(record))
        return p->attributesBeingMerged();
    if (auto* p = dynamic_cast<FTPerson*>(record))
        return p->attributesBeingMerged();
    return {};
}
}

void PersonCopier::cloneSet(const CopySet& set)
{
    const qsizetype total = set.size();
    ModelProgress::Steps steps(m_progress, total, 1);
    if (m_progress)
        m_progress->setPercent(0);
    findExistingSources(set);
    qsizetype k = 0;
    for (FTPerson* person : set.people) {
        if (!m_personXref.contains(person)) {
            FTPerson* copy = FTPerson::initInMoc(m_moc, person->name(), person->gender());
            record(person, copy);
            clonePersonsProperties(person, copy);
        }
        steps.at(++k);
    }
    for (FTPcRel* link : set.links) {
        FTPerson* parent = copyOf(link->parent());
        FTPerson* child = copyOf(link->child());
        if (parent && child)
            // The link's notes, certainty and evidence come along with its type.
            if (FTPcRel* made = parent->attachChild(child, link->intPcRelType(), false, nullptr))
                migrate(link, made);
        steps.at(++k);
    }
    for (FTSpouseRel* couple : set.couples) {
        const QList<FTPerson*> partners = couple->partners();
        if (partners.size() != 2)
            continue;
        FTPerson* first = copyOf(partners[0]);
        FTPerson* second = copyOf(partners[1]);
        if (first && second)
            cloneSpouseRelPropertiesFrom(couple, first->addSpouseRel(second));
        steps.at(++k);
    }
    if (m_progress)
        m_progress->setPercent(100);
}

void PersonCopier::clonePersonsProperties(FTPerson* from, FTPerson* to)
{
    migrate(from, to);
    clonePersonsEventsFrom(from, to);
    clonePicturesFrom(from, to);
    cloneStoryFrom(from, to);
    cloneSourcesFrom(from, to);
    ++m_numPeopleCopied;
}

FTEvent* PersonCopier::cloneEvent(FTEvent* event, FTManagedObject* owner)
{
    // Made without an owner, so that the model's own citing of the active source (which saves the database each
    // time) stays out of a copy of thousands of events; the event cites the copy's source below instead.
    FTEvent* copy = FTEvent::initInMoc(m_moc, event->type(), event->subtype());
    if (!copy)
        return nullptr;
    copy->setOwner(owner);
    migrate(event, copy);
    citeMergeSource(copy);
    cloneSourcesFrom(event, copy);
    return copy;
}

int PersonCopier::clonePersonsEventsFrom(FTPerson* from, FTPerson* to)
{
    QList<FTEvent*> events;
    if (FTEvent* birth = from->birth())
        events << birth;
    if (FTEvent* death = from->death())
        events << death;
    events << from->otherEvents();
    int made = 0;
    for (FTEvent* event : std::as_const(events))
        if (cloneEvent(event, to))
            ++made;
    return made;
}

int PersonCopier::clonePicturesFrom(FTManagedObject* from, FTManagedObject* to)
{
    QList<FTPicture*> pictures;
    FTPicture* defaultPicture = nullptr;
    if (auto* person = dynamic_cast<FTPerson*>(from)) {
        pictures = person->pictures();
        defaultPicture = person->defaultPicture();
    } else if (auto* source = dynamic_cast<FTSource*>(from)) {
        if (FTPicture* picture = source->picture())
            pictures << picture;
    }
    std::stable_sort(pictures.begin(), pictures.end(),
                     [](const FTPicture* a, const FTPicture* b) { return a->seqNo() < b->seqNo(); });
    int made = 0;
    for (FTPicture* picture : std::as_const(pictures)) {
        // Made without a file, then given the other record's file name: the same file, neither copied nor linked
        // again.
        FTPicture* copy = FTPicture::initInMoc(m_moc, QString(), to);
        if (!copy)
            continue;
        migrate(picture, copy);
        cloneSourcesFrom(picture, copy);
        if (picture == defaultPicture)
            static_cast<FTPerson*>(to)->setDefaultPicture(copy);
        ++made;
    }
    return made;
}

int PersonCopier::cloneStoryFrom(FTPerson* from, FTPerson* to)
{
    const FTStory* story = from->story();
    if (!story)
        return 0;
    FTStory* copy = FTStory::initInMoc(m_moc);
    migrate(story, copy);
    copy->setPerson(to);
    return 1;
}

int PersonCopier::cloneSourcesFrom(FTManagedObject* from, FTManagedObject* to)
{
    QList<FTSourceRel*> citations;
    if (auto* person = dynamic_cast<FTPerson*>(from)) {
        // The person's own citations; those of its events come with the events.
        for (FTSourceRel* c : person->sourceRels())
            if (!c->event())
                citations << c;
    } else if (auto* event = dynamic_cast<FTEvent*>(from)) {
        citations = event->sourceRels();
    } else if (auto* picture = dynamic_cast<FTPicture*>(from)) {
        citations = picture->sourceRels();
    } else {
        return 0;
    }
    int made = 0;
    for (const FTSourceRel* citation : std::as_const(citations)) {
        if (!citation->source())
            continue;
        FTSource* source = cloneSource(citation->source());
        FTSourceRel* copy = FTSourceRel::initInMoc(m_moc, source, to, citation->itemDescribed());
        migrate(citation, copy);
        ++made;
    }
    return made;
}

void PersonCopier::findExistingSources(const CopySet& set)
{
    QList<FTSource*> wanted;
    QSet<const FTSource*> seen;
    auto want = [&](const QList<FTSourceRel*>& citations) {
        for (const FTSourceRel* c : citations) {
            FTSource* s = c->source();
            if (s && !m_sourceXref.contains(s) && !seen.contains(s)) {
                seen.insert(s);
                wanted << s;
            }
        }
    };
    for (FTPerson* p : set.people) {
        if (m_personXref.contains(p))
            continue;
        want(p->sourceRels());
        for (FTEvent* e : p->otherEvents())
            want(e->sourceRels());
        for (FTPicture* picture : p->pictures())
            want(picture->sourceRels());
    }
    for (FTSpouseRel* couple : set.couples) {
        if (FTEvent* marriage = couple->marriage())
            want(marriage->sourceRels());
        for (FTEvent* e : couple->otherMarriageEvents())
            want(e->sourceRels());
    }
    if (wanted.isEmpty())
        return;
    const QHash<QString, FTSource*> found = m_moc->findMatchingSources(wanted);
    for (FTSource* s : std::as_const(wanted))
        if (FTSource* mine = found.value(s->objectURI()))
            m_sourceXref.insert(s, mine);
}

FTSource* PersonCopier::cloneSource(FTSource* source)
{
    if (FTSource* known = m_sourceXref.value(source))
        return known;
    if (FTSource* match = m_moc->findMatchingSources({source}).value(source->objectURI())) {
        m_sourceXref.insert(source, match);
        return match;
    }
    FTSource* copy = FTSource::initInMoc(m_moc);
    migrate(source, copy);
    // Known before its picture is copied: a picture that cites its own source finds the copy.
    m_sourceXref.insert(source, copy);
    clonePicturesFrom(source, copy);
    return copy;
}

void PersonCopier::cloneSpouseRelPropertiesFrom(FTSpouseRel* from, FTSpouseRel* to)
{
    if (!from || !to)
        return;
    migrate(from, to);
    QList<FTEvent*> events;
    if (FTEvent* marriage = from->marriage())
        events << marriage;
    events << from->otherMarriageEvents();
    for (FTEvent* event : std::as_const(events))
        cloneEvent(event, to);
}

void PersonCopier::citeMergeSource(FTManagedObject* record)
{
    if (m_mergeSource)
        FTSourceRel::initInMoc(m_moc, m_mergeSource, record, describe(record));
}
