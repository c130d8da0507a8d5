#include "editor/DisconnectLinks.h"

#include "shell/DisplayMsg.h"

#include "model/FTAssociation.h"
#include "model/FTMoc.h"
#include "model/FTMocUndoManager.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"
#include "model/FTSpouseRel.h"
#include "model/ModelHooks.h"
#include "model/RelationshipWords.h"
#include "model/Relatives.h"

#include "platform/FTLog.h"
#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"

#include <QSet>

DisconnectLinks::DisconnectLinks(FTPerson* person)
    : m_person(person)
    , m_moc(person ? person->moc() : nullptr)
{
    createRelsArray();
}

QString DisconnectLinks::pcRelLabel(const FTPerson* relative, int pcRelType, bool parent)
{
    const QString word = parent ? RelationshipWords::byGender(relative, LocalizedString("Father"),
                                                              LocalizedString("Mother"), LocalizedString("Parent"))
                                : RelationshipWords::byGender(relative, LocalizedString("Son"),
                                                              LocalizedString("Daughter"), LocalizedString("Child"));
    return RelationshipWords::withTypeWord(pcRelType, word);
}

Relative& DisconnectLinks::addRelative(FTPerson* person, const QString& relationship)
{
    m_rows << Relative(person, relationship);
    return m_rows.last();
}

void DisconnectLinks::createRelsArray()
{
    m_rows.clear();
    if (!m_person || m_person->isDeleted())
        return;
    loadParents(m_person);
    loadSpouses(m_person);
    loadChildren(m_person);
    loadAssocs(m_person);
}

long DisconnectLinks::loadParents(FTPerson* person)
{
    const QList<FTPcRel*> links = Relatives::sortedParentRels(person);
    for (FTPcRel* link : links)
        addRelative(link->parent(), pcRelLabel(link->parent(), link->intPcRelType(), true)).setPcRel(link);
    return links.size();
}

long DisconnectLinks::loadSpouses(FTPerson* person)
{
    long added = 0;
    for (FTSpouseRel* couple : person->spouseRelsArray()) {
        FTPerson* partner = couple->partnerOf(person);
        if (!partner)
            continue;
        QString label = LocalizedString("Spouse/Partner");
        if (person->isMarriedTo(partner))
            label = LocalizedString(partner->isMale() ? "Husband" : "Wife");
        addRelative(partner, label).setSpouseRel(couple);
        ++added;
    }
    return added;
}

long DisconnectLinks::loadChildren(FTPerson* person)
{
    long added = 0;
    for (FTPcRel* link : person->childRels()) {
        if (!link->child())
            continue;
        addRelative(link->child(), pcRelLabel(link->child(), link->intPcRelType(), false)).setPcRel(link);
        ++added;
    }
    return added;
}

long DisconnectLinks::loadAssocs(FTPerson* person)
{
    const QList<FTAssociation*> associations = person->assocPersonsArray();
    FTLog(QStringLiteral("LoadAssocs %1").arg(associations.size()));
    long added = 0;
    for (FTAssociation* association : associations) {
        // The row names whoever is at the other end, so that one made towards the person shows its maker.
        FTPerson* other = association->toPerson() == person ? association->fromPerson() : association->toPerson();
        if (!other)
            continue;
        FTLog(QStringLiteral("Associate: %1").arg(other->nameWithBirthAndDeathYears()));
        addRelative(other, LocalizedString("Association")).setAssoc(association);
        ++added;
    }
    return added;
}

void DisconnectLinks::nameUndoAction(const QString& verbKey, const FTPerson* person) const
{
    FTMocUndoManager* undo = m_moc ? m_moc->undoManager() : nullptr;
    if (undo && undo->actionName().isEmpty())
        undo->setActionName(
            QStringLiteral("%1 %2").arg(LocalizedString(verbKey), person ? person->nameWithBirthAndDeathYears() : QString()));
}

int DisconnectLinks::disconnectSelectedPeople()
{
    if (!m_person || !m_moc)
        return 0;
    int deleted = 0;
    NotificationCenter& center = NotificationCenter::defaultCenter();
    for (Relative& row : m_rows) {
        FTPcRel* link = row.pcRel();
        if (!row.checked() || !link || link->isDeleted())
            continue;
        nameUndoAction(QStringLiteral("Disconnect"), m_person);
        m_moc->deleteObject(link);
        row.setPcRel(nullptr);
        ++deleted;
    }
    for (Relative& row : m_rows) {
        FTSpouseRel* couple = row.spouseRel();
        if (!row.checked() || !couple || couple->isDeleted())
            continue;
        FTPerson* partner = couple->partnerOf(m_person);
        if (partner) {
            const QList<FTPerson*> mine = m_person->childrenOfType(FTPcRel::kNatural | FTPcRel::kStep);
            const QList<FTPerson*> theirs = partner->childrenOfType(FTPcRel::kNatural | FTPcRel::kStep);
            if (QSet<FTPerson*>(mine.begin(), mine.end()).intersects(QSet<FTPerson*>(theirs.begin(), theirs.end()))) {
                DisplayMsg(QStringLiteral("%1 %2 %3 %4 %5")
                               .arg(LocalizedString("CannotDiscon1"), partner->name(), LocalizedString("ConjunctiveFrom"),
                                    m_person->name(), LocalizedString("CannotDiscon2")));
                continue;
            }
        }
        nameUndoAction(QStringLiteral("Disconnect"), m_person);
        center.post(QStringLiteral("SpouseRelToBeDeleted"), couple, m_moc);
        m_moc->deleteObject(couple);
        row.setSpouseRel(nullptr);
        ++deleted;
    }
    for (Relative& row : m_rows) {
        FTAssociation* association = row.assoc();
        if (!row.checked() || !association || association->isDeleted() || !row.person())
            continue;
        nameUndoAction(QStringLiteral("Disassociate"), row.person());
        center.post(QStringLiteral("AssociateToBeDeleted"), association, m_moc);
        m_moc->deleteObject(association);
        row.setAssoc(nullptr);
        ++deleted;
    }
    try {
        m_moc->saveMoc();
    } catch (...) {
        ModelHooks::reportException("DisconnectPerson", __LINE__, QStringLiteral("disconnectSelectedPeople_1"));
    }
    try {
        center.post(QStringLiteral("RefreshAllViews"), nullptr, m_moc);
    } catch (...) {
        ModelHooks::reportException("DisconnectPerson", __LINE__, QStringLiteral("disconnectSelectedPeople_2"));
    }
    try {
        createRelsArray();
    } catch (...) {
        ModelHooks::reportException("DisconnectPerson", __LINE__, QStringLiteral("disconnectSelectedPeople_3"));
    }
    return deleted;
}
