#include "merge/SelectedPersonCandidates.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"

#include "platform/store/TextMatch.h"

#include "platform/store/ReleasingWalk.h"

#include <QCollator>

#include <algorithm>

QList<FTPerson*> SelectedPersonCandidates::search(FTMoc* otherMoc, const FTPerson* selectedPerson)
{
    if (!otherMoc || !selectedPerson)
        return {};
    const QString name = selectedPerson->name();
    const QString gender = selectedPerson->gender();
    // The gender is the cheaper test: the name pattern is folded for every person it meets.
    ReleasingWalk walk(*otherMoc);
    QList<FTPerson*> people = otherMoc->fetch<FTPerson>([&](const FTPerson* p) {
        walk.releasePoint();
        return p->gender() == gender && TextMatch::like(p->name(), name);
    });
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    QList<std::pair<QString, FTPerson*>> keyed;
    keyed.reserve(people.size());
    for (FTPerson* p : people) {
        walk.releasePoint();
        keyed.push_back({ p->nameWithBirthAndDeathYears(), p });
    }
    std::stable_sort(keyed.begin(), keyed.end(),
        [&](const auto& a, const auto& b) { return collator.compare(a.first, b.first) < 0; });
    people.clear();
    for (const auto& k : keyed)
        people << k.second;
    return people;
}

int SelectedPersonCandidates::preselected(const QList<FTPerson*>& candidates, const FTPerson* selectedPerson)
{
    if (!selectedPerson)
        return -1;
    const QString wanted = selectedPerson->nameWithBirthAndDeathYears();
    int found = -1;
    for (int i = 0; i < candidates.size(); ++i) {
        if (candidates[i]->nameWithBirthAndDeathYears() != wanted)
            continue;
        if (found >= 0)
            return -1;
        found = i;
    }
    return found;
}
