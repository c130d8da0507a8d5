#include "model/NaturalLinks.h"

#include "model/FTPcRel.h"
#include "model/FTPerson.h"

#include <algorithm>

namespace NaturalLinks {

void appendNaturalParents(const FTPerson* person, QList<FTPerson*>& out)
{
    const qsizetype first = out.size();
    for (const FTPcRel* link : person->parents()) {
        if (link->pcRelType() != FTPcRel::kNatural)
            continue;
        FTPerson* parent = link->parent();
        if (parent && !parent->isDeleted())
            out << parent;
    }
    if (out.size() - first > 1)
        std::stable_sort(out.begin() + first, out.end(),
            [](const FTPerson* a, const FTPerson* b) { return a->gender().compare(b->gender()) > 0; });
}

}
