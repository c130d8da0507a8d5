#include "diagrams/HierarchyDiagramCommands.h"

#include "diagrams/HdPainter.h"

#include "diagrams/DiagramHooks.h"
#include "diagrams/HdOptions.h"
#include "diagrams/HierarchyLayout.h"

#include "shell/AlertHooks.h"
#include "shell/DisplayMsg.h"
#include "shell/Utils.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/Hierarchy.h"

#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"
#include "platform/Prompts.h"
#include "platform/UserDefaults.h"

#include <QSet>

#include <algorithm>
#include <vector>

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

UserDefaults& defaults()
{
    return UserDefaults::standard();
}

constexpr double kNudge = 5.0;
}

HierarchyDiagramCommands::HierarchyDiagramCommands(Host& host, HierarchyLayout& layout)
    : m_host(host)
    , m_layout(layout)
{
}

// ---- The tree ---------------------------------------------------------------------------------------------------

FTPerson* HierarchyDiagramCommands::rootPerson() const
{
    return m_layout.rootPerson();
}

FTMoc* HierarchyDiagramCommands::moc() const
{
    return rootPerson() ? rootPerson()->moc() : nullptr;
}

bool HierarchyDiagramCommands::bAncestors() const
{
    return m_layout.bAncestors();
}

void HierarchyDiagramCommands::setRootPerson(FTPerson* person, bool ancestors)
{
    m_layout.setRootPerson(person);
    m_layout.setBAncestors(ancestors);
    m_layout.setSelectedHierarchy(nullptr);
    m_selectAfterRebuild = nullptr;
    setDialogTitle();
    markForRebuild();
}

void HierarchyDiagramCommands::setBAncestors(bool ancestors)
{
    if (ancestors != m_layout.bAncestors())
        m_layout.setBAncestors(ancestors);
}

QString HierarchyDiagramCommands::dialogTitle() const
{
    FTPerson* root = rootPerson();
    if (!root)
        return {};
    return QStringLiteral("%1 of %2").arg(
        L(bAncestors() ? "Ancestors" : "Descendants"), HdOptions::nameWithYearsNow(root));
}

void HierarchyDiagramCommands::setDialogTitle()
{
    m_host.dialogTitleChanged(dialogTitle());
}

void HierarchyDiagramCommands::markForRebuild()
{
    m_layout.setRefreshArray(true);
    m_host.setNeedsRebuild();
}

bool HierarchyDiagramCommands::needsRebuild() const
{
    return m_layout.refreshArray() || (!m_layout.rootHierarchy() && rootPerson());
}

QSizeF HierarchyDiagramCommands::prepare(const QSizeF& visibleSize, const QSizeF& paperSize)
{
    if (needsRebuild()) {
        Hierarchy* selected = m_layout.selectedHierarchy();
        FTPerson* keep = m_selectAfterRebuild ? m_selectAfterRebuild : selected ? selected->person() : nullptr;
        m_layout.createHierarchy(visibleSize.width(), paperSize);
        // The title, printed atop every page, follows the options too; a chart narrower than its title widens.
        setDialogTitle();
        m_layout.keepWidthAtLeast(HdPainter::titleBlockWidth(dialogTitle(), HdPainter::byline(m_layout.options())));
        if (m_bGenStepperUsed && m_layout.maxLevelFound() < m_layout.maxLevel() && Utils::alertHooks().beep)
            Utils::alertHooks().beep();
        m_layout.resetFrameSize(keep, visibleSize);
        m_selectAfterRebuild = nullptr;
        m_layout.createRootPath();
        Hierarchy* now = m_layout.selectedHierarchy();
        m_host.selectedPersonChanged(now ? now->person() : nullptr, selectedPersonsInfo());
    }
    m_bGenStepperUsed = false;
    return QSizeF(std::max(visibleSize.width(), m_layout.xExtent()), std::max(visibleSize.height(), m_layout.yExtent()));
}

// ---- Selection --------------------------------------------------------------------------------------------------

Hierarchy* HierarchyDiagramCommands::selectedHierarchy() const
{
    return m_layout.selectedHierarchy();
}

