#include "model/FTProjectView.h"

#include "model/FTMoc.h"
#include "model/FTModelDefaults.h"
#include "model/FTPerson.h"
#include "model/NaturalLinks.h"

#include "platform/Localizer.h"
#include "platform/store/ReleasingWalk.h"

#include <QHash>

#include <algorithm>
#include <array>
#include <limits>
#include <vector>

namespace {
const Key kName("name");
const Key kNotes("notes");
const Key kComments("comments");
const Key kLastChange("lastChange");
const Key kPersons("persons");
const Key kRootPersonInAncestralView("rootPersonInAncestralView");
const Key kModelDefaultCurrentView("modelDefaultCurrentView");
}

QString FTProjectView::name() const
{
    return ManagedObject::stringValue(kName);
}
void FTProjectView::setName(const QString& value)
{
    ManagedObject::setString(kName, value);
}
QString FTProjectView::notes() const
{
    return ManagedObject::stringValue(kNotes);
}
void FTProjectView::setNotes(const QString& value)
{
    ManagedObject::setString(kNotes, value);
}
QString FTProjectView::comments() const
{
    return ManagedObject::stringValue(kComments);
}
void FTProjectView::setComments(const QString& value)
{
    ManagedObject::setString(kComments, value);
}
QDateTime FTProjectView::lastChange() const
{
    return ManagedObject::dateValue(kLastChange);
}
void FTProjectView::setLastChange(const QDateTime& value)
{
    ManagedObject::setDate(kLastChange, value);
}

QList<FTPerson*> FTProjectView::storedPersons() const
{
    return ManagedObject::objectList<FTPerson>(kPersons);
}
void FTProjectView::addPersonsObject(FTPerson* value)
{
    ManagedObject::addObject(kPersons, value);
}
void FTProjectView::removePersonsObject(FTPerson* value)
{
    ManagedObject::removeObject(kPersons, value);
}
FTPerson* FTProjectView::rootPersonInAncestralView() const
{
    return ManagedObject::object<FTPerson>(kRootPersonInAncestralView);
}
void FTProjectView::setRootPersonInAncestralView(FTPerson* value)
{
    ManagedObject::setObject(kRootPersonInAncestralView, value);
    clearAncestorsSet();
}
FTModelDefaults* FTProjectView::modelDefaultCurrentView() const
{
    return ManagedObject::object<FTModelDefaults>(kModelDefaultCurrentView);
}
void FTProjectView::setModelDefaultCurrentView(FTModelDefaults* value)
{
    ManagedObject::setObject(kModelDefaultCurrentView, value);
}

// ---- Ancestral views -------------------------------------------------------------------------------------------

struct FTProjectView::Cache {
    bool ancestorsBuilt = false;
    QSet<QString> ancestors;
    QStringList ancestorsInOrder;
    bool numbersBuilt = false;
    QHash<const FTPerson*, QList<quint64>> numbers;
    QHash<const FTPerson*, quint64> pathCounts;
};

FTProjectView::FTProjectView()
    : m_cache(std::make_unique<Cache>())
{
}

FTProjectView::~FTProjectView() = default;

FTProjectView* FTProjectView::initInMoc(FTMoc* moc)
{
    auto* view = moc->insertObject<FTProjectView>();
    nameNewObjectAction(moc, LocalizedString("AddAncestralView"));
    view->clearAncestorsSet();
    return view;
}

void FTProjectView::clearAncestorsSet()
{
    *m_cache = Cache();
}

void FTProjectView::clearAncestorsSetsOfAllViews(ObjectContext* context)
{
    if (!context)
        return;
    context->forEachObject(QString::fromLatin1(kEntityName), [](ManagedObject* o) {
        static_cast<FTProjectView*>(o)->clearAncestorsSet();
        return true;
    });
}

const QSet<QString>& FTProjectView::ancestorsSet()
{
    Cache& c = *m_cache;
    if (c.ancestorsBuilt)
        return c.ancestors;
    c.ancestorsBuilt = true;
    FTPerson* root = rootPersonInAncestralView();
    if (!root)
        return c.ancestors;
    c.ancestors.reserve(500);
    // One generation at a time; a person already collected is not walked again.
    QSet<FTPerson*> seen { root };
    c.ancestors.insert(root->objectURI());
    c.ancestorsInOrder << root->objectURI();
    QList<FTPerson*> generation { root };
    QList<FTPerson*> parents;
    while (!generation.isEmpty()) {
        QList<FTPerson*> next;
        for (const FTPerson* person : std::as_const(generation)) {
            parents.clear();
            NaturalLinks::appendNaturalParents(person, parents);
            for (FTPerson* parent : std::as_const(parents)) {
                if (seen.contains(parent))
                    continue;
                seen.insert(parent);
                const QString uri = parent->objectURI();
                c.ancestors.insert(uri);
                c.ancestorsInOrder << uri;
                next << parent;
            }
        }
        generation = std::move(next);
    }
    return c.ancestors;
}

QList<FTPerson*> FTProjectView::persons()
{
    if (!rootPersonInAncestralView())
        return storedPersons();
    ancestorsSet();
    QList<FTPerson*> out;
    for (const QString& uri : std::as_const(m_cache->ancestorsInOrder)) {
        ManagedObject* o = context()->objectForURI(uri);
        if (o && !o->isDeleted() && o->isKindOfEntity(QString::fromLatin1(FTPerson::kEntityName)))
            out << static_cast<FTPerson*>(o);
    }
    return out;
}

namespace {
quint64 saturatingAdd(quint64 a, quint64 b)
{
    return b > std::numeric_limits<quint64>::max() - a ? std::numeric_limits<quint64>::max() : a + b;
}
}

