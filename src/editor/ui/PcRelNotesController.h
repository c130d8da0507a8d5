#pragma once

#include "editor/ui/RelationshipDialog.h"

class CertaintySlider;
class FTPcRel;
class QCheckBox;
class QPlainTextEdit;
class QSlider;

// The assessment of one parent-child link: its notes, its certainty and the six evidence flags, kept in the
// link's extra data and written as they are edited (the notes when the text loses the focus or the dialog
// closes). Reset to Defaults forgets them all. The window opens at the size the last one had.
//
//   PcRelNotesController notes(link);
//   notes.run();
class PcRelNotesController : public RelationshipDialog {
    Q_OBJECT
public:
    explicit PcRelNotesController(FTPcRel* pcRel, QWidget* parent = nullptr);

    FTPcRel* pcRel() const { return m_pcRel; }
    QPlainTextEdit* notesView() const { return m_notes; }
    QSlider* certaintySlider() const;
    // The flag's check box by its key ("directEvidence", ...).
    QCheckBox* flag(const QString& key) const;

    // Actions.
    void helpForAssessment();
    void resetToDefaults();

protected:
    bool windowShouldClose() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void load();
    void commitNotes();
    void writeCertainty();

    FTPcRel* m_pcRel;
    QPlainTextEdit* m_notes;
    CertaintySlider* m_certainty;
    QList<QCheckBox*> m_flags;
};