void HierarchyDiagramCommands::setSelectedHierarchy(Hierarchy* node)
{
    m_layout.setSelectedHierarchy(node);
    m_layout.createRootPath();
    m_host.selectedPersonChanged(node ? node->person() : nullptr, selectedPersonsInfo());
    scrollSelectedPersonVisible();
    m_host.redraw();
}

void HierarchyDiagramCommands::scrollSelectedPersonVisible()
{
    if (const Hierarchy* node = m_layout.selectedHierarchy()) {
        const QRectF box = node->rclBox();
        m_host.scrollRectToVisible(QRectF(box.x() - 10.0, box.y(), box.width(), box.height() + 30.0));
    }
}

QString HierarchyDiagramCommands::selectedPersonsInfo() const
{
    const Hierarchy* selected = m_layout.selectedHierarchy();
    if (!selected || !selected->person())
        return {};
    QString info = selected->person()->nameWithBirthMarriageAndDeathInfo();
    info.replace(QLatin1Char('\n'), QStringLiteral(", "));
    while (info.contains(QStringLiteral("  ")))
        info.replace(QStringLiteral("  "), QStringLiteral(" "));
    return info;
}

Hierarchy* HierarchyDiagramCommands::nodeAt(const QPointF& point) const
{
    const int maxLevel = m_layout.maxLevel();
    std::vector<Hierarchy*> pending;
    if (m_layout.rootHierarchy())
        pending.push_back(m_layout.rootHierarchy());
    while (!pending.empty()) {
        Hierarchy* h = pending.back();
        pending.pop_back();
        if (h->rclBox().contains(point))
            return h;
        if (h->level() >= maxLevel)
            continue;
        const QList<Hierarchy*> next = h->nextGenArray();
        for (qsizetype i = next.size(); i-- > 0;)
            pending.push_back(next[i]);
    }
    return nullptr;
}

// ---- Keys and mouse ---------------------------------------------------------------------------------------------

bool HierarchyDiagramCommands::keyDown(int key, const QString& text, Qt::KeyboardModifiers modifiers)
{
    const bool arrow = key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
    const bool horizontal = m_layout.bHorizontal();
    const bool alt = modifiers & Qt::AltModifier;
    if (horizontal && alt && arrow) {
        DisplayMsg(L("IncorrectHorizontalUse"));
        return true;
    }
    // Shift folds and unfolds; with any other key it does nothing. "+" is typed with Shift on many keyboards,
    // so it is let through.
    if ((modifiers & Qt::ShiftModifier) && text != QStringLiteral("+")) {
        if (key == Qt::Key_Left)
            contractHierarchy(nullptr);
        else if (key == Qt::Key_Right)
            expandHierarchy(nullptr);
        return true;
    }
    if (!horizontal && alt) {
        if (key == Qt::Key_Left)
            nudgeLeft(nullptr);
        else if (key == Qt::Key_Right)
            nudgeRight(nullptr);
        return true;
    }
    if (arrow) {
        // Horizontal: generations run left to right. Top-down ancestors: older generations above; descendants:
        // younger ones below.
        Move m = Move::Owner;
        if (horizontal) {
            m = key == Qt::Key_Left ? Move::Owner
                : key == Qt::Key_Right ? Move::NextGeneration
                : key == Qt::Key_Up ? Move::Previous
                                    : Move::Next;
        } else if (key == Qt::Key_Left || key == Qt::Key_Right) {
            m = key == Qt::Key_Left ? Move::Previous : Move::Next;
        } else {
            const bool towardsRoot = (key == Qt::Key_Down) == bAncestors();
            m = towardsRoot ? Move::Owner : Move::NextGeneration;
        }
        move(m);
        return true;
    }
    if (key == Qt::Key_Delete)
        return true;
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        invokeMiniPersonalDetails();
        return true;
    }
    if (text == QStringLiteral("+")) {
        invokeFamilyDialog(nullptr);
        return true;
    }
    if (text == QStringLiteral("m") || text == QStringLiteral("M")) {
        if (Hierarchy* selected = selectedHierarchy())
            m_host.showPopupMenu(selected, selected->rclBox().center());
        return true;
    }
    return false;
}

