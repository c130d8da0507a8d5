#pragma once

#include "merge/CopyOutline.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class BackupPanel;
class FTEvent;
class FTManagedObject;
class FTMoc;
class FTPcRel;
class FTPerson;
class FTPicture;
class FTSource;
class FTSpouseRel;
class ManagedObject;
class ModelProgress;

// Copies a person of another open database (the source) into the open one (the target) at an empty box of its
// family diagram: as a child, a spouse, or a natural or step parent of the box's owner, with every field, event,
// picture, story and citation, and on request the person's ancestors or descendants with their spouses. The source
// database is only read.
//
// The whole copy is one undo step. It cites a new source that names the other database, made only once the copy
// goes ahead; the user's active source is back afterwards. A plain-text report of what was copied is written into
// the reports folder and kept as that source's notes.
//
//   PersonCopier copier(personThere, owner, CdPerson::kChild, 1);
//   copier.setIncludeAncestors(true);                 // with the descendants and their spouses
//   if (copier.copy() == PersonCopier::Result::Copied)
//       Utils::displayFile(copier.reportPath(), {});
class PersonCopier {
public:
    static constexpr long kChildBox = -1;
    static constexpr long kSpouseBox = -2;

    // The box: a child box (kChildBox), a spouse box (kSpouseBox) or a parent box (any other level) of `owner`, a
    // person of the target; a parent box of type 1 takes a natural parent, of any other type a step parent.
    PersonCopier(FTPerson* sourcePerson, FTPerson* owner, long ancLevel, int pcRelType);
    ~PersonCopier();
    PersonCopier(const PersonCopier&) = delete;
    PersonCopier& operator=(const PersonCopier&) = delete;

    FTPerson* initialSourcePerson() const { return m_initialSourcePerson; }
    FTPerson* ownerOfTargetPerson() const { return m_owner; }
    FTMoc* moc() const { return m_moc; }
    FTMoc* sourceMoc() const { return m_sourceMoc; }
    long ancLevelOfTargetCdPerson() const { return m_ancLevel; }
    // Whether the outline and the include option are about ancestors (every box but a child box).
    bool bAncestors() const { return m_ancLevel != kChildBox; }

    // ---- What the window shows ----
    CopyOutline& outline() { return m_outline; }
    const CopyOutline& outline() const { return m_outline; }
    // "Child of <owner>", "Wife of <owner>", "Parent of <owner>".
    QString targetText() const;
    // "Copy Person from <source database>".
    QString windowTitle() const;
    // The include option's title: ancestors and their spouses, or descendants and their spouses.
    QString includeTitle() const;

    // ---- Options ----
    bool includeAncestors() const { return m_includeAncestors; }
    // The include check box: ancestors (parent and spouse boxes) and descendants (a child box) alike.
    void setIncludeAncestors(bool on);
    bool includeDescendants() const { return m_includeDescendants; }
    bool includeDescendantsOfAncestors = false;
    bool backupBeforeCopy = true;

    // The backup panel (none: a wanted backup counts as failed); the progress of the cloning; the clock of the
    // source's date and the report.
    void setBackupPanel(BackupPanel* panel) { m_backupPanel = panel; }
    void setProgress(ModelProgress* progress) { m_progress = progress; }
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

    // ---- The copy ----
    enum class Result {
        NotCopied, // the user chose not to (no backup, or the person is there already): nothing changed
        Refused,   // the box cannot take the person (age, gender, a second natural parent): nothing changed
        Copied,
    };
    Result copy();

    // After a copy.
    int numPeopleCopied() const { return m_numPeopleCopied; }
    const QList<FTPerson*>& peopleAdded() const { return m_peopleAdded; }
    const QStringList& assumptions() const { return m_assumptions; }
    // The source that records the copy (null before one).
    FTSource* mergeSource() const { return m_mergeSource; }
    QString reportPath() const;
    // The report as shown and stored in the source's notes (trimmed).
    QString reportText() const { return m_reportText; }

    // ---- The parts of the copy ----

    // Whether the person counts as present in the target: the target has people of that name (ignoring case and
    // diacritics) born within 10 years (or without a birth year), and the user says the person is among them.
    // Each person is asked about once.
    bool personExistsInTargetModel(FTPerson* person);
    // Whether a child may be copied under a parent by their birth years: 16 to 44 years apart yes, 1 to 15 and
    // 45 to 79 when the user continues, otherwise no (with a message).
    bool checkParentChildAgeDifference(FTPerson* parent, FTPerson* child);
    // The person being copied always; anyone else by their first row of the outline.
    bool personIsSelected(const FTPerson* person) const;

