#pragma once

#include <QPointer>
#include <QRect>
#include <QWidget>

class DOvurDocument;
class ElidedLabel;
class FTMoc;
class FTPerson;
class HdCustomise;
class HdView;
class PersonalDetails;
class QButtonGroup;
class QCheckBox;
class QDoubleSpinBox;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QSpinBox;
struct Notification;

// The hierarchy diagram's window: the ancestors or descendants of one person as a tree (HdView in a scroll area),
// with the controls for generations, text size, column width, direction, orientation and truncated lines, and
// the selected person's details on one line at the foot. A tool window of the database's main window, one per
// request; several may be open at a time.
//
// A window opened after another one closed takes that window's size and place; the first of a run opens
// centred. Closing deletes the window once control is back in the event loop. A window that loses its tree while a
// modal dialog runs (a dialog it opened deleted the root) goes out of sight and closes once the dialog has finished.
//
//   HierarchyDiagram::invokeHierarchyDiagramFor(*document, person, true);   // the person's ancestors
class HierarchyDiagram : public QWidget {
    Q_OBJECT
public:
    static constexpr int kDefaultWidth = 940;
    static constexpr int kDefaultHeight = 660;

    HierarchyDiagram(FTPerson* person, bool ancestors, QWidget* mainWindow);
    ~HierarchyDiagram() override;

    // Opens a window on the person's ancestors (true) or descendants in front of the document's main window.
    // Null without a person or a main window.
    static HierarchyDiagram* invokeHierarchyDiagramFor(DOvurDocument& document, FTPerson* person, bool ancestors);
    // The frame of the last hierarchy window closed in this run; empty until one closes.
    static QRect prevFrameRect();
    static void setPrevFrameRect(const QRect& frame);

    FTMoc* moc() const { return m_moc; }
    FTPerson* rootPerson() const;
    HdView* hdView() const { return m_view; }
    QScrollArea* scrollArea() const { return m_scroll; }

    // The help alert of the window.
    void displayHelp();
    // The page settings shared by every window that prints; the diagram is laid out again on the new paper.
    void pageSetup();
    // The small details window of the person; it then follows the selection until it closes.
    void invokeMiniPersonalDetailsFor(FTPerson* person);
    // The details window closed: it goes.
    void releasePersonalDetailsWindow();
    // The customise window, made on first use and kept. A diagram of names only gets its full boxes back first.
    void customise();
    // The list of the people shown, modal: the one chosen is selected in the diagram.
    void invokeFindPersonDialog();
    // Paper: the view's print() and printAsPDF().
    void printHierarchyDiagram();
    void printAsPDF();
    // The window's background: "hdFrameColour" while it is in front, paler behind other windows.
    void setFrameColour(bool active);
    // The controls show the "hd" options as they are now.
    void syncControls();

    // The controls (tests).
    QSpinBox* generationsStepper() const { return m_generations; }
    QSpinBox* pointSizeStepper() const { return m_pointSize; }
    QDoubleSpinBox* columnWidthStepper() const { return m_columnWidth; }
    QRadioButton* ancestorsButton() const { return m_ancestors; }
    QRadioButton* descendantsButton() const { return m_descendants; }
    QCheckBox* horizontalSwitch() const { return m_horizontal; }
    QCheckBox* truncateSwitch() const { return m_truncate; }
    ElidedLabel* selectedPersonsInfoTextField() const { return m_info; }
    QPushButton* printButton() const { return m_printButton; }
    QPushButton* pdfButton() const { return m_pdfButton; }
    QPushButton* customiseButton() const { return m_customiseButton; }
    QPushButton* findButton() const { return m_findButton; }
    // The small windows while they exist.
    PersonalDetails* personalDetails() const { return m_pd; }
    HdCustomise* customiseDialog() const { return m_customiseDialog; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void makeControls();
    void observeNotifications();
    bool concernsThisDatabase(const Notification& n) const;
    bool outsideModalLoops() const;
    void closeWhenSafe();
    void retryCloseSoon(int msec);
    void refreshArray();
    void personToBeDeleted(const Notification& n);
    void personNameOrDateChanged(const Notification& n);

    FTMoc* m_moc = nullptr;
    HdView* m_view = nullptr;
    QScrollArea* m_scroll = nullptr;
    QSpinBox* m_generations = nullptr;
    QSpinBox* m_pointSize = nullptr;
    QDoubleSpinBox* m_columnWidth = nullptr;
    QRadioButton* m_ancestors = nullptr;
    QRadioButton* m_descendants = nullptr;
    QCheckBox* m_horizontal = nullptr;
    QCheckBox* m_truncate = nullptr;
    QPushButton* m_pageSetupButton = nullptr;
    QPushButton* m_helpButton = nullptr;
    QPushButton* m_printButton = nullptr;
    QPushButton* m_pdfButton = nullptr;
    QPushButton* m_customiseButton = nullptr;
    QPushButton* m_findButton = nullptr;
    PersonalDetails* m_pd = nullptr;
    HdCustomise* m_customiseDialog = nullptr;
    ElidedLabel* m_info = nullptr;
    bool m_syncing = false;
    // The event loop level the window was opened from, and the close waiting for a modal dialog to finish.
    int m_loopLevel = 0;
    QPointer<QWidget> m_closeAfter;
    bool m_closeQueued = false;
};
