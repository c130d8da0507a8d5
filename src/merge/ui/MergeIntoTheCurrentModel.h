#pragma once

#include "editor/ui/RelationshipDialog.h"

#include <memory>

class FTPerson;
class MergeFieldsPanel;
class MergeListsPanel;
class OtherDatabaseMerge;
class QPushButton;

// The modal window that takes a person's data from another database (left) into a person of the open one
// (right): a field group per button, an event at a time, the comparison of the two on request, and Undo All for
// everything merged since the window opened. Closing it leaves the whole merge as one step of Edit > Undo. It
// opens at the size the last one had.
//
//   MergeIntoTheCurrentModel window(theirs, ours);
//   window.setLabels(L("FromPerson") + otherFile, L("ToPerson") + openFile);
//   window.run();
class MergeIntoTheCurrentModel : public RelationshipDialog {
    Q_OBJECT
public:
    MergeIntoTheCurrentModel(FTPerson* mergeFromPerson, FTPerson* mergeIntoPerson, QWidget* parent = nullptr);
    ~MergeIntoTheCurrentModel() override;

    // The captions over the two sides.
    void setLabels(const QString& m1Label, const QString& m2Label);

    // The actions of the window's controls.
    void mergeField(int tag);
    void undoAll();
    void showMe();

    const OtherDatabaseMerge& merge() const { return *m_merge; }
    MergeFieldsPanel* fields() const { return m_fields; }
    MergeListsPanel* lists() const { return m_lists; }
    QPushButton* undoAllButton() const { return m_undoAllButton; }

protected:
    bool windowShouldClose() override;

private:
    void reload();

    std::unique_ptr<OtherDatabaseMerge> m_merge;
    MergeFieldsPanel* m_fields = nullptr;
    MergeListsPanel* m_lists = nullptr;
    QPushButton* m_undoAllButton = nullptr;
};
