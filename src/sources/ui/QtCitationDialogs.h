#pragma once

#include "model/CitationDialogs.h"

// The citation sheets as the model opens them after citing a source: a SourceReferenceDialog of the kind,
// window-modal on the active window (else the front document's main window), deleted when it closes, after which
// `didEnd` runs. Installed at start-up (installSourceCiting).
class QtCitationDialogs : public CitationDialogs {
public:
    void beginCitationSheet(Kind kind, FTSourceRel* citation, std::function<void()> didEnd) override;
    static QtCitationDialogs& shared();
};
