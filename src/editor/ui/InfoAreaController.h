#pragma once

#include "editor/PersonEditorController.h"

#include "shell/ui/PersonEditorPane.h"

#include <QHash>
#include <QPointer>

#include <functional>

class EditorPage;
class InfoArea_Self;
class QTabWidget;

// The person editor of one open database: the lower pane of its main window, a tab view whose pages show and
// edit the selected person. The rules (which page is told what, labels, tab switching, notifications) are
// PersonEditorController's; this window shows the tabs and passes the user's tab changes to it.
//
// Pages are made by factories registered under their identifiers ("pSelf", "pEvents", ...); a tab appears once
// its page has a factory. A page of the editor registers itself in installPersonEditor(); the citations page
// ("pSources") comes through EditorHooks::citationsPage.
//
//   InfoAreaController::setPageFactory("pEvents", [](InfoAreaController&) { return new InfoArea_Events; });
class InfoAreaController : public PersonEditorPane, private PersonEditorController::TabView {
    Q_OBJECT
public:
    using PageFactory = std::function<EditorPage*(InfoAreaController& editor)>;
    static void setPageFactory(const QString& identifier, PageFactory factory);
    static bool hasPageFactory(const QString& identifier);
    static void removePageFactories();

    explicit InfoAreaController(QWidget* parent = nullptr);
    ~InfoAreaController() override;

    void setMoc(FTMoc* moc) override;
    void setSelectedPerson(FTPerson* person) override;
    void setProjectView(FTProjectView* view) override;
    void refreshDisplay() override;
    void setFontSize(double size) override;
    bool endEditing() override;
    void showFirstPage() override;
    void selectNextTabViewItem() override;
    void selectPreviousTabViewItem() override;
    void showCitation(FTSourceRel* citation) override;
    void prepareForPrinting() override;
    void selectEvent(FTEvent* event) override;

    // For other subsystems: the tab view, the pages by identifier, the visible one.
    QTabWidget* pTabView() const { return m_tabs; }
    EditorPage* page(const QString& identifier) const { return m_pages.value(identifier); }
    InfoArea_Self* pSelf() const;
    EditorPage* visiblePage() const;
    QString visiblePageIdentifier() const { return m_controller.visibleIdentifier(); }
    PersonEditorController& controller() { return m_controller; }
    FTPerson* selectedPerson() const { return m_controller.selectedPerson(); }

    // Switches tabs as the user does: editing ends first; false when a field keeps a refused edit.
    bool chooseTab(int index);
    bool choosePage(const QString& identifier);

private:
    // PersonEditorController::TabView
    void setTabLabel(int index, const QString& label) override;
    void selectTab(int index) override;
    bool endFieldEditing() override;
    void setKeyViewChain(int index, const QList<int>& tags) override;
    void setNeedsDisplay(int index) override;

    void currentChanged(int index);
    bool eventFilter(QObject* watched, QEvent* event) override;

    PersonEditorController m_controller;
    QTabWidget* m_tabs = nullptr;
    QHash<QString, EditorPage*> m_pages;
    QHash<int, QPointer<QWidget>> m_initialFocus;
};
