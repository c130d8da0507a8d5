#pragma once

#include <QWidget>

class FTEvent;
class FTMoc;
class FTPerson;
class FTProjectView;
class FTSourceRel;

// The lower pane of a database's main window: the person editor ("pInfoArea"). The editor subsystem supplies
// the real one (a subclass) through DOvurDocument::setPersonEditorFactory(); until then the pane stays empty.
class PersonEditorPane : public QWidget {
    Q_OBJECT
public:
    explicit PersonEditorPane(QWidget* parent = nullptr);

    virtual void setMoc(FTMoc* moc) { m_moc = moc; }
    FTMoc* moc() const { return m_moc; }
    // The editor shows the person.
    virtual void setSelectedPerson(FTPerson* person) { }
    virtual void setProjectView(FTProjectView* view) { }
    // Reloads the page shown from the data.
    virtual void refreshDisplay() { }
    // The new font size of the editor's tables.
    virtual void setFontSize(double size) { }
    // Ends any field edit so that what was typed reaches the data (before a save, a sheet, closing); false when a
    // field keeps its edit because its check refused it (the check has said why).
    virtual bool endEditing() { return true; }
    // Shows the editor's first page (the menu actions that add or select a person).
    virtual void showFirstPage() { }
    // Shows the next (previous) page, from the last to the first (the first to the last), as the user's choice of
    // a tab would: not while a field keeps a value it refused.
    virtual void selectNextTabViewItem() { }
    virtual void selectPreviousTabViewItem() { }
    // Shows the page that lists the citation, with the citation selected (the review of a source's citations).
    virtual void showCitation(FTSourceRel* citation) { }
    // Shows the events page with the event selected (an event the family diagram has just cloned).
    virtual void selectEvent(FTEvent* event) { }
    // Before the document writes its main window as a PDF file (with gPrinting raised): the page shown scrolls
    // to its top.
    virtual void prepareForPrinting() { }

private:
    FTMoc* m_moc = nullptr;
};
