#pragma once

#include "diagrams/DiagramMenuItem.h"

#include <QList>

class CdPerson;
class FTMoc;
class FTPerson;
class Hierarchy;

// The context menus of the family and hierarchy diagrams as menu models, built afresh for the box or tree node
// under the pointer. Titles are the "Localizable" texts of their keys; key equivalents use Ctrl.
//
//   DiagramMenuBuilder::FamilyState state {moc, openDatabases, imagesOnClipboard};
//   DiagramMenu menu = DiagramMenuBuilder::familyMenu(box, state);   // box null: the diagram's own menu
//
// The family diagram's menus (for no box, the focal person's box, another person's box and an empty slot) and
// the hierarchy's (no node, a node) end with the same relatives sections: parents, grandparents, siblings,
// spouses, children, grandchildren, nephews and nieces, aunts and uncles, and cousins of the person, each a
// disabled heading with the count and a submenu of people to jump to.
class DiagramMenuBuilder {
public:
    using Action = DiagramMenuItem::Action;

    // What the family diagram's menus read besides the box.
    struct FamilyState {
        FTMoc* moc = nullptr;          // the diagram's database
        QList<FTMoc*> openDatabases;   // every open database, this one included
        int imagesOnClipboard = 0;     // the pictures the clipboard offers
    };
    // What the hierarchy diagram's menu reads besides the node.
    struct HierarchyState {
        bool horizontal = false;       // the tree is laid out from left to right
        bool sizeToWidth = false;      // "hdSizeToWidth"
        Hierarchy* selected = nullptr; // the view's selected node
    };

    // Empty without a database (nothing is shown).
    static DiagramMenu familyMenu(CdPerson* box, const FamilyState& state);
    // A node without a person counts as none.
    static DiagramMenu hierarchyMenu(Hierarchy* node, const HierarchyState& state);

    // The relatives sections of `person`: each person's entry runs `jump` on that person. In the siblings'
    // submenu the person's own entry is red, and the entries just before and after `focal` (null: none) show
    // Ctrl+Up and Ctrl+Down.
    static void addRelativesSections(DiagramMenu& menu, FTPerson* person, Action jump, FTPerson* focal);

private:
    static DiagramMenu backgroundMenu();
    static DiagramMenu focalPersonMenu(CdPerson* box, const FamilyState& state);
    static DiagramMenu otherPersonMenu(CdPerson* box, const FamilyState& state);
    static DiagramMenu emptySlotMenu(CdPerson* box, const FamilyState& state);
    static void addCommonBlock(DiagramMenu& menu, FTPerson* person, const FamilyState& state);
    static void addPreviousAndNextSiblings(DiagramMenu& menu, FTPerson* person);
};
