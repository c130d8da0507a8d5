#pragma once

#include <QSet>

#include <memory>

class ExportToGedcom;
class FTMoc;
class FTPerson;

// What the exports of a person's ancestors and of a person's descendants share: the focal person, the number of
// generations, the people collected for the file and the selective export made of them. Natural, foster and
// adopted links are followed; step links are not.
class ExportPersonPlusGenerations {
public:
    // 1 natural + 4 foster + 8 adopted.
    static constexpr int kPcRelTypeMask = 13;
    static constexpr int kDefaultGenerations = 100;

    virtual ~ExportPersonPlusGenerations();

    FTPerson* focalPerson() const { return m_focalPerson; }
    FTMoc* moc() const;
    int numGenerations() const { return m_numGenerations; }
    void setNumGenerations(int generations) { m_numGenerations = generations; }

    // The focal person and everybody fewer than numGenerations() generations away from it, each once (a person
    // reached along several lines, or through links that form a loop, is taken once and the walk ends). With
    // `withSpouses`, each one's spouses too.
    QSet<FTPerson*> collectPeople() const;

    // Saves the database and makes a selective export of collectPeople().
    std::unique_ptr<ExportToGedcom> generateToGedcom() const;

protected:
    ExportPersonPlusGenerations(FTPerson* focalPerson, bool ancestors, bool withSpouses);

private:
    FTPerson* m_focalPerson;
    bool m_ancestors;
    bool m_withSpouses;
    int m_numGenerations = kDefaultGenerations;
};
