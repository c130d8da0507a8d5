#pragma once

#include "shell/FieldValidation.h"

#include "model/Dates.h"

#include <QHash>
#include <QObject>

#include <functional>

class EditorLineEdit;
class FTPerson;
class PlaceField;
class QGridLayout;
class QLabel;
class QWidget;

// The one-line fields of a person in the dialogs that complete a relative (name, gender, birth and death with
// their places, ...), each known by its tag (PersonFields), written to the person when its edit ends. A refused
// edit keeps the field open with what was typed, after the check has said why; nothing is written then.
//
//   PersonFieldSet fields(dialog);
//   grid->addWidget(fields.add(PersonFields::Name, "name"), 0, 1);
//   grid->addWidget(fields.addPlace(PersonFields::BirthPlace, "birthPlace"), 1, 3);
//   fields.setPerson(child);
class PersonFieldSet : public QObject {
    Q_OBJECT
public:
    explicit PersonFieldSet(QWidget* owner);

    // A field of the person's value of the tag.
    EditorLineEdit* add(int tag, const QString& objectName);
    PlaceField* addPlace(int tag, const QString& objectName);
    // A field of a value kept elsewhere (the couple's date and place in the same-sex partner dialog).
    struct Value {
        std::function<QString()> read;
        std::function<void(const QString&)> write;
        std::function<FieldValidation(Dates::Field& field)> validate;
    };
    EditorLineEdit* addValue(int tag, const QString& objectName, Value value, bool place = false);

    // Lays out the name and gender, the birth and the death with their places in rows 0 to 2 of a grid of six
    // columns (label, date, "at", place ...); answers the next free row.
    int addNameAndLifeRows(QGridLayout* grid);
    // A label of a field, in the grid's label column.
    static QLabel* fieldLabel(const QString& text);

    EditorLineEdit* field(int tag) const;
    PlaceField* placeField(int tag) const;

    void setPerson(FTPerson* person);
    FTPerson* person() const { return m_person; }
    // Shows the stored values; a field being edited keeps what was typed.
    void load();
    // Ends every open edit; false while one is refused.
    bool endEditing();
    // Ends every open edit, dropping one that is refused (the dialog is closing).
    void finishEditing();
    // Empties every field, dropping what was typed (the person is being deleted).
    void clear();
    void setEnabled(bool enabled);

    // A checked name or value typed while there is no person yet (the same-sex partner is made from its name).
    // False refuses the edit.
    std::function<bool(int tag, const QString& value)> enteredWithoutPerson;
    // An edit has ended and its value is stored.
    std::function<void(int tag)> didEndEditing;

private:
    bool shouldEndEditing(int tag);
    QString read(int tag) const;

    QWidget* m_owner;
    FTPerson* m_person = nullptr;
    QHash<int, EditorLineEdit*> m_fields;
    QHash<int, PlaceField*> m_places;
    QHash<int, Value> m_values;
};
