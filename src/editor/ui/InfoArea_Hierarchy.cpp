#include "editor/ui/InfoArea_Hierarchy.h"

#include "editor/FamilyChildren.h"
#include "editor/HierarchyOutlineRules.h"
#include "editor/RelativesPageRows.h"
#include "editor/ui/EditorHooks.h"
#include "editor/ui/HierarchyTreeModel.h"
#include "editor/ui/InfoArea_Hierarchy_OutlineView.h"
#include "editor/ui/InfoArea_Relatives_TableView.h"
#include "editor/ui/SelectSpouseController.h"

#include "diagrams/DiagramHooks.h"

#include "shell/DisplayMsg.h"
#include "shell/ui/SetFontSize.h"
#include "shell/ui/ThemeIcon.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/Hierarchy.h"

#include "platform/FTLog.h"
#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"

#include <QHBoxLayout>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

using Rules = HierarchyOutlineRules;

InfoArea_Hierarchy::InfoArea_Hierarchy(bool ancestors, QWidget* parent)
    : EditorPage(parent)
    , m_ancestors(ancestors)
{
    m_olv = new InfoArea_Hierarchy_OutlineView;
    m_model = new HierarchyTreeModel(this);
    m_olv->setModel(m_model);
    // Not while the edit's own closing is under way: the tree goes with the rebuild.
    connect(m_olv, &InfoArea_Hierarchy_OutlineView::editingEnded, this, [this] {
        if (m_refreshWhenEditEnds)
            refreshDisplay();
    }, Qt::QueuedConnection);
    connect(m_olv, &InfoArea_Hierarchy_OutlineView::buttonClicked, this, [this](const QModelIndex&, int column) {
        if (column == HierarchyTreeModel::DetailsButton)
            personsDetails();
        else
            personsFamily();
    });
    connect(m_olv, &InfoArea_Hierarchy_OutlineView::contextMenuRequested, this,
            [this](const QModelIndex& index, const QPoint& at) {
                if (QMenu* menu = createContextMenu(index)) {
                    menu->setAttribute(Qt::WA_DeleteOnClose);
                    menu->popup(at);
                }
            });

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(0, 3, 0, 0);
    const auto button = [this, buttons](const char* name, const char* icon, const char* key, void (InfoArea_Hierarchy::*action)()) {
        auto* b = new QPushButton(themeIcon(QString::fromLatin1(icon)), LocalizedString(key));
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        b->setFocusPolicy(Qt::NoFocus);
        connect(b, &QPushButton::clicked, this, [this, action] { (this->*action)(); });
        buttons->addWidget(b);
    };
    button("expandAll", "list-add", "HierarchyExpandButton", &InfoArea_Hierarchy::expandAllSelected);
    button("collapseAll", "list-remove", "HierarchyCollapseButton", &InfoArea_Hierarchy::collapseAllSelected);
    buttons->addStretch();
    button("printReport", "document-print", "HierarchyReportButton", &InfoArea_Hierarchy::printReport);
    button("printDiagram", "view-list-tree", "HierarchyDiagramButton", &InfoArea_Hierarchy::printDiagram);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_olv, 1);
    layout->addLayout(buttons);
    setFontSize(m_fontSize);
    setColumnHeadings();
}

InfoArea_Hierarchy::~InfoArea_Hierarchy()
{
    FTLog(QStringLiteral("dealloc InfoArea_Hierarchy"));
}

void InfoArea_Hierarchy::setSelectedPerson(FTPerson* person)
{
    if (person != m_person)
        m_olv->abandonEditing();
    m_person = person;
    m_moc = person ? person->moc() : nullptr;
    m_olv->setMoc(m_moc);
    if (!person) {
        m_projectView = nullptr;
        refreshDisplay();
    }
}

void InfoArea_Hierarchy::setProjectView(FTProjectView* view)
{
    m_projectView = view;
}

void InfoArea_Hierarchy::refreshDisplay()
{
    // What was typed reaches its person before the tree goes. An edit refused stays open with what was typed (and
    // is not told again): the tree is rebuilt once it has ended.
    m_refreshWhenEditEnds = m_olv->isEditRefused() || !m_olv->endEditing();
    if (m_refreshWhenEditEnds)
        return;
    m_model->setProjectView(m_projectView);
    m_model->setPerson(m_person && !m_person->isDeleted() ? m_person : nullptr, m_ancestors, Rules::kOpenLevels);
    m_olv->expandToLevel(Rules::kOpenLevels);
    setColumnHeadings();
}

void InfoArea_Hierarchy::setColumnHeadings()
{
    m_model->setNameHeading(Rules::heading(m_ancestors, m_person));
}

