#include "merge/CopyOutline.h"

#include "model/FTPcRel.h"
#include "model/Hierarchy.h"

namespace {
// Natural, step, foster and adopted: whoever the user may want to take along.
constexpr int kEveryLink = FTPcRel::kNatural | FTPcRel::kStep | FTPcRel::kFoster | FTPcRel::kAdopted;
}

CopyOutline::CopyOutline(FTPerson* person, bool ancestors)
    : m_root(std::make_unique<Hierarchy>(person, nullptr, ancestors, kEveryLink))
    , m_ancestors(ancestors)
{
    // Depth first without recursion: a line of many generations must not exhaust the stack.
    std::vector<Hierarchy*> pending {m_root.get()};
    while (!pending.empty()) {
        Hierarchy* node = pending.back();
        pending.pop_back();
        m_rowOf.insert(node, int(m_rows.size()));
        m_rows << node;
        if (m_firstRowOf.contains(node->person())) {
            node->setRepeatedElsewhere(true);
            continue;
        }
        m_firstRowOf.insert(node->person(), int(m_rows.size() - 1));
        const QList<Hierarchy*> next = node->nextGenArray();
        for (auto it = next.rbegin(); it != next.rend(); ++it)
            pending.push_back(*it);
    }
    m_selected.assign(size_t(m_rows.size()), true);
}

CopyOutline::~CopyOutline() = default;

QList<Hierarchy*> CopyOutline::rowsUnder(Hierarchy* node) const
{
    if (!node || node->repeatedElsewhere())
        return {};
    return node->nextGenArray();
}

bool CopyOutline::isSelected(const Hierarchy* node) const
{
    const int row = rowOf(node);
    return row >= 0 && m_selected[size_t(row)];
}

void CopyOutline::setSelected(const Hierarchy* node, bool selected)
{
    const int row = rowOf(node);
    if (row >= 0)
        m_selected[size_t(row)] = selected;
}

void CopyOutline::setAllSelected(bool selected)
{
    m_selected.assign(m_selected.size(), selected);
}

bool CopyOutline::isPersonSelected(const FTPerson* person) const
{
    const auto it = m_firstRowOf.constFind(person);
    return it != m_firstRowOf.constEnd() && m_selected[size_t(*it)];
}
