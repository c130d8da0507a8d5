#pragma once

#include <QList>
#include <QString>

class BackupPanel;
class FTMoc;
class FTPerson;
class ModelProgress;

// The pruning of minor family groups: every person of the database falls into one group of the people linked to
// each other through parents, children and partners (step links not followed). The largest group is the main
// family; every other one is listed under a header row, with an empty row between groups, except a group that
// holds the focal person, which the user is told about and cannot prune. The people the user chooses among the
// listed rows are deleted as one undo step "Prune", after a backup is offered when there are several.
//
//   MinorDynasties dynasties(moc);
//   dynasties.loadDynasties(progress);                 // may tell of the focal person's group
//   dynasties.rows();                                  // headers, people, separators
//   dynasties.deleteSelectedPeople({1, 2}, databasePath, &panel, progress);
class MinorDynasties {
public:
    // One row of the minor groups' list: a header or separator text, or a person.
    struct Row {
        QString text;
        FTPerson* person = nullptr;
    };

    explicit MinorDynasties(FTMoc* moc);
    FTMoc* moc() const { return m_moc; }

    // The groups in the order they were found, each the people reached from the first person of the database
    // not yet placed.
    QList<QList<FTPerson*>> createDynastiesDictionary(ModelProgress* progress = nullptr) const;
    // Groups again and fills the main family and the rows.
    void loadDynasties(ModelProgress* progress = nullptr);

    const QList<FTPerson*>& mainDynasty() const { return m_main; }
    const QList<Row>& rows() const { return m_rows; }
    // The people of the listed groups.
    int numOtherPeople() const { return m_numOtherPeople; }

    // The main family narrowed to the people whose name has a word beginning with each word of `text` (any case,
    // any order), by given names then family name; everybody for an empty text.
    QList<FTPerson*> findPerson(const QString& text) const;
    // What the list shows of a choice of rows: "<n> people are selected for deletion:" and their names.
    QString selectionSummary(const QList<int>& rows) const;

    // Deletes the people among `rows` (headers and separators are passed over): "NoOneToDelete" when none is a
    // person; several people are deleted only after the database is saved and a backup offered through `panel`
    // ("NoCurrentDoc" without a database file). Each person is announced with "PersonToBeDeleted" first. Saves,
    // reports the count, groups again; answers the number deleted.
    int deleteSelectedPeople(const QList<int>& rows, const QString& databasePath, BackupPanel* panel,
                             ModelProgress* progress = nullptr);

private:
    FTMoc* m_moc;
    QList<FTPerson*> m_main;
    QList<Row> m_rows;
    int m_numOtherPeople = 0;
};
