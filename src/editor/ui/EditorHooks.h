#pragma once

#include <QList>
#include <QString>
#include <QWidget>

#include <functional>
#include <optional>

class EditorPage;
class FTEvent;
class FTManagedObject;
class FTMoc;
class FTPerson;
class FTPicture;
class InfoAreaController;
class PlaceField;
class QMimeData;

// A view of a person's default picture (the pictures subsystem's DefaultImage).
class DefaultPictureView : public QWidget {
    Q_OBJECT
public:
    explicit DefaultPictureView(QWidget* parent = nullptr);
    virtual void setPerson(FTPerson* person) = 0;
};

// The windows of later subsystems that the person editor opens. The editor's window library cannot include
// theirs, so each subsystem installs its entry at start-up (src/app/main.cpp); tests install their own. A command
// whose entry is empty tells the user that the window is not available yet (run()); the two views fall back to
// plain ones of the editor's own.
//
//   EditorHooks::shared().personalTimeline = [](QWidget* window, FTPerson* p) { ... run PersonalTimeline ... };
struct EditorHooks {
    // The event editor for an event of a person or of a couple (`owner`), as a sheet on `window`; `didEnd` runs
    // when the sheet has closed.
    std::function<void(QWidget* window, FTManagedObject* owner, FTEvent* event, std::function<void()> didEnd)>
        eventEditor;
    // The person's timeline, run modally.
    std::function<void(QWidget* window, FTPerson* person)> personalTimeline;
    // The picture editor for a picture of `owner` (a new one when `picture` is null), as a sheet. When the sheet
    // ends, `didEnd` gets the picture edited or added (null when none was added) and whether anything changed.
    std::function<void(QWidget* window, FTManagedObject* owner, FTPicture* picture,
        std::function<void(FTPicture* picture, bool changed)> didEnd)>
        pictureEditor;
    // The transcription of a picture, as a sheet; `didEnd` runs when it ends.
    std::function<void(QWidget* window, FTPicture* picture, FTManagedObject* owner, std::function<void()> didEnd)>
        transcription;
    // The pictures intake: how many pictures a clipboard or drop offers for the database (0: none), and making
    // them pictures of the person, its count line going to `message`. Null when nothing usable was offered.
    // Without them nothing is taken.
    std::function<int(const QMimeData& mime, FTMoc* moc)> imagesInPasteboard;
    std::function<std::optional<QList<FTPicture*>>(
        const QMimeData& mime, FTPerson* person, const std::function<void(const QString&)>& message)>
        addPicturesFromPasteboard;
    // The default picture of the person shown. Fallback: the picture's thumbnail, not editable.
    std::function<DefaultPictureView*(QWidget* parent)> defaultPictureView;
    // The citations page of the editor ("pSources"). Fallback: the editor has no such tab.
    std::function<EditorPage*(InfoAreaController& editor)> citationsPage;
    // The narrative ancestors (0) or descendants (1) report, one line per person, as a sheet.
    std::function<void(QWidget* window, FTMoc* moc, int reportType)> narrativeReportSheet;
    // A hierarchy diagram of the person's ancestors or descendants, as a child window of the main window.
    std::function<void(FTPerson* person, bool ancestors)> hierarchyWindow;
    // The sources editor at the active source, as a sheet.
    std::function<void(QWidget* window)> sourcesEditor;
    // A place field that completes the database's places. Fallback: PlaceLineEdit.
    std::function<PlaceField*(QWidget* parent)> placeField;

    static EditorHooks& shared();

    // Runs `hook` with the arguments; without it the user is told that the window named by the "Localizable"
    // key `windowKey` is not available yet. Answers whether the window opened.
    template <class Hook, class... Args> static bool run(const Hook& hook, const char* windowKey, Args&&... args)
    {
        if (!hook) {
            notAvailable(windowKey);
            return false;
        }
        hook(std::forward<Args>(args)...);
        return true;
    }
    static void notAvailable(const char* windowKey);

    // The installed views, or the editor's own.
    static DefaultPictureView* makeDefaultPictureView(QWidget* parent);
    static PlaceField* makePlaceField(QWidget* parent);
};
