#pragma once

#include "editor/AttachCandidates.h"
#include "editor/ui/RelationshipDialog.h"

#include <memory>

class FTPerson;
class QAbstractButton;
class QLabel;
class QLineEdit;
class QListView;
class QPlainTextEdit;
class QPushButton;

// What the three attach dialogs share: fields of ages (digits only; a refused value shows as what it was taken
// for), an optional choice of gender, the list of candidates (AttachCandidates), the details of the highlighted
// one and an Attach button. Each dialog builds its own list and details and does its own attaching.
class AttachPersonDialog : public RelationshipDialog {
    Q_OBJECT
public:
    QListView* tv() const { return m_tv; }
    const QList<FTPerson*>& candidates() const { return m_candidates; }
    // The highlighted candidate; null when none is.
    FTPerson* selectedCandidate() const;
    void selectCandidate(const FTPerson* person);
    QString detailsText() const;
    QLineEdit* ageField(AttachCandidates::AgeField field) const;
    // The first (sons, fathers) or second gender's button; null in a dialog without the choice.
    QAbstractButton* genderButton(bool first) const;
    QPushButton* attachButton() const { return m_attach; }

    // Typing into an age field and ending the edit (Return, or the focus leaving it).
    void setAgeText(AttachCandidates::AgeField field, const QString& typed);
    // The list for the ages and gender chosen.
    void rebuild();
    // Attach: the selected candidate.
    void attachSelected();

protected:
    struct Setup {
        QString title;
        // The gender buttons' texts; none for the spouse dialog.
        QString firstGender;
        QString secondGender;
        // The ages' caption and fields: a minimum and a maximum, or one range.
        QString agesCaption;
        bool range = false;
        int minimum = AttachCandidates::kDefaultMinimumAge;
        int maximum = AttachCandidates::kDefaultMaximumAge;
    };
    AttachPersonDialog(const Setup& setup, QWidget* parent);
    ~AttachPersonDialog() override;
    // The people of the database of `person`, read when the first list is built.
    const AttachCandidates& people(const FTPerson* person);

    int minimumAge() const { return m_minimum; }
    int maximumAge() const { return m_maximum; }
    bool firstGender() const { return m_firstGender; }

    virtual QList<FTPerson*> loadCandidates() = 0;
    virtual QString detailsFor(const FTPerson* candidate) const = 0;
    // Answers whether the dialog is done (it then closes).
    virtual bool attach(FTPerson* candidate) = 0;
    // Runs after each new list.
    virtual void candidatesLoaded() { }

private:
    void showDetails();

    class CandidatesModel;
    CandidatesModel* m_model;
    std::unique_ptr<AttachCandidates> m_people;
    QList<FTPerson*> m_candidates;
    QListView* m_tv;
    QPlainTextEdit* m_details;
    QLineEdit* m_minimumField = nullptr;
    QLineEdit* m_maximumField = nullptr;
    QAbstractButton* m_first = nullptr;
    QAbstractButton* m_second = nullptr;
    QPushButton* m_attach;
    bool m_range;
    int m_minimum;
    int m_maximum;
    bool m_firstGender = true;
};
