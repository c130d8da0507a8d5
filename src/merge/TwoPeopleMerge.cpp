#include "merge/TwoPeopleMerge.h"

#include "merge/PersonFieldsMerge.h"

#include "shell/DisplayMsg.h"
#include "shell/Utils.h"
#include "shell/UtilsFunctions.h"

#include "model/FTAssociation.h"
#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTMocUndoManager.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"
#include "model/FTPicture.h"
#include "model/FTSourceRel.h"
#include "model/FTSpouseRel.h"
#include "model/Relative.h"

#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"
#include "platform/Prompts.h"

#include <QSet>

namespace {
// The exception report names this window's operations under this file name.
constexpr const char* kReportFile = "MergeTwoPeople";

QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

QString name(const FTPerson* person)
{
    return person ? person->name() : QString();
}

FTPcRel* linkTo(const QList<FTPcRel*>& links, const FTPerson* person, bool parentEnd)
{
    for (FTPcRel* link : links)
        if ((parentEnd ? link->parent() : link->child()) == person)
            return link;
    return nullptr;
}

// A citation's values that make two citations of one source the same.
bool sameCitation(const FTSourceRel* a, const FTSourceRel* b)
{
    // Qt compares a null and an empty text as equal: two absent values are alike.
    return a->source() == b->source() && a->itemDescribed() == b->itemDescribed()
        && a->reference() == b->reference() && a->notes() == b->notes()
        && a->value(Key("certainty")) == b->value(Key("certainty"));
}

// The citations that belong to the person itself, not to one of its events or pictures (those name the person as
// well, so that its citations list shows them).
QList<FTSourceRel*> ownCitations(const FTPerson* person)
{
    QList<FTSourceRel*> out;
    for (FTSourceRel* citation : person->sourceRels())
        if (!citation->event() && !citation->picture())
            out << citation;
    return out;
}

void addLine(QStringList& lines, const char* key, int count)
{
    if (count > 0)
        lines << L(key).arg(count);
}
}

TwoPeopleMerge::TwoPeopleMerge(FTMoc* moc, const QList<FTPerson*>& candidates)
    : m_moc(moc)
    , m_into(moc ? moc->focalPerson() : nullptr)
    , m_candidates(candidates)
{
}

// One undo step of its own under `actionName`, whatever alerts inside it let the event loop run.
template <class Step> bool TwoPeopleMerge::asOneStep(const QString& actionName, Step step)
{
    UndoManager* undo = m_moc->undoManager();
    undo->closeOpenGroups();
    undo->beginUndoGrouping();
    bool changed = false;
    try {
        changed = step();
    } catch (...) {
        undo->endUndoGrouping();
        throw;
    }
    if (undo->actionName() != actionName)
        undo->setActionName(actionName);
    undo->endUndoGrouping();
    return changed;
}

bool TwoPeopleMerge::mergeField(int tag, const Relative* selectedRelative, FTEvent* selectedEvent)
{
    if (!m_from || !m_into || tag < MergeTag::Name || tag > MergeTag::Event)
        return false;
    return asOneStep(L("MergeTwoPeople"), [&] {
        if (tag == MergeTag::Relative)
            return mergeSelectedRelative(selectedRelative);
        if (tag == MergeTag::Event)
            return mergeSelectedEvent(selectedEvent);
        return PersonFieldsMerge::mergeField(tag, m_from, m_into, false);
    });
}

bool TwoPeopleMerge::mergeSelectedRelative(const Relative* row)
{
    if (!row || !row->person()) {
        DisplayMsg(L("SelectRelTryAgain"));
        return false;
    }
    const bool changed = mergeRelative(row);
    if (changed)
        m_moc->setFocalPerson(m_into);
    return changed;
}

