#pragma once

#include "sources/SourceSearch.h"

#include <QDialog>
#include <QList>
#include <QString>

#include <array>
#include <functional>

class FTMoc;
class FTSource;
class QAction;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QSplitter;
class QTableView;
class QTextEdit;
class SelectSourceNotesLabelsButton;
class SourceListModel;
class WhereUsedModel;
class WhereUsedTableView;

// The sources editor: the one window where the user keeps the database's catalogue of sources. It lists every
// source (the active one bold and red), filters the list by the search field, edits the fields and notes of the
// selection (asking first when the edit applies to several sources), adds, deletes, renumbers and merges sources,
// assigns types, makes a source the active source, and shows where the selected source is cited.
//
// A sheet on the main window; openers hand it the database and the source to select first:
//
//   doc->beginSheet(new SourcesAddModDel(doc->moc(), moc->activeSource()));
class SourcesAddModDel : public QDialog {
    Q_OBJECT
public:
    // The name the window's frame is kept under, and the source table's columns (user defaults).
    static const QString kFrameName; // "SourcesAddEditFrame"
    static const QString kTableName; // "SourcesAmdTable"
    // The share of the split view's width that the where-used table takes, for the running program (0 until the
    // user first closes the editor; at most 0.95 when applied).
    static double splitViewPercent();
    static void setSplitViewPercent(double percent);

    // The picture area beside the fields, made by the pictures subsystem (installed once at start-up); without a
    // factory the editor has none. It is made while the window is being built, before any source is selected: it
    // follows the selection through currentSourceChanged().
    using PictureWellFactory = std::function<QWidget*(SourcesAddModDel& editor)>;
    static void setPictureWellFactory(PictureWellFactory factory);

    SourcesAddModDel(FTMoc* moc, FTSource* source, QWidget* parent = nullptr);
    ~SourcesAddModDel() override;

    FTMoc* moc() const { return m_moc; }
    // The first selected source; null when none is selected.
    FTSource* currentSource() const;
    QList<FTSource*> selectedSources() const;
    // Selects the source alone and scrolls to it (clearing the filter when it hides the source).
    void selectSource(FTSource* source);

    // ---- Actions ----
    void addSource();
    void deleteSource();
    void setAsActiveSource();
    void deactivateActiveSource();
    void renumberAll();
    void resetMaxSourceId();
    void mergeAllEqualSources();
    // With exactly two sources selected, the sheet that merges the first into the second; otherwise
    // "MustHaveTwoSources".
    void mergeTwoSources();
    // The review of the current source's citations, run modally.
    void displayDetailedReferences();
    void moveNotesToTitleField();
    void autoPopulateSourceTypes();
    void defineNotesFormat();
    void appendNotesFormat();
    // A set of labels goes in at the notes' insertion point; selected sources whose notes differ each get it at the
    // end of their own notes.
    void insertIntoNotes(const QString& text);
    void editSourceNotes();
    void changePageRefFilter(const QString& text);
    // The search: the field's text filters the list by the chosen option.
    void changeSearchField();
    void limitSearch(QAction* option);
    void helpForActiveSourcePanel();
    void helpForNotesFormat();
    void helpForSourceTypes();
    void helpForSourcePictures();
    // Keeps the layout, ends editing, saves and ends the sheet.
    void closeSheet();

    // Writes what is being typed in the fields and notes to the shown sources.
    void endEditing();
    // A header of a table was pressed: editing ends; more than 1000 citations show the busy indicator while their
    // table sorts.
    void mouseDownInHeaderOfTableColumn(QTableView* table, int column);
    // The where-used table was sorted by a header click.
    void didClickTableColumn(int column);
    // The types offered by the type box, refilled after the type was typed.
    const QStringList& typesArray() const { return m_typesArray; }
    QString currentSearchMenuOption() const { return m_currentSearchMenuOption; }

