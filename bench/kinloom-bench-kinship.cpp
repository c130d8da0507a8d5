// kinloom-bench-kinship [PEOPLE] [ROYAL92.RezUdu]
// Builds a synthetic family database of PEOPLE people (default 100,000) and measures, one figure a line as
// "name: value":
//  - naming the blood relationship between two distant relatives (descendants of one founder along different
//    children, in the deepest generations), with and without a prepared ancestor set, and between two people with
//    no common ancestor;
//  - building the ancestor set of an ancestral view rooted in the deepest generation (10 generations or more), and
//    numbering it (ahnentafel);
//  - the kinship set of 10 steps around that person;
//  - numbering a 24-generation pedigree in which a brother and a sister marry in every generation, and, on the
//    sample database (default: the build's share/kinloom/Royal92.RezUdu, read through a copy), the deepest
//    pedigree, checking that each person's numbers are those that following every line from the root gives.
// Each timing is the median of several runs.
#include "BenchSupport.h"
#include "../tests/support/AhnentafelReference.h"

#include "model/DOvurV6Schema.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"
#include "model/FTProjectView.h"
#include "model/SyntheticDatabase.h"

#include "platform/AppPaths.h"
#include "platform/store/ObjectContext.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>

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

// The sample database's deepest pedigree: numbered by the view and by every line, compared person by person.
void sampleDatabasePedigree(const QString& sample, const BenchSandbox& temp)
{
    const QString copy = temp.filePath(QStringLiteral("sample.RezUdu"));
    ObjectContext ctx(DOvurV6Schema());
    QString error;
    if (!QFile::copy(sample, copy) || !ctx.open(copy, ObjectContext::OpenMode::Existing, &error)) {
        std::fprintf(stderr, "no sample database at %s %s\n", qPrintable(sample), qPrintable(error));
        return;
    }
    // The person with the most generations of known ancestors (the longest line of natural parents).
    QHash<const FTPerson*, int> generations;
    std::function<int(const FTPerson*)> generationsAbove = [&](const FTPerson* p) {
        if (const auto it = generations.constFind(p); it != generations.constEnd())
            return *it;
        generations.insert(p, 0); // a loop of links ends here
        int g = 0;
        for (const FTPerson* parent : naturalParents(p))
            g = std::max(g, generationsAbove(parent) + 1);
        generations.insert(p, g);
        return g;
    };
    FTPerson* deepest = nullptr;
    for (FTPerson* p : ctx.fetch<FTPerson>())
        if (!deepest || generationsAbove(p) > generationsAbove(deepest))
            deepest = p;
    auto* view = ctx.insertObject<FTProjectView>();
    view->setRootPersonInAncestralView(deepest);
    const auto expected = ahnentafelNumbersAlongEveryLine(deepest);
    bool same = true;
    qsizetype numbers = 0;
    for (auto it = expected.begin(); it != expected.end(); ++it) {
        const QList<quint64>& all = it.value();
        numbers += all.size();
        const QList<quint64> listed = all.first(std::min(all.size(), qsizetype(FTProjectView::kShownAhnentafelNumbers + 1)));
        same = same && view->ahnentafelNumbersFor(it.key()) == listed
            && view->ahnentafelPathCount(it.key()) == quint64(all.size());
    }
    std::printf("ahnentafel_royal92_generations: %d\n", generationsAbove(deepest) + 1);
    std::printf("ahnentafel_royal92_people: %lld\n", qlonglong(expected.size()));
    std::printf("ahnentafel_royal92_numbers: %lld\n", qlonglong(numbers));
    std::printf("ahnentafel_royal92_same_numbers: %s\n", same ? "yes" : "NO");
    std::printf("ahnentafel_royal92_ms: %.3f\n", medianMs(21, [&] {
        view->clearAncestorsSet();
        view->ahnentafelNumbersFor(deepest);
    }));
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
    BenchSandbox sandbox;
    QCoreApplication app(argc, argv);
    const int target = argc > 1 ? std::max(100, std::atoi(argv[1])) : 100000;
    QString error;
    ObjectContext ctx(DOvurV6Schema());
    if (!ctx.open(sandbox.filePath("bench.RezUdu"), ObjectContext::OpenMode::CreateIfMissing, &error)) {
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

    // A brother and a sister marry in every generation, 24 generations up: 2^23 lines lead to the top couple.
    FTPerson* inbredRoot = ctx.insertObject<FTPerson>();
    inbredRoot->setName(QStringLiteral("Inbred Root"));
    {
        FTPerson* father = inbredRoot;
        FTPerson* mother = nullptr;
        for (int g = 1; g <= 24; ++g) {
            FTPerson* parents[2] = { ctx.insertObject<FTPerson>(), ctx.insertObject<FTPerson>() };
            parents[0]->setGender(QStringLiteral("M"));
            parents[1]->setGender(QStringLiteral("F"));
            for (FTPerson* child : { father, mother }) {
                if (!child)
                    continue;
                for (FTPerson* parent : parents) {
                    auto* link = ctx.insertObject<FTPcRel>();
                    link->setParent(parent);
                    link->setChild(child);
                    link->setPcRelType(FTPcRel::kNatural);
                }
            }
            father = parents[0];
            mother = parents[1];
        }
    }
    auto* inbred = ctx.insertObject<FTProjectView>();
    inbred->setRootPersonInAncestralView(inbredRoot);
    std::printf("ahnentafel_inbred_ms: %.3f\n", medianMs(21, [&] {
        inbred->clearAncestorsSet();
        inbred->ahnentafelNumbersFor(inbredRoot);
    }));

    int reached = 0;
    std::printf(
        "kinship_10_steps_ms: %.3f\n", medianMs(5, [&] { reached = int(deepest->peopleInKinship(10).size()); }));
    std::printf("kinship_10_steps_people: %d\n", reached);

    sampleDatabasePedigree(argc > 2 ? QString::fromLocal8Bit(argv[2])
                                    : AppPaths::sharedSupportDirectory() + QStringLiteral("/Royal92.RezUdu"),
        sandbox);
    return 0;
}
