#pragma once

#include "shell/FieldValidation.h"

#include "model/Dates.h"

#include <QString>

class FTPerson;

// The person's own one-line fields, as the person editor's first page and the dialogs that complete a relative
// show them: each known by its tag, read from and written to the person, and checked when its edit ends.
//
//   FieldValidation v = PersonFields::validate(PersonFields::BirthDate, dateField, person);
//   if (v.report() && v.text != PersonFields::read(PersonFields::BirthDate, person))
//       PersonFields::write(PersonFields::BirthDate, person, v.text);
class PersonFields {
public:
    enum Tag {
        Name = 4, Gender = 5, Title = 6,
        BirthDate = 10, BirthPlace = 11, BirthNotes = 12,
        DeathDate = 16, DeathPlace = 17, DeathNotes = 18,
        CauseOfDeath = 101, AncestralFileNo = 102, UserReferenceNo = 103,
    };

    // The stored value of the field; empty for an unknown tag.
    static QString read(int tag, const FTPerson* person);
    // Stores the value. The birth and death fields make the event when it is missing, though never for an empty
    // value.
    static void write(int tag, FTPerson* person, const QString& value);
    // The check of what was typed into the field (`field` holds the text; a date field is cleaned and marked red
    // when refused). The name must not be blank; the gender is "M" or "F", with the changes it makes to the
    // person's couples; a birth date is checked against the ages of the person's parents and children; the
    // one-line texts are cut to their kind's length. Any other tag is accepted as typed.
    static FieldValidation validate(int tag, Dates::Field& field, FTPerson* person);
};
