#pragma once

#include "sources/SelectASourceDelegate.h"

#include "editor/ui/EditorPage.h"

#include <QList>
#include <QPointer>

class CitationTableModel;
class CitationTableView;
class FTMoc;
class FTPerson;
class FTSource;
class FTSourceRel;
class NotesTextEdit;
class QLabel;
class QPushButton;
class SelectASourceButton;

// The citations page of the person editor ("pSources"): every citation of the selected person and of the person's
// marriage events, sorted by source number then topic. The user cites a source with the source button (or the
// active source with the key R), removes a citation, edits page references and topics in place, types a
// citation's notes (undone within the notes, never through the database's undo), opens the sources editor from
// the number column, and chooses which source fields the descriptions show. A citation deleted anywhere in the
// same database leaves the table.
//
// The person editor installs it through EditorHooks::citationsPage; it holds a person only while it is the
// visible page.
class InfoArea_Sources : public EditorPage, public SelectASourceDelegate {
    Q_OBJECT
public:
    explicit InfoArea_Sources(QWidget* parent = nullptr);
    ~InfoArea_Sources() override;

    // ---- The page protocol ----
    void setSelectedPerson(FTPerson* person) override;
    void refreshDisplay() override;
    void setFontSize(long size) override;
    void freeMemory() override;
    void personToBeDeleted(const Notification& n) override;
    bool endEditing() override;
    void showCitation(FTSourceRel* citation) override;

    FTPerson* selectedPerson() const { return m_person; }
    FTMoc* moc() const { return m_moc; }
    // Whether the person shown has citations (of its own or of its marriages), as the tab's label marks it.
    bool hasSourceRels() const;

    // ---- Actions ----
    // The rows read again from the person.
    void loadSourceRelsArray();
    // The two field-choice buttons: every field of the descriptions, or the title alone.
    void showAllFields();
    void showTitleOnly();
    // Cites the source for the person (the person's citation sheet opens on it) and lists the citation.
    void addReference(FTSource* source) override;
    bool respondsToSourceSearch() const override { return true; }
    void selectASourceFromArray(const QList<FTSource*>& sources, const QString& criteria) override;
    // Removes the selected citation after asking.
    void removeReference();
    // The sources editor on the selected citation's source.
    void editSource();
    // The key R: cites the active source, or offers to open the sources editor when there is none.
    void citeActiveSource();

    CitationTableView* tv() const { return m_tv; }
    CitationTableModel* sourceRelsArrayController() const { return m_model; }
    QLabel* tableViewLabel() const { return m_tableViewLabel; }
    NotesTextEdit* notesTextView() const { return m_notesTextView; }
    SelectASourceButton* selectASourceButton() const { return m_selectASourceButton; }
    QPushButton* allFieldsButton() const { return m_allFieldsButton; }
    QPushButton* titleOnlyButton() const { return m_titleOnlyButton; }
    QPushButton* removeButton() const { return m_removeButton; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void sourceRelToBeDeleted(const Notification& n);
    void selectionDidChange();
    void showNotesOf(FTSourceRel* citation);
    void postRefreshWhenCheckingCitations(bool condition);

    FTMoc* m_moc = nullptr;
    FTPerson* m_person = nullptr;
    FTSourceRel* m_notesCitation = nullptr; // whose notes the notes view shows
    CitationTableModel* m_model = nullptr;
    CitationTableView* m_tv = nullptr;
    QLabel* m_tableViewLabel = nullptr;
    NotesTextEdit* m_notesTextView = nullptr;
    SelectASourceButton* m_selectASourceButton = nullptr;
    QPushButton* m_allFieldsButton = nullptr;
    QPushButton* m_titleOnlyButton = nullptr;
    QPushButton* m_removeButton = nullptr;
};