void FTProjectView::buildAhnentafelNumbers()
{
    Cache& c = *m_cache;
    c.numbersBuilt = true;
    FTPerson* root = rootPersonInAncestralView();
    if (!root)
        return;
    // The deepest generation a 64-bit number holds; a number from here on has no parents' numbers.
    constexpr int kDeepest = 62;
    constexpr quint64 kLastWithParents = quint64(1) << kDeepest;
    constexpr size_t kKept = size_t(kShownAhnentafelNumbers) + 1;

    // The ancestor graph, each person once, walked depth first from the root. A link to a person on the walk's
    // own line (a loop of links) is left out, as a line that comes back to a person already on it is not
    // followed round again; what is left has no loop, and its reverse finishing order lists every person after
    // all the children that lead to them.
    struct Node {
        FTPerson* person = nullptr;
        FTPerson* parents[2] = { nullptr, nullptr }; // father (number 2n), mother (2n + 1)
        int up[2] = {-1, -1}; // the parents' nodes, where the link is followed
        int state = 0; // 0 not reached, 1 on the walk's line, 2 finished
        int depth = 0; // the longest line from the root
        QList<quint64> numbers; // the smallest kKept
        quint64 count = 0;
    };
    std::vector<Node> nodes;
    QHash<const FTPerson*, int> index;
    const auto nodeFor = [&](FTPerson* person) {
        if (const auto it = index.constFind(person); it != index.constEnd())
            return *it;
        Node node;
        node.person = person;
        node.parents[0] = person->naturalFather();
        node.parents[1] = person->naturalMother();
        nodes.push_back(std::move(node));
        index.insert(person, int(nodes.size()) - 1);
        return int(nodes.size()) - 1;
    };
    std::vector<int> finished;
    // A large file's ancestry may be most of it: the people met are given back as the walk goes (each node keeps
    // only pointers).
    ReleasingWalk releasing(*root->context());
    std::vector<std::pair<int, int>> walk {{nodeFor(root), 0}}; // node, next parent to look at
    nodes[0].state = 1;
    while (!walk.empty()) {
        releasing.releasePoint();
        const int x = walk.back().first;
        const int bit = walk.back().second++;
        if (bit == 2) {
            nodes[size_t(x)].state = 2;
            finished.push_back(x);
            walk.pop_back();
            continue;
        }
        FTPerson* parent = nodes[size_t(x)].parents[bit];
        if (!parent)
            continue;
        const int y = nodeFor(parent);
        if (nodes[size_t(y)].state == 1)
            continue;
        nodes[size_t(x)].up[bit] = y;
        if (nodes[size_t(y)].state == 0) {
            nodes[size_t(y)].state = 1;
            walk.push_back({y, 0});
        }
    }

    // Root first, each person's numbers from its children's: a number is 2n or 2n + 1 of a child's n, so the
    // smallest numbers of a person come from the smallest of each child.
    nodes[0].numbers = {1};
    nodes[0].count = 1;
    int deepest = 0;
    QList<quint64> merged;
    for (auto it = finished.rbegin(); it != finished.rend(); ++it) {
        const Node& child = nodes[size_t(*it)];
        deepest = std::max(deepest, child.depth);
        for (int bit = 0; bit < 2; ++bit) {
            if (child.up[bit] < 0)
                continue;
            Node& parent = nodes[size_t(child.up[bit])];
            parent.depth = std::max(parent.depth, child.depth + 1);
            parent.count = saturatingAdd(parent.count, child.count);
            merged = parent.numbers;
            for (quint64 n : child.numbers)
                if (n < kLastWithParents)
                    merged << 2 * n + quint64(bit);
            std::sort(merged.begin(), merged.end());
            if (size_t(merged.size()) > kKept)
                merged.resize(qsizetype(kKept));
            parent.numbers = merged;
        }
    }
    // Lines longer than 62 generations have no number: counted by generation, they are left out.
    if (deepest > kDeepest) {
        std::vector<std::array<quint64, kDeepest + 1>> byGeneration(nodes.size());
        for (auto& generations : byGeneration)
            generations.fill(0);
        byGeneration[0][0] = 1;
        for (auto it = finished.rbegin(); it != finished.rend(); ++it) {
            const Node& child = nodes[size_t(*it)];
            for (int bit = 0; bit < 2; ++bit) {
                if (child.up[bit] < 0)
                    continue;
                auto& parent = byGeneration[size_t(child.up[bit])];
                const auto& mine = byGeneration[size_t(*it)];
                for (int g = 0; g < kDeepest; ++g)
                    parent[size_t(g) + 1] = saturatingAdd(parent[size_t(g) + 1], mine[size_t(g)]);
            }
        }
        for (size_t i = 0; i < nodes.size(); ++i) {
            quint64 count = 0;
            for (quint64 n : byGeneration[i])
                count = saturatingAdd(count, n);
            nodes[i].count = count;
        }
    }
    for (const Node& node : nodes) {
        if (node.numbers.isEmpty())
            continue;
        c.numbers.insert(node.person, node.numbers);
        c.pathCounts.insert(node.person, node.count);
    }
}

QList<quint64> FTProjectView::ahnentafelNumbersFor(const FTPerson* person)
{
    if (!m_cache->numbersBuilt)
        buildAhnentafelNumbers();
    return m_cache->numbers.value(person);
}

quint64 FTProjectView::ahnentafelPathCount(const FTPerson* person)
{
    if (!m_cache->numbersBuilt)
        buildAhnentafelNumbers();
    return m_cache->pathCounts.value(person);
}

QColor FTProjectView::currentViewColour() const
{
    FTMoc* m = moc();
    return m && m->projectView() == this ? QColor(255, 0, 0) : QColor(0, 0, 0);
}
