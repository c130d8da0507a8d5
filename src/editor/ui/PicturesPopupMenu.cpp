#include "editor/ui/PicturesPopupMenu.h"

PicturesPopupMenu::PicturesPopupMenu(const PicturesMenu& model, QWidget* parent)
    : ModelPopupMenu<PicturesMenuItem>(model, parent)
{
}

std::optional<PicturesMenuItem> PicturesPopupMenu::exec(
    const PicturesMenu& model, const QPoint& globalPos, QWidget* parent)
{
    return execMenu<PicturesPopupMenu>(model, globalPos, parent, QStringLiteral("PicturesPopupMenu"));
}
