#include "platform/store/UndoManager.h"

#include "platform/store/ObjectContextPrivate.h"

#include <QObject>
#include <QSet>

#include <optional>

struct UndoManager::Private {
    struct Group {
        QString name;
        std::vector<UndoOperation> ops;
    };
    ObjectContext* context = nullptr;
    std::vector<Group> undoStack;
    std::vector<Group> redoStack;
    std::optional<Group> open;
    QSet<const ManagedObject*> insertedInOpen; // the records the open group inserts
    int level = 0;
    bool autoOpened = false;
    int disabled = 0;
    bool undoing = false;
    bool redoing = false;
    Group* replayTarget = nullptr;
    int levels = 0;
    QObject idle; // receives the end-of-turn close on the thread that made the manager
    bool closeQueued = false;

    void trim()
    {
        if (levels > 0 && int(undoStack.size()) > levels)
            undoStack.erase(undoStack.begin(), undoStack.begin() + (int(undoStack.size()) - levels));
    }
};

UndoManager::UndoManager()
    : d(std::make_unique<Private>())
{
}

UndoManager::~UndoManager() = default;

ObjectContext* UndoManager::context() const
{
    return d->context;
}
void UndoManager::attach(ObjectContext* context)
{
    d->context = context;
}

void UndoManager::beginUndoGrouping()
{
    if (d->level == 0) {
        d->open.emplace();
        d->insertedInOpen.clear();
        d->autoOpened = false;
    }
    ++d->level;
}

void UndoManager::endUndoGrouping()
{
    if (d->level == 0) {
        qWarning("UndoManager::endUndoGrouping without an open group");
        return;
    }
    if (--d->level == 0)
        closeOpenGroups();
}

int UndoManager::groupingLevel() const
{
    return d->level;
}

void UndoManager::closeOpenGroups()
{
    if (d->open && !d->open->ops.empty()) {
        d->undoStack.push_back(std::move(*d->open));
        d->trim();
    }
    d->open.reset();
    d->insertedInOpen.clear();
    d->level = 0;
    d->autoOpened = false;
}

// The group that the first change opened closes when the event loop of this thread next runs.
void UndoManager::scheduleClose()
{
    if (d->closeQueued)
        return;
    d->closeQueued = true;
    QMetaObject::invokeMethod(
        &d->idle,
        [this]() {
            d->closeQueued = false;
            if (d->autoOpened && d->level == 1)
                closeOpenGroups();
        },
        Qt::QueuedConnection);
}

void UndoManager::disableUndoRegistration()
{
    ++d->disabled;
}
void UndoManager::enableUndoRegistration()
{
    if (d->disabled > 0)
        --d->disabled;
}
bool UndoManager::isUndoRegistrationEnabled() const
{
    return d->disabled == 0;
}
bool UndoManager::isRecording() const
{
    return d->disabled == 0;
}

void UndoManager::record(UndoOperation&& op)
{
    if (d->replayTarget) {
        d->replayTarget->ops.push_back(std::move(op));
        return;
    }
    if (!d->open) {
        d->open.emplace();
        d->insertedInOpen.clear();
        d->level = 1;
        d->autoOpened = true;
        scheduleClose();
    }
    d->redoStack.clear();
    if (op.kind == UndoOperation::Kind::Insert)
        d->insertedInOpen.insert(op.object);
    d->open->ops.push_back(std::move(op));
}

bool ObjectContext::Private::insertedInOpenUndoGroup(const ManagedObject* o) const
{
    const UndoManager::Private& u = *undo->d;
    return !u.replayTarget && !u.insertedInOpen.isEmpty() && u.insertedInOpen.contains(o);
}

bool UndoManager::canUndo() const
{
    return !d->undoStack.empty() || (d->open && !d->open->ops.empty());
}
bool UndoManager::canRedo() const
{
    return !d->redoStack.empty();
}
bool UndoManager::isUndoing() const
{
    return d->undoing;
}
bool UndoManager::isRedoing() const
{
    return d->redoing;
}

