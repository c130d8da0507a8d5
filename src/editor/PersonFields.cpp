#include "editor/PersonFields.h"

#include "editor/SelfPageTexts.h"

#include "model/FTEvent.h"
#include "model/FTPerson.h"

namespace {
bool isBirthTag(int tag)
{
    return tag == PersonFields::BirthDate || tag == PersonFields::BirthPlace || tag == PersonFields::BirthNotes;
}

bool isDeathTag(int tag)
{
    return tag == PersonFields::DeathDate || tag == PersonFields::DeathPlace || tag == PersonFields::DeathNotes;
}

// "date", "place" or "notes" of the birth or death event.
QString eventKey(int tag)
{
    switch (tag) {
    case PersonFields::BirthDate:
    case PersonFields::DeathDate:
        return QStringLiteral("date");
    case PersonFields::BirthPlace:
    case PersonFields::DeathPlace:
        return QStringLiteral("place");
    default:
        return QStringLiteral("notes");
    }
}
}

QString PersonFields::read(int tag, const FTPerson* p)
{
    if (!p)
        return {};
    if (isBirthTag(tag) || isDeathTag(tag)) {
        const FTEvent* e = isBirthTag(tag) ? p->birth() : p->death();
        if (!e)
            return {};
        const QString key = eventKey(tag);
        return key == QLatin1String("date") ? e->date() : key == QLatin1String("place") ? e->place() : e->notes();
    }
    switch (tag) {
    case Name:
        return p->name();
    case Gender:
        return p->gender();
    case Title:
        return p->title();
    case CauseOfDeath:
        return p->causeOfDeath();
    case AncestralFileNo:
        return p->ancestralFileNumber();
    case UserReferenceNo:
        return p->userId();
    default:
        return {};
    }
}

void PersonFields::write(int tag, FTPerson* p, const QString& value)
{
    if (!p)
        return;
    if (isBirthTag(tag) || isDeathTag(tag)) {
        // Written through the key path, which makes the missing event; an empty value never makes one.
        const bool birth = isBirthTag(tag);
        if (!(birth ? p->birth() : p->death()) && value.isEmpty())
            return;
        p->setValueForKeyPath(QString::fromLatin1(birth ? "birth." : "death.") + eventKey(tag), value);
        return;
    }
    switch (tag) {
    case Name:
        p->setName(value);
        break;
    case Gender:
        p->setGender(value);
        break;
    case Title:
        p->setTitle(value);
        break;
    case CauseOfDeath:
        p->setCauseOfDeath(value);
        break;
    case AncestralFileNo:
        p->setAncestralFileNumber(value);
        break;
    case UserReferenceNo:
        p->setUserId(value);
        break;
    default:
        break;
    }
}

FieldValidation PersonFields::validate(int tag, Dates::Field& field, FTPerson* person)
{
    const QString typed = field.string();
    switch (tag) {
    case Name:
        return ValidateNameField(typed);
    case Gender:
        return ValidateGenderFieldEditor(typed, person);
    case Title:
        return ValidateSingleLineEntryField(typed, QStringLiteral("Title/Occupation"));
    case BirthPlace:
    case DeathPlace:
        return ValidatePlaceField(typed);
    case CauseOfDeath:
        return ValidateSingleLineEntryField(typed, QStringLiteral("CauseOfDeath"));
    case AncestralFileNo:
        return ValidateSingleLineEntryField(typed, QStringLiteral("AncestralFileNo"));
    case UserReferenceNo:
        return ValidateSingleLineEntryField(typed, QStringLiteral("UserReferenceNo"));
    case BirthDate:
    case DeathDate: {
        // A birth date is weighed against the ages of the person's parents and children at it.
        const bool withRelatives = tag == BirthDate && person;
        const Dates::Person checked = withRelatives ? SelfPageTexts::birthDateCheckPerson(person) : Dates::Person();
        FieldValidation v;
        v.accepted = Dates::validateDateField(field, withRelatives ? &checked : nullptr);
        v.text = field.string();
        return v;
    }
    default:
        return FieldValidation { true, typed, {}, {} };
    }
}
