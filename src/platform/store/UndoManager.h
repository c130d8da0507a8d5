#pragma once

#include <QString>

#include <functional>
#include <memory>

#include "platform/store/ObjectContext.h"

class ManagedObject;
struct UndoOperation;

// The undo stack of one context. Every change made through the change path, every insert and every delete is
// recorded in the open group. A group opens with the first change (or an action name) and closes at the end of the
// event-loop turn, when closeOpenGroups() is called, or with the outermost endUndoGrouping(). undo() replays the
// newest group backwards and makes its opposite the newest redo group; redo() replays that forwards. A new change
// outside undo and redo empties the redo stack. Subclasses add confirmations and histories around undo(), redo()
// and setActionName().
class UndoManager {
public:
    UndoManager();
    virtual ~UndoManager();
    UndoManager(const UndoManager&) = delete;
    UndoManager& operator=(const UndoManager&) = delete;

    ObjectContext* context() const;

    void beginUndoGrouping();
    void endUndoGrouping();
    int groupingLevel() const;
    // Closes the open group whatever its level, as the end of the event-loop turn does.
    void closeOpenGroups();

    // Counted: each disable needs its enable.
    void disableUndoRegistration();
    void enableUndoRegistration();
    bool isUndoRegistrationEnabled() const;

    bool canUndo() const;
    bool canRedo() const;
    virtual void undo();
    virtual void redo();
    bool isUndoing() const;
    bool isRedoing() const;
    // Ends the open group and replays it backwards at once: no question, nothing left to redo, the groups before
    // it untouched. For a window that keeps its own group open for its life and offers to take back everything
    // done in it. Answers whether the group held a change.
    bool undoNestedGroup();

    // The name of the open group; empty while no group is open or it has no name yet.
    QString actionName() const;
    // Names the open group, opening one when none is open.
    virtual void setActionName(const QString& name);
    // The names of the groups that undo() and redo() would replay.
    QString undoActionName() const;
    QString redoActionName() const;

    // How many groups are kept (0: no limit); the oldest go first.
    void setLevelsOfUndo(int levels);
    int levelsOfUndo() const;
    void removeAllActions();
    int undoCount() const;
    int redoCount() const;

private:
    friend class ObjectContext;
    friend struct ObjectContext::Private;
    void attach(ObjectContext* context);
    bool isRecording() const;
    void record(UndoOperation&& op);
    void scheduleClose();
    void forEachRecordedObject(const std::function<void(const ManagedObject*)>& fn) const;

    struct Private;
    std::unique_ptr<Private> d;
};
