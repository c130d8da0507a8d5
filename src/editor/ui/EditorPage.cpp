#include "editor/ui/EditorPage.h"

EditorPage::EditorPage(QWidget* parent)
    : QWidget(parent)
{
}
