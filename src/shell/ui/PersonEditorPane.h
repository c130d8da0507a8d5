#pragma once

#include <QWidget>

class FTMoc;
class FTPerson;
class FTProjectView;

// The lower pane of a database's main window: the person editor ("pInfoArea"). The editor subsystem supplies
// the real one (a subclass) through DOvurDocument::setPaneFactories(); until then the pane stays empty.
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
    // Ends any field edit so that what was typed reaches the data (before a save, a sheet, closing).
    virtual void endEditing() { }

private:
    FTMoc* m_moc = nullptr;
};
