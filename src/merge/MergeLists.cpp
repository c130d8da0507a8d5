#include "merge/MergeLists.h"

#include "model/FTEvent.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"
#include "model/FTSpouseRel.h"
#include "model/RelationshipWords.h"
#include "model/Relatives.h"

#include "platform/Localizer.h"

#include <QSet>

#include <algorithm>

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

Relative row(FTPerson* person, const QString& label, bool shared)
{
    Relative r(person, label);
    if (shared)
        r.setFlags(MergeLists::kSharedRelative);
    return r;
}

void sortByDate(QList<FTEvent*>& events, bool thenSubtype)
{
    std::stable_sort(events.begin(), events.end(), [thenSubtype](const FTEvent* a, const FTEvent* b) {
        if (a->lDate() != b->lDate())
            return a->lDate() < b->lDate();
        return thenSubtype && a->subtype() < b->subtype();
    });
}
}

QList<Relative> MergeLists::relatives(const FTPerson* person, const FTPerson* mergeIntoPerson)
{
    QList<Relative> rows;
    if (!person)
        return rows;
    QSet<const FTPerson*> intoParents, intoSpouses, intoChildren;
    if (mergeIntoPerson) {
        for (const FTPcRel* link : mergeIntoPerson->parents())
            intoParents.insert(link->parent());
        for (const FTPerson* spouse : mergeIntoPerson->spouses())
            intoSpouses.insert(spouse);
        for (const FTPcRel* link : mergeIntoPerson->children())
            intoChildren.insert(link->child());
    }
    for (FTPcRel* link : Relatives::sortedParentRels(person)) {
        FTPerson* parent = link->parent();
        const QString word = RelationshipWords::byGender(parent, L("Father"), L("Mother"), L("Parent"));
        Relative r = row(parent, RelationshipWords::withTypeWord(link->intPcRelType(), word),
            intoParents.contains(parent));
        r.setPcRel(link);
        rows << r;
    }
    for (FTSpouseRel* couple : person->spouseRelsArray()) {
        FTPerson* spouse = couple->partnerOf(person);
        if (!spouse)
            continue;
        Relative r = row(spouse, RelationshipWords::byGender(spouse, L("Husband"), L("Wife"), L("Spouse")),
            intoSpouses.contains(spouse));
        r.setSpouseRel(couple);
        rows << r;
    }
    for (FTPcRel* link : person->childRels()) {
        FTPerson* child = link->child();
        if (!child)
            continue;
        const QString word = RelationshipWords::byGender(child, L("Son"), L("Daughter"), L("Child"));
        Relative r = row(child, RelationshipWords::withTypeWord(link->intPcRelType(), word),
            intoChildren.contains(child));
        r.setPcRel(link);
        rows << r;
    }
    return rows;
}

QList<FTEvent*> MergeLists::otherEvents(const FTPerson* person)
{
    QList<FTEvent*> events = person ? person->otherEvents() : QList<FTEvent*>();
    sortByDate(events, false);
    return events;
}

QList<FTEvent*> MergeLists::eventsWithMarriages(const FTPerson* person)
{
    if (!person)
        return {};
    QList<FTEvent*> events = person->otherEvents();
    for (const FTSpouseRel* couple : person->spouseRelsArray()) {
        if (FTEvent* marriage = couple->marriage())
            events << marriage;
        events << couple->otherMarriageEvents();
    }
    sortByDate(events, true);
    return events;
}
