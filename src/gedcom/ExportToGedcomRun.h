#pragma once

#include "gedcom/FTFamily.h"
#include "gedcom/GedcomExportOptions.h"

#include "platform/store/ReleasingWalk.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QMap>
#include <QSet>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class FTAssociation;
class FTEvent;
class FTManagedObject;
class FTMoc;
class FTPcRel;
class FTPerson;
class FTPicture;
class FTSource;
class FTSpouseRel;
class GedcomWriter;

// One run of the GEDCOM export (ExportToGedcom): the families it builds, the record numbers it hands out and the
// lines of every record, written through a GedcomWriter as soon as they are made. Lives only for the run.
//
// Records refer to each other by the records' own numbers: "@I<n>@" people, "@F<n>@" families, "@S<n>@" sources,
// and note records "@IN<n>@", "@EN<n>@", "@SN<n>@", "@CN<n>@", "@IC<n>@". A number that is missing or used twice
// in the database is replaced, for this file only, by one above the highest, so no two records share an identifier.
class ExportToGedcomRun {
public:
    ExportToGedcomRun(FTMoc* moc, GedcomWriter& writer, const GedcomExportOptions& options, bool selective,
                      const QSet<FTPerson*>& people, const QDateTime& now);
    ~ExportToGedcomRun();

    std::function<void(int)> progress;
    std::function<void(const QString&)> message;

    // Writes everything after the header: individuals, families, sources (the caller writes header and trailer
    // around it, so tests can drive both halves).
    void prepare();
    void writeINDI_Records();
    void writeFAM_Records();
    void writeSOURCE_Records();

    int individualsWritten() const { return m_individuals; }
    int familiesWritten() const { return int(m_families.size()); }
    int sourcesWritten() const { return m_sourcesWritten; }
    // The pictures whose files the file names, in the order written, each once.
    const QList<FTPicture*>& exportedPictures() const { return m_exportedPictures; }

    // The words of _FREL and _MREL for a link's type; empty for a type that has none.
    static QString pcRelTypeWord(int type);

private:
    // ---- People ----
    bool isLiving(const FTPerson* p);
    bool isRecentlyDead(const FTPerson* p);
    // Left out of the file: held back by the privacy options, or outside a selective export's set.
    bool passes(const FTPerson* p);
    // Written with only what the depersonalising option keeps.
    bool isDepersonalized(const FTPerson* p);

    // ---- Numbers ----
    void numberAllObjects();
    qint64 personId(const FTPerson* p) const;
    qint64 eventId(const FTEvent* e) const;
    qint64 sourceId(const FTSource* s) const;
    qint64 coupleId(const FTSpouseRel* c) const;

    // ---- Families ----
    void createFamilyRecords();
    FTFamily* newFamily(FTPerson* parent, FTPerson* spouse, FTSpouseRel* couple);
    void addChild(FTFamily* family, FTPerson* child, const FTPerson* firstParent, FTPcRel* first, FTPcRel* second);

    // ---- Records ----
    void createINDIGedRec(FTPerson* person);
    void createCOMMENTGedRec(FTPerson* person);
    void createFAMGedRec(FTFamily* family);
    void createSOURGedRec(FTSource* source);
    void createPendingNotesRecords();
    void addPendingNote(int level, const QString& xref, const QString& notes);

    void addPersonalNameStructure(int level, FTPerson* person);
    void addEventStructure(int level, FTEvent* event);
    void addAssociatedStructure(int level, FTAssociation* association);
    void addAttributesOfPcRel(int level, FTPcRel* link);
    void addRelationshipLines(int level, const FTChildRec& rec);
    void addPictures(int level, FTPerson* person);
    void addMultimediaLink(int level, FTPicture* picture);
    void addSourceCitations(int level, const QList<class FTSourceRel*>& citations);
    QList<class FTSourceRel*> citationsOfPerson(FTPerson* person);
    QList<class FTSourceRel*> citationsOfEvent(FTEvent* event);
    QList<class FTSourceRel*> citationsOfPicture(FTPicture* picture);

    void setProgress(int percent);

    FTMoc* m_moc;
    // Every phase reads the whole database; records written are given back between records.
    ReleasingWalk m_walk;
    GedcomWriter& w;
    GedcomExportOptions m_options;
    bool m_selective;
    const QSet<FTPerson*>& m_people;
    QDateTime m_now;

    // Privacy tests, computed on first use: bit 1 known, bit 2 living, bit 4 recently dead.
    QHash<const FTPerson*, quint8> m_status;

    // Numbers replaced for this file.
    QHash<const FTManagedObject*, qint64> m_idOverrides;

    // What the families' passes need of people and of parent-child links, by key, kept as the passes that read
    // them in key order go. Those passes come back to people and links in no order, and in a database whose records
    // are given back between records each such visit would read a row of the file again.
    struct PersonFacts {
        qint64 id = 0; // the number written, overrides applied; 0 until numbered
        quint32 birthDate = 0;
        bool dated = false;
    };
    struct LinkFacts {
        int type = 0;
        bool known = false;
        bool plain = false; // neither evidence nor notes to write
    };
    std::vector<PersonFacts> m_personFacts;
    QList<FTPerson*> m_everyone; // in key order, as numbered
    std::vector<LinkFacts> m_linkFacts;
    quint32 birthDateOf(const FTPerson* p);
    const LinkFacts& linkFacts(const FTPcRel* link);

    // Each person's families, as pairs of the person's key and a family sorted by key once the families are made:
    // a hash of lists takes several times the memory, which counts with a million people.
    class FamiliesByPerson {
    public:
        void add(const FTPerson* person, FTFamily* family);
        void clear() { m_pairs.clear(); }
        // Sorted by person, each person's families in the order added; with `once`, each family once.
        void finish(bool once);
        QList<FTFamily*> of(const FTPerson* person) const;

    private:
        std::vector<std::pair<qint64, FTFamily*>> m_pairs;
    };

    std::vector<std::unique_ptr<FTFamily>> m_families;
    FamiliesByPerson m_spouseOfFamilies;
    FamiliesByPerson m_childOfFamilies;

    QSet<FTSource*> m_sourcesSet;
    // Event tags with their English names.
    QMap<QString, QString> m_eventNames;
    // The note records owed by the record being written: identifier and text.
    QList<std::pair<QString, QString>> m_pendingNotes;

    int m_individuals = 0;
    int m_sourcesWritten = 0;
    QList<FTPicture*> m_exportedPictures;
    QSet<const FTPicture*> m_exportedPictureSet;
    int m_lastProgress = -1;
};
