#pragma once

#include <QList>
#include <QSet>
#include <QString>

#include <functional>
#include <memory>

class FTMoc;
class FTPerson;
class QTextDocument;
class RelativesHierarchy;

// The shortest chain of parent, partner and child links from one person (the focal person) to another, the
// sentence that names their relationship, and the chain written as an RTF report.
//
// The search deepens one level at a time (up to kMaxLevel), so the chain found is a shortest one; among chains
// of the same length the first in the order parents, partners, children wins. Step links are not followed.
//
//   RelationshipPath path(focal, target);
//   path.createPath();
//   path.pathArray();   // the nodes from the source to the target; empty when there is no chain
//   path.message();     // "Ann Root (1951 - 2020) is the Niece of ... and the nearest common ancestor is ..."
class RelationshipPath {
public:
    static constexpr int kMaxLevel = 99;

    RelationshipPath(FTPerson* source, FTPerson* target);
    ~RelationshipPath();

    FTPerson* sourcePerson() const { return m_source; }
    FTPerson* targetPerson() const { return m_target; }
    void setSourcePerson(FTPerson* person) { m_source = person; }
    void setTargetPerson(FTPerson* person) { m_target = person; }

    // Searches again from the source; `progress` is told the percentage (the square root of the level times 10)
    // at each level, then 100 and 0. True when a chain was found.
    bool createPath(const std::function<void(int)>& progress = {});
    const QList<RelativesHierarchy*>& pathArray() const { return m_path; }
    QString message() const { return m_message; }

    // The chain described through its marriages, for two people without a common ancestor: "<target> is
    // <source>'s  <blood relationship>  → Wife's  Brother".
    QString complexPathTo() const;

    // One depth-first pass under `node` down to `level`: the node of `target`, or null.
    static RelativesHierarchy* addLevelToHierarchy(
        RelativesHierarchy* node, int level, QSet<FTPerson*>& peopleSet, const FTPerson* target);

    // The report of the chain as rich text: heading, sentence, the chain in one line, then each person's summary.
    std::unique_ptr<QTextDocument> document() const;
    // Writes document() as RTF under the first free "Relationship between <source> and <target>" name in the
    // reports folder (never over an existing file) and answers the path; empty after a message when it could not
    // be written.
    QString writeReport() const;
    // The report's base name, one safe file name.
    QString reportBaseName() const;

private:
    FTPerson* m_source;
    FTPerson* m_target;
    std::unique_ptr<RelativesHierarchy> m_root;
    QList<RelativesHierarchy*> m_path;
    QString m_message;
};
