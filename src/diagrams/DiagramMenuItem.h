#pragma once

#include <QColor>
#include <QFont>
#include <QKeySequence>
#include <QString>

#include <optional>
#include <variant>
#include <vector>

class CdPerson;
class FTEvent;
class FTMoc;
class FTPerson;
class Hierarchy;

// What copying a person from the other open database needs: the person there, the empty slot here and the two
// databases.
struct CdCopyRequest {
    FTPerson* sourcePerson = nullptr;
    CdPerson* targetCdPerson = nullptr;
    FTMoc* sourceDocument = nullptr;
    FTMoc* targetDocument = nullptr;
};

struct DiagramMenuItem;
using DiagramMenu = std::vector<DiagramMenuItem>;

// One entry of a diagram's context menu, built afresh for every secondary click (DiagramMenuBuilder); the widgets
// turn a menu into a QMenu, and the command the user chose acts on the item's represented object.
struct DiagramMenuItem {
    // The commands an item runs: the family diagram's (FamilyDiagramCommands), the hierarchy diagram's, and
    // those of other windows that both reach.
    enum class Action {
        None,
        // Family diagram and its neighbours
        SaveCdDiagram,
        DisplayScratchPad,
        PeopleIndexWindow,
        SetUserPreferences,
        AttachExistingPersonAsChild,
        AttachExistingPersonAsParent,
        AttachExistingPersonAsSpouse,
        AttachExistingPersonAsSameSexSpouse,
        AttachExistingPersonAsAssociatedPerson,
        AddAssociatedPerson,
        AddSameSexSpouse,
        DisconnectPerson,
        HelpForChangeGender,
        DeletePerson,
        PromoteToFocalPerson,
        InvokeAssociatedPersonDialogFor,
        AttachPersonToActiveSource,
        AddPersonToProjectView,
        ActiveEventClone,
        TodoAdd,
        InvokeHierarchyDiagram,
        MergeSelectedPersonFromAnotherDatabase,
        Paste,
        AttachExistingPerson,
        CopyPersonFromOtherModel,
        // Hierarchy diagram
        PromoteToRootPerson,
        InvokeMiniPersonalDetails,
        InvokePersonalDetailsDialog,
        InvokeFamilyDialog,
        ContractHierarchy,
        ExpandHierarchy,
        ContractToBloodLine,
        NudgeLeft,
        NudgeRight,
    };
    using Object = std::variant<std::monostate, FTPerson*, CdPerson*, FTEvent*, CdCopyRequest, Hierarchy*>;

    static DiagramMenuItem separator();

    bool isSeparator = false;
    QString title;
    Action action = Action::None;
    // Shown beside the title; the keyboard's own handling of the diagram runs the command.
    QKeySequence keyEquivalent;
    Object representedObject;
    DiagramMenu submenu;
    // The entry's own font and colour (the person's own entry among the siblings); else the menu's.
    std::optional<QFont> font;
    QColor colour;
    // A freedesktop icon name, or empty.
    QString iconName;

    // An item without a command and without a submenu shows disabled.
    bool isEnabled() const { return !isSeparator && (action != Action::None || !submenu.empty()); }

    // The represented object of each kind; null (or no request) for another kind.
    FTPerson* person() const;
    CdPerson* box() const;
    FTEvent* event() const;
    Hierarchy* node() const;
    const CdCopyRequest* copyRequest() const;
};
