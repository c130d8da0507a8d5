#pragma once

#include <QImage>
#include <QWidget>

// A small picture on a light grey ground, as large as fits with its proportions kept, drawn without smoothing.
class ThumbView : public QWidget {
    Q_OBJECT
public:
    explicit ThumbView(QWidget* parent = nullptr);
    void setImage(const QImage& image);
    const QImage& image() const { return m_image; }
    // Where the image is drawn: centred across the narrower direction, rounded outward to whole points.
    QRect boundsRectToFitImage() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_image;
};
