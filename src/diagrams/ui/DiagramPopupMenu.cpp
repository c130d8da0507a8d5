#include "diagrams/ui/DiagramPopupMenu.h"

DiagramPopupMenu::DiagramPopupMenu(const DiagramMenu& model, QWidget* parent)
    : ModelPopupMenu<DiagramMenuItem>(model, parent)
{
}

std::optional<DiagramMenuItem> DiagramPopupMenu::exec(const DiagramMenu& model, const QPoint& globalPos,
                                                      QWidget* parent)
{
    return execMenu<DiagramPopupMenu>(model, globalPos, parent, QStringLiteral("DiagramPopupMenu"));
}
