#include "diagrams/DiagramMenuItem.h"

namespace {
template <class T> T pointerOf(const DiagramMenuItem::Object& object)
{
    const T* p = std::get_if<T>(&object);
    return p ? *p : nullptr;
}
}

DiagramMenuItem DiagramMenuItem::separator()
{
    DiagramMenuItem item;
    item.isSeparator = true;
    return item;
}

FTPerson* DiagramMenuItem::person() const
{
    return pointerOf<FTPerson*>(representedObject);
}

CdPerson* DiagramMenuItem::box() const
{
    return pointerOf<CdPerson*>(representedObject);
}

FTEvent* DiagramMenuItem::event() const
{
    return pointerOf<FTEvent*>(representedObject);
}

Hierarchy* DiagramMenuItem::node() const
{
    return pointerOf<Hierarchy*>(representedObject);
}

const CdCopyRequest* DiagramMenuItem::copyRequest() const
{
    return std::get_if<CdCopyRequest>(&representedObject);
}
