#pragma once

#include "shell/FindPersonSearch.h"
#include "shell/FocalPeopleHistory.h"

#include <QHash>
#include <QObject>
#include <QStringList>

#include <functional>

class DOvurDocument;
class FamilyDiagramPane;
class FTMoc;
class FTPerson;
class FTSource;
class FindPersonSearchField;
class FoundPeopleModel;
class QActionGroup;
class QComboBox;
class QLabel;
class QMenu;
class QSpinBox;
class QTableView;
class QTimer;
class QToolBar;
class QToolButton;
class QWidget;
struct Notification;

// The toolbar of one database's main window: the history of focal people, the search field, the font size and
// generations steppers and the buttons that open the other windows. The buttons' commands belong to other
// subsystems, which install them once with setItemHandler(); a button without its command is shown disabled.
class ToolbarController : public QObject {
    Q_OBJECT
public:
    // Item identifiers.
    static const QString kFocalPeople, kFindPerson, kPreferences, kFontSize, kMaxAncLevels, kAncestors,
        kDescendants, kPeopleIndex, kActiveSource, kProjectView, kPrint, kShowColours, kShowFonts;
    static const QString kFlexibleSpace, kSpace, kSeparator;
    static QStringList toolbarAllowedItemIdentifiers();
    static QStringList toolbarDefaultItemIdentifiers();

    // The command of a button item (kPreferences, kAncestors, kDescendants, kPeopleIndex, kActiveSource,
    // kProjectView, kPrint, kShowColours, kShowFonts), given the document of the window. The print, colours and
    // fonts items appear only once their command is installed.
    using ItemHandler = std::function<void(DOvurDocument& document)>;
    static void setItemHandler(const QString& identifier, ItemHandler handler);
    static ItemHandler itemHandler(const QString& identifier);
    // The menu of sources beside the active-source button, made by the sources subsystem for each toolbar (which
    // is then its delegate); without a factory the item has the active-source button alone.
    using ViewFactory = std::function<QWidget*(ToolbarController& toolbar)>;
    static void setSelectASourceButtonFactory(ViewFactory factory);

    ToolbarController(FTMoc* moc, DOvurDocument* document);
    ~ToolbarController() override;

    QToolBar* toolbar() const { return m_toolbar; }
    void setPcd(FamilyDiagramPane* pcd) { m_pcd = pcd; }
    FTMoc* moc() const { return m_moc; }
    // The widget of an item; null for an identifier without one.
    QWidget* itemView(const QString& identifier) const;
    QComboBox* focalPeopleComboBox() const { return m_focalPeopleComboBox; }
    QToolButton* activeSourceButton() const { return m_activeSourceButton; }
    QWidget* selectASourceButton() const { return m_selectASourceButton; }

    // The document's focal person changed: to the front of the history.
    void setFocalPerson(FTPerson* person);
    // The person focal before the current one, or null.
    FTPerson* previousFocalPerson();
    FocalPeopleHistory& history() { return m_history; }
    // Marks the lists for checking before their next use (after every refresh of all views).
    void validateArrays();

    void setActiveSource(FTSource* source);
    void setActiveSourceButtonCell();
    void setProjectViewButtonCell();

    // The user chose an entry of the history drop-down.
    void comboBoxSelectionDidChange(int index);
    void changeFontSize(int size);
    void changeAncLevels(int levels);

    // ---- The find-person search (ToolbarController_SearchField.cpp) ----

    FindPersonSearchField* findPersonSearchField() const { return m_findPersonSearchField; }
    // The floating result list, laid over the top right of the main window; null until the first search.
    QTableView* foundPeople() const { return m_foundPeople; }
    bool isFoundPeopleVisible() const;
    void hideFoundPeople();
    FindPersonSearch& search() { return m_search; }
    // The kinds menu of the search field (one checkable item per kind, then the disabled "AdvancedSearch").
    QMenu* searchMenu() const { return m_searchMenu; }
    // Makes the kind current, relabels the field and searches its text again.
    void limitSearch(FindPersonSearch::Kind kind);
    // With `fromField` runs the search of the field's text and shows the list; without only shows the last list
    // again, after a check.
    void findPerson(bool fromField);
    // Sizes, places and refills the list.
    void sizeFoundPeopleTableView();
    // A click on a column's header of the list.
    void didClickTableColumn(int column);
    // The user chose a row of the list: that person becomes focal.
    void tableViewSelectionDidChange();
    // The list's text size (11 points until the user changes the font size).
    void setFoundPeopleFontSize(int pointSize);

protected:
    // Keeps the list at the top right of the window when it is resized.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setUpSearchField();
    void createSearchFieldFilterMenu();
    void makeFoundPeopleTable();
    void reloadFoundPeople();
    void placeFoundPeople();
    void focusChanged(QWidget* now);

    void createToolbar();
    QWidget* makeItem(const QString& identifier, QWidget* view, const QString& label, const QString& toolTip,
                      int minWidth, int maxWidth);
    QToolButton* makeButton(const QString& identifier, const QIcon& icon, const QString& toolTip);
    void reloadComboBox();
    void personToBeDeleted(const Notification& n);

    FTMoc* m_moc = nullptr;
    DOvurDocument* m_document = nullptr;
    FamilyDiagramPane* m_pcd = nullptr;
    QToolBar* m_toolbar = nullptr;
    QComboBox* m_focalPeopleComboBox = nullptr;
    FindPersonSearchField* m_findPersonSearchField = nullptr;
    QLabel* m_findPersonLabel = nullptr;
    QMenu* m_searchMenu = nullptr;
    QActionGroup* m_searchKinds = nullptr;
    QTimer* m_searchDelay = nullptr;
    QTableView* m_foundPeople = nullptr; // a child of the main window
    FoundPeopleModel* m_foundPeopleModel = nullptr;
    FindPersonSearch m_search;
    bool m_choosing = false;
    int m_foundPeopleFontSize = 11;
    QSpinBox* m_fontStepper = nullptr;
    QSpinBox* m_levelsStepper = nullptr;
    QToolButton* m_activeSourceButton = nullptr;
    QWidget* m_selectASourceButton = nullptr;
    QToolButton* m_projectViewButton = nullptr;
    QHash<QString, QWidget*> m_toolbarItemsDic;
    FocalPeopleHistory m_history;
    bool m_reloading = false;
};
