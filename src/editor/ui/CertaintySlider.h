#pragma once

#include <QWidget>

class QLabel;
class QSlider;

// The certainty of a parent-child link, 0 to 100 percent: a slider with its value beside it. Dragging shows the
// value; it is chosen once the slider is let go, or at each step of the keys, so that one move is one change.
class CertaintySlider : public QWidget {
    Q_OBJECT
public:
    explicit CertaintySlider(QWidget* parent = nullptr);

    QSlider* slider() const { return m_slider; }
    int value() const;
    // Shows a value without choosing it; an empty text for none.
    void showValue(int value, bool known = true);

Q_SIGNALS:
    void chosen(int value);

private:
    QSlider* m_slider;
    QLabel* m_value;
};
