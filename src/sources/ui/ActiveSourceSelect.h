#pragma once

#include "sources/SelectASourceDelegate.h"

#include <QDialog>
#include <QSize>

class DOvurDocument;
class FTMoc;
class FTSource;
class FTSourceRel;
class QLabel;
class QPushButton;
class QTableView;
class QTextEdit;
class SelectASourceButton;
class WhereUsedModel;

// The active source panel: the active source's citations with their notes, from which the user chooses another
// active source (with the source button, at once), switches it off, asks for the sources editor to pick one
// there, or makes the person behind a citation the focal person. Run modally by selectActiveSource(); its result
// is 1 when the sources editor is to open next, else 0. It keeps its size for the running program.
class ActiveSourceSelect : public QDialog, public SelectASourceDelegate {
    Q_OBJECT
public:
    static QSize prevSize();
    static void setPrevSize(const QSize& size);

    // The toolbar's active-source button and the menu command: with an active source the panel runs modally (the
    // sources editor opens after it when asked for), without one the sources editor opens; the toolbar's button
    // shows the outcome either way.
    static void selectActiveSource(DOvurDocument* document);

    explicit ActiveSourceSelect(FTMoc* moc, QWidget* parent = nullptr);
    ~ActiveSourceSelect() override;

    FTMoc* moc() const { return m_moc; }

    // The source button's choice becomes the active source, with no page reference; the panel stays open.
    void addReference(FTSource* source) override;
    // No active source; the panel closes (0).
    void deactivateActiveSource();
    // The panel closes with 1: the sources editor opens next.
    void changeActiveSource();
    // The selected citation's person becomes the focal person (for a couple's event, the one the user picks).
    void promoteToFocalPerson();

    FTSourceRel* selectedCitation() const;
    QTableView* tv() const { return m_tv; }
    WhereUsedModel* sourceRelsArrayController() const { return m_citations; }
    QTextEdit* notesTextView() const { return m_notesTextView; }
    SelectASourceButton* selectASourceButton() const { return m_selectASourceButton; }
    QLabel* sourceLabel() const { return m_sourceLabel; }

public Q_SLOTS:
    void done(int result) override;

private:
    void showActiveSource();
    void selectionDidChange();

    FTMoc* m_moc;
    WhereUsedModel* m_citations = nullptr;
    QLabel* m_sourceLabel = nullptr;
    QTableView* m_tv = nullptr;
    QTextEdit* m_notesTextView = nullptr;
    SelectASourceButton* m_selectASourceButton = nullptr;
};
