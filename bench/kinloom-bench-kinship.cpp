// kinloom-bench-kinship [PEOPLE]
// Builds a synthetic family database of PEOPLE people (default 100,000) and measures, one figure a line as
// "name: value":
//  - naming the blood relationship between two distant relatives (descendants of one founder along different
//    children, in the deepest generations), with and without a prepared ancestor set, and between two people with
//    no common ancestor;
//  - building the ancestor set of an ancestral view rooted in the deepest generation (10 generations or more), and
//    numbering it (ahnentafel);
//  - the kinship set of 10 steps around that person.
// Each timing is the median of several runs.
#include "BenchSupport.h"
#include "model/DOvurV6Schema.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"
#include "model/FTProjectView.h"
#include "model/SyntheticDatabase.h"

#include "platform/store/ObjectContext.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHash>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {
QList<FTPerson*> naturalParents(const FTPerson* p)
{
    QList<FTPerson*> out;
    for (const FTPcRel* link : p->parents())
        if (link->pcRelType() == FTPcRel::kNatural && link->parent())
            out << link->parent();
    return out;
}

QList<FTPerson*> naturalChildren(const FTPerson* p)
{
    QList<FTPerson*> out;
    for (const FTPcRel* link : p->children())
        if (link->pcRelType() == FTPcRel::kNatural && link->child())
            out << link->child();
    return out;
}
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int target = argc > 1 ? std::max(100, std::atoi(argv[1])) : 100000;
    QTemporaryDir temp;
    QString error;
    ObjectContext ctx(DOvurV6Schema());
    if (!ctx.open(temp.filePath("bench.RezUdu"), ObjectContext::OpenMode::CreateIfMissing, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    const SyntheticDatabase::Counts counts = SyntheticDatabase::build(ctx, target);
    std::printf("people: %d\n", counts.people);

    // Generations: a person's depth is one more than the deepest natural parent's (people are made parents
    // first, so one pass in number order settles them).
    QList<FTPerson*> people
        = ctx.fetch<FTPerson>({}, [](const FTPerson* a, const FTPerson* b) { return a->numericId() < b->numericId(); });
    QHash<const FTPerson*, int> depth;
    for (const FTPerson* p : people) {
        int d = 0;
        for (const FTPerson* parent : naturalParents(p))
            d = std::max(d, depth.value(parent) + 1);
        depth.insert(p, d);
    }
    FTPerson* deepest = *std::max_element(
        people.begin(), people.end(), [&](const FTPerson* a, const FTPerson* b) { return depth[a] < depth[b]; });
    std::printf("generations: %d\n", depth[deepest] + 1);

    // Up the deepest line to its founder, then down another child's line to its deepest descendant.
    QList<FTPerson*> line { deepest };
    while (true) {
        const QList<FTPerson*> parents = naturalParents(line.last());
        auto up = std::find_if(
            parents.begin(), parents.end(), [&](const FTPerson* p) { return depth[p] == depth[line.last()] - 1; });
        if (up == parents.end())
            break;
        line << *up;
    }
    FTPerson* founder = line.last();
    FTPerson* viaChild = line.size() > 1 ? line[line.size() - 2] : nullptr;
    FTPerson* other = nullptr;
    for (FTPerson* child : naturalChildren(founder)) {
        if (child == viaChild)
            continue;
        QList<FTPerson*> generation { child };
        while (!generation.isEmpty()) {
            for (FTPerson* p : generation)
                if (!other || depth[p] > depth[other])
                    other = p;
            QList<FTPerson*> next;
            for (const FTPerson* p : generation)
                next << naturalChildren(p);
            generation = next;
        }
    }
    if (!other) {
        std::fprintf(stderr, "no second line of descent found\n");
        return 1;
    }
    // Somebody of another founder's family, or married in: the walk goes all the way up before it gives up.
    QSet<FTPerson*> deepestAncestors;
    FTPerson::recurseAncestorsSet(deepestAncestors, { deepest });
    FTPerson* stranger = nullptr;
    for (FTPerson* p : people)
        if ((!stranger || depth[p] > depth[stranger]) && !FTPerson::recurseAncestors2(deepestAncestors, { p }))
            stranger = p;

    FTPerson* common = nullptr;
    const QString phrase = deepest->consanguinityWithPerson(other, &common);
    std::printf("relationship: %s\n", qPrintable(phrase.section(QLatin1String(" of "), 0, 0)));
    std::printf("relationship_ms: %.3f\n", medianMs(21, [&] { deepest->consanguinityWithPerson(other); }));
    QSet<FTPerson*> ancestors;
    FTPerson::recurseAncestorsSet(ancestors, { deepest });
    std::printf("relationship_with_ancestor_set_ms: %.3f\n",
        medianMs(21, [&] { deepest->consanguinityWithPerson(other, nullptr, &ancestors); }));
    if (stranger) {
        std::printf("no_relationship_generations: %d\n", depth[stranger] + 1);
        std::printf("no_relationship_ms: %.3f\n", medianMs(21, [&] { deepest->consanguinityWithPerson(stranger); }));
    }

    auto* view = ctx.insertObject<FTProjectView>();
    view->setRootPersonInAncestralView(deepest);
    int members = 0;
    std::printf("ancestor_set_ms: %.3f\n", medianMs(21, [&] {
        view->clearAncestorsSet();
        members = int(view->ancestorsSet().size());
    }));
    std::printf("ancestor_set_people: %d\n", members);
    std::printf("ahnentafel_ms: %.3f\n", medianMs(21, [&] {
        view->clearAncestorsSet();
        view->ahnentafelNumbersFor(founder);
    }));

    // A complete pedigree of 10 generations (1,023 people) above one more person of the database.
    FTPerson* root = ctx.insertObject<FTPerson>();
    root->setName(QStringLiteral("Pedigree Root"));
    {
        QList<FTPerson*> generation { root };
        for (int g = 1; g < 10; ++g) {
            QList<FTPerson*> next;
            for (FTPerson* child : generation)
                for (const char* gender : { "M", "F" }) {
                    auto* parent = ctx.insertObject<FTPerson>();
                    parent->setName(QStringLiteral("Ancestor %1").arg(next.size()));
                    parent->setGender(QString::fromLatin1(gender));
                    auto* link = ctx.insertObject<FTPcRel>();
                    link->setParent(parent);
                    link->setChild(child);
                    link->setPcRelType(FTPcRel::kNatural);
                    next << parent;
                }
            generation = next;
        }
    }
    auto* pedigree = ctx.insertObject<FTProjectView>();
    pedigree->setRootPersonInAncestralView(root);
    std::printf("pedigree_ancestor_set_ms: %.3f\n", medianMs(21, [&] {
        pedigree->clearAncestorsSet();
        members = int(pedigree->ancestorsSet().size());
    }));
    std::printf("pedigree_ancestor_set_people: %d\n", members);
    std::printf("pedigree_ahnentafel_ms: %.3f\n", medianMs(21, [&] {
        pedigree->clearAncestorsSet();
        pedigree->ahnentafelNumbersFor(root);
    }));

    int reached = 0;
    std::printf(
        "kinship_10_steps_ms: %.3f\n", medianMs(5, [&] { reached = int(deepest->peopleInKinship(10).size()); }));
    std::printf("kinship_10_steps_people: %d\n", reached);
    return 0;
}
