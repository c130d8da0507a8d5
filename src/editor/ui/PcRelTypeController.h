#pragma once

#include "editor/PcRelTypeChoice.h"
#include "editor/ui/RelationshipDialog.h"

class CertaintySlider;
class FTMoc;
class FTPerson;
class QButtonGroup;
class QLabel;
class QPushButton;
class QSlider;
class QTextBrowser;

// The parent-child type dialog: how the parent at the top is related to the child at the bottom (not related,
// natural, step, adopted, foster), with the link's certainty, the reasons why it is uncertain, its notes and the
// two people. The type is written when the dialog closes (PcRelTypeChoice); the certainty as the slider moves and
// the notes in their own dialog, each followed by "RefreshAllViews" so that the diagrams show them at once. The
// dialog opens at the size the last one had.
//
//   PcRelTypeController dialog(father, son);
//   dialog.run();
class PcRelTypeController : public RelationshipDialog {
    Q_OBJECT
public:
    PcRelTypeController(FTPerson* parent, FTPerson* child, QWidget* window = nullptr);

    PcRelTypeChoice& choice() { return m_choice; }
    QButtonGroup* relType() const { return m_relType; }
    QSlider* slider() const;
    QLabel* defaultValueLabel() const { return m_defaultValueLabel; }
    QTextBrowser* uncertaintyTextView() const { return m_uncertaintyTextView; }

    // Actions.
    void addEditNotes();
    void helpForCertaintyAssessment();
    void sliderValueChanged();

protected:
    bool windowShouldClose() override;

private:
    void setRadioButtonsText();
    void setReasonForUncertainty();
    void showCertainty();

    PcRelTypeChoice m_choice;
    FTMoc* m_moc;
    QButtonGroup* m_relType;
    CertaintySlider* m_certainty;
    QLabel* m_defaultValueLabel;
    QTextBrowser* m_uncertaintyTextView;
    QPushButton* m_notesButton;
};
