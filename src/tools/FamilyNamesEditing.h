#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class FTMoc;
class FTPerson;
class ModelProgress;

// What the family names editor does to a family database, apart from its window: the distinct one-word family
// names, the people whose name ends with one, renaming a family name person by person, and writing every family
// name capitalised or in capitals. Only the full `name` of a person is changed (the family name follows from it);
// while a rename or conversion runs the user default "uppercaseFamilyName" is off, so that names are stored as
// computed, and it is put back afterwards. Each run is one undo step, saved at its end. Questions and messages go
// through Prompts.
//
//   FamilyNamesEditing names(moc);
//   QList<FTPerson*> smiths = names.peopleWithFamilyName("Smith");
//   names.changeFamilyNamesFrom("Smith", "Smyth", smiths);
class FamilyNamesEditing {
public:
    enum Mode { Capitalised = 1, Uppercase = 2 };

    explicit FamilyNamesEditing(FTMoc* moc);

    FTMoc* moc() const { return m_moc; }

    // Every distinct family name of one word, sorted without regard to case (names differing only in case are
    // two entries).
    QStringList familyNames() const;
    // The names of `names` that hold `text` (case and accents ignored); all of them for an empty text.
    static QStringList filtered(const QStringList& names, const QString& text);
    // The people whose name ends with a blank and `familyName` (case and accents ignored), sorted by name;
    // everybody for an empty name.
    QList<FTPerson*> peopleWithFamilyName(const QString& familyName) const;

    // Asks, person by person among `people`, whether the name ending exactly with `oldName` should end with
    // `newName` instead, and stores each name agreed to. Answers how many changed. Nothing for an empty or unchanged
    // name; a new name with a blank is refused with a message. People whose name does not end with `oldName` as
    // written are not asked: their name would not change.
    int changeFamilyNamesFrom(const QString& oldName, const QString& newName, const QList<FTPerson*>& people);
    // After a question, every person's one-word family name capitalised or in capitals. Family names with other
    // characters than letters and digits are left alone and listed. Answers how many names changed (-1 when the
    // user cancelled).
    int convertAllFamilyNamesUsingMode(int mode, ModelProgress* progress = nullptr);

    // "mcDONALD" -> "Mcdonald".
    static QString capitalised(const QString& word);

private:
    FTMoc* m_moc;
};