bool TwoPeopleMerge::mergeRelative(const Relative* row)
{
    const QString text = row->relationship();
    const struct {
        const char* word;
        bool (TwoPeopleMerge::*move)(FTPerson*);
    } roles[] = {
        { "Father", &TwoPeopleMerge::mergeParent },
        { "Mother", &TwoPeopleMerge::mergeParent },
        { "Husband", &TwoPeopleMerge::mergeSpouse },
        { "Wife", &TwoPeopleMerge::mergeSpouse },
        { "Son", &TwoPeopleMerge::mergeChild },
        { "Daughter", &TwoPeopleMerge::mergeChild },
    };
    for (const auto& role : roles)
        if (text.contains(L(role.word), Qt::CaseInsensitive))
            return (this->*role.move)(row->person());
    // Without a gender the word cannot tell a father from a mother, so the checks of a natural parent cannot be
    // made: the user gives the person a gender first.
    DisplayMsg(L("MergeUnknownGender").arg(row->person()->nameWithBirthAndDeathYears()));
    return false;
}

bool TwoPeopleMerge::mergeParent(FTPerson* parent)
{
    try {
        if (!parent || !m_from || !m_into)
            return false;
        if (parent == m_into) {
            DisplayMsg(L("MergeParent1"));
            return false;
        }
        if (linkTo(m_into->parents(), parent, true)) {
            DisplayMsg(QStringLiteral("%1 %2 %3")
                           .arg(parent->nameWithIdBirthAndDeathYears(), L("MergeParent2"), name(m_into)));
            return false;
        }
        FTPcRel* link = linkTo(m_from->parents(), parent, true);
        const int type = link ? link->intPcRelType() : 1;
        if (type == 1) {
            if (parent->isMale() && m_into->naturalFather()) {
                DisplayMsg(QStringLiteral("%1 %2").arg(name(m_into), L("MergeParent3")));
                return false;
            }
            if (parent->isFemale() && m_into->naturalMother()) {
                DisplayMsg(QStringLiteral("%1 %2").arg(name(m_into), L("MergeParent4")));
                return false;
            }
        }
        if (recurseCheckDescendantsOf(m_into, parent)) {
            DisplayMsg(L("MergeParent5"));
            return false;
        }
        if (!link)
            return false;
        link->setChild(m_into);
        DisplayMsg(QStringLiteral("%1\n\n%2\n\n%3\n\n%4 %5 %6\n\n%7.\n")
                       .arg(name(parent), L("MergeClarify4"), name(m_from), L("MergeClarify5"),
                           GetPcRelTypeString(type), L("MergeClarify6"), name(m_into)));
        return true;
    } catch (...) {
        Utils::reportCurrentException(kReportFile, __LINE__, QStringLiteral("mergeParent"));
        return false;
    }
}

bool TwoPeopleMerge::mergeChild(FTPerson* child)
{
    if (!child || !m_from || !m_into)
        return false;
    if (child == m_into) {
        DisplayMsg(L("MergeChild1"));
        return false;
    }
    if (linkTo(m_into->children(), child, false)) {
        DisplayMsg(QStringLiteral("%1 %2 %3.").arg(name(child), L("MergeChild2"), name(m_into)));
        return false;
    }
    QSet<int> ancestors;
    m_into->addAncestorsToSet(ancestors);
    if (ancestors.contains(child->numericId())) {
        DisplayMsg(QStringLiteral("%1 %2 %3 %4.\n\n%5")
                       .arg(L("MergeChild3"), name(child), L("ConjunctiveAnd"), name(m_into), L("MergeChild4")));
        return false;
    }
    FTPcRel* link = linkTo(m_from->childRels(), child, false);
    if (!link)
        return false;
    link->setParent(m_into);
    link->setPcRelType(2);
    DisplayMsg(QStringLiteral("%1\n\n%2\n\n%3\n\n%4\n\n%5.\n\n%6\n\n")
                   .arg(name(child), L("MergeClarify1"), name(m_from), L("MergeClarify2"), name(m_into),
                       L("MergeClarify3")));
    return true;
}

