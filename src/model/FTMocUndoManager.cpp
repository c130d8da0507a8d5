#include "model/FTMocUndoManager.h"

#include "model/FTMoc.h"

#include "platform/Localizer.h"
#include "platform/Prompts.h"

FTMocUndoManager::FTMocUndoManager()
{
    setLevelsOfUndo(kLevelsOfUndo);
}

FTMocUndoManager::~FTMocUndoManager() = default;

bool FTMocUndoManager::importRunning() const
{
    const auto* moc = dynamic_cast<const FTMoc*>(context());
    return moc && moc->importThreadIsActive();
}

void FTMocUndoManager::setActionName(const QString& name)
{
    if (importRunning())
        return;
    UndoManager::setActionName(name);
    m_undoActionsArray.prepend(name);
    while (m_undoActionsArray.size() > kHistoryLength)
        m_undoActionsArray.removeLast();
}

bool FTMocUndoManager::confirm(const QString& verb, const QString& action) const
{
    if (action.isEmpty())
        return true;
    const QString question = QStringLiteral("%1: %2").arg(verb, action);
    return Prompts::current().choose(question, {}, {LocalizedString("Yes"), LocalizedString("No")}) == 0;
}

void FTMocUndoManager::undo()
{
    if (!canUndo())
        return;
    const QString action = undoActionName();
    if (!confirm(LocalizedString("Undo"), action))
        return;
    UndoManager::undo();
    m_undoActionsArray.prepend(QStringLiteral("%1: %2").arg(LocalizedString("Undid"), action));
}

void FTMocUndoManager::redo()
{
    if (!canRedo())
        return;
    const QString action = redoActionName();
    if (!confirm(LocalizedString("Redo"), action))
        return;
    UndoManager::redo();
    m_undoActionsArray.prepend(QStringLiteral("%1: %2").arg(LocalizedString("Redid"), action));
}

QString FTMocUndoManager::undoActionsList() const
{
    QString out;
    for (const QString& entry : m_undoActionsArray)
        out += QStringLiteral("  %1\n").arg(entry);
    return out;
}
