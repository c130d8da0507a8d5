#pragma once

#include <QColor>
#include <QList>
#include <QSet>
#include <QString>

#include <memory>
#include <vector>

class FTPerson;

// One node of a kinship tree: a person reached from the root by steps to a parent, spouse or child, with the
// relationship to the person of the node above ("Father", "Foster Son", "Wife" ...; "Self" at the root). A node
// builds the nodes below it once, taking only people not reached before, so every person stands in the tree at
// most once and loops of links cannot trap a walk. The root owns the whole tree.
class RelativesHierarchy {
public:
    RelativesHierarchy(FTPerson* person, RelativesHierarchy* owner, const QString& relToOwner);
    ~RelativesHierarchy();
    RelativesHierarchy(const RelativesHierarchy&) = delete;
    RelativesHierarchy& operator=(const RelativesHierarchy&) = delete;

    // The nodes below, built on the first call: the parents (step links left out; "Father", "Foster Mother",
    // "Adopted Father" ...), then the partners of the person's couples ("Husband" or "Wife" when married, else
    // "Spouse/Partner"), then the children (step links left out; "Son", "Adopted Daughter" ...), each only when
    // not in `peopleSet` yet; every person taken is added to `peopleSet` at once.
    QList<RelativesHierarchy*> nextGenArray(QSet<FTPerson*>& peopleSet);
    // The nodes built so far (empty before the first nextGenArray()).
    QList<RelativesHierarchy*> builtNextGen() const;

    FTPerson* person() const { return m_person; }
    RelativesHierarchy* owner() const { return m_owner; }
    int level() const { return m_level; }
    QString relToOwner() const { return m_relToOwner; }

    // The link to the node above as shown: the localised "FocalPerson" at the root; else an arrow and relToOwner:
    // "→ Wife" for a partner, "↑ Father" for a parent, "↓ Son" for a child.
    QString relationship() const;
    // Red for a link to a spouse or partner, black otherwise.
    QColor displayColour() const;

private:
    bool isPartnerLink() const;

    FTPerson* m_person;
    RelativesHierarchy* m_owner;
    QString m_relToOwner;
    int m_level;
    bool m_built = false;
    std::vector<std::unique_ptr<RelativesHierarchy>> m_nextGen;
};
