#pragma once

#include <QDialog>
#include <QList>

#include <functional>

class FTMoc;
class NotesTextEdit;
class QLabel;
class QLineEdit;
class QTabWidget;

// What the two notes dialogs share: a heading, one text per tab, spell checking, a find field, and the three
// ways of being shown. Whatever way the window is left (its Close button, the window's close box, Escape), what
// was typed is written to the records first.
class NotesWindow : public QDialog {
    Q_OBJECT
public:
    ~NotesWindow() override;

    enum Presentation {
        Sheet,       // window-modal on the opener's window; deleted when it closes
        ChildWindow, // a tool window of the opener's window; deleted when it closes
        Modal,       // runs modally and returns when closed; the opener deletes it
    };

    // Shows the window as asked; answers the dialog's result for Modal, else 0.
    int present(Presentation how, QWidget* window);
    bool isSheet() const { return m_isSheet; }

    QTabWidget* tabView() const { return m_tabView; }
    // The text of the tab with that identifier ("1", "2" ...); null for none.
    NotesTextEdit* textView(const QString& identifier) const;
    QString notesTitle() const;
    // Spelling of the visible tab's text: the next misspelled word is selected (a message without a dictionary).
    void checkSpelling();
    // Writes every changed text to its record.
    void commitEditing();
    // Marks the tabs that hold text.
    virtual void setTabViewLabels() = 0;

    void done(int result) override;

protected:
    explicit NotesWindow(QWidget* parent = nullptr);
    // A tab: the text it shows and how it is written back.
    void addTab(const QString& identifier, const QString& objectName, std::function<QString()> read,
                std::function<void(const QString&)> write);
    void setHeading(const QString& windowTitle, const QString& heading);
    void setMoc(FTMoc* moc) { m_moc = moc; }
    void setSheet(bool sheet) { m_isSheet = sheet; }
    // Loads every tab's text and selects the tab `initial` (the first when there is none of that identifier).
    void load(const QString& initial);
    // Drops the records edited (a closed dialog is not shown again).
    virtual void freeMemory() = 0;
    // The records edited are being deleted: drops them unwritten and closes.
    void abandonOwner();
    // Posted with the dialog as object when a window that is not a sheet closes.
    virtual QString closedNotification() const = 0;

private:
    struct Tab {
        QString identifier;
        NotesTextEdit* text;
        std::function<QString()> read;
    };
    void find();
    // Shows again what is stored for every tab not typed in.
    void showStoredTexts();
    QList<Tab> m_tabs;
    QTabWidget* m_tabView;
    QLabel* m_heading;
    QLineEdit* m_search;
    FTMoc* m_moc = nullptr;
    bool m_isSheet = false;
    bool m_done = false;
};
