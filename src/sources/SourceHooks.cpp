#include "sources/SourceHooks.h"

SourceHooks& SourceHooks::shared()
{
    static SourceHooks hooks;
    return hooks;
}

void SourceHooks::noteActiveSourceChanged(FTMoc& moc)
{
    if (const SourceHooks& h = shared(); h.activeSourceChanged)
        h.activeSourceChanged(moc);
}