void HierarchyDiagramCommands::move(Move how)
{
    Hierarchy* selected = selectedHierarchy();
    if (!selected)
        return;
    Hierarchy* to = nullptr;
    switch (how) {
    case Move::Owner:
        to = selected->owner();
        break;
    case Move::Previous:
        to = selected->previousAtLevel();
        break;
    case Move::Next:
        to = selected->nextAtLevel();
        break;
    case Move::NextGeneration: {
        const QList<Hierarchy*> next = selected->nextGenArray();
        if (next.isEmpty())
            return;
        if (selected->level() >= m_layout.maxLevel()) {
            const int answer = Prompts::current().choose(L("AddGeneration"), {}, { L("Add"), L("DontAdd") });
            if (answer != 0)
                return;
            defaults().setInteger(QStringLiteral("hdGenerations"), m_layout.maxLevel() + 1);
            m_selectAfterRebuild = next.first()->person();
            markForRebuild();
            m_host.redraw();
            return;
        }
        to = next.first();
        break;
    }
    }
    if (to)
        setSelectedHierarchy(to);
}

void HierarchyDiagramCommands::mouseDown(const QPointF& point, bool doubleClick, Qt::KeyboardModifiers modifiers)
{
    Hierarchy* h = nodeAt(point);
    if (!h)
        return;
    if (h != selectedHierarchy())
        setSelectedHierarchy(h);
    if (doubleClick || (modifiers & Qt::ControlModifier))
        m_host.showMiniPersonalDetails(h->person());
}

void HierarchyDiagramCommands::rightMouseDown(const QPointF& point)
{
    Hierarchy* h = nodeAt(point);
    if (!h)
        return;
    if (h != selectedHierarchy())
        setSelectedHierarchy(h);
    m_host.showPopupMenu(h, point);
}

QRectF HierarchyDiagramCommands::moveSelectedBoxSideways(double dx)
{
    Hierarchy* selected = selectedHierarchy();
    if (!selected || dx == 0)
        return {};
    const QRectF before = selected->rclBox();
    const QRectF after = before.translated(dx, 0);
    selected->setRclBox(after);
    if (m_layout.bHorizontal()) {
        // The box's line runs up or down to its owner's row, which may be anywhere.
        m_host.redraw();
        return {};
    }
    // The lines that change lie within a band spacing above and below: to the owner and to the children.
    const double grow = std::abs(dx) + 2.0;
    const double band = 1.1 * m_layout.verticalSpacing() + 2.0;
    const QRectF area = before.united(after).adjusted(-grow, -band, grow, band);
    m_host.redrawRect(area);
    return area;
}

// ---- Commands ---------------------------------------------------------------------------------------------------

Hierarchy* HierarchyDiagramCommands::nodeOrSelected(Hierarchy* node) const
{
    return node ? node : selectedHierarchy();
}

FTPerson* HierarchyDiagramCommands::personOrSelected(FTPerson* person) const
{
    if (!person && selectedHierarchy())
        person = selectedHierarchy()->person();
    return person;
}

void HierarchyDiagramCommands::contractHierarchy(Hierarchy* node)
{
    node = nodeOrSelected(node);
    if (!node || !node->person() || !node->hasNextGen())
        return;
    m_layout.contractedPeople().insert(node->person()->objectURI());
    refreshDisplay(Control::Other);
}

void HierarchyDiagramCommands::expandHierarchy(Hierarchy* node)
{
    node = nodeOrSelected(node);
    if (!node || !node->person())
        return;
    m_layout.contractedPeople().remove(node->person()->objectURI());
    refreshDisplay(Control::Other);
}

void HierarchyDiagramCommands::expandAll()
{
    m_layout.contractedPeople().clear();
    refreshDisplay(Control::Other);
}

void HierarchyDiagramCommands::contractToBloodLine()
{
    Hierarchy* root = m_layout.rootHierarchy();
    if (!root)
        return;
    Hierarchy* selected = selectedHierarchy() ? selectedHierarchy() : root;
    // The path is worked out here, whether or not the window shows it.
    m_layout.contractedPeople().clear();
    recurseContractToBloodLine(root, HierarchyLayout::pathFromNodeToRoot(selected));
    refreshDisplay(Control::Other);
}

