#include "shell/AncestralViewsList.h"

#include "shell/DisplayMsg.h"
#include "shell/Utils.h"

#include "model/FTMoc.h"
#include "model/FTModelDefaults.h"
#include "model/FTPerson.h"
#include "model/FTProjectView.h"

#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"
#include "model/FTMocUndoManager.h"

#include <algorithm>

namespace {
bool byName(const FTProjectView* a, const FTProjectView* b)
{
    return a->name().compare(b->name(), Qt::CaseInsensitive) < 0;
}
}

AncestralViewsList::AncestralViewsList(FTMoc* moc)
    : m_moc(moc)
{
    NotificationCenter& center = NotificationCenter::defaultCenter();
    center.addObserver(QStringLiteral("PersonToBeDeleted"), nullptr,
                       [this](const Notification& n) { personToBeDeleted(n); }, this);
    center.addObserver(QStringLiteral("RefreshAllViews"), nullptr,
                       [this](const Notification& n) { refreshAllViews(n); }, this);
}

AncestralViewsList::~AncestralViewsList()
{
    NotificationCenter::defaultCenter().removeObserversOf(this);
}

void AncestralViewsList::setMoc(FTMoc* moc)
{
    if (moc == m_moc)
        return;
    m_moc = moc;
    m_views.clear();
    m_selectedRow = -1;
    m_searchText.clear();
    notify();
}

FTProjectView* AncestralViewsList::selectedView() const
{
    FTProjectView* view = m_selectedRow >= 0 && m_selectedRow < m_views.size() ? m_views[m_selectedRow] : nullptr;
    return view && !view->isDeleted() ? view : nullptr;
}

void AncestralViewsList::findView(const QString& text)
{
    m_searchText = text;
    m_views.clear();
    m_selectedRow = -1;
    if (m_moc) {
        if (text.isEmpty()) {
            m_views = m_moc->fetch<FTProjectView>({}, byName);
            if (FTProjectView* current = m_moc->projectView())
                m_selectedRow = int(m_views.indexOf(current));
        } else {
            for (ManagedObject* found : m_moc->findObjectName(text, QString::fromLatin1(FTProjectView::kEntityName)))
                m_views << static_cast<FTProjectView*>(found);
        }
        m_views.removeIf([](const FTProjectView* view) { return view->isDeleted(); });
    }
    notify();
}

FTProjectView* AncestralViewsList::createAncestralViewForFocalPerson(
    const std::function<QString(const FTPerson&)>& viewName)
{
    if (!m_moc)
        return nullptr;
    FTPerson* focal = m_moc->focalPerson();
    if (!focal)
        return nullptr;
    FTProjectView* view = focal->ancestralView();
    if (!view) {
        view = FTProjectView::initInMoc(m_moc);
        view->setRootPersonInAncestralView(focal);
    }
    view->setName(viewName ? viewName(*focal)
                           : QStringLiteral("%1'%2 %3")
                                 .arg(focal->name(), LocalizedString(QStringLiteral("possessiveSuffix")),
                                      LocalizedString(QStringLiteral("ancestors"))));
    view->clearAncestorsSet();
    m_moc->modelDefaults()->setCurrentView(view);
    findView({});
    m_selectedRow = int(m_views.indexOf(view));
    notify();
    return view;
}

void AncestralViewsList::deleteView()
{
    FTProjectView* view = selectedView();
    if (!view || !m_moc) {
        DisplayMsg(LocalizedString(QStringLiteral("SelectAncestralView")));
        return;
    }
    FTModelDefaults* defaults = m_moc->modelDefaults();
    // Another view that is current stays current.
    if (defaults->currentView() == view)
        defaults->setCurrentView(nullptr);
    view->clearAncestorsSet();
    if (FTMocUndoManager* undo = m_moc->undoManager())
        undo->setActionName(LocalizedString(QStringLiteral("DeleteView")));
    m_moc->deleteObject(view);
    m_views.removeAll(view);
    m_selectedRow = -1;
    notify();
}

void AncestralViewsList::selectRow(int row)
{
    m_selectedRow = row >= 0 && row < m_views.size() ? row : -1;
    FTProjectView* view = selectedView();
    if (view && m_moc && view != m_moc->projectView()) {
        view->clearAncestorsSet();
        m_moc->modelDefaults()->setCurrentView(view);
        FTPerson* root = view->rootPersonInAncestralView();
        if (root && root != m_moc->focalPerson()
            && Utils::displayYesNoQuery(QStringLiteral("%1 %2 %3").arg(LocalizedString(QStringLiteral("Promote")),
                                                                       root->name(),
                                                                       LocalizedString(QStringLiteral("toBeFocal"))),
                                        LocalizedString(QStringLiteral("Yes")), LocalizedString(QStringLiteral("No"))))
            m_moc->setFocalPerson(root);
    }
    notify();
}

void AncestralViewsList::setSelectedRow(int row)
{
    m_selectedRow = row >= 0 && row < m_views.size() ? row : -1;
    notify();
}

void AncestralViewsList::personToBeDeleted(const Notification& n)
{
    if (!m_moc || !n.object || (n.context && n.context != m_moc))
        return;
    const auto* object = static_cast<const ManagedObject*>(n.object);
    if (object->context() != m_moc || !object->isKindOfEntity(QString::fromLatin1(FTPerson::kEntityName)))
        return;
    FTProjectView* view = static_cast<const FTPerson*>(object)->ancestralView();
    const qsizetype row = view ? m_views.indexOf(view) : -1;
    if (row < 0)
        return;
    FTProjectView* selected = selectedView();
    m_views.removeAt(row);
    m_selectedRow = selected && selected != view ? int(m_views.indexOf(selected)) : -1;
    notify();
}

void AncestralViewsList::refreshAllViews(const Notification& n)
{
    if (!m_moc || (n.context && n.context != m_moc))
        return;
    findView({});
}

void AncestralViewsList::notify()
{
    if (changed)
        changed();
}
