#include "diagrams/DiagramPeople.h"

#include "diagrams/CdLayout.h"
#include "diagrams/CdPerson.h"

#include "model/FTPerson.h"

QSet<FTPerson*> DiagramPeople::peopleToExport(const CdLayout& layout, bool allSpouses)
{
    QSet<FTPerson*> people;
    const int maxLevel = layout.maxAncLevel();
    for (const auto& box : layout.cdPersonsArray()) {
        FTPerson* person = box->person();
        if (box->ancLevel() > maxLevel || !person || person->isDeleted())
            continue;
        people.insert(person);
        if (allSpouses)
            for (FTPerson* spouse : person->spouses())
                people.insert(spouse);
    }
    return people;
}
