#pragma once

#include <QPointF>
#include <QRectF>

// One drag of the mouse on a picture's rectangle, from the press to the release, in view points. Where the press
// lies decides what the drag does: by the rectangle's corner it resizes it, by its frame or inside it moves it, and
// anywhere else it draws a new one (CropGeometry's areas and rules).
//
//   drag.begin(box, pressed);                         // on the press
//   box = drag.boxAt(now, imageRect, ratio);          // on every move and on the release; zero: no rectangle
//   drag.end();
class CropDrag {
public:
    enum class Kind { None, Resize, Move, New };

    void begin(const QRectF& box, QPointF pressed);
    // The rectangle with the mouse at `current`; a new or resized one keeps `ratio` (0: any shape).
    QRectF boxAt(QPointF current, const QRectF& imageRect, float ratio) const;
    void end() { m_kind = Kind::None; }

    Kind kind() const { return m_kind; }
    bool isActive() const { return m_kind != Kind::None; }

private:
    Kind m_kind = Kind::None;
    QPointF m_anchor;
    QRectF m_startBox;
};
