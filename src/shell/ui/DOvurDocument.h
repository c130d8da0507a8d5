#pragma once

#include "model/FTMoc.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

class DOvurWindow;
class FamilyDiagramPane;
class FTPerson;
class PersonEditorPane;
class QDialog;
class QMainWindow;
class QSplitter;
class ToolbarController;
struct Notification;

// One open family database: its context (one FTMoc), its main window with the toolbar, the family diagram above
// and the person editor below, and the close sequence. The document follows the database's focal person, selected
// person and current project view and hands them to the views; it refreshes every view after "RefreshAllViews",
// an undo and a redo.
//
// Other subsystems reach it through DocumentController::shared().currentDocument() and its moc(), dovurWindow(),
// pcd() and pInfoArea(). A command that opens a window on it follows one pattern:
//
//   DOvurDocument* doc = DocumentController::shared().currentDocument();
//   if (!doc || !doc->dovurWindow()) return;
//   doc->prepareForCommand();                   // ends field editing, saves
//   auto* sheet = new CheckDatabaseIntegrity(doc->moc());
//   doc->beginSheet(sheet);                     // window-modal on the main window; deleted when it closes
class DOvurDocument : public QObject {
    Q_OBJECT
public:
    // The views of the main window, made by the subsystems that own them (each installed once at start-up by its
    // own subsystem). Without a factory the pane is an empty placeholder.
    using DiagramFactory = std::function<FamilyDiagramPane*(DOvurDocument&)>;
    using PersonEditorFactory = std::function<PersonEditorPane*(DOvurDocument&)>;
    static void setDiagramFactory(DiagramFactory factory);
    static void setPersonEditorFactory(PersonEditorFactory factory);
    // Both at once (tests that replace the two panes together).
    struct PaneFactories {
        DiagramFactory diagram;
        PersonEditorFactory personEditor;
    };
    static void setPaneFactories(PaneFactories factories);

    // The name the main window's frame is kept under (a user default).
    static const QString kFrameName; // "KinloomFrame"
    static constexpr int kDefaultWidth = 980;
    static constexpr int kDefaultHeight = 690;
    static constexpr int kMinWidth = 960;
    static constexpr int kMinHeight = 600;
    // The diagram keeps at least this height, the person editor at least kMinEditorHeight.
    static constexpr int kMinDiagramHeight = 200;
    static constexpr int kMinEditorHeight = 280;
    // The person editor's height in a new window with room for it: its family page lists five children rows
    // without the divider being dragged. A shorter window takes it from the editor down to kMinEditorHeight.
    static constexpr int kDefaultEditorHeight = 340;

    // Reads the database: for the document type "DovurDoc" (any letter case) opens its context. Null on failure
    // (the messages have been shown; `error` carries the context's error, 999 for an old model).
    static DOvurDocument* readFromURL(const QString& path, const QString& type, FTMoc::OpenError* error = nullptr);
    ~DOvurDocument() override;

    FTMoc* moc() const { return m_moc.get(); }
    QMainWindow* dovurWindow() const;
    FamilyDiagramPane* pcd() const { return m_pcd; }
    PersonEditorPane* pInfoArea() const { return m_pInfoArea; }
    QSplitter* pHorizSplitView() const { return m_split; }
    ToolbarController* toolbarController() const { return m_toolbarController.get(); }

    QString fileURL() const { return m_path; }
    // The file's name without folder and extension.
    QString modelName() const;
    static QString dateTooltip();

    // Builds the main window (toolbar, panes, frame) and wires the context to the views.
    void makeWindowControllers();
    void showWindows();
    // Hands the context to the views, starts observing the focal person, selected person and current view, and
    // sets each once (not undoably) so that every view starts on the focal person.
    void setMoc();

    void refreshAllViews();
    // Keeps memory small after a focal-person change: large values (pictures) that the visible family does not
    // need are dropped and read again when next needed.
    void faultUnusedRegisteredObjects();
    // The Edit menu's undo and redo on this database (with the undo manager's confirmation); every view of the
    // database refreshes after either ("RefreshAllViews" with the context).
    void undo();
    void redo();

    // Ends field editing in the main window so that what was typed reaches the data; false when a field keeps a
    // refused edit (its check has said why, and the field keeps the focus), or the user keeps the diagram's entry
    // box.
    bool endEditing();
    // Ends field editing for a close or quit under way, once however many of its steps ask (the close, the quit
    // that "Close & Quit" starts, the document's own close): a refused edit is reported once and goes with the
    // window. keepChanges() (the close or quit did not happen) makes the next one end editing again. False when the
    // user keeps the diagram's entry box and its typed text: the close or quit does not go on.
    bool endEditingForClose();
    // The launch pattern of every command that opens a window: end editing, save.
    void prepareForCommand();
    // Shows `sheet` window-modal on the main window; it is deleted when it closes. `didEnd` runs once when the
    // sheet ends, with its result code, before it goes.
    void beginSheet(QDialog* sheet, std::function<void(int result)> didEnd = {});
    // Shows `window` as a tool window above the main window; it is deleted when it closes (or with the main
    // window).
    void addChildWindow(QWidget* window);
    bool hasAttachedSheet() const;
    // The main window's colour (user default "mainWindowBgColour"), paler while the window is not in front.
    void setBgColour(bool active = true);
    void saveFrame() const;

    // Saves; when the save fails, asks "Retry", "Close Without Saving" or "Cancel" (with the reason) until the
    // changes are saved or the user decides. Discard: the changes are given up and this document saves no more,
    // until keepChanges() withdraws the answer.
    enum class UnsavedChanges { Saved, Discard, Cancel };
    UnsavedChanges saveOrAskToDiscard();
    bool discardsChanges() const { return m_discardChanges; }
    // The close or quit a "Close Without Saving" was given for did not happen: the document saves again, and asks
    // again when that fails; its fields are checked again at the next close.
    void keepChanges()
    {
        m_discardChanges = false;
        m_editingEndedForClose = false;
    }

    // The user's close of the main window: saves (asking as above when that fails), then asks "Close & Quit",
    // "Close" or "Cancel" when this is the only open database (other windows on it are closed first, and the
    // close waits for a second try).
    enum class CloseDecision { Cancel, Close, CloseAndQuit };
    CloseDecision windowShouldClose();
    // Runs windowShouldClose() and carries out the answer.
    void performClose();
    // Closes without questions (the document controller's close): ends editing, saves (unless the changes were
    // given up), lists the database as a recent document, closes the window.
    void close();

    // Observers of the notifications.
    void fontSizeChanged(const Notification& n);

Q_SIGNALS:
    // The database is closing: windows that hold its context or views let go of them now.
    void closing();

private:
    DOvurDocument(std::unique_ptr<FTMoc> moc, const QString& path);
    void focalPersonChanged();
    void selectedPersonChanged();
    void currentViewChanged();
    bool belongsToOtherDatabase(const Notification& n) const;

    std::unique_ptr<FTMoc> m_moc;
    QString m_path;
    QPointer<DOvurWindow> m_window;
    QSplitter* m_split = nullptr;
    FamilyDiagramPane* m_pcd = nullptr;
    PersonEditorPane* m_pInfoArea = nullptr;
    std::unique_ptr<ToolbarController> m_toolbarController;
    bool m_closed = false;
    bool m_discardChanges = false;
    bool m_editingEndedForClose = false;
};
