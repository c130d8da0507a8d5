#pragma once

#include "editor/ui/RelationshipDialog.h"

#include <QList>

#include <memory>

class FTMoc;
class FTPerson;
class MergeFieldsPanel;
class MergeListsPanel;
class QComboBox;
class QLabel;
class QPushButton;
class TwoPeopleMerge;

// The modal window that folds a duplicate into the focal person: the duplicate is chosen among the candidates in
// the combo box; its fields, relatives, other events and citations are merged or moved one at a time, each a step
// of Edit > Undo; Delete Duplicate deletes it (after naming what it still holds) and closes the window. It opens
// at the size the last one had.
//
//   MergeTwoPeople window(moc, MergeCommands::mergeCandidates(moc, &warning));
//   window.run();
class MergeTwoPeople : public RelationshipDialog {
    Q_OBJECT
public:
    MergeTwoPeople(FTMoc* moc, const QList<FTPerson*>& candidates, QWidget* parent = nullptr);
    ~MergeTwoPeople() override;

    // The actions of the window's controls.
    void chooseCandidate(int index);
    void mergeField(int tag);
    void mergeSourceReferences();
    void deleteMergedPerson();
    void mergeAll();
    void undoAll();
    void help();

    const TwoPeopleMerge& merge() const { return *m_merge; }
    QComboBox* mergeFromComboBox() const { return m_comboBox; }
    MergeFieldsPanel* fields() const { return m_fields; }
    MergeListsPanel* lists() const { return m_lists; }

private:
    void reload();
    void enableMerging();

    std::unique_ptr<TwoPeopleMerge> m_merge;
    QComboBox* m_comboBox = nullptr;
    QLabel* m_focal = nullptr;
    MergeFieldsPanel* m_fields = nullptr;
    MergeListsPanel* m_lists = nullptr;
    QPushButton* m_citationsButton = nullptr;
};
