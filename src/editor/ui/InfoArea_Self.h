#pragma once

#include "editor/PersonFields.h"
#include "editor/ui/EditorPage.h"

#include <QDateTime>
#include <QHash>

#include <functional>

class DefaultPictureView;
class EditorLineEdit;
class FTMoc;
class FTPerson;
class NotesButton;
class NotesTextEdit;
class PersonFieldSet;
class PlaceField;
class ElidedLabel;
class QLabel;
class QToolButton;

// The person editor's first page: the selected person's own fields (name, gender, title, birth and death with
// their places and one-line notes, cause of death, ancestral file and reference numbers), the notes and comments,
// the default picture, the other events in one line, the buttons of the notes dialog and the person's details,
// and the date of the last change.
//
// Each field is known by its tag (4 the name, 10 the birth date, ...); its check runs when its edit ends, and a
// refused edit keeps the focus and the typed text and writes nothing.
class InfoArea_Self : public EditorPage {
    Q_OBJECT
public:
    // The fields' tags (Name, BirthDate ...), and the buttons'.
    using enum PersonFields::Tag;
    enum ButtonTag {
        BirthNotesButton = 1001, DeathNotesButton = 1002,
        LastChangesButton = 1100, TimelineButton = 1101,
    };

    explicit InfoArea_Self(QWidget* parent = nullptr);
    ~InfoArea_Self() override;

    // The page protocol.
    void setSelectedPerson(FTPerson* person) override;
    void refreshDisplay() override;
    void setFontSize(long size) override;
    void freeMemory() override;
    void personToBeDeleted(const Notification& n) override;
    bool endEditing() override;

    FTPerson* selectedPerson() const { return m_person; }
    FTMoc* moc() const { return m_moc; }
    // The one-line field of a tag (null for buttons and unknown tags).
    EditorLineEdit* field(int tag) const;
    PlaceField* placeField(int tag) const;
    NotesTextEdit* notesView() const { return m_notes; }
    NotesTextEdit* commentsView() const { return m_comments; }
    QString otherEventsText() const;
    QDateTime lastChangeDate() const { return m_lastChangeDate; }

    // Actions.
    void editNotes(int tag);
    void invokeDetailsDialog();
    void displayLastChangeDates();
    void displayPersonalTimeline();

    // The notes buttons' titles and the other-events summary.
    void setNotesButtonIndicators();
    // Reads the person's latest change (never while drawing: it walks the person's records).
    void setLastChangeDate();

private:
    void buildFields();
    bool notesFieldShouldBeginEditing(int tag);
    void loadFields();
    void writeText(const std::function<void(FTPerson*)>& write);
    void observe();

    FTPerson* m_person = nullptr;
    FTMoc* m_moc = nullptr;
    QDateTime m_lastChangeDate;
    PersonFieldSet* m_fields;
    NotesTextEdit* m_notes = nullptr;
    NotesTextEdit* m_comments = nullptr;
    DefaultPictureView* m_defaultImage = nullptr;
    NotesButton* m_birthNotesButton = nullptr;
    NotesButton* m_deathNotesButton = nullptr;
    ElidedLabel* m_otherEvents = nullptr;
    QLabel* m_lastChange = nullptr;
    QWidget* m_detailsButton = nullptr;
    QList<QLabel*> m_labels;
};
