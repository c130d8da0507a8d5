#include "editor/ui/NotesButton.h"

NotesButton::NotesButton(QWidget* parent)
    : QPushButton(parent)
{
    setFocusPolicy(Qt::NoFocus);
}
