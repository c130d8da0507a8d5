#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class FTMoc;
class FTPerson;
class FTProjectView;
class InfoAreaPage;
struct Notification;

// The rules of the person editor: which pages it has and in which order, what the visible page is told, the tab
// labels with their content marks, the font size, tab switching and the model notifications it passes on. The
// window (InfoAreaController) shows the tabs and forwards the user's tab changes; this class decides.
//
//   PersonEditorController c(tabView);
//   c.addPage("pSelf", &selfPage);  c.addPage("pNotes", &notesPage);
//   c.start();                      // chooses the tab of "previousTabViewIndex", starts observing
//   c.setMoc(moc);  c.setSelectedPerson(person);
class PersonEditorController {
public:
    // What the controller needs of the tab view that shows the pages.
    class TabView {
    public:
        virtual ~TabView() = default;
        virtual void setTabLabel(int index, const QString& label) = 0;
        // Shows the tab; a change reaches the controller through willSelectTab() and didSelectTab().
        virtual void selectTab(int index) = 0;
        // Ends any field edit in the editor; false when a field keeps its edit because its check refused it.
        virtual bool endFieldEditing() = 0;
        // The page's keyboard focus starts at the view tagged tags.first() and Tab walks the tags in order.
        virtual void setKeyViewChain(int index, const QList<int>& tags) = 0;
        // Redraws the tab's page.
        virtual void setNeedsDisplay(int index) = 0;
    };

    // The twelve page identifiers in tab order; tab 0 shows the person's own fields.
    static const QStringList& pageIdentifiers();
    // The "Localizable" key of a page's tab label.
    static QString labelKey(const QString& identifier);
    // The tab chosen at start from the user default "previousTabViewIndex": that index when it names a tab,
    // else 1 (the first tab when there is only one; -1 without tabs).
    static int initialTabIndex(qlonglong previous, int count);
    // The Tab order of the family page's fields (husband, wife, marriage, back to the start).
    static const QList<int>& familyKeyViewTags();
    // The notes and comments text is one point larger than the tables.
    static long notesAndCommentsFontSizeFor(long fontSize) { return fontSize + 1; }
    static constexpr long kStartFontSize = 11;

    explicit PersonEditorController(TabView& view);
    ~PersonEditorController();
    PersonEditorController(const PersonEditorController&) = delete;
    PersonEditorController& operator=(const PersonEditorController&) = delete;

    // Adds a page in its place among the identifiers (before start()); answers the index of its tab, or -1 for
    // an unknown identifier or one already added.
    int addPage(const QString& identifier, InfoAreaPage* page);
    // Chooses the first tab (initialTabIndex) and starts observing the notifications.
    void start();

    int count() const { return int(m_tabs.size()); }
    QString identifierAt(int index) const;
    InfoAreaPage* pageAt(int index) const;
    int indexOf(const QString& identifier) const;
    InfoAreaPage* page(const QString& identifier) const { return pageAt(indexOf(identifier)); }
    QString labelAt(int index) const;
    int visibleIndex() const { return m_visible; }
    InfoAreaPage* visiblePage() const { return pageAt(m_visible); }
    QString visibleIdentifier() const { return identifierAt(m_visible); }

    void setMoc(FTMoc* moc) { m_moc = moc; }
    FTMoc* moc() const { return m_moc; }
    void setSelectedPerson(FTPerson* person);
    FTPerson* selectedPerson() const { return m_selectedPerson; }
    void setProjectView(FTProjectView* view);
    FTProjectView* projectView() const { return m_projectView; }
    // The size truncated to whole points; the visible page is told.
    void setFontSize(double size);
    long fontSize() const { return m_fontSize; }
    long notesAndCommentsFontSize() const { return notesAndCommentsFontSizeFor(m_fontSize); }

    // The visible page gets the person, the view, a refresh and its headings; then every tab label is redone.
    void refreshDisplay();
    // The content marks of the tabs alone (a page's own mark changed).
    void setContentMarks();

    // Tab switching: should (ends editing; refused while a field keeps a refused edit), will (the page left
    // frees its memory), did (font size, "previousTabViewIndex", a deferred save, refresh).
    bool shouldSelectTab(int index);
    void willSelectTab(int index);
    void didSelectTab(int index);

    // The notifications, each ignored when it comes from another database.
    bool concernsThisDatabase(const Notification& n) const;
    void pcRelTypeChanged(const Notification& n);
    void personToBeDeleted(const Notification& n);
    void personNameOrDateChanged(const Notification& n);
    void defaultPictureChanged(const Notification& n);
    void addedRelativeInPcd(const Notification& n);

private:
    struct Tab {
        QString identifier;
        InfoAreaPage* page = nullptr;
        QString label;
    };
    void setLabel(int index, const QString& label);

    TabView& m_view;
    QList<Tab> m_tabs;
    FTMoc* m_moc = nullptr;
    FTPerson* m_selectedPerson = nullptr;
    FTProjectView* m_projectView = nullptr;
    long m_fontSize = kStartFontSize;
    int m_visible = -1;
    bool m_settingUp = false;
    bool m_observing = false;
};
