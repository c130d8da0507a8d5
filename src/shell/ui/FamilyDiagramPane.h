#pragma once

#include <QWidget>

class FTMoc;
class FTPerson;
class FTProjectView;

// The upper pane of a database's main window: the family diagram ("pcd"). The diagrams subsystem supplies the
// real view (a subclass) through DOvurDocument::setPaneFactories(); until then the pane stays empty.
class FamilyDiagramPane : public QWidget {
    Q_OBJECT
public:
    explicit FamilyDiagramPane(QWidget* parent = nullptr);

    // Set before anything is drawn.
    virtual void setMoc(FTMoc* moc) { m_moc = moc; }
    FTMoc* moc() const { return m_moc; }
    // The diagram re-centres on the person.
    virtual void setFocalPerson(FTPerson* person) { }
    // The diagram marks the members of the view.
    virtual void setProjectView(FTProjectView* view) { }
    // With true: any inline edit box goes and the boxes are laid out again at the next drawing.
    virtual void setRefreshArray(bool refresh) { }

private:
    FTMoc* m_moc = nullptr;
};