bool TwoPeopleMerge::mergeSpouse(FTPerson* spouse)
{
    if (!spouse || !m_from || !m_into)
        return false;
    if (spouse == m_into) {
        DisplayMsg(L("MergeSpouse1"));
        return false;
    }
    const QList<FTPerson*> spouses = m_into->spouses();
    if (spouses.contains(spouse)) {
        DisplayMsg(QStringLiteral("%1 %2 %3").arg(name(spouse), L("MergeSpouse2"), name(m_into)));
        return false;
    }
    FTSpouseRel* couple = nullptr;
    for (FTSpouseRel* c : m_from->spouseRels())
        if (c->partners().contains(spouse)) {
            couple = c;
            break;
        }
    if (!couple)
        return false;
    if (!spouses.isEmpty())
        DisplayMsg(QStringLiteral("%1\n\n%2 %3 %4")
                       .arg(name(m_into), L("MergeSpouse3"), QString::number(spouses.size() + 1), L("spouses")));
    couple->removePartnersObject(m_from);
    couple->addPartnersObject(m_into);
    QString text = QStringLiteral("%1\n\n%2\n\n%3\n\n%4\n\n%5")
                       .arg(name(spouse), L("MergeClarifySpouse1"), name(m_from), L("MergeClarifySpouse2"),
                           name(m_into));
    const int events = int(couple->otherMarriageEvents().size()) + (couple->marriage() ? 1 : 0);
    if (events != 0)
        text += QStringLiteral("\n\n%1 %2%3 %4 %5 %6 %7")
                    .arg(QString::number(events), L("MergeClarifySpouse3"), events == 1 ? L("has") : L("hasPlural"),
                        L("MergeClarifySpouse4"), name(m_into), L("ConjunctiveAnd"), name(spouse));
    DisplayMsg(text);
    return true;
}

bool TwoPeopleMerge::mergeSelectedEvent(FTEvent* event)
{
    if (!event) {
        DisplayMsg(L("SelectEventTryAgain"));
        return false;
    }
    if (!m_into || event->person() == m_into)
        return false;
    FTPerson* formerOwner = event->person();
    event->setOwner(m_into);
    // The event's citations name its person too; left naming the duplicate, they would go when it is deleted.
    for (FTSourceRel* citation : event->sourceRels())
        if (citation->person() == formerOwner)
            citation->setPerson(m_into);
    return true;
}

int TwoPeopleMerge::mergeSourceReferences()
{
    if (!m_from || !m_into) {
        DisplayMsg(L("SelectMerger"));
        return 0;
    }
    const QList<FTSourceRel*> citations = ownCitations(m_from);
    if (citations.isEmpty()) {
        DisplayMsg(QStringLiteral("%1 %2").arg(L("NoSourceRefs"), m_from->nameWithIdBirthAndDeathYears()));
        return 0;
    }
    const QList<FTSourceRel*> theirs = ownCitations(m_into);
    int moved = 0;
    asOneStep(L("MergeTwoPeople"), [&] {
        for (FTSourceRel* citation : citations) {
            const bool duplicate = std::any_of(theirs.begin(), theirs.end(),
                [citation](const FTSourceRel* other) { return sameCitation(citation, other); });
            if (duplicate)
                continue;
            citation->setPerson(m_into);
            ++moved;
        }
        return moved > 0;
    });
    if (moved == 0)
        DisplayMsg(QStringLiteral("%1 %2.").arg(L("MergeScRef2"), name(m_from)));
    else
        DisplayMsg(QStringLiteral("%1 %2%3 %4\n\n%5\n\n%6\n\n%7")
                       .arg(QString::number(moved), L("SourceRef"), moved == 1 ? L("has") : L("hasPlural"),
                           L("MergeScRef1"), name(m_from), L("ConjunctiveTo"), name(m_into)));
    return moved;
}

