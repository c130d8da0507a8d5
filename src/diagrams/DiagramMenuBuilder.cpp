#include "diagrams/DiagramMenuBuilder.h"

#include "diagrams/CdPerson.h"

#include "model/FTEvent.h"
#include "model/FTModelDefaults.h"
#include "model/FTMoc.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"
#include "model/FTProjectView.h"
#include "model/FTSource.h"
#include "model/Hierarchy.h"
#include "model/Relative.h"

#include "platform/Localizer.h"

namespace {
using Action = DiagramMenuItem::Action;

QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

DiagramMenuItem item(const QString& title, Action action, DiagramMenuItem::Object object = {},
                     const QKeySequence& key = {})
{
    DiagramMenuItem i;
    i.title = title;
    i.action = action;
    i.representedObject = object;
    i.keyEquivalent = key;
    return i;
}

// One person's entry in a relatives submenu.
DiagramMenuItem jumpTo(FTPerson* person, Action jump, const QString& suffix = {})
{
    return item(person->nameWithBirthAndDeathYears() + suffix, jump, person);
}

// A section's heading "Key (n)"; its submenu lists the people (none without people).
DiagramMenuItem heading(const char* key, qsizetype count)
{
    return item(QStringLiteral("%1 (%2)").arg(L(key)).arg(count), Action::None);
}

DiagramMenuItem section(const char* key, const QList<FTPerson*>& people, Action jump)
{
    DiagramMenuItem h = heading(key, people.size());
    for (FTPerson* p : people)
        h.submenu.push_back(jumpTo(p, jump));
    return h;
}

QString linkTypeSuffix(int pcRelType)
{
    switch (pcRelType) {
    case FTPcRel::kStep:
        return L("StepRelPopUp");
    case FTPcRel::kAdopted:
        return L("AdoptedRelPopUp");
    case FTPcRel::kFoster:
        return L("FosterRelPopUp");
    default:
        return {};
    }
}

// The person a database's diagram is about: its selected person, else its focal person (plain reads: a menu
// writes nothing).
FTPerson* selectedPersonOf(FTMoc* moc)
{
    FTModelDefaults* defaults = moc->modelDefaults();
    return defaults->selectedPerson() ? defaults->selectedPerson() : defaults->focalPerson();
}

const QKeySequence kUp(Qt::CTRL | Qt::Key_Up);
const QKeySequence kDown(Qt::CTRL | Qt::Key_Down);
const QKeySequence kDelete(Qt::Key_Delete);
}

// ---- Family diagram --------------------------------------------------------------------------------------------

DiagramMenu DiagramMenuBuilder::familyMenu(CdPerson* box, const FamilyState& state)
{
    if (!state.moc)
        return {};
    if (!box)
        return backgroundMenu();
    if (box->isGhost())
        return emptySlotMenu(box, state);
    if (box->ancLevel() == CdPerson::kFocal)
        return focalPersonMenu(box, state);
    return otherPersonMenu(box, state);
}

DiagramMenu DiagramMenuBuilder::backgroundMenu()
{
    DiagramMenu menu;
    menu.push_back(item(L("CdPopupMenuSaveDiag"), Action::SaveCdDiagram));
    menu.back().iconName = QStringLiteral("document-save");
    menu.push_back(item(L("CdPopupMenuScratch"), Action::DisplayScratchPad, {}, QKeySequence(Qt::Key_S)));
    menu.push_back(item(L("CdPopupMenuIndex"), Action::PeopleIndexWindow, {}, QKeySequence(Qt::Key_I)));
    menu.push_back(item(L("CdPopupMenuPrefs"), Action::SetUserPreferences));
    menu.back().iconName = QStringLiteral("preferences-system");
    return menu;
}

