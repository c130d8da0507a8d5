#include "tools/UndoPass.h"

#include "model/FTMoc.h"
#include "model/FTMocUndoManager.h"

UndoPass::UndoPass(FTMoc* moc, const QString& actionName)
    : m_moc(moc)
    , m_actionName(actionName)
{
    if (!m_moc)
        return;
    FTMocUndoManager* um = m_moc->undoManager();
    // What was typed or done before belongs to an undo step of its own.
    um->closeOpenGroups();
    um->beginUndoGrouping();
    um->setActionName(m_actionName);
    m_open = true;
}

UndoPass::~UndoPass() { end(); }

void UndoPass::end()
{
    if (!m_open)
        return;
    m_open = false;
    FTMocUndoManager* um = m_moc->undoManager();
    // An undo or redo meanwhile has closed the group already.
    if (um->groupingLevel() == 0)
        return;
    if (um->actionName() != m_actionName)
        um->setActionName(m_actionName);
    um->endUndoGrouping();
}
