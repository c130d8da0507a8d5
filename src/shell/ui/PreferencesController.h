#pragma once

#include "shell/AncestralViewsList.h"

#include <QHash>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>

class AppController;
class DOvurDocument;
class FamilyDiagramPane;
class FTMoc;
class QCheckBox;
class QComboBox;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableView;
class QToolButton;
class ViewsTableModel;

// The preferences window: one for the program, made on first use, shown as a tool window of the current main
// window and working on that database and its family diagram. Its pages: the diagram (what shows under each name,
// font, background, restoring the defaults), the colours, general switches with the picture editor's crop shape,
// and the database's ancestral views.
// When its database closes the window closes and lets go of it; opened from another database it takes that one.
//
//   PreferencesController::install(controller);           // Edit > "Preferences..." and the toolbar's item
//   PreferencesController::setUserPreferences(document);  // what both do
class PreferencesController : public QWidget {
    Q_OBJECT
public:
    // The program's window; null before the first use.
    static PreferencesController* shared();
    // Makes the window when needed, binds it to the document (the current one when null), fills the views list and
    // brings it to the front beside that document's main window. Null without a document.
    static PreferencesController* setUserPreferences(DOvurDocument* document = nullptr);
    // Adds Edit > "Preferences..." and the toolbar's Preferences command.
    static void install(AppController& controller);

    // The diagram colours window of the diagrams subsystem, opened modally on the diagram by "Diagram
    // Colours..."; the button shows only once this is installed.
    using DiagramColoursHandler = std::function<void(FamilyDiagramPane& pcd, QWidget* parent)>;
    static void setDiagramColoursHandler(DiagramColoursHandler handler);

    ~PreferencesController() override;

    DOvurDocument* document() const;
    FTMoc* moc() const { return m_list.moc(); }
    FamilyDiagramPane* pcd() const;
    AncestralViewsList& viewsList() { return m_list; }

    QTabWidget* tabs() const { return m_tabs; }
    QComboBox* nameOptions() const { return m_nameOptions; }
    QTableView* foundViewsTable() const { return m_foundViewsTable; }
    QLineEdit* projectViewSearchField() const { return m_projectViewSearchField; }
    QPushButton* diagramColoursButton() const { return m_diagramColoursButton; }
    // The crop shape the picture editor keeps (user default "croppingMode").
    QComboBox* croppingMode() const { return m_croppingMode; }
    // The colour button of a colour key; null for another key.
    QPushButton* colourButton(const QString& key) const;
    QCheckBox* checkBox(const QString& key) const;

    // ---- Commands ----
    // The user chose a name option.
    void selectNameOption(int option);
    // The option changed elsewhere (the diagram's own menu): reselected here, and the diagram follows.
    void nameOptionChanged();
    // The font and colour dialogs; what the user picks goes to the diagram.
    void selectFont();
    void selectBgColour();
    void selectColour(const QString& key);
    // Stores a colour picked for a key and applies it where it shows.
    void setColour(const QString& key, const QColor& colour);
    void setColours();
    void setDefaults();
    // Every view of every database is refreshed ("RefreshAllViews").
    void refreshScreen();
    void helpForAlwaysDisplayChildOrFamilyDialog();
    void createAncestralViewForFocalPerson();
    void deleteView();

protected:
    bool event(QEvent* event) override;

private:
    PreferencesController();
    void setDocument(DOvurDocument* document);
    void documentClosing();
    void recolour();
    void reloadViews();
    void reloadPages();
    void viewsSelectionChanged();
    QWidget* makeDiagramPage();
    QWidget* makeColoursPage();
    QWidget* makeGeneralPage();
    QLayout* makeCroppingModeRow(QWidget* parent);
    QWidget* makeViewsPage();

    QPointer<DOvurDocument> m_document;
    QPointer<FamilyDiagramPane> m_pcd;
    AncestralViewsList m_list;
    QTabWidget* m_tabs = nullptr;
    QComboBox* m_nameOptions = nullptr;
    QComboBox* m_croppingMode = nullptr;
    QLabel* m_fontName = nullptr;
    QPushButton* m_bgColourButton = nullptr;
    QPushButton* m_diagramColoursButton = nullptr;
    QHash<QString, QPushButton*> m_colourButtons;
    QHash<QString, QCheckBox*> m_checkBoxes;
    QLineEdit* m_projectViewSearchField = nullptr;
    QTableView* m_foundViewsTable = nullptr;
    ViewsTableModel* m_viewsModel = nullptr;
    bool m_reloading = false;
};
