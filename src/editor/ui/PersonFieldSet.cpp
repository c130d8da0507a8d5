#include "editor/ui/PersonFieldSet.h"

#include "editor/PersonFields.h"
#include "editor/ui/EditorHooks.h"
#include "editor/ui/EditorLineEdit.h"
#include "editor/ui/EditorTags.h"
#include "editor/ui/LineEditDateField.h"
#include "editor/ui/PlaceField.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"

#include "platform/Localizer.h"

#include <QGridLayout>
#include <QLabel>

PersonFieldSet::PersonFieldSet(QWidget* owner)
    : QObject(owner)
    , m_owner(owner)
{
}

EditorLineEdit* PersonFieldSet::add(int tag, const QString& objectName)
{
    auto* edit = new EditorLineEdit;
    edit->setObjectName(objectName);
    setViewTag(edit, tag);
    edit->shouldEndEditing = [this, tag] { return shouldEndEditing(tag); };
    if (tag == PersonFields::Gender) {
        edit->setMaxLength(8);
        edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("MMM")) + 16);
    }
    if (tag == PersonFields::BirthDate || tag == PersonFields::DeathDate) {
        edit->setToolTip(LocalizedHelpString(QStringLiteral("DateFormatHelp")));
        edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("abt 30 Sep 2000")) + 12);
    }
    m_fields.insert(tag, edit);
    return edit;
}

PlaceField* PersonFieldSet::addPlace(int tag, const QString& objectName)
{
    PlaceField* place = EditorHooks::makePlaceField(m_owner);
    setViewTag(place, tag);
    m_places.insert(tag, place);
    EditorLineEdit* edit = place->lineEdit();
    edit->setObjectName(objectName);
    edit->shouldEndEditing = [this, tag] { return shouldEndEditing(tag); };
    m_fields.insert(tag, edit);
    return place;
}

EditorLineEdit* PersonFieldSet::addValue(int tag, const QString& objectName, Value value, bool place)
{
    EditorLineEdit* edit = place ? addPlace(tag, objectName)->lineEdit() : add(tag, objectName);
    m_values.insert(tag, std::move(value));
    return edit;
}

QLabel* PersonFieldSet::fieldLabel(const QString& text)
{
    auto* label = new QLabel(text);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

int PersonFieldSet::addNameAndLifeRows(QGridLayout* grid)
{
    using F = PersonFields;
    auto label = [](const char* key) { return fieldLabel(LocalizedString(QString::fromLatin1(key))); };
    grid->addWidget(label("SelfName"), 0, 0);
    grid->addWidget(add(F::Name, QStringLiteral("name")), 0, 1, 1, 3);
    grid->addWidget(label("SelfGender"), 0, 4);
    grid->addWidget(add(F::Gender, QStringLiteral("gender")), 0, 5, Qt::AlignLeft);
    const int dates[][2] = { { F::BirthDate, F::BirthPlace }, { F::DeathDate, F::DeathPlace } };
    for (int i = 0; i < 2; ++i) {
        const bool birth = i == 0;
        grid->addWidget(label(birth ? "SelfBorn" : "SelfDied"), 1 + i, 0);
        grid->addWidget(add(dates[i][0], birth ? QStringLiteral("birthDate") : QStringLiteral("deathDate")), 1 + i, 1);
        grid->addWidget(label("SelfAt"), 1 + i, 2);
        grid->addWidget(addPlace(dates[i][1], birth ? QStringLiteral("birthPlace") : QStringLiteral("deathPlace")), 1 + i, 3, 1, 3);
    }
    grid->setColumnStretch(1, 2);
    grid->setColumnStretch(3, 3);
    return 3;
}

EditorLineEdit* PersonFieldSet::field(int tag) const
{
    return m_fields.value(tag);
}

PlaceField* PersonFieldSet::placeField(int tag) const
{
    return m_places.value(tag);
}

void PersonFieldSet::setPerson(FTPerson* person)
{
    m_person = person;
    for (PlaceField* place : std::as_const(m_places))
        place->setMoc(person ? person->moc() : nullptr);
    load();
}

QString PersonFieldSet::read(int tag) const
{
    if (m_values.contains(tag))
        return m_values[tag].read ? m_values[tag].read() : QString();
    return PersonFields::read(tag, m_person);
}

void PersonFieldSet::load()
{
    for (auto it = m_fields.cbegin(); it != m_fields.cend(); ++it) {
        if (!it.value()->isEditing())
            it.value()->setValue(read(it.key()));
        else
            it.value()->setStoredValue(read(it.key()));
    }
}

bool PersonFieldSet::endEditing()
{
    for (EditorLineEdit* edit : std::as_const(m_fields))
        if (edit->isEditing() && !edit->endEditing())
            return false;
    return true;
}

void PersonFieldSet::finishEditing()
{
    for (auto it = m_fields.cbegin(); it != m_fields.cend(); ++it)
        if (it.value()->isEditing() && !it.value()->endEditing())
            it.value()->setValue(read(it.key()));
}

void PersonFieldSet::clear()
{
    for (EditorLineEdit* edit : std::as_const(m_fields))
        edit->setValue({});
}

void PersonFieldSet::setEnabled(bool enabled)
{
    for (EditorLineEdit* edit : std::as_const(m_fields))
        edit->setEnabled(enabled);
}

bool PersonFieldSet::shouldEndEditing(int tag)
{
    EditorLineEdit* edit = m_fields.value(tag);
    if (!edit)
        return true;
    FTPerson* person = m_person;
    LineEditDateField typed(edit);
    const auto custom = m_values.constFind(tag);
    const FieldValidation v = custom != m_values.cend() && custom->validate ? custom->validate(typed)
                                                                          : PersonFields::validate(tag, typed, m_person);
    if (!v.accepted) {
        if (edit->text() != v.text)
            edit->setText(v.text);
        v.report();
        return false;
    }
    if (!v.message.isEmpty())
        v.report();
    // Another person shown while a message was up: what was typed for the first one is not written to them.
    if (m_person != person)
        return true;
    if (!m_person && custom == m_values.cend()) {
        if (enteredWithoutPerson && !enteredWithoutPerson(tag, v.text))
            return false;
        edit->setValue(read(tag));
        return true;
    }
    if (v.text != read(tag)) {
        if (custom != m_values.cend())
            custom->write(v.text);
        else
            PersonFields::write(tag, person, v.text);
        if (person && person->moc())
            person->moc()->deferredSave();
    }
    edit->setValue(read(tag));
    if (didEndEditing)
        didEndEditing(tag);
    return true;
}