void HierarchyDiagramCommands::recurseContractToBloodLine(Hierarchy* root, const QList<Hierarchy*>& path)
{
    // Every box off the path that has a next generation is folded; below the selected box nothing is. The walk
    // stays within the generations shown: a fold deeper down could not be seen, and the whole tree of a large
    // database is never built for it.
    const QSet<Hierarchy*> onPath(path.begin(), path.end());
    Hierarchy* selected = path.isEmpty() ? nullptr : path.first();
    const int maxLevel = m_layout.maxLevel();
    root->setContracted(false);
    std::vector<Hierarchy*> pending { root };
    while (!pending.empty()) {
        Hierarchy* h = pending.back();
        pending.pop_back();
        const QList<Hierarchy*> next = h->nextGenArray();
        if (!next.isEmpty() && !onPath.contains(h))
            m_layout.contractedPeople().insert(h->person()->objectURI());
        if (h->level() >= maxLevel)
            continue;
        for (Hierarchy* child : next) {
            child->setContracted(false);
            if (child != selected)
                pending.push_back(child);
        }
    }
}

bool HierarchyDiagramCommands::sizedToWidth() const
{
    return m_layout.options().sizeToWidth;
}

void HierarchyDiagramCommands::nudgeLeft(Hierarchy* node)
{
    nudge(node, -kNudge);
}

void HierarchyDiagramCommands::nudgeRight(Hierarchy* node)
{
    nudge(node, kNudge);
}

void HierarchyDiagramCommands::nudge(Hierarchy* node, double dx)
{
    node = nodeOrSelected(node);
    // A box moves within its row: there are no rows across a horizontal diagram, and a diagram fitted to the
    // window's width is laid out afresh whenever the window changes.
    if (!node || m_layout.bHorizontal() || sizedToWidth())
        return;
    const QRectF box = node->rclBox();
    const double x = std::max(box.x() + dx, std::min(box.x(), m_layout.leftMargin()));
    if (x == box.x())
        return;
    node->setRclBox(QRectF(x, box.y(), box.width(), box.height()));
    m_host.redrawRect(box.adjusted(-1000.0, -50.0, 1000.0, 50.0));
}

void HierarchyDiagramCommands::promoteToRootPerson(FTPerson* person)
{
    if (!person)
        return;
    setRootPerson(person, bAncestors());
    m_host.scrollToOrigin();
    m_host.redraw();
}

void HierarchyDiagramCommands::invokeFamilyDialog(FTPerson* person)
{
    person = personOrSelected(person);
    if (!person)
        return;
    const QList<FTPerson*> spouses = person->spouses();
    FTPerson* spouse = nullptr;
    if (spouses.size() > 1) {
        const auto& selectSpouse = DiagramHooks::shared().selectSpouse;
        if (!DiagramHooks::isAvailable(selectSpouse, L("SelectSpouseWindow")))
            return;
        spouse = selectSpouse(person);
        if (!spouse)
            return;
    } else if (spouses.size() == 1) {
        spouse = spouses.first();
    }
    person->invokeFamilyDialogForSpouse(spouse);
    markForRebuild();
    m_host.redraw();
}

void HierarchyDiagramCommands::invokePersonalDetailsDialog(FTPerson* person)
{
    person = personOrSelected(person);
    if (!person)
        return;
    person->invokeAddChildDialog();
    m_host.redraw();
}

void HierarchyDiagramCommands::invokeMiniPersonalDetails()
{
    if (FTPerson* person = personOrSelected(nullptr))
        m_host.showMiniPersonalDetails(person);
}

// ---- The context menu --------------------------------------------------------------------------------------------

DiagramMenu HierarchyDiagramCommands::popupMenu(Hierarchy* node) const
{
    DiagramMenuBuilder::HierarchyState state;
    state.horizontal = m_layout.bHorizontal();
    state.sizeToWidth = sizedToWidth();
    state.selected = selectedHierarchy();
    return DiagramMenuBuilder::hierarchyMenu(node, state);
}

