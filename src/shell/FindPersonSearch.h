#pragma once

#include <QList>
#include <QString>
#include <QVariant>

class FTMoc;
class FTPerson;

// The find-person search of the toolbar: fifteen kinds of search over one database's people, and the rows of the
// result list with their column texts and sort orders. The window (ToolbarController) shows the rows and hands
// the user's choices back; everything the list says is decided here.
//
//   FindPersonSearch search(moc);
//   FindPersonSearch::setCurrentSearchMenuOption(FindPersonSearch::kindTitle(FindPersonSearch::Names));
//   if (search.findPerson("jo sm")) DisplayMsg(LocalizedString("LargeTreesSearchWarn"));
//   for (int row = 0; row < search.rowCount(); ++row) search.cellValue(row, FindPersonSearch::NameColumn);
//
// The chosen kind lives in the user default "currentSearchMenuOption" as the menu title (the localised text of
// the kind's key), so it is shared by every open database. Rows hold people by record key: a person deleted
// since the search (or whose creation was undone) drops out at the next check.
class FindPersonSearch {
public:
    // In menu order.
    enum Kind {
        Names,
        NamesTitles,
        Notes,
        Comments,
        BirthPlace,
        DeathPlace,
        BirthYear,
        DeathYear,
        CauseOfDeath,
        MarriageYear,
        MarriageNotes,
        PersonalEventNotes,
        NumericId,
        ReferenceNo,
        UnconnectedPeople,
        NoKind, // a stored title that names no kind: every search answers nothing
    };
    static constexpr int kKindCount = NoKind;
    // The result list's columns, identified "ID", "name", "birthYear" and "whatever" (the place of birth).
    enum Column { IdColumn, NameColumn, BirthYearColumn, WhateverColumn };
    static constexpr int kColumnCount = 4;
    // An empty search listing more people than this warns that a large database wants a few letters typed.
    static constexpr int kLargeResultCount = 8000;

    static QString kindKey(Kind kind); // "TbSearchNames" ...
    static QString kindTitle(Kind kind); // the localised text of the key
    // The kind whose title this is; NoKind when none.
    static Kind kindForTitle(const QString& title);
    static QString columnIdentifier(Column column);

    // The user default "currentSearchMenuOption"; stores the title of NamesTitles first when it is absent.
    static QString currentSearchMenuOption();
    static void setCurrentSearchMenuOption(const QString& title);
    static Kind currentKind();
    // "Find in <option>": the search field's placeholder and the toolbar item's label.
    static QString findInLabel();
    // "Found in <option>": the title of the name column.
    static QString foundInTitle();

    explicit FindPersonSearch(FTMoc* moc = nullptr);
    FTMoc* moc() const { return m_moc; }
    // Another database: the rows are emptied.
    void setMoc(FTMoc* moc);

    // Runs the search of the current kind for the typed text and makes its answer the rows, in the order the
    // kind gives them; no hit gives one message row. Answers true when the list is so long for an empty (or
    // blank) text that the user should be told to narrow it.
    bool findPerson(const QString& text);

    // The searches. An empty text finds nothing (except the unconnected people, who ignore it); a text of blanks
    // only has no word and so finds every candidate. A word matches a value at its start or at the start of one
    // of its words; case and diacritics are ignored; every word must match.
    QList<FTPerson*> searchFor(const QString& text, Kind kind) const;
    // The word search on a key path of the person (notes, comments, causeOfDeath, numericId, userId, birth.year,
    // death.year), unsorted.
    QList<FTPerson*> searchByKey(const QString& keyPath, const QString& text) const;
    // Owners of birth (death) events by place, by name.
    QList<FTPerson*> searchForBirthAndDeathPlace(const QString& text, bool deathPlace) const;
    // Partners of the couples whose marriage year begins with the trimmed text.
    QList<FTPerson*> searchMarriagesForYear(const QString& text) const;
    // Partners of the couples whose marriage notes hold every word.
    QList<FTPerson*> searchMarriageNotesFor(const QString& text) const;
    // Owners of birth, death and other personal events whose notes hold every word.
    QList<FTPerson*> searchPersonalEventNotesFor(const QString& text) const;
    // People with no parent, child or spouse link.
    QList<FTPerson*> searchForUnconnectedPeople() const;

    // ---- The rows ----

    int rowCount() const { return int(m_keys.size()); }
    bool hasMessageRow() const { return !m_message.isEmpty(); }
    QString message() const { return m_message; }
    // The person of a row; null for the message row, a row outside the list, or a person no longer there.
    FTPerson* personAt(int row) const;
    QList<FTPerson*> people() const;
    // The value a cell shows: a number for "ID" (and the year), text for the others, null for the message row's
    // "ID" and outside the list. The name is followed by the current kind's detail (the matched place, title,
    // reference number, cause of death or the spouses' first names).
    QVariant cellValue(int row, Column column) const;

    // A click on a column's header. "ID" sorts by number ascending, or descending when the rows were last sorted
    // by "ID" ascending; the other columns always sort ascending.
    void sortByColumn(Column column);
    // The column and direction of the last sort; -1 while the rows are in the search's order.
    int sortColumn() const { return m_sortColumn; }
    bool sortAscending() const { return m_sortAscending; }

    void removePerson(const FTPerson* person);
    // Marks the rows for checking before their next use (after undo, redo and refreshes).
    void setNeedsValidating() { m_needsValidating = true; }
    // Drops the rows whose person can no longer be read, when marked.
    void validate();

private:
    void setRows(const QList<FTPerson*>& people);
    QString nameDetail(const FTPerson* person, Kind kind) const;

    FTMoc* m_moc = nullptr;
    QList<qint64> m_keys; // one 0 for the message row
    QString m_message;
    bool m_needsValidating = false;
    int m_sortColumn = -1;
    bool m_sortAscending = true;
};
