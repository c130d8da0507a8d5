#pragma once

#include "editor/PersonPictures.h"
#include "editor/PicturesMenuItem.h"
#include "editor/ui/EditorPage.h"

#include <QHash>
#include <QImage>
#include <QList>
#include <QRectF>

#include <functional>

class FTMoc;
class FTPerson;
class FTPicture;
class QDrag;
class QLabel;
class QMimeData;
class QPainter;
class QPushButton;
class QScrollArea;
class QSpinBox;

// The person editor's pictures page: the selected person's pictures as a grid of thumbnails with their titles
// (PicturesGrid), a line describing the selected picture, the Transcribe button and the page's other buttons.
// From it the user adds, edits, removes, reorders (by dragging), sorts, de-duplicates, transcribes, opens, copies
// and cites pictures, pastes and drops new ones, and reaches the other people whose pictures use the same file.
// The commands on the database are PersonPictures'; the picture editor and the transcription window are the
// pictures subsystem's, reached through EditorHooks, as is the intake of pasted and dropped pictures.
//
// Mouse and keys on the grid: a click selects (on empty space: nothing), Ctrl+click edits, a double click opens
// the file, a right click selects and shows the context menu; Return edits, Delete removes, the arrows move the
// selection; Ctrl+V pastes. A picture dragged within the grid moves to where the drop marker stands.
//
// The list is reloaded from the database after refreshDisplay() or setRefreshArray(true), once the events already
// queued have run: never while the grid paints.
class InfoArea_Pictures : public EditorPage {
    Q_OBJECT
public:
    explicit InfoArea_Pictures(QWidget* parent = nullptr);
    ~InfoArea_Pictures() override;

    // The page protocol.
    void setSelectedPerson(FTPerson* person) override;
    void refreshDisplay() override;
    void freeMemory() override;
    void personToBeDeleted(const Notification& n) override;
    void setRefreshArray(bool refresh) override;
    void prepareForPrinting() override;

    FTPerson* selectedPerson() const { return m_list.person(); }
    // The list shown; reloadIfNeeded() first when a reload is due.
    const PersonPictures& list() const { return m_list; }
    void reloadIfNeeded();
    FTPicture* selectedPicture() const { return m_list.selected(); }
    void setSelectedPicture(FTPicture* picture);

    // The parts of the page.
    QScrollArea* scrollView() const { return m_scroll; }
    QWidget* view() const;
    QLabel* pictureInfoTextField() const { return m_info; }
    QPushButton* transcribeButton() const { return m_transcribe; }

    // Where picture i is drawn in the grid (its thumbnail's place in its cell), and the picture under a point.
    QRectF drawingRectAt(int index);
    FTPicture* pictureAt(const QPointF& point);

    // The commands of the page. A picture given as null acts on the selected picture, as a button does: without
    // one the user is asked to select a picture.
    void pictureAdd();
    void pictureEdit(FTPicture* picture);
    void pictureRemove(FTPicture* picture);
    void pictureMakeDefault(FTPicture* picture);
    void pictureTranscribe(FTPicture* picture);
    void addPlaceHolder();
    void sortByDate();
    void sortByTitle();
    void removeDuplicates();
    void attachPictureToActiveSource(FTPicture* picture);
    void openPictureWith(FTPicture* picture, const QString& application);
    void openPicture(FTPicture* picture);
    void selectPersonOrPictureEdit(FTPicture* picture);
    void copyOriginalImage(FTPicture* picture);
    void copyThumbNailImage(FTPicture* picture);
    void paste();

    // The context menu of a picture, or of the empty space for null; running the command of one of its items.
    PicturesMenu menuFor(FTPicture* picture) const;
    void perform(const PicturesMenuItem& item);

    // How the page's own drag runs once it is prepared: QDrag::exec() unless replaced (tests deliver the drag
    // events themselves while it runs).
    using DragRunner = std::function<Qt::DropAction(QDrag& drag)>;
    void setDragRunner(DragRunner runner) { m_dragRunner = std::move(runner); }
    // The drop marker of the page's own drag over the grid; empty when none shows.
    QRectF rclDrop() const { return m_rclDrop; }

    // The printed layout of the grid's area `rect` (while gPrinting is raised the grid paints this instead).
    void drawThePicturesForPrinting(QPainter& painter, const QRectF& rect);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class View;
    friend class View;

    // The list changed: the grid is laid out again, the description redone and the grid redrawn.
    void listChanged();
    void layoutPictures();
    void displaySelectedPictureInfo();
    // The intake's count line in the description's place.
    void showMessage(const QString& text);
    // Picture i's thumbnail, read once after each reload; null for none.
    QImage thumbnailAt(int index);
    FTPicture* selectedOrAsk(const QString& message) const;
    FTMoc* moc() const;
    void setRowSpacing(int spacing);

    // Drawing (View::paintEvent).
    void paint(QPainter& painter, const QRectF& dirty);
    void drawPicture(QPainter& painter, int index, const QRectF& drawingRect);
    void drawTitle(QPainter& painter, const FTPicture* picture, const QRectF& drawingRect, const QRectF& dirty);

    // Mouse, keys and the menu (View's events).
    void mousePressed(const QPointF& point, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void mouseDragged(const QPointF& point);
    void doubleClicked(const QPointF& point);
    void contextMenu(const QPointF& point, const QPoint& globalPos, bool fromMouse);
    bool keyPressed(int key, Qt::KeyboardModifiers modifiers);

    // Drag and drop (View's events).
    bool draggingEntered(const QMimeData& mime);
    bool draggingUpdated(const QMimeData& mime, const QPointF& point);
    void draggingExited();
    void performDragOperation(const QMimeData& mime, const QPointF& point);
    bool isOwnDrag(const QMimeData& mime) const;
    QPointF dragProbe(const QPointF& point);
    bool setDropIndication(const QPointF& point);
    void resetPictureSequence(const QPointF& point);
    void setDropMarker(const QRectF& marker);

    PersonPictures m_list;
    bool m_refreshArray = true;
    bool m_reloadQueued = false;
    QList<QRectF> m_cells;
    double m_rowHeight = 150;
    QHash<const FTPicture*, QImage> m_thumbnails;

    QScrollArea* m_scroll = nullptr;
    View* m_view = nullptr;
    QLabel* m_info = nullptr;
    bool m_infoIsMessage = false;
    QPushButton* m_transcribe = nullptr;
    QSpinBox* m_rowSpacing = nullptr;
    QList<QWidget*> m_controls;

    // The press that may start a drag.
    QPointF m_pressPoint;
    FTPicture* m_pressPicture = nullptr;
    // The page's own drag while it runs: the picture and where the pointer holds its image.
    FTPicture* m_dragged = nullptr;
    QPointF m_hotSpot;
    DragRunner m_dragRunner;
    int m_gDragOp = 0;
    bool m_bDraggingInfoAreaPicture = false;
    QRectF m_rclDrop;
};
