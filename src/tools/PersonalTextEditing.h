#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

class FTMoc;
class FTPerson;
class ModelProgress;

// The work of the personal comments and notes editors, one free-text field of every person (`comments` or
// `notes`): the people whose text is not empty (or everybody), narrowed by a text the field holds and, for notes,
// by a part of the family name, ignoring case and accents; clearing one person's text; deleting, across the listed
// people, every line that holds the filter text, person by person or all at once; joining lines broken by a blank
// at their end and removing the indentation after line breaks, in one note or in every listed one; and the CSV
// listing of the listed people in the reports folder. Each change of many people is one undo step, saved once.
//
//   PersonalTextEditing comments(moc, PersonalTextEditing::Comments);
//   comments.setFilter("census");
//   comments.deleteAllLinesThatContainTheFilterString();   // asks Replace, Skip, Stop or Replace All
//   comments.print();                                      // writes and opens the CSV
class PersonalTextEditing {
public:
    enum Field { Comments, Notes };
    // The answers to the question of a line deletion, in the order of its buttons.
    enum Answer { Replace = 0, Skip = 1, Stop = 2, ReplaceAll = 3 };

    PersonalTextEditing(FTMoc* moc, Field field);

    FTMoc* moc() const { return m_moc; }
    Field field() const { return m_field; }
    QString text(const FTPerson* person) const;
    void setText(FTPerson* person, const QString& text);

    // While set (the first state), people with an empty text are not listed.
    bool notEmptyOnly() const { return m_notEmptyOnly; }
    void setNotEmptyOnly(bool on);
    // The text the field must hold (trimmed), and for notes a part of the family name.
    const QString& filterString() const { return m_filter; }
    void setFilter(const QString& text);
    const QString& familyNameFilter() const { return m_familyNameFilter; }
    void setFamilyNameFilter(const QString& text);

    // The people the filters let through, by name, gender, birth and death years and number.
    const QList<FTPerson*>& people() const { return m_people; }
    // The filters applied again to the people as they now are.
    void rearrange();
    // The database read again (people added or whose text was filled elsewhere), then rearranged.
    void reload();

    // The person's text removed; "SelectPersonTryAgain" without a person.
    void clearText(FTPerson* person);
    // The person becomes the focal person; "SelectPersonTryAgain" without one.
    void promoteToFocalPerson(FTPerson* person);

    // `text` without its lines that hold `filter` (ignoring case and accents).
    static QString withoutLinesContaining(const QString& text, const QString& filter);
    // Removes the lines that hold the filter text from every listed person whose text holds it, asking person by
    // person (Replace, Skip, Stop, Replace All: no more questions in this run). "EnterSearchTryAgain" with no
    // filter. Shows and answers the number of people changed.
    int deleteAllLinesThatContainTheFilterString(ModelProgress* progress = nullptr);

    // Lines joined where one ends with a blank ("  \n" counts as " \n", a line ending with ": " keeps its break,
    // and at most one empty line is left between paragraphs), trimmed; nothing when the note has no such line.
    static std::optional<QString> joinedLines(const QString& note);
    // The blanks after each line break removed, trimmed; nothing when there were none.
    static std::optional<QString> unindented(const QString& note);
    // The one-person forms: "SelectPersonTryAgain" without a person, then "NoteUpdated" or "NoNotesUpdated".
    // True when the note changed.
    bool replaceSpaceLinefeedWithSpace(FTPerson* person);
    bool replaceLinefeedSpaceWithLinefeed(FTPerson* person);
    // The all-people forms: asked first (Proceed, Cancel), then every listed note, one undo step, saved; shows and
    // answers the number of notes changed (-1 when cancelled).
    int replaceSpaceLinefeedWithSpaceAll(ModelProgress* progress = nullptr);
    int replaceLinefeedSpaceWithLinefeedAll(ModelProgress* progress = nullptr);

    // The CSV listing of the listed people: number, name, birth and death years and the text (quoted with its
    // line breaks kept). print() writes and opens it: the path, or empty after a message.
    QString print(ModelProgress* progress = nullptr);
    QString writeCsv(ModelProgress* progress = nullptr);

private:
    bool changeOne(FTPerson* person, std::optional<QString> (*change)(const QString&));
    int changeAll(const char* questionKey, const char* undoKey, std::optional<QString> (*change)(const QString&),
                  ModelProgress* progress);

    FTMoc* m_moc;
    Field m_field;
    bool m_notEmptyOnly = true;
    QString m_filter;
    QString m_familyNameFilter;
    // A person's text as last read, and its folded form for the filter. Each keystroke filters every listed
    // text; folding them again each time is what made typing slow in a large database.
    struct FoldedText {
        QString text;
        QString folded;
    };
    const QString& foldedText(qsizetype index, const QString& text);

    QList<FTPerson*> m_base; // everybody who may be listed, in the list's order
    QList<FoldedText> m_folded; // by index into m_base
    QList<FTPerson*> m_people;
};
