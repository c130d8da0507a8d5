#pragma once

#include "pictures/CropDrag.h"

#include <QPointF>
#include <QRectF>
#include <QWidget>

class PictureController;
class QMenu;
class QMimeData;
class QScrollArea;

// The picture editor's crop view, inside its scroll area: the picture at a zoom, the crop drawn as a blue frame
// with a red handle at its bottom-right corner, the crops of the selected other references in yellow. A press
// on the handle resizes the crop, one inside the frame moves it, one elsewhere draws a new one (held to the ratio
// of the user default "croppingMode"); each step goes to the controller. One picture can be pasted or dropped in;
// without a picture the view says what to do.
class PicEdit : public QWidget {
    Q_OBJECT
public:
    PicEdit(PictureController* pc, QScrollArea* scrollArea);

    double scale() const { return m_scale; }
    double sliderScale() const { return m_sliderScale; }
    QRectF rclCrop() const { return m_rclCrop; }
    // The crop as drawn, in view points.
    QRectF rclDragBox() const;
    QRectF imageRect() const;
    static bool isTracking() { return s_tracking; }

    // Shows the controller's picture anew: its crop, at the fitting size.
    void reloadImage();
    void setRclCrop(const QRectF& crop);
    // Zooms to `s` times the fitting size (never below half of it).
    void setSliderScale(double s);

    // Takes one picture from a clipboard or drop; more than one, or none, is refused (with a message unless
    // dropping). False when nothing was taken.
    bool pastePictureFromPasteboard(const QMimeData& mime, bool dropping);
    void paste();
    // The context menu, its one item enabled only when the clipboard holds one picture.
    QMenu* makePopupMenu();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QSizeF imageSize() const;
    void fitToImage();
    void setCroppedRectangle(const QRectF& box, bool final);
    void trackTo(QPointF q, bool final);
    void scrollDragRectVisible();
    void updateCursor(QPointF p);
    void drawMessage(QPainter& p, const QString& text, int size, const QColor& colour, double top);

    PictureController* m_pc;
    QScrollArea* m_scrollArea;
    double m_scale = 1.0;
    double m_sliderScale = 1.0;
    QRectF m_rclCrop;
    CropDrag m_drag;
    bool m_oneAtATime = false;
    static bool s_tracking;
};
