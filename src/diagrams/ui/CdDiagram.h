#pragma once

#include "shell/ui/FamilyDiagramPane.h"

#include "diagrams/CdInputThrottle.h"
#include "diagrams/CdLayout.h"
#include "diagrams/CdRelationshipBand.h"
#include "diagrams/FamilyDiagramCommands.h"

#include <QImage>
#include <QPixmap>
#include <QPointer>
#include <QTimer>

#include <memory>

class CdEditBox;
class CdPerson;
class CdSpeaker;
class DOvurDocument;
struct Notification;

// The family diagram in a database's main window: the focal person with spouses, children, ancestors, step
// parents and associated people as boxes. The boxes, their rectangles and their painting live in the diagrams
// core (CdLayout, CdPerson, CdPainter); this view feeds them the focal and selected person, the user's options and
// its size, and repaints.
//
// Every change that needs new boxes (setRefreshArray) is carried out before the repaint: the boxes are rebuilt and
// laid out from the event loop (prepare()), the repair of a child link without a child is saved there, and the
// warning about a second natural parent is shown after the pass. paintEvent() only paints.
//
// The commands on people and the context menus live in the core (FamilyDiagramCommands, DiagramMenuBuilder); the
// view is their host and shows the menu a secondary press asks for.
//
// The user works in the view with the mouse (CdDiagram_Mouse.cpp: presses, connector squares, the wheel), the
// relationship band dragged from the selected box (CdDiagram_Drag.cpp), the keys (CdDiagram_Keys.cpp), the pointer
// resting on markers and pictures (CdDiagram_Hover.cpp) and the entry box on an empty slot (CdEditBox). Where each
// goes is decided in the core (CdKeyNavigation, CdRelationshipBand, CdLayout's hit tests, NewRelativeEntry).
class CdDiagram : public FamilyDiagramPane, public FamilyDiagramCommands::Host {
    Q_OBJECT
public:
    explicit CdDiagram(DOvurDocument* document = nullptr, QWidget* parent = nullptr);
    ~CdDiagram() override;

    // ---- FamilyDiagramPane ----
    void setMoc(FTMoc* moc) override;
    void setFocalPerson(FTPerson* person) override;
    void setProjectView(FTProjectView* view) override;
    void setRefreshArray(bool refresh) override;
    void setCdBgColour(const QColor& colour) override;
    bool findPerson(FTPerson* person) const override;
    // The People menu's commands on the selected person's box (or the selected person).
    void deletePerson() override;
    void disconnectPerson() override;

    // ---- FamilyDiagramCommands::Host ----
    FTMoc* moc() const override { return FamilyDiagramPane::moc(); }
    // The person shown selected; selecting the selected person again changes nothing.
    void setSelectedPerson(FTPerson* person) override;
    FTPerson* previousFocalPerson() override;
    QList<FTMoc*> openDatabases() const override;
    void showEventInEditor(FTEvent* event) override;

    FamilyDiagramCommands& commands() { return m_commands; }
    // The context menu for the box (null: the diagram's own menu) at a point of the screen; the chosen command
    // runs on its represented object.
    void displayPopupMenu(CdPerson* box, const QPoint& globalPos);

    // Reads the options, rebuilds the boxes when asked to (unless the entry box is on screen) and lays them out;
    // then repaints. Runs by itself from the event loop after every request; callers that paint at once (grabs,
    // benchmarks) call it first.
    void prepare();
    // Lays the boxes out again in the current size with the current options (no rebuild).
    void layoutBoxes();

    CdLayout& cdLayout() override { return m_layout; }
    const CdLayout& cdLayout() const { return m_layout; }
    bool refreshArray() const { return m_refreshArray; }
    CdPerson* getClickedPerson(const QPointF& point) const { return m_layout.getClickedPerson(point); }
    CdPerson* getClickedMugShot(const QPointF& point) const { return m_layout.getClickedMugShot(point); }

    // While the inline entry box is on screen the boxes are not rebuilt.
    CdEditBox* editBox() const { return m_editBox; }
    bool isEditBoxActive() const;
    bool endEditing() override;
    // The entry box has closed: a rebuild asked for meanwhile happens now.
    void editBoxRemoved();

    // Shows an enlarged mug shot over a box's small picture until the pointer leaves it or the selection changes.
    void displayMugshotImage(const QImage& image, const QRectF& mugShot, int pictureCount);
    void sayFocalPersonsName();

    // What the view did last (tests): the number of rebuilds so far, and the area of the last in-place repaint.
    int rebuildCount() const { return m_rebuildCount; }
    QRectF lastRedrawRect() const { return m_lastRedrawRect; }

    // ---- Keys and wheel (CdDiagram_Keys.cpp) ----
    // The focal person's next or previous sibling becomes focal.
    void promoteNextSiblingToFocalPerson();
    void promotePreviousSiblingToFocalPerson();
    // The wheel over a box's mug shot or the focal picture: the next or previous of the person's pictures.
    void scrollMugShotFor(CdPerson* box, double dx, double dy);
    // The wheel over a box: the next or previous box detail ("cdNameOption", 0 to 13).
    void scrollDetailsFor(CdPerson* box, double dy);

    // ---- The relationship band (CdDiagram_Drag.cpp) ----
    bool isRubberBandActive() const { return m_rubberBand; }
    // Where the band runs and what it would link (tests and the benchmark).
    const CdRelationshipBand::Step& rubberBand() const { return m_band; }

