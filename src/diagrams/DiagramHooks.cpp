#include "diagrams/DiagramHooks.h"

#include "shell/DisplayMsg.h"

#include "platform/Localizer.h"

DiagramHooks& DiagramHooks::shared()
{
    static DiagramHooks hooks;
    return hooks;
}

void DiagramHooks::sayNotAvailable(const QString& windowName)
{
    DisplayMsg(LocalizedString(QStringLiteral("DiagramWindowNotAvailable")).arg(windowName));
}
