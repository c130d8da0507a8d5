#pragma once

#include <QDialog>

class FTSource;
class QTextEdit;
class SelectSourceNotesLabelsButton;

// One source's notes in a window of their own, larger than the sources editor's notes view, with the labels button
// and a spelling check. Run modally; closing it gives the source the notes.
class SourceNotes : public QDialog {
    Q_OBJECT
public:
    // The name the window's frame is kept under (a user default).
    static const QString kFrameName; // "SourceNotesDialog"

    explicit SourceNotes(FTSource* source, QWidget* parent = nullptr);

    FTSource* source() const { return m_source; }
    QTextEdit* tvNotes() const { return m_tvNotes; }
    SelectSourceNotesLabelsButton* labelsButton() const { return m_labelsButton; }

    // Underlines the unknown words of the notes and selects the next one (a message without a dictionary).
    void spellCheck();
    // The notes reach the source; the window closes.
    void windowShouldClose();

public Q_SLOTS:
    void reject() override;

private:
    FTSource* m_source;
    QTextEdit* m_tvNotes = nullptr;
    SelectSourceNotesLabelsButton* m_labelsButton = nullptr;
    bool m_closed = false;
};
