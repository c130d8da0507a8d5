#include "reports/TemporaryAncestralView.h"

#include "model/FTMoc.h"
#include "model/FTMocUndoManager.h"
#include "model/FTPerson.h"
#include "model/FTProjectView.h"

#include "platform/Localizer.h"

namespace {
// Undo off while the view is made and deleted: neither is the user's change, and neither may be undone.
struct UndoOff {
    explicit UndoOff(FTMoc* moc)
        : undo(moc ? moc->undoManager() : nullptr)
    {
        if (undo)
            undo->disableUndoRegistration();
    }
    ~UndoOff()
    {
        if (undo)
            undo->enableUndoRegistration();
    }
    FTMocUndoManager* undo;
};
}

TemporaryAncestralView::TemporaryAncestralView(FTMoc* moc, FTPerson* root)
    : m_moc(moc)
{
    if (!moc || !root)
        return;
    m_view = root->ancestralView();
    if (m_view)
        return;
    UndoOff off(moc);
    // Inserted directly rather than with FTProjectView::initInMoc, which names an undo action.
    m_view = moc->insertObject<FTProjectView>();
    m_view->setRootPersonInAncestralView(root);
    m_view->setName(LocalizedString(QStringLiteral("PersonsAncestors")).arg(root->name()));
    m_view->clearAncestorsSet();
    m_made = true;
}

TemporaryAncestralView::~TemporaryAncestralView()
{
    if (!m_made || !m_view)
        return;
    UndoOff off(m_moc);
    m_view->setRootPersonInAncestralView(nullptr);
    m_moc->deleteObject(m_view);
}