void UndoManager::undo()
{
    closeOpenGroups();
    if (d->undoStack.empty() || !d->context)
        return;
    Private::Group group = std::move(d->undoStack.back());
    d->undoStack.pop_back();
    Private::Group opposite { group.name, {} };
    d->undoing = true;
    d->replayTarget = &opposite;
    for (auto it = group.ops.rbegin(); it != group.ops.rend(); ++it)
        d->context->d->replay(*it);
    d->replayTarget = nullptr;
    d->undoing = false;
    if (!opposite.ops.empty())
        d->redoStack.push_back(std::move(opposite));
}

bool UndoManager::undoNestedGroup()
{
    if (!d->open)
        return false;
    Private::Group group = std::move(*d->open);
    d->open.reset();
    d->insertedInOpen.clear();
    d->level = 0;
    d->autoOpened = false;
    if (group.ops.empty() || !d->context)
        return false;
    // The opposite is gathered, as undo() does, only to be dropped: this group is not offered again.
    Private::Group opposite { group.name, {} };
    d->undoing = true;
    d->replayTarget = &opposite;
    for (auto it = group.ops.rbegin(); it != group.ops.rend(); ++it)
        d->context->d->replay(*it);
    d->replayTarget = nullptr;
    d->undoing = false;
    return true;
}

void UndoManager::redo()
{
    closeOpenGroups();
    if (d->redoStack.empty() || !d->context)
        return;
    Private::Group group = std::move(d->redoStack.back());
    d->redoStack.pop_back();
    Private::Group opposite { group.name, {} };
    d->redoing = true;
    d->replayTarget = &opposite;
    for (auto it = group.ops.rbegin(); it != group.ops.rend(); ++it)
        d->context->d->replay(*it);
    d->replayTarget = nullptr;
    d->redoing = false;
    if (!opposite.ops.empty()) {
        d->undoStack.push_back(std::move(opposite));
        d->trim();
    }
}

QString UndoManager::actionName() const
{
    return d->open ? d->open->name : QString();
}

void UndoManager::setActionName(const QString& name)
{
    if (d->replayTarget) {
        d->replayTarget->name = name;
        return;
    }
    if (!d->open) {
        beginUndoGrouping();
        d->autoOpened = true;
        scheduleClose();
    }
    d->open->name = name;
}

QString UndoManager::undoActionName() const
{
    if (d->open && !d->open->ops.empty())
        return d->open->name;
    return d->undoStack.empty() ? QString() : d->undoStack.back().name;
}

QString UndoManager::redoActionName() const
{
    return d->redoStack.empty() ? QString() : d->redoStack.back().name;
}

void UndoManager::setLevelsOfUndo(int levels)
{
    d->levels = std::max(0, levels);
    d->trim();
}

int UndoManager::levelsOfUndo() const
{
    return d->levels;
}

void UndoManager::removeAllActions()
{
    d->undoStack.clear();
    d->redoStack.clear();
    d->open.reset();
    d->insertedInOpen.clear();
    d->level = 0;
    d->autoOpened = false;
    if (d->context)
        d->context->d->purgeGraveyard();
}

int UndoManager::undoCount() const
{
    return int(d->undoStack.size()) + (d->open && !d->open->ops.empty() ? 1 : 0);
}
int UndoManager::redoCount() const
{
    return int(d->redoStack.size());
}

void UndoManager::forEachRecordedObject(const std::function<void(const ManagedObject*)>& fn) const
{
    auto visit = [&](const Private::Group& g) {
        for (const UndoOperation& op : g.ops) {
            fn(op.object);
            if (op.other)
                fn(op.other);
        }
    };
    for (const auto& g : d->undoStack)
        visit(g);
    for (const auto& g : d->redoStack)
        visit(g);
    if (d->open)
        visit(*d->open);
}
