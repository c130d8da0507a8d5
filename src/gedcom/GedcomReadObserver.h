#pragma once

#include <QString>

// What the file reading tells the import dialog while it works. The import worker forwards these to
// its dialog (status line, second progress bar, alerts); tests and benchmarks use the no-op base.
class GedcomReadObserver {
public:
    virtual ~GedcomReadObserver() = default;
    // The status line ("Reading Gedcom Records: 1000").
    virtual void setDialogMessage(const QString& text) {}
    // Progress within the current step; called often, the receiver decides when to redraw.
    virtual void setCurrentProgress(qint64 current, qint64 total) {}
    // A message the user must see (an alert in the application).
    virtual void showMessage(const QString& text) {}
};
