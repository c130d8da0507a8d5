#include "gedcom/ExportPersonPlusGenerations.h"

#include "gedcom/ExportToGedcom.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"

ExportPersonPlusGenerations::ExportPersonPlusGenerations(FTPerson* focalPerson, bool ancestors, bool withSpouses)
    : m_focalPerson(focalPerson), m_ancestors(ancestors), m_withSpouses(withSpouses)
{
}

ExportPersonPlusGenerations::~ExportPersonPlusGenerations() = default;

FTMoc* ExportPersonPlusGenerations::moc() const { return m_focalPerson ? m_focalPerson->moc() : nullptr; }

QSet<FTPerson*> ExportPersonPlusGenerations::collectPeople() const
{
    QSet<FTPerson*> people;
    if (!m_focalPerson)
        return people;
    // Generation by generation: everybody is met first at the nearest generation they belong to, so taking
    // each person once loses nobody within the limit.
    QSet<FTPerson*> seen{m_focalPerson};
    QList<FTPerson*> generation{m_focalPerson};
    for (int level = 0; level < m_numGenerations && !generation.isEmpty(); ++level) {
        QList<FTPerson*> next;
        for (FTPerson* person : std::as_const(generation)) {
            people.insert(person);
            if (m_withSpouses)
                for (FTPerson* spouse : person->spouses())
                    people.insert(spouse);
            const QList<FTPerson*> relatives =
                m_ancestors ? person->parentsOfType(kPcRelTypeMask) : person->childrenOfType(kPcRelTypeMask);
            for (FTPerson* relative : relatives)
                if (relative && !seen.contains(relative)) {
                    seen.insert(relative);
                    next.append(relative);
                }
        }
        generation = next;
    }
    return people;
}

std::unique_ptr<ExportToGedcom> ExportPersonPlusGenerations::generateToGedcom() const
{
    FTMoc* database = moc();
    if (!database)
        return nullptr;
    database->saveMoc();
    auto exporter = std::make_unique<ExportToGedcom>(database);
    exporter->setSelectiveExport(true);
    exporter->setSetOfPeopleToExport(collectPeople());
    return exporter;
}