TwoPeopleMerge::Holdings TwoPeopleMerge::holdings(const FTPerson* person)
{
    Holdings h;
    if (!person)
        return h;
    QSet<const FTSourceRel*> citations;
    auto cite = [&citations](const QList<FTSourceRel*>& list) {
        for (const FTSourceRel* c : list)
            citations.insert(c);
    };
    QList<FTEvent*> events = person->otherEvents();
    if (FTEvent* birth = person->birth())
        events << birth;
    if (FTEvent* death = person->death())
        events << death;
    h.events = int(events.size());
    for (const FTEvent* e : events)
        cite(e->sourceRels());
    for (const FTSpouseRel* couple : person->spouseRels()) {
        ++h.couples;
        QList<FTEvent*> coupleEvents = couple->otherMarriageEvents();
        if (FTEvent* marriage = couple->marriage())
            coupleEvents << marriage;
        h.marriageEvents += int(coupleEvents.size());
        for (const FTEvent* e : coupleEvents)
            cite(e->sourceRels());
    }
    h.parentLinks = int(person->parents().size());
    h.childLinks = int(person->children().size());
    cite(person->sourceRels());
    for (const FTPicture* picture : person->pictures()) {
        ++h.pictures;
        cite(picture->sourceRels());
    }
    h.citations = int(citations.size());
    h.story = person->story() ? 1 : 0;
    h.associations = int(person->associationsTo().size() + person->associationsFrom().size());
    h.ancestralView = person->ancestralView() ? 1 : 0;
    return h;
}

QString TwoPeopleMerge::holdingsText(const Holdings& h)
{
    QStringList lines;
    addLine(lines, "MergeHoldsEvents", h.events);
    addLine(lines, "MergeHoldsCouples", h.couples);
    addLine(lines, "MergeHoldsMarriageEvents", h.marriageEvents);
    addLine(lines, "MergeHoldsParents", h.parentLinks);
    addLine(lines, "MergeHoldsChildren", h.childLinks);
    addLine(lines, "MergeHoldsCitations", h.citations);
    addLine(lines, "MergeHoldsPictures", h.pictures);
    addLine(lines, "MergeHoldsStory", h.story);
    addLine(lines, "MergeHoldsAssociations", h.associations);
    addLine(lines, "MergeHoldsAncestralView", h.ancestralView);
    if (lines.isEmpty())
        return QString();
    return L("MergeAlertHolds") + QLatin1Char('\n') + lines.join(QLatin1Char('\n'));
}

bool TwoPeopleMerge::deleteMergedPerson()
{
    if (!m_from) {
        DisplayMsg(L("SelectMerger"));
        return false;
    }
    const QString question = QStringLiteral("%1\n%2 %3 %4")
                                 .arg(m_from->nameWithIdBirthAndDeathYears(), L("MergeAlert1"),
                                     m_from->isMale() ? L("his") : L("her"), L("MergeAlert2"));
    const QString held = holdingsText(holdings(m_from));
    if (Prompts::current().chooseWithEscape(Prompts::kAlertTitle, question, held, { L("OK"), L("Cancel") }, 1) != 0)
        return false;
    try {
        FTPerson* duplicate = m_from;
        asOneStep(QStringLiteral("%1 %2").arg(L("Delete"), duplicate->name()), [&] {
            NotificationCenter::defaultCenter().post(QStringLiteral("PersonToBeDeleted"), duplicate, m_moc);
            m_moc->deleteObject(duplicate);
            return true;
        });
        m_from = nullptr;
        m_candidates.removeAll(duplicate);
        return true;
    } catch (...) {
        Utils::reportCurrentException(kReportFile, __LINE__, QStringLiteral("deleteMergedPerson"));
        return false;
    }
}

bool TwoPeopleMerge::recurseCheckDescendantsOf(const FTPerson* root, const FTPerson* person)
{
    if (!root || !person)
        return false;
    QSet<const FTPerson*> visited;
    QList<const FTPerson*> toVisit { root };
    while (!toVisit.isEmpty()) {
        const FTPerson* current = toVisit.takeLast();
        // Every link counts, an unknown type too: a loop made through any of them is still a loop.
        for (const FTPcRel* link : current->children()) {
            const FTPerson* child = link->child();
            if (child == person)
                return true;
            if (!child || visited.contains(child))
                continue;
            visited.insert(child);
            toVisit << child;
        }
    }
    return false;
}
