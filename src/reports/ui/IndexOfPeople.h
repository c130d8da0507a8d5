#pragma once

#include "reports/PeopleIndexModel.h"

#include <QPointer>
#include <QWidget>

class DOvurDocument;
class FTMoc;
class FTPerson;
class PeopleIndexTableModel;
class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableView;
class QTextBrowser;
struct Notification;

// The people index of one open database: every person in a table, narrowed by the filter fields as they are
// typed, the selected person's details and relationship to the focal person, and the commands to make a person
// focal, edit their notes, show the relationship path, find possible duplicates and write the list as CSV.
//
// One index per document: peopleIndexWindow() makes it on first use and brings it to the front. It is a tool
// window above the main window while the user default "peopleIndexAlwaysOnTop" is set, else a window of its own;
// every open index follows a change of that switch ("ChangedAlwaysOnTop"). Closing it keeps its frame in
// "peopleIndexFrame" and posts "PeopleIndexClosed"; it also goes when its database closes.
class IndexOfPeople : public QWidget {
    Q_OBJECT
public:
    // The document's index, made when there is none, shown and made key.
    static IndexOfPeople* peopleIndexWindow(DOvurDocument* document);
    // The document's open index, or null.
    static IndexOfPeople* indexOf(const DOvurDocument* document);

    enum FilterField { IdFilter, FamilyNameFilter, GivenNamesFilter, BirthYearFilter, DeathYearFilter, TitleFilter,
        SpousesNameFilter, FilterFieldCount };

    IndexOfPeople(FTMoc* moc, DOvurDocument* document);
    ~IndexOfPeople() override;

    PeopleIndexModel& model() { return m_index; }
    FTMoc* moc() const { return m_moc; }

    // Everybody again, every filter field but the spouse name emptied (also on "RefreshAllViews").
    void refresh();
    // The filter fields applied to everybody, then the table shown again.
    void changeFilter();
    void sortByFamilyName();
    void showDuplicates();
    // The selected person becomes focal ("SelectPersonTryAgain" without one).
    void promoteToFocalPerson();
    // The relationship path from the focal person to the selected person, as a sheet on the index.
    void relationshipToFocalPerson();
    // The selected person's notes, as a sheet on the index.
    void editNotes();
    // Asks for the columns, then writes the people shown as CSV and opens the file.
    void print();
    // The "Keep above main window" switch: this index follows at once, the others through "ChangedAlwaysOnTop".
    void changeAlwaysOnTop(bool onTop);
    void setFontSize(int points);
    // Development mode only (nothing otherwise), on every selected person: "<name> ?", and the name tidied
    // (PeopleIndexModel::tidiedName).
    void appendQuestionMark();
    void changeHyphenSpaceToHyphen();
    void consanguinityWithFocalPerson();

    FTPerson* selectedPerson() const;
    QList<FTPerson*> selectedPeople() const;
    void selectPerson(FTPerson* person);

    QLineEdit* filterField(FilterField field) const { return m_fields[field]; }
    QSpinBox* kinshipField() const { return m_kinship; }
    QCheckBox* onlyWithSourcesCheckBox() const { return m_onlyWithSources; }
    QCheckBox* showRelationshipCheckBox() const { return m_showRelationship; }
    QCheckBox* alwaysOnTopCheckBox() const { return m_alwaysOnTop; }
    QTableView* table() const { return m_table; }
    const PeopleIndexTableModel* tableModel() const { return m_tableModel; }
    QString relationshipText() const;
    FTPerson* commonAncestor() const { return m_commonAncestor; }
    QTextBrowser* personDetails() const { return m_details; }
    QPushButton* button(const QString& key) const;

    // The rectangle text of "peopleIndexFrame", "{{x, y}, {w, h}}", and back (an empty rectangle when unreadable).
    static QString rectString(const QRect& rect);
    static QRect rectFromString(const QString& text);
    // Where a kept frame goes: where it was when it meets the main window, else centred over it, same size.
    static QRect placedFrame(const QRect& kept, const QRect& mainWindow);

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildWindow();
    void restoreFrame();
    void applyAlwaysOnTop();
    void showList();
    void readFields();
    void writeFields();
    void detach();
    void personNameOrDateChanged(const Notification& n);
    void personToBeDeleted(const Notification& n);
    bool belongsHere(const Notification& n) const;

    FTMoc* m_moc;
    QPointer<DOvurDocument> m_ownerDoc;
    PeopleIndexModel m_index;
    // Set while this index closes; it refreshes no more.
    bool m_closing = false;
    bool m_attached = false;
    FTPerson* m_commonAncestor = nullptr;
    QString m_relationship;

    QLineEdit* m_fields[FilterFieldCount] = {};
    QSpinBox* m_kinship = nullptr;
    QCheckBox* m_onlyWithSources = nullptr;
    QCheckBox* m_showRelationship = nullptr;
    QCheckBox* m_alwaysOnTop = nullptr;
    QSpinBox* m_fontSize = nullptr;
    QTableView* m_table = nullptr;
    PeopleIndexTableModel* m_tableModel = nullptr;
    QTextBrowser* m_details = nullptr;
    QLabel* m_relationshipLabel = nullptr;
    QLabel* m_ancestorLabel = nullptr;
    QLabel* m_count = nullptr;
    QProgressBar* m_progress = nullptr;
    QHash<QString, QPushButton*> m_buttons;
};
