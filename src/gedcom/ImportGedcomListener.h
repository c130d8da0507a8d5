#pragma once

#include <QString>

struct ImportGedcomOutcome;

// What a running GEDCOM import tells its dialog. An import started with ImportGedcomThread::startImport() calls
// these on the main thread, queued, in the order the worker sent them; importFinished() is always the last call.
// An import run directly (ImportGedcomThread::loadGedFileThread()) calls them on its own thread as they happen.
class ImportGedcomListener {
public:
    virtual ~ImportGedcomListener() = default;
    // The status line ("Processing Individuals' Events - 1200").
    virtual void setDialogMessage(const QString& text) {}
    // What the header says about the file ("The Gedcom file was created by ...").
    virtual void setGedcomSourceInfo(const QString& text) {}
    // The number of lines and the load-time estimate.
    virtual void setNumLinesInGedcomFile(const QString& text) {}
    // The overall bar (0-100) and the elapsed time to the end of the last step.
    virtual void setOverallProgress(double percent, const QString& elapsedTimeMessage) {}
    // The bar of the current step (0-100); sent only when it moved by more than five points or reached the end.
    virtual void setCurrentProgress(double percent) {}
    // A message the user must see (an alert).
    virtual void showMessage(const QString& text) {}
    virtual void importFinished(const ImportGedcomOutcome& outcome) {}
};
