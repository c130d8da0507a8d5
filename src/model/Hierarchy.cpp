#include "model/Hierarchy.h"

#include "model/FTPcRel.h"
#include "model/FTPerson.h"

Hierarchy::Hierarchy(FTPerson* person, Hierarchy* owner, bool ancestors, int pcRelTypeMask)
    : m_person(person)
    , m_owner(owner)
    , m_ancestors(ancestors)
    , m_pcRelType(pcRelTypeMask == 0 ? FTPcRel::kNatural | FTPcRel::kAdopted : pcRelTypeMask)
    , m_level(owner ? owner->level() + 1 : 0)
{
    for (const Hierarchy* up = owner; up; up = up->owner())
        if (up->person() == person) {
            m_repeatFlag = true;
            break;
        }
}

// Frees the tree below without recursion: a long line of generations must not exhaust the stack.
Hierarchy::~Hierarchy()
{
    std::vector<std::unique_ptr<Hierarchy>> pending = std::move(m_nextGen);
    while (!pending.empty()) {
        std::unique_ptr<Hierarchy> node = std::move(pending.back());
        pending.pop_back();
        for (auto& below : node->m_nextGen)
            pending.push_back(std::move(below));
        node->m_nextGen.clear();
    }
}

QList<Hierarchy*> Hierarchy::nextGenArray()
{
    if (m_repeatFlag || m_contracted || !m_person)
        return {};
    if (!m_built) {
        m_built = true;
        const QList<FTPcRel*> links = m_ancestors ? m_person->parentRels() : m_person->childRels();
        for (const FTPcRel* link : links) {
            if ((link->intPcRelType() & m_pcRelType) == 0)
                continue;
            FTPerson* next = m_ancestors ? link->parent() : link->child();
            if (!next)
                continue;
            auto node = std::make_unique<Hierarchy>(next, this, m_ancestors, m_pcRelType);
            node->m_intPcRelToOwner = link->intPcRelType();
            node->m_seqNo = int(m_nextGen.size());
            m_nextGen.push_back(std::move(node));
        }
    }
    QList<Hierarchy*> out;
    out.reserve(qsizetype(m_nextGen.size()));
    for (const auto& node : m_nextGen)
        out << node.get();
    return out;
}

bool Hierarchy::hasNextGen()
{
    return numberInNextGen() > 0;
}

int Hierarchy::numberInNextGen()
{
    return int(nextGenArray().size());
}

Hierarchy* Hierarchy::childAtIndex(int index)
{
    const QList<Hierarchy*> next = nextGenArray();
    return index >= 0 && index < next.size() ? next[index] : nullptr;
}
