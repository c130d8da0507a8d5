#pragma once

#include "platform/store/UndoManager.h"

#include <QStringList>

// The undo manager of every family database (FTMoc installs it when it opens a store). Beside the store's undo it:
//  - asks "Undo: <action>?" (Yes / No) before undoing, and "Redo: <action>?" before redoing, a named action;
//    No leaves everything as it was; an unnamed action is undone without a question;
//  - keeps a history of action names, newest first: every name given (cut to the newest 100 whenever an action
//    is named) and "Undid: <action>" / "Redid: <action>" for each undo and redo. The save log and the exception
//    report print it;
//  - ignores action names while its context runs a GEDCOM import (FTMoc::importThreadIsActive()).
// It keeps 20 levels of undo.
class FTMocUndoManager : public UndoManager {
public:
    static constexpr int kLevelsOfUndo = 20;
    static constexpr int kHistoryLength = 100;

    FTMocUndoManager();
    ~FTMocUndoManager() override;

    void setActionName(const QString& name) override;
    void undo() override;
    void redo() override;

    // The history, newest first.
    const QStringList& undoActionsArray() const { return m_undoActionsArray; }
    // The history as one text: "  <entry>\n" per entry, newest first; empty for an empty history.
    QString undoActionsList() const;

private:
    bool importRunning() const;
    bool confirm(const QString& verb, const QString& action) const;

    QStringList m_undoActionsArray;
};