    // A set of records of the source database, in the order they were added.
    struct CopySet {
        QList<FTPerson*> people;
        QList<FTPcRel*> links;
        QList<FTSpouseRel*> couples;
        bool contains(const void* record) const { return members.contains(record); }
        void add(FTPerson* p);
        void add(FTPcRel* link);
        void add(FTSpouseRel* couple);
        qsizetype size() const { return members.size(); }
        QSet<const void*> members;
    };
    CopySet createAncestorsSetFor(FTPerson* person);
    CopySet createDescendantsSetFor(FTPerson* person);
    // People first (those not copied yet), then the links between copies, then the couples of two copies.
    void cloneSet(const CopySet& set);
    // The copy of a person of the source; null when none was made.
    FTPerson* copyOf(const FTPerson* sourcePerson) const { return m_personXref.value(sourcePerson); }

private:
    // ---- Checks before anything is made ----
    bool boxTakesThePerson();

    // ---- The four kinds of box ----
    FTPerson* copyAsChild(FTPerson* sourcePerson, FTPerson* parent);
    FTPerson* copyAsSpouse(FTPerson* sourcePerson, FTPerson* person);
    FTPerson* copyNaturalParent(FTPerson* sourcePerson, FTPerson* child);
    FTPerson* copyStepParent(FTPerson* sourcePerson, FTPerson* child);
    void assume(FTPerson* child, int pcRelType, FTPerson* parent);
    void record(FTPerson* sourcePerson, FTPerson* copy);

    void createActiveSourceInTargetDatabase();
    void generateReport();

    // ---- Sets (PersonCopier_CreateSets.cpp) ----
    void recurseAncestorsOf(FTPerson* p, CopySet& set);
    void addSpousesOfAncestorsInSet(CopySet& set);
    void addDescendantsOfAncestorsInSet(CopySet& set);
    void recurseChildrenOf(FTPerson* p, CopySet& set);
    void recurseDescendantsOf(FTPerson* p, CopySet& set);
    bool isSourcePersonsChildInTarget(const FTPerson* p, const FTPerson* child) const;
    // Outside the set and said by the user to be in the target already: left out.
    bool declaredPresent(FTPerson* p, const CopySet& set);

    // ---- Cloning (PersonCopier_Clone.cpp) ----
    void clonePersonsProperties(FTPerson* from, FTPerson* to);
    int clonePersonsEventsFrom(FTPerson* from, FTPerson* to);
    FTEvent* cloneEvent(FTEvent* event, FTManagedObject* owner);
    int clonePicturesFrom(FTManagedObject* from, FTManagedObject* to);
    int cloneStoryFrom(FTPerson* from, FTPerson* to);
    int cloneSourcesFrom(FTManagedObject* from, FTManagedObject* to);
    FTSource* cloneSource(FTSource* source);
    // Looks up at once the target's counterparts of every source the set's people and couples cite.
    void findExistingSources(const CopySet& set);
    void cloneSpouseRelPropertiesFrom(FTSpouseRel* from, FTSpouseRel* to);
    // The record cites the source of this copy, describing what was copied into it.
    void citeMergeSource(FTManagedObject* record);

    FTPerson* m_initialSourcePerson;
    FTPerson* m_owner;
    FTMoc* m_moc;
    FTMoc* m_sourceMoc;
    long m_ancLevel;
    int m_pcRelType;
    CopyOutline m_outline;

    bool m_includeAncestors = false;
    bool m_includeDescendants = false;
    BackupPanel* m_backupPanel = nullptr;
    ModelProgress* m_progress = nullptr;
    std::function<QDateTime()> m_clock;
    QDateTime m_now;

    QHash<const FTPerson*, FTPerson*> m_personXref;
    QList<FTPerson*> m_peopleAdded;
    QSet<const FTPerson*> m_added;
    QStringList m_assumptions;
    int m_numPeopleCopied = 0;
    FTSource* m_mergeSource = nullptr;
    QHash<const FTSource*, FTSource*> m_sourceXref;
    QString m_reportText;

    // The target's people by folded name, built on the first question; copies join it as they are made.
    QHash<QString, QList<FTPerson*>> m_namesInTarget;
    bool m_namesIndexed = false;
    QHash<const FTPerson*, bool> m_existsAnswers;
};
