#pragma once

#include <QWidget>

class FTMoc;
class FTPerson;
class FTProjectView;
class QColor;
class QFont;

// The upper pane of a database's main window: the family diagram ("pcd"). The diagrams subsystem supplies the
// real view (a subclass) through DOvurDocument::setDiagramFactory(); until then the pane stays empty.
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

    // The diagram's font (the preferences and the fonts panel): its size is kept within 6 to 16 points, the font
    // stored as "cdFont" and its size as "fontSize", and the boxes are laid out again.
    virtual void setCdFont(const QFont& font);
    // The diagram's background colour, stored as "cdBgColour"; the diagram redraws.
    virtual void setCdBgColour(const QColor& colour);
    // Whether a box of the diagram shows the person.
    virtual bool findPerson(FTPerson* person) const { return false; }
    // The People menu's commands on the selected person's box: delete it (with its questions) and open the
    // dialog that disconnects it from its relatives. Without a diagram nothing happens.
    virtual void deletePerson() { }
    virtual void disconnectPerson() { }
    // Before a save, command, close or quit: an inline entry box with typed text asks whether it may go; false
    // when the user keeps it (the box keeps its text and the keyboard, and a close or quit waits).
    virtual bool endEditing() { return true; }

private:
    FTMoc* m_moc = nullptr;
};
