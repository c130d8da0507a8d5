#pragma once

// The person whose pedigree repeats itself most: the one whose ancestors, followed along every line and every kind
// of parent-child link, make the longest list (each ancestor counted once per line that reaches them). In a royal
// family that list is far longer than the number of ancestors.

#include "model/FTPcRel.h"
#include "model/FTPerson.h"

#include <QHash>
#include <QList>
#include <QSet>

#include <functional>

inline FTPerson* mostCollapsedPedigree(const QList<FTPerson*>& people, double* linesFollowed = nullptr)
{
    QHash<const FTPerson*, double> lines;
    QSet<const FTPerson*> onPath;
    std::function<double(const FTPerson*)> count = [&](const FTPerson* p) -> double {
        if (const auto it = lines.constFind(p); it != lines.constEnd())
            return *it;
        if (onPath.contains(p))
            return 1; // a loop of links: that row is not followed further
        onPath.insert(p);
        double n = 1;
        for (const FTPcRel* link : p->parentRels())
            if (link->parent())
                n += count(link->parent());
        onPath.remove(p);
        lines.insert(p, n);
        return n;
    };
    FTPerson* most = nullptr;
    double best = 0;
    for (FTPerson* p : people)
        if (const double n = count(p); n > best) {
            best = n;
            most = p;
        }
    if (linesFollowed)
        *linesFollowed = best;
    return most;
}
