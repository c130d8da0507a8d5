#pragma once

#include <QHash>
#include <QWidget>

#include <functional>

class FTMoc;
class FTPerson;
class QLabel;
class QLineEdit;
class QPushButton;
class QTextBrowser;
struct Notification;

// The hierarchy diagram's small details window: the selected person's description, blood relationship to the
// root of the current project view, name, gender, birth and death with their notes, and the person's notes and
// comments. It follows the diagram's selection while it is open. Each field is checked as its editing ends (a name
// that is blank, a gender that is neither male nor female, a date that cannot be read keep the field until they are
// put right); the notes buttons open the person editor's notes dialog on their tab.
//
// A tool window of the hierarchy window. Closing it tells the window (onClosed), which deletes it.
class PersonalDetails : public QWidget {
    Q_OBJECT
public:
    // The fields, by the tags that tell them apart.
    enum Tag {
        NameTag = 4,
        GenderTag = 5,
        BirthDateTag = 10,
        BirthPlaceTag = 11,
        DeathDateTag = 16,
        DeathPlaceTag = 17
    };

    PersonalDetails(FTMoc* moc, QWidget* hierarchyWindow);
    ~PersonalDetails() override;

    FTPerson* person() const { return m_person; }
    // Ends the editing in progress, then shows the person (null: nothing).
    void setPerson(FTPerson* person);
    QString consanguinity() const { return m_consanguinity; }

    // The notes buttons' titles say whether their texts hold anything; the description is filled again.
    void setNotesButtonIndicators();
    void displayConsanguinity();
    // The notes dialog on the tab of the notes button `tag` (PersonalDetailsTexts::NotesButton), modal.
    void editNotes(int tag);
    // Checks and writes the field's text; false when it was refused (the field keeps it to be put right). When
    // the user closes the alert that said why with Escape, the stored value comes back and the edit ends.
    bool endEditing(int tag);
    // Ends the edit of the field that has (or had, while the window is inactive) the keyboard; false when it keeps
    // a refused value. The hierarchy window asks before its selection moves. A refusal said a moment ago (as the
    // window lost the keyboard to the same click) is not said again.
    bool endEditing();
    // Gives up what the field holds: it shows the stored value again.
    void revert(int tag);

    QLineEdit* field(int tag) const { return m_fields.value(tag); }
    QPushButton* notesButton(int tag) const { return m_notesButtons.value(tag); }
    QTextBrowser* personDetails() const { return m_personDetails; }
    QLabel* consanguinityField() const { return m_consanguinityField; }

    // The family dialog of the person (the hierarchy view's command).
    std::function<void(FTPerson* person)> invokeFamilyDialog;
    // The window closed.
    std::function<void()> onClosed;

protected:
    void closeEvent(QCloseEvent* event) override;
    // Escape in a field that holds something typed gives it up.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void makeControls();
    bool endEditingFocusedField();
    int tagOf(const QWidget* field) const;
    QLineEdit* addField(int tag, const QString& name);
    void fillFields(bool keepTyping);
    void fillDescription();
    // The field shows the stored value, which it remembers as the one it was last shown.
    void showStored(int tag);
    QString read(int tag) const;
    void write(int tag, const QString& value);
    void personNameOrDateChanged(const Notification& n);
    void personToBeDeleted(const Notification& n);
    // The person shown has been deleted (by an undo): the window closes and writes nothing. Whether it had.
    bool personGone();

    FTMoc* m_moc;
    FTPerson* m_person = nullptr;
    QString m_consanguinity;
    QTextBrowser* m_personDetails = nullptr;
    QLabel* m_consanguinityField = nullptr;
    QHash<int, QLineEdit*> m_fields;
    QHash<int, QString> m_shown;
    QHash<int, QPushButton*> m_notesButtons;
    bool m_validating = false;
    // The field whose value was refused during the event being handled (its alert has been seen).
    int m_refusedNow = 0;
};
