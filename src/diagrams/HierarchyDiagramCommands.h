#pragma once

#include "diagrams/DiagramMenuBuilder.h"
#include "diagrams/DiagramMenuItem.h"

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>

class FTMoc;
class FTPerson;
class Hierarchy;
class HierarchyLayout;
struct Notification;

// What the hierarchy diagram's view does, apart from its widgets: it rebuilds the tree when it is marked stale
// (keeping the selected person), moves the selection with the arrow keys, contracts and expands branches, nudges
// boxes, re-roots the tree, opens the family and details dialogs, carries out the context menu's commands and the
// rules of the window's controls, and follows changes to the people it shows. The view is its host: it paints,
// scrolls and shows windows when asked.
//
//   HierarchyDiagramCommands commands(view, layout);
//   commands.setRootPerson(person, true);                   // an ancestors tree
//   QSizeF frame = commands.prepare(viewport, paper);       // before painting, never while painting
//   commands.keyDown(Qt::Key_Up, QString(), Qt::NoModifier);
class HierarchyDiagramCommands {
public:
    // What the commands need of the view that shows the tree.
    class Host {
    public:
        virtual ~Host() = default;
        // The tree must be built again before the next painting: the view queues prepare().
        virtual void setNeedsRebuild() = 0;
        // Paint again: everything visible, or a rectangle of the view.
        virtual void redraw() = 0;
        virtual void redrawRect(const QRectF& rect) = 0;
        virtual void scrollRectToVisible(const QRectF& rect) = 0;
        virtual void scrollToOrigin() = 0;
        // The selected person changed: `info` is the one-line description the window shows.
        virtual void selectedPersonChanged(FTPerson* person, const QString& info) = 0;
        virtual void dialogTitleChanged(const QString& title) = 0;
        // The small details window of the person.
        virtual void showMiniPersonalDetails(FTPerson* person) = 0;
        // The context menu of the node (null: the diagram's own) at a point of the view.
        virtual void showPopupMenu(Hierarchy* node, const QPointF& at) = 0;
    };

    // The window's controls, as refreshDisplay() tells them apart.
    enum class Control { Other, AncestorsSwitch, HorizontalSwitch, GenerationsStepper, PointSizeStepper,
        ColumnWidthStepper, TruncateSwitch };

    HierarchyDiagramCommands(Host& host, HierarchyLayout& layout);

    // ---- The tree ----
    FTPerson* rootPerson() const;
    FTMoc* moc() const;
    bool bAncestors() const;
    // A new root or direction: the tree is built again, with no box selected.
    void setRootPerson(FTPerson* person, bool ancestors);
    void setBAncestors(bool ancestors);
    // "Ancestors of <name with years>" or "Descendants of ...".
    QString dialogTitle() const;
    void setDialogTitle();
    // Marks the tree for a rebuild before the next painting.
    void markForRebuild();
    bool needsRebuild() const;
    // Before painting: when the tree is marked stale (or was never built), builds it for the visible area and
    // the paper and selects the person selected before (or the box asked for); then the path to the root. Beeps
    // once when the generations stepper asked for more generations than the tree holds. Answers the size the
    // view must take.
    QSizeF prepare(const QSizeF& visibleSize, const QSizeF& paperSize);

    // ---- Selection ----
    Hierarchy* selectedHierarchy() const;
    // Selects the box, tells the window, scrolls it into view and repaints.
    void setSelectedHierarchy(Hierarchy* node);
    // Scrolls the selected box into view, with room for its lines.
    void scrollSelectedPersonVisible();
    // The selected person's name with birth, marriage and death, on one line.
    QString selectedPersonsInfo() const;
    // The box under the point (the first one, depth first), null outside every box.
    Hierarchy* nodeAt(const QPointF& point) const;

    // ---- Keys and mouse ----
    // A key pressed in the view: `key` a Qt::Key, `text` what it types. False for a key the view does not use.
    bool keyDown(int key, const QString& text, Qt::KeyboardModifiers modifiers);
    // A primary press: selects the box under the point; a double click or Ctrl opens the details window.
    void mouseDown(const QPointF& point, bool doubleClick, Qt::KeyboardModifiers modifiers);
    // A secondary press: selects the box under the point and shows its menu; nothing outside the boxes.
    void rightMouseDown(const QPointF& point);
    // Shift-dragging moves the selected box sideways by `dx`; answers the area to paint again.
    QRectF moveSelectedBoxSideways(double dx);

    // ---- Commands (a null node or person: the selected one) ----
    void contractHierarchy(Hierarchy* node);
    void expandHierarchy(Hierarchy* node);
    void expandAll();
    // Contracts every branch off the path from the root to the selected box; the selected person's own
    // descendants stay open.
    void contractToBloodLine();
    // Moves a box 5 points sideways (top-down diagrams not sized to width only), never left of the margin.
    void nudgeLeft(Hierarchy* node);
    void nudgeRight(Hierarchy* node);
    void promoteToRootPerson(FTPerson* person);
    // The family dialog of the person with one of the spouses (chosen by the user when there are several).
    void invokeFamilyDialog(FTPerson* person);
    // The add-child dialog, which shows the person's details.
    void invokePersonalDetailsDialog(FTPerson* person);
    void invokeMiniPersonalDetails();

    // ---- The context menu ----
    DiagramMenu popupMenu(Hierarchy* node) const;
    void perform(const DiagramMenuItem& item);

    // ---- The window's controls, after they wrote their user default ----
    void refreshDisplay(Control control);
    // The factory values of the "hd" options, or the set the customise window saved ("hdUserDefaults").
    void setFactoryDefaults();
    void setUserDefaults();

    // ---- Changes made elsewhere ----
    // A person's name, dates, notes or title changed: the tree is built again when the person has a box.
    void personalDataChanged(const Notification& n);

private:
    enum class Move { Owner, Previous, Next, NextGeneration };
    Hierarchy* nodeOrSelected(Hierarchy* node) const;
    FTPerson* personOrSelected(FTPerson* person) const;
    void move(Move move);
    void nudge(Hierarchy* node, double dx);
    void recurseContractToBloodLine(Hierarchy* root, const QList<Hierarchy*>& path);
    bool sizedToWidth() const;

    Host& m_host;
    HierarchyLayout& m_layout;
    // The generations stepper asked for more generations than the tree held: the next build checks.
    bool m_bGenStepperUsed = false;
    // The person whose first box the next build selects (the "AddGeneration" answer).
    FTPerson* m_selectAfterRebuild = nullptr;
};
