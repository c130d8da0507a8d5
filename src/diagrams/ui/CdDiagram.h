#pragma once

#include "shell/ui/FamilyDiagramPane.h"

#include "diagrams/CdLayout.h"
#include "diagrams/FamilyDiagramCommands.h"

#include <QImage>
#include <QPointer>

#include <memory>

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
    bool isEditBoxActive() const { return m_editBoxActive; }
    void setEditBoxActive(bool active);

    // Shows an enlarged mug shot over a box's small picture until the next change of selection or focus.
    void displayMugshotImage(const QImage& image, const QRectF& mugShot, int pictureCount);
    void sayFocalPersonsName();

    // What the view did last (tests): the number of rebuilds so far, and the area of the last in-place repaint.
    int rebuildCount() const { return m_rebuildCount; }
    QRectF lastRedrawRect() const { return m_lastRedrawRect; }

    // Set by "AddedChildInPcd" for this database; the entry box takes it to open on the next child slot.
    static bool gAddedChild;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;
    // A secondary press: the person under the pointer is selected, the view takes the keyboard, and the menu
    // for the box (or the diagram) shows. The menu key shows the menu of the selected person's box.
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void schedulePrepare();
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
    bool m_editBoxActive = false;
    bool m_popupMenuOpen = false;
    QSizeF m_laidOutSize;
    int m_rebuildCount = 0;
    int m_focalChanges = 0;
    QRectF m_lastRedrawRect;
    QImage m_enlargedImage;
    QRectF m_enlargedMugShot;
    int m_enlargedCount = 0;
};
