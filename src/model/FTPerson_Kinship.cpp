#include "model/FTPerson.h"

#include "model/RelativesHierarchy.h"

#include "platform/Localizer.h"
#include "platform/store/ReleasingWalk.h"

#include <algorithm>

QSet<FTPerson*> FTPerson::peopleInKinship(int steps, const std::function<void(int)>& progress)
{
    QSet<FTPerson*> people { this };
    RelativesHierarchy root(this, nullptr, LocalizedString("Self"));
    if (progress)
        progress(0);
    // Level by level: the nodes of one level, in the order they were made, give the next level. This builds the
    // same tree as growing it from the root for every level, without walking the upper levels again.
    QList<RelativesHierarchy*> level { &root };
    // Many steps reach most of a large file; the tree keeps only pointers to the people it met.
    ReleasingWalk releasing(*context());
    for (int step = 1; step <= steps && !level.isEmpty(); ++step) {
        if (progress)
            progress(step * 100 / steps);
        QList<RelativesHierarchy*> next;
        for (RelativesHierarchy* node : std::as_const(level)) {
            releasing.releasePoint();
            next << node->nextGenArray(people);
        }
        level = std::move(next);
    }
    if (progress)
        progress(0);
    return people;
}

void FTPerson::addLevelToHierarchy(RelativesHierarchy* node, int level, QSet<FTPerson*>& peopleSet)
{
    if (!node)
        return;
    // Depth first, in the order of the nodes, without recursion.
    QList<RelativesHierarchy*> stack { node };
    while (!stack.isEmpty()) {
        RelativesHierarchy* current = stack.takeLast();
        const QList<RelativesHierarchy*> below = current->nextGenArray(peopleSet);
        for (auto it = below.crbegin(); it != below.crend(); ++it)
            if ((*it)->level() < level)
                stack << *it;
    }
}