    // ---- Hover (CdDiagram_Hover.cpp) ----
    // The connector marker under the resting pointer (its ring is drawn), null when none.
    QRectF hoveredMarker() const { return m_hover.kind == Hover::Marker ? m_hover.marker : QRectF(); }

    // ---- Picture drops (CdDiagram_Drop.cpp) ----
    // The person's box under a drag of pictures (framed in blue over a snapshot of the diagram), null when none.
    const CdPerson* dragTarget() const { return m_dragTarget; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;
    // A secondary press: the person under the pointer is selected, the view takes the keyboard, and the menu
    // for the box (or the diagram) shows. The menu key shows the menu of the selected person's box.
    void contextMenuEvent(QContextMenuEvent* event) override;
    // Picture files, image data and pictures of the person editor's pictures page dropped on a box.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // ---- Mouse (CdDiagram_Mouse.cpp) ----
    // A press of the primary button; the second press of a double press only refocuses.
    void pressAt(const QPointF& point, Qt::KeyboardModifiers modifiers, bool doublePress);
    // Before a press acts: every open edit of the window ends; false when one keeps the keyboard.
    bool endEditingBeforePress();
    // A press on the middle of a line: the link's dialog. Whether it hit one.
    bool getClickedPath(const QPointF& point);
    // A secondary press (or a press in an empty slot's corner): the person is selected and the menu shows.
    void rightMouseDown(const QPointF& point, const QPoint& globalPos);
    void showMenuAtSelectedBox();
    FTPerson* focalPerson() const;
    FTPerson* selectedPerson() const;
    // Names the undo step "<localised word> <name with years>".
    void nameUndoStep(const char* word, const FTPerson* person);
    // Names the undo step "Focus on <name>" and makes the person focal.
    void focusOnWithUndoName(FTPerson* person);

    // ---- Drag ----
    void trackMouseButtonForRelationship(const QPointF& point);
    void rubberBandStep(const QPointF& point, bool display);
    void endRubberBand(const QPointF& point);

    // ---- Keys ----
    void moveSelectionTo(CdPerson* box);
    bool scrollMugShotForArrowKey(QKeyEvent* event);
    // Shows picture gPicNum of the box's person: on the focal picture, or enlarged over the box's mug shot. False
    // when the picture has no thumbnail.
    bool showPagedPicture(CdPerson* box, const QList<class FTPicture*>& pictures);

    // ---- Picture drops ----
    void endPictureDrag();
    // A page picture's new picture: its title, then the picture editor.
    void setNewPictureTitle(FTPicture* draggedPicture, FTPicture* newPicture, FTPerson* person);
    // "PicturesDropped" for this diagram: the confirmation, modal.
    void picturesDropped(const Notification& n);

    // ---- Hover ----
    struct Hover {
        enum Kind { None, Marker, Picture } kind = None;
        QRectF marker;
        CdPerson* box = nullptr;
        bool operator==(const Hover&) const = default;
    };
    bool hoverAllowed() const;
    Hover hoverTargetAt(const QPointF& point) const;
    void hoverAt(const QPointF& point);
    void mouseEnteredPictureRect();
    void mouseExited();

    void schedulePrepare();
    // Whether the entry box's slot and the person it hangs from are still there.
    bool editBoxSlotStands() const;
    // Whether the database's undo manager is undoing or redoing a step.
    bool isReplayingUndo() const;
    // Takes away the boxes of deleted people without a rebuild (the entry box is open).
    void removeBoxesOfDeletedPeople();
    void redrawRect(const QRectF& rect);
    void redrawBoxesOf(FTPerson* a, FTPerson* b);
    void deleteLinksWithoutChild();
    void showWarnings(const QStringList& warnings);
    bool concernsThisDatabase(const Notification& n) const;
    FTPerson* personOf(const Notification& n) const;
    void observeNotifications();
    void personNameOrDateChanged(const Notification& n);
    void genderChanged(const Notification& n);
    void personToBeDeleted(const Notification& n);
    void defaultPictureChanged(const Notification& n);

    QPointer<DOvurDocument> m_document;
    CdLayout m_layout;
    FamilyDiagramCommands m_commands {*this};
    std::unique_ptr<CdSpeaker> m_synth;
    bool m_refreshArray = true;
    bool m_prepareQueued = false;
    CdEditBox* m_editBox = nullptr;
    // Raised by "AddedChildInPcd" for this database: the next pass opens the entry box on the next child slot.
    bool m_addedChild = false;
    bool m_popupMenuOpen = false;
    // The relationship band: the snapshot painted under it, its source box and its last step.
    bool m_rubberBand = false;
    QPixmap m_cdBitmap;
    CdPerson* m_bandSource = nullptr;
    CdRelationshipBand::Step m_band;
    // A drag of pictures: whether it can be dropped here, and the box under it.
    bool m_gDragOK = false;
    CdPerson* m_dragTarget = nullptr;
    CdInputThrottle m_throttle;
    // The pointer over the view (its last move), and what it rests on.
    QPointF m_pointer;
    bool m_pointerInside = false;
    Hover m_hover;
    QTimer m_hoverTimer;
    bool m_focalPictureRing = false;
    bool m_focalPicturePaged = false;
    QSizeF m_laidOutSize;
    int m_rebuildCount = 0;
    int m_focalChanges = 0;
    QRectF m_lastRedrawRect;
    QImage m_enlargedImage;
    QRectF m_enlargedMugShot;
    int m_enlargedCount = 0;
};
