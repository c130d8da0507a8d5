#include "editor/ui/EditorTags.h"

#include <QVariant>
#include <QWidget>

namespace {
constexpr const char* kTag = "kinloomTag";
}

void setViewTag(QWidget* view, int tag)
{
    if (view)
        view->setProperty(kTag, tag);
}

int viewTag(const QWidget* view)
{
    if (!view)
        return 0;
    const QVariant v = view->property(kTag);
    return v.isValid() ? v.toInt() : 0;
}

QWidget* viewWithTag(QWidget* root, int tag)
{
    if (!root)
        return nullptr;
    if (viewTag(root) == tag)
        return root;
    for (QWidget* child : root->findChildren<QWidget*>())
        if (viewTag(child) == tag)
            return child;
    return nullptr;
}