void HierarchyDiagramCommands::perform(const DiagramMenuItem& item)
{
    using Action = DiagramMenuItem::Action;
    switch (item.action) {
    case Action::PromoteToRootPerson:
        return promoteToRootPerson(item.person());
    case Action::InvokeMiniPersonalDetails:
        if (FTPerson* person = item.person())
            m_host.showMiniPersonalDetails(person);
        return;
    case Action::InvokePersonalDetailsDialog:
        return invokePersonalDetailsDialog(item.person());
    case Action::InvokeFamilyDialog:
        return invokeFamilyDialog(item.person());
    case Action::ContractHierarchy:
        return contractHierarchy(item.node());
    case Action::ExpandHierarchy:
        return expandHierarchy(item.node());
    case Action::ContractToBloodLine:
        return contractToBloodLine();
    case Action::NudgeLeft:
        return nudgeLeft(item.node());
    case Action::NudgeRight:
        return nudgeRight(item.node());
    default:
        return;
    }
}

// ---- Controls ---------------------------------------------------------------------------------------------------

void HierarchyDiagramCommands::refreshDisplay(Control control)
{
    UserDefaults& d = defaults();
    const bool horizontal = d.boolForKey(QStringLiteral("hdHorizontal"));
    const bool sizeToWidth = d.boolForKey(QStringLiteral("hdSizeToWidth"));
    switch (control) {
    case Control::AncestorsSwitch:
    case Control::HorizontalSwitch:
        // Descendants read best cascaded when they run across.
        d.setBool(QStringLiteral("hdCascaded"), horizontal && !bAncestors());
        m_layout.setSelectedHierarchy(nullptr);
        m_selectAfterRebuild = nullptr;
        break;
    case Control::GenerationsStepper: {
        const int wanted = int(std::clamp<qlonglong>(d.integerForKey(QStringLiteral("hdGenerations")), 0,
            HdOptions::kMaxLevels - 1));
        if (wanted > m_layout.maxLevel()) {
            m_bGenStepperUsed = true;
        } else if (Hierarchy* selected = selectedHierarchy(); selected && wanted < m_layout.maxLevel()) {
            // A selected box that will no longer be shown hands the selection to its nearest shown owner.
            while (selected->owner() && selected->level() > wanted)
                selected = selected->owner();
            m_layout.setSelectedHierarchy(selected);
        }
        break;
    }
    case Control::PointSizeStepper:
        if (horizontal && sizeToWidth) {
            DisplayMsg(L("HorizontalHelp"));
            return;
        }
        break;
    case Control::ColumnWidthStepper:
        if (!horizontal && sizeToWidth) {
            DisplayMsg(L("VerticalHelp"));
            return;
        }
        break;
    case Control::TruncateSwitch:
        if (sizeToWidth) {
            DisplayMsg(L("SizeToWidthHelp"));
            return;
        }
        break;
    case Control::Other:
        break;
    }
    setDialogTitle();
    markForRebuild();
    m_host.redraw();
}

void HierarchyDiagramCommands::setFactoryDefaults()
{
    HdOptions factory;
    factory.cascaded = !bAncestors();
    factory.writeToUserDefaults();
    defaults().setColor(QStringLiteral("hdFrameColour"), QColor(202, 220, 202));
    markForRebuild();
    m_host.redraw();
}

void HierarchyDiagramCommands::setUserDefaults()
{
    HdOptions::restoreUserDefaults();
    markForRebuild();
    m_host.redraw();
}

// ---- Changes made elsewhere ----------------------------------------------------------------------------------------

void HierarchyDiagramCommands::personalDataChanged(const Notification& n)
{
    FTMoc* moc = this->moc();
    if (!moc || n.context != moc || !n.object || moc->importThreadIsActive())
        return;
    try {
        auto* object = static_cast<ManagedObject*>(const_cast<void*>(n.object));
        auto* person = dynamic_cast<FTPerson*>(object);
        if (person && m_layout.personSet().contains(person)) {
            markForRebuild();
            m_host.redraw();
        }
    } catch (...) {
        Utils::reportCurrentException("HdView", __LINE__, QStringLiteral("personNameOrDateChanged"));
    }
}
