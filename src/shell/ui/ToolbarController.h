#pragma once

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
class QComboBox;
class QLineEdit;
class QSpinBox;
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

    ToolbarController(FTMoc* moc, DOvurDocument* document);
    ~ToolbarController() override;

    QToolBar* toolbar() const { return m_toolbar; }
    void setPcd(FamilyDiagramPane* pcd) { m_pcd = pcd; }
    FTMoc* moc() const { return m_moc; }
    // The widget of an item; null for an identifier without one.
    QWidget* itemView(const QString& identifier) const;
    QComboBox* focalPeopleComboBox() const { return m_focalPeopleComboBox; }

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

private:
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
    QLineEdit* m_findPersonSearchField = nullptr;
    QSpinBox* m_fontStepper = nullptr;
    QSpinBox* m_levelsStepper = nullptr;
    QToolButton* m_activeSourceButton = nullptr;
    QToolButton* m_projectViewButton = nullptr;
    QHash<QString, QWidget*> m_toolbarItemsDic;
    FocalPeopleHistory m_history;
    bool m_reloading = false;
};