DiagramMenu DiagramMenuBuilder::focalPersonMenu(CdPerson* box, const FamilyState& state)
{
    FTPerson* p = box->person();
    DiagramMenu menu;
    // The four ways of attaching someone already in the database share one submenu: flat, they made the focal
    // person's menu taller than a small screen.
    DiagramMenuItem attach = item(L("CdPopupMenuAttachExistingGroup"), Action::None);
    attach.submenu.push_back(item(L("CdPopupMenuAttachExistingChild"), Action::AttachExistingPersonAsChild, p));
    attach.submenu.push_back(item(L("CdPopupMenuAttachExistingParent"), Action::AttachExistingPersonAsParent, p));
    attach.submenu.push_back(item(L("CdPopupMenuAttachExistingSpouse"), Action::AttachExistingPersonAsSpouse, p));
    attach.submenu.push_back(
        item(L("CdPopupMenuAttachExistingAssoc"), Action::AttachExistingPersonAsAssociatedPerson, p));
    menu.push_back(attach);
    menu.push_back(item(L("CdPopupMenuAddAssoc"), Action::AddAssociatedPerson, p));
    DiagramMenuItem sameSex = item(L("CdPopupMenuAddSame"), Action::None);
    sameSex.submenu.push_back(item(L("CdPopupMenuAddNew"), Action::AddSameSexSpouse, p));
    sameSex.submenu.push_back(item(L("CdPopupMenuAttachExisting"), Action::AttachExistingPersonAsSameSexSpouse, p));
    menu.push_back(sameSex);
    menu.push_back(item(L("CdPopupMenuDisconnect"), Action::DisconnectPerson, p));
    menu.push_back(item(L("CdPopupMenuChangeGender"), Action::HelpForChangeGender, p));
    // Deleting the focal person hands the focus to someone else, which only makes sense for a person on their own.
    if (p->isUnconnected()) {
        menu.push_back(item(L("CdPopupMenuDelete"), Action::DeletePerson, box, kDelete));
        menu.back().iconName = QStringLiteral("edit-delete");
    }
    menu.push_back(DiagramMenuItem::separator());
    addCommonBlock(menu, p, state);
    menu.push_back(DiagramMenuItem::separator());
    addPreviousAndNextSiblings(menu, p);
    menu.push_back(DiagramMenuItem::separator());
    addRelativesSections(menu, p, Action::PromoteToFocalPerson, p);
    return menu;
}

DiagramMenu DiagramMenuBuilder::otherPersonMenu(CdPerson* box, const FamilyState& state)
{
    FTPerson* p = box->person();
    DiagramMenu menu;
    menu.push_back(item(QStringLiteral("%1 (Ctrl+%2)").arg(L("CdPopupMenuPromoteToFocal"), L("Click")),
                        Action::PromoteToFocalPerson, p, kUp));
    menu.push_back(item(L("CdPopupMenuDelete"), Action::DeletePerson, box, kDelete));
    menu.back().iconName = QStringLiteral("edit-delete");
    menu.push_back(item(L("CdPopupMenuDisconnect"), Action::DisconnectPerson, p));
    if (box->ancLevel() == CdPerson::kAssociated)
        menu.push_back(item(L("CdPopupMenuEditAssoc"), Action::InvokeAssociatedPersonDialogFor, box));
    menu.push_back(item(L("CdPopupMenuChangeGender"), Action::HelpForChangeGender, p));
    menu.push_back(DiagramMenuItem::separator());
    addCommonBlock(menu, p, state);
    menu.push_back(DiagramMenuItem::separator());
    FTModelDefaults* defaults = state.moc->modelDefaults();
    addRelativesSections(menu, p, Action::PromoteToFocalPerson, defaults->focalPerson());
    return menu;
}

