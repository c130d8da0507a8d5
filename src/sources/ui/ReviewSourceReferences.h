#pragma once

#include "sources/SelectASourceDelegate.h"
#include "sources/SourceReferencesReview.h"

#include <QDialog>
#include <QPointer>
#include <QSize>

class DOvurDocument;
class FTMoc;
class FTSource;
class FTSourceRel;
class QLabel;
class QPushButton;
class QTableView;
class QTextEdit;
class QToolButton;
class SelectASourceButton;
class WhereUsedModel;

// The review of one source's citations: the source, its citations with the notes of the selected one, stepping
// through the database's sources by number, choosing another with the source button, sorting the citations by
// family name and writing them as an RTF report. Opened from the Sources menu (with the database's document: the
// person behind a citation can then be made the focal person with the citation shown in the person editor, and
// the source edited), and from the sources editor and the citation sheets (without a document: those three
// buttons are hidden). Always run modally; it keeps its size for the running program.
//
//   ReviewSourceReferences review(moc, nullptr, source, parentWindow);
//   review.exec();
class ReviewSourceReferences : public QDialog, private SelectASourceDelegate {
    Q_OBJECT
public:
    static QSize prevSize();
    static void setPrevSize(const QSize& size);
    // Runs the review modally on `parent`, as every opener does.
    static void run(FTMoc* moc, DOvurDocument* document, FTSource* source, QWidget* parent);

    ReviewSourceReferences(FTMoc* moc, DOvurDocument* document, FTSource* source, QWidget* parent = nullptr);
    ~ReviewSourceReferences() override;

    FTSource* source() const { return m_review.source(); }
    QString sourceCount() const { return m_review.sourceCount(); }
    FTSourceRel* selectedCitation() const;

    // ---- Actions ----
    void nextSource();
    void previousSource();
    // The sources editor as a sheet on this window, on the source shown.
    void editCurrentSource();
    void helpForShowMeButton();
    // The person of the selected citation becomes the focal person, and the person editor shows the citation.
    void promoteToFocalPerson();
    void sortByFamilyName();
    // Writes the report of the source shown and opens it; the path written (empty when none).
    QString print();

    QTableView* tv() const { return m_tv; }
    WhereUsedModel* sourceRelsArrayController() const { return m_citations; }
    QTextEdit* notesTextView() const { return m_notesTextView; }
    QLabel* sourceLabel() const { return m_sourceLabel; }
    QLabel* sourceCountLabel() const { return m_sourceCountLabel; }
    SelectASourceButton* selectASourceButton() const { return m_selectASourceButton; }
    QPushButton* showMeButton() const { return m_showMeButton; }
    QToolButton* showMeHelpButton() const { return m_showMeHelpButton; }
    QPushButton* editSourceButton() const { return m_editSourceButton; }

public Q_SLOTS:
    void done(int result) override;

private:
    // SelectASourceDelegate: the chosen source is shown (the active source stays as it is).
    void addReference(FTSource* source) override;

    void showSource();
    void selectionDidChange();

    SourceReferencesReview m_review;
    QPointer<DOvurDocument> m_document;
    WhereUsedModel* m_citations = nullptr;
    QLabel* m_sourceLabel = nullptr;
    QLabel* m_sourceCountLabel = nullptr;
    QTableView* m_tv = nullptr;
    QTextEdit* m_notesTextView = nullptr;
    SelectASourceButton* m_selectASourceButton = nullptr;
    QPushButton* m_showMeButton = nullptr;
    QToolButton* m_showMeHelpButton = nullptr;
    QPushButton* m_editSourceButton = nullptr;
};
