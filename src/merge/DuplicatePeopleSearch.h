#pragma once

#include <QList>
#include <QString>

#include <vector>

class FTMoc;
class FTPerson;
class ModelProgress;

// The people of a database who may have been entered twice. Everyone is sorted by name, gender, birth year, death
// year, father's and mother's names and number, so that likely duplicates stand next to each other; a person is
// listed when they agree with a neighbour on every ticked criterion.
//
//   DuplicatePeopleSearch search(moc);
//   DuplicatePeopleSearch::Criteria criteria;       // the name alone
//   criteria.bBirthYear = true;
//   QList<FTPerson*> found = search.findDuplicates(criteria, &progress);
//   search.writeCsv(found, moc->modelName(), &progress, &path);
class DuplicatePeopleSearch {
public:
    // Each criterion needs the one before it: the name (with the first letter of the gender), then the birth year,
    // the death year, the father's name, the mother's name, the spouses.
    struct Criteria {
        bool bName = true;
        bool bBirthYear = false;
        bool bDeathYear = false;
        bool bFathersName = false;
        bool bMothersName = false;
        bool bSpouses = false;
        // Unticks every criterion after one that is not ticked.
        void cascade();
    };

    explicit DuplicatePeopleSearch(FTMoc* moc);
    ~DuplicatePeopleSearch();

    // The people found, in the sorted order (everyone when the name is not ticked). The database's people are read
    // and sorted on the first search only: people added later appear in a new search object.
    QList<FTPerson*> findDuplicates(Criteria& criteria, ModelProgress* progress);

    // The CSV listing of `people` (the list as shown) in the reports folder, "<database>_DuplicatePeople.csv" or
    // the first free numbered name; false after a message when it cannot be written. `path` receives its path.
    static bool writeCsv(const QList<FTPerson*>& people, const QString& databaseName, ModelProgress* progress,
                         QString* path);
    // One row of it, without its line end.
    static QStringList csvFields(const FTPerson* person);

private:
    struct Entry;
    void readPeople();
    bool sameAs(Entry& a, Entry& b, const Criteria& c) const;

    FTMoc* m_moc;
    bool m_read = false;
    std::vector<Entry> m_people;
};
