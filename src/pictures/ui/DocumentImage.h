#pragma once

#include "pictures/CropDrag.h"
#include "pictures/ImagePyramid.h"

#include <QPointF>
#include <QRectF>
#include <QWidget>

class FTPicture;
class QScrollArea;

// The picture of the transcription window, inside its scroll area: the whole picture (turned by its rotation) at
// a scale, and the rectangle that a new link receives, drawn as a blue frame with a red handle. A press on the
// handle resizes the rectangle, one inside its frame moves it, one elsewhere draws a new one (any shape; 5 points
// or less in either direction is no rectangle). Only the exposed part of the scaled picture is drawn.
class DocumentImage : public QWidget {
    Q_OBJECT
public:
    explicit DocumentImage(QScrollArea* scrollArea);

    // Loads the picture's file. A file that gives no image leaves the view empty, with the reason in loadError().
    void setPicture(FTPicture* picture);
    FTPicture* picture() const { return m_picture; }
    const QImage& image() const { return m_pyramid.image(); }
    QString loadError() const { return m_loadError; }

    // View points per picture pixel (1.0 for 0 or less).
    double scale() const { return m_scale; }
    void setScale(double scale);
    // The rectangle in picture pixels: shown, and scrolled into view.
    QRectF rclCrop() const { return m_rclCrop; }
    void setRclCrop(const QRectF& rectangle);
    // The rectangle as drawn, in view points; and the picture's own rectangle in the view.
    QRectF rclDragBox() const;
    QRectF imageRect() const;

Q_SIGNALS:
    // The rectangle changed by the mouse.
    void rclCropChanged(const QRectF& rectangle);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void fitToScale();
    void trackTo(QPointF q);
    void scrollDragRectVisible();
    QRectF visibleRect() const;

    QScrollArea* m_scrollArea;
    FTPicture* m_picture = nullptr;
    ImagePyramid m_pyramid;
    QString m_loadError;
    double m_scale = 1.0;
    QRectF m_rclCrop;
    CropDrag m_drag;
};