void InfoArea_Hierarchy::setFontSize(long size)
{
    if (size <= 0)
        return;
    m_fontSize = size;
    QFont font = m_olv->font();
    font.setPointSize(desktopPointSize(int(size)));
    m_olv->setFont(font);
    m_olv->setColumnWidths();
    m_olv->viewport()->update();
}

void InfoArea_Hierarchy::freeMemory()
{
    setSelectedPerson(nullptr);
}

void InfoArea_Hierarchy::personToBeDeleted(const Notification& n)
{
    if (!m_moc || n.context != m_moc)
        return;
    if (n.object == m_person) {
        setSelectedPerson(nullptr);
        return;
    }
    // The person may stand anywhere in the tree: nothing may reach it once it is gone.
    if (m_model->rowCount() > 0) {
        m_olv->abandonEditing();
        refreshDisplay();
    }
}

bool InfoArea_Hierarchy::endEditing()
{
    return m_olv->endEditing();
}

FTPerson* InfoArea_Hierarchy::selectedRowPerson() const
{
    return m_model->person(m_olv->selectedIndex());
}

void InfoArea_Hierarchy::expandAll(const QModelIndex& index)
{
    if (!m_olv->endEditing() || !m_model->node(index))
        return;
    m_olv->expandBranch(index, Rules::kExpandAllGenerations);
}

void InfoArea_Hierarchy::collapseAll(const QModelIndex& index)
{
    if (!m_olv->endEditing() || !m_model->node(index))
        return;
    m_olv->collapseBranch(index);
}

void InfoArea_Hierarchy::expandAllSelected()
{
    const QModelIndex index = m_olv->selectedIndex();
    if (!index.isValid()) {
        DisplayMsg(LocalizedString("PleaseSelectRow"));
        return;
    }
    expandAll(index);
}

void InfoArea_Hierarchy::collapseAllSelected()
{
    const QModelIndex index = m_olv->selectedIndex();
    if (!index.isValid()) {
        DisplayMsg(LocalizedString("PleaseSelectRow"));
        return;
    }
    collapseAll(index);
}

void InfoArea_Hierarchy::personsDetails()
{
    if (!m_olv->endEditing())
        return;
    if (FTPerson* person = selectedRowPerson()) {
        person->invokeAddChildDialog();
        m_olv->viewport()->update();
    }
}

void InfoArea_Hierarchy::personsFamily()
{
    if (!m_olv->endEditing())
        return;
    FamilyChildren::displayChildsFamily(selectedRowPerson(), [](FTPerson* p) {
        SelectSpouseController dialog(p);
        dialog.run();
        return dialog.spouse();
    });
}

void InfoArea_Hierarchy::printReport()
{
    if (!m_olv->endEditing() || !m_moc)
        return;
    m_moc->saveMoc();
    EditorHooks::run(EditorHooks::shared().narrativeReportSheet, "NarrativeReportWindow", window(), m_moc, m_ancestors ? 0 : 1);
}

void InfoArea_Hierarchy::printDiagram()
{
    if (!m_olv->endEditing())
        return;
    FTPerson* person = selectedRowPerson();
    if (!person)
        person = m_person;
    if (!person)
        return;
    // The diagrams' own entry serves when the editor was given none.
    if (!EditorHooks::shared().hierarchyWindow && DiagramHooks::shared().hierarchyDiagram)
        DiagramHooks::shared().hierarchyDiagram(person, m_ancestors);
    else
        EditorHooks::run(EditorHooks::shared().hierarchyWindow, "HierarchyDiagramWindow", person, m_ancestors);
}

QMenu* InfoArea_Hierarchy::createContextMenu(const QModelIndex& index)
{
    FTPerson* person = m_model->person(index);
    Hierarchy* node = m_model->node(index);
    if (!person || !node)
        return nullptr;
    m_olv->setCurrentIndex(index.siblingAtColumn(0));
    auto* menu = new QMenu(this);
    const QPersistentModelIndex at(index.siblingAtColumn(0));
    QAction* promote = menu->addAction(themeIcon(QStringLiteral("go-home")), RelativesPageRows::promoteMenuTitle(person));
    promote->setObjectName(QStringLiteral("promoteToFocalPerson"));
    connect(promote, &QAction::triggered, this, [this, at] {
        InfoArea_Relatives_TableView::promoteToFocalPerson(m_model->person(at));
    });
    QAction* expand = menu->addAction(themeIcon(QStringLiteral("list-add")), Rules::expandAllTitle(m_ancestors, person));
    expand->setObjectName(QStringLiteral("expandAll"));
    connect(expand, &QAction::triggered, this, [this, at] { expandAll(at); });
    QAction* collapse
        = menu->addAction(themeIcon(QStringLiteral("list-remove")), Rules::collapseAllTitle(m_ancestors, person));
    collapse->setObjectName(QStringLiteral("collapseAll"));
    connect(collapse, &QAction::triggered, this, [this, at] { collapseAll(at); });
    return menu;
}
