#pragma once

#include <QPushButton>

// A button that opens a notes dialog. It never takes the keyboard focus, so pressing it leaves the field being
// edited as it is.
class NotesButton : public QPushButton {
    Q_OBJECT
public:
    explicit NotesButton(QWidget* parent = nullptr);
};
