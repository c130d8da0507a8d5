#pragma once

#include <QString>

// What a field validator decides about the text a user typed: accepted or refused, the text the field shows
// afterwards (cleaned, or restored on refusal), and the message that explains a refusal or a change.
struct FieldValidation {
    bool accepted = true;
    QString text;
    QString message;  // empty when there is nothing to tell
    QString info;     // the alert's smaller informative text

    // Shows the message (when there is one) through Prompts and answers `accepted`: what a field editor calls
    // before it ends or keeps the edit.
    bool report() const;
};

// A person's name: "/", "\", line ends become blanks, tabs go, blanks are collapsed and the ends trimmed; the
// family name is put in capitals when the user default "uppercaseFamilyName" is set. A blank name is refused
// and the field keeps what was typed.
FieldValidation ValidateNameField(const QString& typed);

// The name of a new child: blanks collapsed and trimmed; with "autoAddFamilyName", the parent's family name is
// added to a one-word name, or to a longer one whose last word is not already that family name.
FieldValidation ValidateNameFieldForChild(const QString& typed, const QString& parentFamilyName);

// The letter typed in a gender field: its first character, in capitals, must be the male or female short form
// ("MaleShort", "FemaleShort"); the accepted text is that form. A refusal restores `currentGender`. The
// changes a new gender makes to the person's spouse and children are the person's business.
FieldValidation ValidateGenderText(const QString& typed, const QString& currentGender);

// A one-line field of the given kind ("Place", "Title/Occupation", "CauseOfDeath", "EventName",
// "AncestralFileNo", "UserReferenceNo", "PageRef", "SourceRefTopic", ...): line ends and tabs become
// blanks, blanks are collapsed, and the text is cut to the kind's limit. Refused, with the cleaned text kept,
// when a line end was replaced or the text was cut.
FieldValidation ValidateSingleLineEntryField(const QString& typed, const QString& kind);
FieldValidation ValidatePlaceField(const QString& typed);
// The length limit of a one-line field kind (compared without regard to case; 248 for unknown kinds).
int SingleLineEntryFieldLimit(const QString& kind);

class FTPerson;

// The gender typed into the person editor: ValidateGenderText(), then the changes a new gender makes to the
// person's spouse and children (FTPerson::acceptGenderChange), which may refuse it. Without a person the male
// short form is accepted.
FieldValidation ValidateGenderFieldEditor(const QString& typed, FTPerson* person);
