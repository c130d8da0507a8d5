#pragma once

#include "sources/CitationSheetModel.h"
#include "sources/SelectASourceDelegate.h"

#include <QDialog>

#include <array>

class FTSourceRel;
class NotesTextEdit;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class SelectASourceButton;

// The citation sheet of a person ("PersonSourceReference"), an event ("EventSourceReference") or a picture
// ("PicSourceReference"): one citation edited in place, its page reference, topic boxes, notes and source
// (another can be chosen with the source button; it becomes the active source). The three kinds differ only in
// their data (CitationSheetModel); each kind keeps its own last size and last page reference for the running
// program. The model opens it through CitationDialogs after citing a source; it never makes a citation.
//
//   auto* sheet = new SourceReferenceDialog(CitationDialogs::Kind::Person, citation, window);
//   sheet->open();                            // window-modal; close() ends it
class SourceReferenceDialog : public QDialog, private SelectASourceDelegate {
    Q_OBJECT
public:
    using Kind = CitationDialogs::Kind;
    // A kind's next sheet takes the size its last one closed with (CitationSheetModel::prevSize), when that was
    // wider than this.
    static constexpr int kMinRememberedWidth = 450;

    SourceReferenceDialog(Kind kind, FTSourceRel* citation, QWidget* parent = nullptr);
    ~SourceReferenceDialog() override;

    CitationSheetModel& model() { return m_model; }
    FTSourceRel* sourceRel() const { return m_model.sourceRel(); }
    QString heading() const;

    // The actions of the sheet's controls.
    void changeTopic(int box, bool on);
    void useSamePageRefAsPrevious(bool on);
    void deleteSourceReference();
    // The review of every citation of the cited source, run modally.
    void displayOtherReferences();
    void helpForSourceReference();
    // Ends editing (the page reference and notes reach the citation), remembers this kind's page reference and
    // size, and ends the sheet.
    void close();

    QLineEdit* pageRefField() const { return m_pageRefField; }
    QCheckBox* topicBox(int index) const { return m_topicBoxes.at(size_t(index)); }
    QCheckBox* samePageRefBox() const { return m_samePageRefBox; }
    NotesTextEdit* notesTextView() const { return m_notes; }
    SelectASourceButton* selectASourceButton() const { return m_selectASourceButton; }
    QLabel* sourceLabel() const { return m_sourceLabel; }

public Q_SLOTS:
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // SelectASourceDelegate
    void addReference(FTSource* source) override;

    void endEditing();
    void showSource();
    void showTopic();

    CitationSheetModel m_model;
    bool m_closing = false;
    QLabel* m_heading = nullptr;
    QLabel* m_sourceLabel = nullptr;
    QLabel* m_topicLabel = nullptr;
    QLineEdit* m_pageRefField = nullptr;
    QCheckBox* m_samePageRefBox = nullptr;
    std::array<QCheckBox*, 3> m_topicBoxes {};
    NotesTextEdit* m_notes = nullptr;
    SelectASourceButton* m_selectASourceButton = nullptr;
};
