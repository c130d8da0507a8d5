#pragma once

#include "editor/ui/EditorPage.h"

class FTMoc;
class FTPerson;
class FTProjectView;
class HierarchyTreeModel;
class InfoArea_Hierarchy_OutlineView;
class QMenu;
class QModelIndex;

// The ancestors ("pAncestors") or descendants ("pDescendants") page of the person editor: the selected person's
// ancestors or descendants as an outline over natural, foster and adopted links, one row per person with the
// generation, name, title and birth date, place and notes, all but the generation edited in place. After a
// refresh the person and four generations are open. Buttons and the row menu open a branch to 20 generations
// or close it, make a person the focal person, open a person's details or family, print the ancestors or
// descendants report and show the hierarchy diagram.
class InfoArea_Hierarchy : public EditorPage {
    Q_OBJECT
public:
    explicit InfoArea_Hierarchy(bool ancestors, QWidget* parent = nullptr);
    ~InfoArea_Hierarchy() override;

    // The page protocol.
    void setSelectedPerson(FTPerson* person) override;
    void setProjectView(FTProjectView* view) override;
    void refreshDisplay() override;
    void setColumnHeadings() override;
    void setFontSize(long size) override;
    void freeMemory() override;
    void personToBeDeleted(const Notification& n) override;
    bool endEditing() override;

    bool bAncestors() const { return m_ancestors; }
    FTPerson* selectedPerson() const { return m_person; }
    InfoArea_Hierarchy_OutlineView* outlineView() const { return m_olv; }
    HierarchyTreeModel* hierarchyModel() const { return m_model; }

    // Actions. A button acts on the selected row ("PleaseSelectRow" without one).
    void expandAll(const QModelIndex& index);
    void collapseAll(const QModelIndex& index);
    void expandAllSelected();
    void collapseAllSelected();
    void personsDetails();
    void personsFamily();
    void printReport();
    void printDiagram();
    // The menu of a row with a person.
    QMenu* createContextMenu(const QModelIndex& index);

private:
    FTPerson* selectedRowPerson() const;

    bool m_ancestors;
    bool m_refreshWhenEditEnds = false;
    FTPerson* m_person = nullptr;
    FTMoc* m_moc = nullptr;
    FTProjectView* m_projectView = nullptr;
    long m_fontSize = 11;
    InfoArea_Hierarchy_OutlineView* m_olv = nullptr;
    HierarchyTreeModel* m_model = nullptr;
};
