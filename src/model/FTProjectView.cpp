#include "model/FTProjectView.h"

#include "model/FTMoc.h"
#include "model/FTModelDefaults.h"
#include "model/FTPerson.h"
#include "model/NaturalLinks.h"

#include "platform/Localizer.h"

#include <QHash>

#include <algorithm>

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

QList<quint64> FTProjectView::ahnentafelNumbersFor(const FTPerson* person)
{
    Cache& c = *m_cache;
    if (!c.numbersBuilt) {
        c.numbersBuilt = true;
        if (FTPerson* root = rootPersonInAncestralView()) {
            // Depth first along every line, so that a person reached along several lines (pedigree collapse)
            // collects every number. `path[g]` is the person numbered last at generation g: the line from the
            // root to the person being numbered, on which a loop of links would show as a repeat.
            constexpr int kDeepest = 62;
            struct Step {
                FTPerson* person;
                quint64 number;
                int generation;
            };
            std::vector<Step> stack { { root, 1, 0 } };
            std::vector<const FTPerson*> path(kDeepest + 1, nullptr);
            while (!stack.empty()) {
                const Step step = stack.back();
                stack.pop_back();
                if (std::find(path.begin(), path.begin() + step.generation, step.person)
                    != path.begin() + step.generation)
                    continue;
                path[size_t(step.generation)] = step.person;
                c.numbers[step.person] << step.number;
                if (step.generation == kDeepest)
                    continue;
                if (FTPerson* mother = step.person->naturalMother())
                    stack.push_back({ mother, 2 * step.number + 1, step.generation + 1 });
                if (FTPerson* father = step.person->naturalFather())
                    stack.push_back({ father, 2 * step.number, step.generation + 1 });
            }
            for (QList<quint64>& numbers : c.numbers)
                std::sort(numbers.begin(), numbers.end());
        }
    }
    return c.numbers.value(person);
}

QColor FTProjectView::currentViewColour() const
{
    FTMoc* m = moc();
    return m && m->projectView() == this ? QColor(255, 0, 0) : QColor(0, 0, 0);
}
