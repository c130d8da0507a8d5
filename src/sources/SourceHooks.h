#pragma once

#include <functional>

class FTMoc;

// What the sources library asks of the windows above it. The core cannot reach the toolbar, so it calls these;
// the sources windows install the real ones at start-up and tests install their own. An empty hook does nothing.
struct SourceHooks {
    // The active source of `moc` was set or cleared: the toolbar's active-source button of that database's
    // window shows the change.
    std::function<void(FTMoc& moc)> activeSourceChanged;

    static SourceHooks& shared();
    // Calls activeSourceChanged when installed.
    static void noteActiveSourceChanged(FTMoc& moc);
};
