#pragma once

// The ahnentafel numbers of every person above `root`, found by following each line from the root as they were
// first counted (the work doubles with every generation in which lines meet): the reference that the numbers an
// ancestral view builds once per person are checked against, by the tests and by the kinship benchmark.

#include "model/FTPerson.h"

#include <QHash>
#include <QList>

#include <algorithm>
#include <vector>

inline QHash<const FTPerson*, QList<quint64>> ahnentafelNumbersAlongEveryLine(FTPerson* root)
{
    QHash<const FTPerson*, QList<quint64>> out;
    struct Step {
        FTPerson* person;
        quint64 number;
        int generation;
    };
    std::vector<Step> stack {{root, 1, 0}};
    std::vector<const FTPerson*> line(63, nullptr);
    while (!stack.empty()) {
        const Step step = stack.back();
        stack.pop_back();
        if (std::find(line.begin(), line.begin() + step.generation, step.person) != line.begin() + step.generation)
            continue;
        line[size_t(step.generation)] = step.person;
        out[step.person] << step.number;
        if (step.generation == 62)
            continue;
        if (FTPerson* mother = step.person->naturalMother())
            stack.push_back({mother, 2 * step.number + 1, step.generation + 1});
        if (FTPerson* father = step.person->naturalFather())
            stack.push_back({father, 2 * step.number, step.generation + 1});
    }
    for (QList<quint64>& numbers : out)
        std::sort(numbers.begin(), numbers.end());
    return out;
}
