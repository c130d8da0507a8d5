#pragma once

#include <QList>
#include <QString>

#include <functional>

class FTEvent;
class FTMoc;
class FTPicture;
class QObject;

// What the family database asks of the layers above it. The model library cannot include the shell or any
// window, so it calls these; the application installs the real ones at start-up (the shell, the pictures
// subsystem, the event-type index sheet) and tests install their own. An empty hook means the fallback named
// with it.
//
//   ModelHooks& hooks = ModelHooks::shared();
//   hooks.dataDirectory = [] { return Utils::KinloomDataDirectory(); };
struct ModelHooks {
    // The data folder, where "DatabaseError.txt" is written. Fallback: the user default "KinloomDataDirectory",
    // else ~/KinloomData.
    std::function<QString()> dataDirectory;
    // The support address that error messages name. Fallback: support@kinloom.org.
    std::function<QString()> supportEmailAddress;
    // The exception report for the exception being handled; called inside a catch block with the source file,
    // line and operation. Fallback: the exception is logged.
    std::function<void(const char* file, int line, const QString& method)> reportCurrentException;
    // Ends the program after a fatal error. Saving never calls it: a failed save keeps the program and every
    // open database going. Fallback: none.
    std::function<void()> terminate;
    // The system's alert sound. Fallback: none.
    std::function<void()> beep;
    // The context of the front document, or null when none is open. Fallback: none is open.
    std::function<FTMoc*()> currentDocumentMoc;

    // The pictures subsystem: moves the thumbnails that older databases keep in their Picture rows into
    // OriginalPicture records (window-modal progress; saves the context). Fallback: the thumbnails stay where
    // they are and are moved at a later opening.
    std::function<void(FTMoc& moc, const QList<FTPicture*>& pictures)> moveThumbnails;
    // The event-type index sheet: links `events` (events without an event type) to their types on the document's
    // main window, then calls `done(true)`; `done(false)` when the user closes it without linking. It may return
    // before `done` is called. Fallback: nothing is linked and the repair stays pending.
    std::function<void(FTMoc& moc, const QList<FTEvent*>& events, std::function<void(bool completed)> done)>
        createEventTypeIndex;

    static ModelHooks& shared();

    // The hooks with their fallbacks applied.
    static QString dataDirectoryPath();
    static QString supportAddress();
    // Inside a catch block: reportCurrentException, or the log line that stands in for it.
    static void reportException(const char* file, int line, const QString& method);

    // ---- Events ----
    // The map window (publishing subsystem) for the event's place, as a sheet on `parent` (a window; null: the
    // front document's main window); `didEnd` (may be empty) runs when it has closed. Fallback: nothing opens.
    std::function<void(FTEvent& event, QObject* parent, std::function<void()> didEnd)> openMapWindow;
    // The page the front document's person editor shows: "pSources", "pEvents", ...; empty without one.
    // Fallback: empty.
    std::function<QString()> personEditorPage;
};
