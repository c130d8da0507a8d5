#include "reports/ReportEventList.h"

#include "model/EventInfo.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"

namespace {
using Rows = std::vector<std::unique_ptr<EventInfo>>;

void addChildrensEvents(FTPerson* person, bool showStepRels, Rows& rows)
{
    for (const FTPcRel* link : person->childRels()) {
        FTPerson* child = link->child();
        if (!child)
            continue;
        const int type = link->intPcRelType();
        const bool step = type == FTPcRel::kStep;
        if (step && !showStepRels)
            continue;
        if (!step)
            person->appendRelativesEventInfo(child->birth(), child, EventInfo::Child, type, rows);
        person->appendRelativesEventInfo(child->death(), child, EventInfo::Child, type, rows);
    }
}

void addParentsEvents(FTPerson* person, bool showStepRels, Rows& rows)
{
    for (const FTPcRel* link : person->parentRels()) {
        FTPerson* parent = link->parent();
        if (!parent || (link->intPcRelType() == FTPcRel::kStep && !showStepRels))
            continue;
        person->appendRelativesEventInfo(parent->death(), parent, EventInfo::Parent, link->intPcRelType(), rows);
    }
}
}

Rows ReportEventList::createEventInfoArray(FTPerson* person, bool includeRelatedEvents, bool showStepRels)
{
    Rows rows;
    if (!person)
        return rows;
    person->addOwnEventsTo(rows);
    if (includeRelatedEvents) {
        addChildrensEvents(person, showStepRels, rows);
        addParentsEvents(person, showStepRels, rows);
    }
    person->addSpousesEventsTo(rows);
    for (auto& row : rows)
        row->setSelectedPerson(person);
    FTPerson::sortEventInfoArray(rows);
    return rows;
}
