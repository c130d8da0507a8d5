#include "editor/ui/EditorPage.h"

#include "model/FTMoc.h"
#include "model/FTMocUndoManager.h"

EditorPage::EditorPage(QWidget* parent)
    : QWidget(parent)
{
}

bool EditorPage::isReplayingUndo(const FTMoc* moc)
{
    const UndoManager* undo = moc ? moc->undoManager() : nullptr;
    return undo && (undo->isUndoing() || undo->isRedoing());
}
