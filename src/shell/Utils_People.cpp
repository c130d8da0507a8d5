#include "shell/FieldValidation.h"
#include "shell/Utils.h"

#include "model/FTPerson.h"

#include "platform/Localizer.h"

bool Utils::checkDuplicateNames(const QString& name, const QString& gender, FTPerson* relative, int relation)
{
    return FTPerson::checkDuplicateNames(name, gender, relative, relation);
}

bool Utils::confirmDeletionOfPerson(FTPerson* person)
{
    return FTPerson::confirmDeletionOfPerson(person);
}

FieldValidation ValidateGenderFieldEditor(const QString& typed, FTPerson* person)
{
    FieldValidation v = ValidateGenderText(typed, person ? person->gender() : QString());
    if (!v.accepted)
        return v;
    if (!person) {
        v.text = LocalizedString("MaleShort");
        return v;
    }
    if (!person->acceptGenderChange(v.text)) {
        // acceptGenderChange has told the user why.
        v.accepted = false;
        v.text = person->gender();
    }
    return v;
}