void DiagramMenuBuilder::addCommonBlock(DiagramMenu& menu, FTPerson* p, const FamilyState& state)
{
    FTMoc* moc = state.moc;
    FTSource* source = moc->activeSource();
    const QString type = source && !source->type().isEmpty() ? QStringLiteral(" (%1)").arg(source->type()) : QString();
    // Without an active source the item names no number: choosing it offers the sources to pick one from.
    menu.push_back(item(source ? QStringLiteral("%1 %2%3").arg(L("CdPopupMenuAddSourceRef"),
                                                                QString::number(source->numericId()), type)
                               : L("CiteNoActiveSource"),
                        Action::AttachPersonToActiveSource, p, QKeySequence(Qt::Key_R)));

    // Without a current project view there is nothing to add the person to: the item shows disabled.
    FTProjectView* view = moc->projectView();
    const bool member = view && view->persons().contains(p);
    menu.push_back(item(member ? L("CdPopupMenuDelFromProjView") : L("CdPopupMenuAddToProjView"),
                        view ? Action::AddPersonToProjectView : Action::None, p));

    if (FTEvent* event = moc->activeEvent())
        menu.push_back(item(QStringLiteral("%1 \"%2 %3 %4\"")
                                .arg(L("CdPopupMenuCloneEvent"), event->name(), L("ConjunctiveOn"), event->date()),
                            Action::ActiveEventClone, event));
    menu.push_back(item(L("CdPopupMenuToDo"), Action::TodoAdd, {}, QKeySequence(Qt::Key_T)));
    menu.push_back(DiagramMenuItem::separator());
    menu.push_back(item(L("CdPopupMenuHdView"), Action::InvokeHierarchyDiagram, p));
    menu.push_back(item(L("CdPopupMenuMergeProperties"), Action::MergeSelectedPersonFromAnotherDatabase, p));
    menu.push_back(DiagramMenuItem::separator());
    const int n = state.imagesOnClipboard;
    if (n > 0)
        menu.push_back(item(QStringLiteral("%1 %2 %3 %4")
                                .arg(L("Paste"))
                                .arg(n)
                                .arg(n > 1 ? L("Images") : L("Image"), L("CdPopupMenuPasteImages2")),
                            Action::Paste, p));
    else
        menu.push_back(item(L("CdPopupMenuPasteImages"), Action::None, p));
    menu.back().iconName = QStringLiteral("edit-paste");
}

void DiagramMenuBuilder::addPreviousAndNextSiblings(DiagramMenu& menu, FTPerson* p)
{
    const QList<FTPerson*> siblings = p->siblingsArrayWithSelf();
    const qsizetype at = siblings.indexOf(p);
    FTPerson* previous = at > 0 ? siblings[at - 1] : nullptr;
    FTPerson* next = at >= 0 && at + 1 < siblings.size() ? siblings[at + 1] : nullptr;
    auto add = [&](const char* key, FTPerson* sibling, const QKeySequence& shortcut) {
        if (sibling)
            menu.push_back(item(QStringLiteral("%1 (%2)").arg(L(key), sibling->firstName()),
                                Action::PromoteToFocalPerson, sibling, shortcut));
        else
            menu.push_back(item(L(key), Action::None, {}, shortcut));
    };
    add("CdPopupMenuPrevSibling", previous, kUp);
    add("CdPopupMenuNextSibling", next, kDown);
}

DiagramMenu DiagramMenuBuilder::emptySlotMenu(CdPerson* box, const FamilyState& state)
{
    FTMoc* moc = state.moc;
    DiagramMenu menu;
    const char* kind = box->ancLevel() == CdPerson::kSpouse ? "spouse"
        : box->ancLevel() == CdPerson::kChild              ? "child"
                                                            : "parent";
    menu.push_back(item(QStringLiteral("%1 %2...").arg(L("CdPopupMenuAttachExistingAsA"), L(kind)),
                        Action::AttachExistingPerson, box));
    FTPerson* focal = moc->modelDefaults()->focalPerson();
    if (box->ancLevel() == CdPerson::kSpouse && focal) {
        DiagramMenuItem sameSex = item(L("CdPopupMenuAddSameSubmenu"), Action::None);
        sameSex.submenu.push_back(item(L("CdPopupMenuAddNew"), Action::AddSameSexSpouse, focal));
        sameSex.submenu.push_back(
            item(L("CdPopupMenuAttachExisting"), Action::AttachExistingPersonAsSameSexSpouse, focal));
        menu.push_back(sameSex);
    }

    // With exactly one other database open the item names the person it would copy from there.
    FTMoc* other = nullptr;
    if (state.openDatabases.size() == 2)
        other = state.openDatabases[0] != moc ? state.openDatabases[0] : state.openDatabases[1];
    FTPerson* source = other && other != moc ? selectedPersonOf(other) : nullptr;
    if (source)
        menu.push_back(item(QStringLiteral("%1 \"%2\" %3  %4")
                                .arg(L("Copy"), source->name(), L("ConjunctiveFrom"), other->modelName()),
                            Action::CopyPersonFromOtherModel, CdCopyRequest {source, box, other, moc}));
    else
        menu.push_back(item(L("CdPopupMenuCopyFromDb"), Action::CopyPersonFromOtherModel));
    return menu;
}

// ---- Relatives sections ----------------------------------------------------------------------------------------