    QTableView* tv() const { return m_tv; }
    SourceListModel* sourcesArrayController() const { return m_sources; }
    WhereUsedTableView* whereUsedTable() const { return m_whereUsedTable; }
    WhereUsedModel* sourceRelsArrayController() const { return m_whereUsed; }
    QProgressBar* sortProgressIndicator() const { return m_sortProgressIndicator; }
    QLineEdit* searchField() const { return m_searchField; }
    QMenu* searchMenu() const { return m_searchMenu; }
    QLineEdit* pageRefSearchField() const { return m_pageRefSearchField; }
    QLineEdit* sourceNumber() const { return m_sourceNumber; }
    QComboBox* typesComboBox() const { return m_typesComboBox; }
    // The line fields by key: "title", "abbreviatedTitle", "author", "publisher", "date", "location".
    QLineEdit* field(const QString& key) const;
    QTextEdit* sourceNotesTextView() const { return m_sourceNotesTextView; }
    SelectSourceNotesLabelsButton* labelsButton() const { return m_labelsButton; }
    QPushButton* deactivateActiveSourceButton() const { return m_deactivateButton; }
    QSplitter* splitView() const { return m_splitView; }
    // The row of buttons under the list, for commands added by other windows of the sources subsystem.
    QHBoxLayout* listButtons() const { return m_listButtons; }

public Q_SLOTS:
    void reject() override;

Q_SIGNALS:
    // The selection changed: the picture area shows the new current source (null for none).
    void currentSourceChanged(FTSource* source);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // One edited value of the shown sources.
    struct FieldState {
        QString key;
        QString shown; // the text shown when the selection was read
        bool dirty = false; // typed since
        bool permitted = false; // the user agreed that the edit applies to every selected source
        bool differ = false; // the selected sources hold different values: the field shows none of them
    };
    enum FieldIndex {
        NumberField,
        TypeField,
        TitleField,
        ShortTitleField,
        AuthorField,
        PublisherField,
        DateField,
        LocationField,
        NotesField,
        FieldCount
    };

    void buildWindow();
    QWidget* buildFields();
    QWidget* buildSplitView();
    void createSearchFieldFilterMenu();
    void loadSources();
    // Both filters gone and both search fields empty: every source listed, every citation of the current one.
    void clearFilters();
    void selectionDidChange();
    void showSelection();
    void setFieldText(FieldIndex index, const QString& text, bool several);
    QString fieldText(FieldIndex index) const;
    // The user typed into a field: the edit may go on (asked when several sources are selected).
    bool fieldEdited(FieldIndex index);
    void commitField(FieldIndex index);
    void commitNumber();
    // Each selected source's notes become what `append` makes of them, after the user agreed to edit them all.
    void appendToEachSourcesNotes(const std::function<QString(const QString& notes)>& append);
    void activeSourceDidChange();
    void reselect(const QList<FTSource*>& sources);
    void refillTypes();
    void applySplitViewPercent();
    void showHelp(const QString& prefix);

    FTMoc* m_moc = nullptr;
    FTSource* m_currentSource = nullptr; // given at opening
    QList<FTSource*> m_shownSources; // whose values the fields show
    std::array<FieldState, FieldCount> m_fields;
    bool m_loading = false;
    bool m_closing = false;
    QStringList m_typesArray;
    QString m_currentSearchMenuOption;

    SourceListModel* m_sources = nullptr;
    WhereUsedModel* m_whereUsed = nullptr;
    QTableView* m_tv = nullptr;
    WhereUsedTableView* m_whereUsedTable = nullptr;
    QProgressBar* m_sortProgressIndicator = nullptr;
    QLineEdit* m_searchField = nullptr;
    QMenu* m_searchMenu = nullptr;
    QLineEdit* m_pageRefSearchField = nullptr;
    QLabel* m_countLabel = nullptr;
    QLineEdit* m_sourceNumber = nullptr;
    QComboBox* m_typesComboBox = nullptr;
    std::array<QLineEdit*, FieldCount> m_lineFields {};
    QTextEdit* m_sourceNotesTextView = nullptr;
    SelectSourceNotesLabelsButton* m_labelsButton = nullptr;
    QPushButton* m_deactivateButton = nullptr;
    QSplitter* m_splitView = nullptr;
    QHBoxLayout* m_listButtons = nullptr;
};