void DiagramMenuBuilder::addRelativesSections(DiagramMenu& menu, FTPerson* p, Action jump, FTPerson* focal)
{
    if (!p)
        return;

    // The link type follows a parent's name: the one thing the list of people alone would not show.
    DiagramMenu parents;
    for (FTPcRel* link : p->parentRels())
        if (FTPerson* parent = link->parent())
            parents.push_back(jumpTo(parent, jump, linkTypeSuffix(link->intPcRelType())));
    menu.push_back(heading("Parents", qsizetype(parents.size())));
    menu.back().submenu = std::move(parents);

    menu.push_back(section("Grandparents", p->naturalGrandParents(), jump));

    const QList<FTPerson*> siblings = p->siblingsArrayWithSelf();
    const qsizetype self = siblings.indexOf(p);
    const qsizetype others = siblings.size() - (self >= 0 ? 1 : 0);
    DiagramMenuItem siblingsItem = heading("Siblings", others);
    if (others > 0) {
        const qsizetype focalAt = focal ? siblings.indexOf(focal) : -1;
        for (qsizetype i = 0; i < siblings.size(); ++i) {
            DiagramMenuItem entry = jumpTo(siblings[i], jump);
            if (i == self) {
                entry.font = QFont(QStringLiteral("Arial"));
                entry.font->setPointSizeF(11);
                entry.colour = QColor(Qt::red);
            }
            if (focalAt >= 0 && i == focalAt - 1)
                entry.keyEquivalent = kUp;
            else if (focalAt >= 0 && i == focalAt + 1)
                entry.keyEquivalent = kDown;
            siblingsItem.submenu.push_back(entry);
        }
    }
    menu.push_back(siblingsItem);

    menu.push_back(section("Spouses", p->spouses(), jump));
    QList<FTPerson*> children;
    for (const Relative& row : p->loadChildRels())
        if (row.person())
            children << row.person();
    menu.push_back(section("Children", children, jump));
    menu.push_back(section("Grandchildren", p->grandChildren(), jump));
    menu.push_back(section("NephewsAndNieces", p->nephewsAndNieces(), jump));
    menu.push_back(section("AuntsAndUncles", p->auntsAndUncles(), jump));
    menu.push_back(section("Cousins", p->cousins(), jump));
}

// ---- Hierarchy diagram -----------------------------------------------------------------------------------------

DiagramMenu DiagramMenuBuilder::hierarchyMenu(Hierarchy* node, const HierarchyState& state)
{
    DiagramMenu menu;
    FTPerson* p = node ? node->person() : nullptr;
    if (!p) {
        // No view carries out saving from here: the item shows disabled.
        menu.push_back(item(L("SaveDiagram"), Action::None));
        return menu;
    }
    menu.push_back(item(L("PromoteToRoot"), Action::PromoteToRootPerson, p));
    menu.push_back(DiagramMenuItem::separator());
    menu.push_back(item(L("MiniDetails"), Action::InvokeMiniPersonalDetails, p));
    menu.push_back(item(L("PersonalDetails"), Action::InvokePersonalDetailsDialog, p));
    menu.push_back(item(L("FamilyDetails"), Action::InvokeFamilyDialog, p));
    menu.push_back(DiagramMenuItem::separator());
    menu.push_back(item(L("Contract"), Action::ContractHierarchy, node, QKeySequence(Qt::SHIFT | Qt::Key_Left)));
    menu.push_back(item(L("Expand"), Action::ExpandHierarchy, node, QKeySequence(Qt::SHIFT | Qt::Key_Right)));
    menu.push_back(item(L("ContractBloodline"), Action::ContractToBloodLine, state.selected));
    // Nudging moves a box sideways within its row: meaningless when rows run across or the tree is fitted.
    if (!state.horizontal && !state.sizeToWidth) {
        menu.push_back(DiagramMenuItem::separator());
        menu.push_back(
            item(L("NudgeLeft"), Action::NudgeLeft, state.selected, QKeySequence(Qt::ALT | Qt::Key_Left)));
        menu.push_back(
            item(L("NudgeRight"), Action::NudgeRight, state.selected, QKeySequence(Qt::ALT | Qt::Key_Right)));
    }
    menu.push_back(DiagramMenuItem::separator());
    addRelativesSections(menu, p, Action::PromoteToRootPerson, nullptr);
    return menu;
}
