#pragma once

#include "gedcom/GedcomHeaderInfo.h"
#include "gedcom/NumberSet.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

class FTEvent;
class FTEventType;
class FTManagedObject;
class FTMoc;
class FTPcRel;
class FTPerson;
class FTPicture;
class FTSource;
class FTSpouseRel;
class GedRec;
class GedcomForest;
class GedcomImportLog;
class ImportGedcomListener;
struct ImportGedcomOutcome;

// The GEDCOM import: reads a GEDCOM file into a NEW family database, on a worker thread of its own, with its own
// context, and accounts for every line of the file: each line is either imported or written to the log files
// beside the database (GedcomImportLog).
//
// Starting an import (the import dialog, on the main thread):
//
//     ImportGedcomThread::Request request;
//     request.gedcomFilename = "/home/ann/Smith.ged";
//     request.databaseFilename = CreateUniquePathNameForNewModel("Smith", "SQL");   // a free name, never an old file
//     request.tempFolder = Utils::KinloomDataDirectory() + "/temp";                 // where the cleaned copy goes
//     if (!ImportGedcomThread::startImport(request, dialog)) ... another import is running
//
// The dialog (an ImportGedcomListener) then receives the status line, both progress bars, the header information
// and any alert on the main thread, and last importFinished() with the outcome: on success the new database file
// to open; on failure the reason, and the half-made database file has already been removed. The worker never
// touches a window.
//
// The pipeline (loadGedFileThread): create the database; read the file into the record forest (GedcomFileReader:
// character set, cleaned copy, decoding, parsing); the header and trailer; the record passes in file order; the log
// files; the numbering counters; the final save. While it runs the new context's importThreadIsActive() is set, so
// the model's constructors and setters neither number, stamp, name undo actions, post notifications nor cite the
// active source; other open databases behave as usual. Undo is off for the whole run.
//
// Record passes (importSteps()): each walks the level-0 records of one tag in file order and hands each record to
// its reader, inside an error guard: an exception in one record is logged with the record and its reason, and the
// import goes on with the next record. Passes save in batches (every 5000 person records, every 1000 source or
// family records, and at the end of each pass) in the store's bulk writing mode, without journal or disk syncs, as
// the new file is removed on failure; the final save runs with the normal settings. Any failed save fails the whole
// import. The order: sources, people, their associations, events and citations, families (couples, parent-child
// links, marriages), the child sealings, then the adoptions and pedigree types of the people's family links.
//
// After the report the new database is validated (runDatabaseIntegrityChecks): numbers, dates, nameless people,
// unconnected people, loops in the ancestry and children with several natural parents; the findings go to
// "ValidationErrors.txt" and the end of "UnprocessedGedRecs.txt".
//
// A reader marks every line it uses (GedRec::Consumed) and gives every line it cannot use as written an error reason
// and action (GedRec::ErrorReason / ErrorAction); the report pass lists the rest.
class ImportGedcomThread {
public:
    struct Request {
        QString gedcomFilename;
        // The new database: it must not exist yet (an existing file is never overwritten). It is built under a
    // temporary name beside it (Utils::partialDatabasePath) and appears under this name only once complete.
        QString databaseFilename;
        // Where the cleaned copy of the file is written; none is written when empty.
        QString tempFolder;
    };

    explicit ImportGedcomThread(const Request& request, ImportGedcomListener* listener = nullptr);
    virtual ~ImportGedcomThread();
    ImportGedcomThread(const ImportGedcomThread&) = delete;
    ImportGedcomThread& operator=(const ImportGedcomThread&) = delete;

    // Runs the import on a new thread and returns at once. `listener` (which must live until its importFinished()
    // has been called) hears everything on the main thread. False, with nothing started, while another import
    // runs.
    static bool startImport(const Request& request, ImportGedcomListener* listener);
    // True from startImport() until the worker has finished.
    static bool importIsRunning();
    // Main thread: waits until the worker thread of the last startImport() has ended, for at most `msecs` (-1: no
    // limit); true when no worker runs any more.
    static bool waitForImport(int msecs = -1);
    // Main thread: nothing more of the running import reaches `listener`, not even the calls already queued, nor
    // importFinished(). For a listener that must go before the import has ended (the worker itself runs on).
    static void forgetListener(ImportGedcomListener* listener);

    // The whole import on the calling thread; the listener is called directly. Never throws.
    ImportGedcomOutcome loadGedFileThread();

    // What the header said (after the header pass).
    const GedcomHeaderInfo& headerInfo() const { return m_header; }

    // The estimate shown while the file loads: seconds for the number of records.
    static int calculateLoadTime(int numGedRecs, int numLines, QString* text);

protected:
    // ---- One step of the pipeline; false stops the import (the reason is in m_failure) ----
    struct ImportStep {
        QString name;
        std::function<bool()> run;
    };
    // The steps between the header pass and the report, in order.
    std::vector<ImportStep> importSteps();

    // A pass over the level-0 records of one tag.
    struct RecordPass {
        QString methodName;       // for the diagnostic log and the error report: "processIndividualsRecords"
        QString tag;              // "INDI"
        QString runningText;      // "Processing Individuals' Attributes": shown with " - <remaining>"
        QString openingText;      // shown before the walk when not empty
        int saveEvery = 5000;
        std::function<void(GedRec*)> reader;
        // The last pass to read the lines the forest releases early: they go as it leaves each record.
        bool releasesLines = false;
    };
    bool runRecordPass(const RecordPass& pass);

    // ---- Header and individuals ----
    bool processHeaderAndTrailerRecords();
    void processHEAD(GedRec* head);
    virtual void processINDI(GedRec* indi);
    void processNAME_STRUCTURE_For(FTPerson* person, GedRec* line);
    void processFocalPerson(FTPerson* person, GedRec* line);
    void processUSER_REFERENCE_NUMBER_For(FTManagedObject* row, GedRec* line);
    void addLastChangeDateTo(FTManagedObject* row, GedRec* line);
    void processInvalidTagFor(const QString& label, GedRec* line);
    void printBadPointer(GedRec* line);
    // The name as the import stores it: slashes out, a family name of several words kept as one (no-break
    // spaces), text after the family name kept (`trailing` receives it when it is no suffix), blanks collapsed.
    static QString nameFromGedcom(const QString& value, bool ftw, QString* familyName, QString* trailing);
    // The person's values that his event lines give: the title (TITL and OCCU lines, givesTitle) and the cause of
    // death (the CAUS lines of the first DEAT). Written once, when the person is made, so that they go into his
    // first save; the events pass reads these lines for their events only.
    void writeValuesFromEventLines(FTPerson* person, GedRec* indi);
    bool givesTitle(const GedRec* line) const;

    // ---- Events ----
    virtual void processINDIEvents(GedRec* indi);
    FTEvent* processEVENT_STRUCTURE_For(FTManagedObject* owner, GedRec* line);
    FTEvent* createEventOfType(int type, const QString& subtype);
    void addEventTypeRelTo(FTEvent* event, const QString& tag);
    void processEventDateFor(FTEvent* event, GedRec* line);
    // An event's PLAC line: the place (with its continuation lines in files of that kind), and the map
    // coordinates our own files write under it.
    void processPLACEFor(FTEvent* event, GedRec* line);
    void processEventGeocodingFor(FTEvent* event, GedRec* line);
    void processADDRESSFor(FTManagedObject* row, GedRec* line);
    void processPHONEFor(FTManagedObject* row, GedRec* line);

    // ---- Notes and text ----
    void processNOTE_STRUCTURE_For(FTManagedObject* row, GedRec* line);
    void processNOTE_RECORD_For(FTManagedObject* row, GedRec* record);
    void processCOMMENT_STRUCTURE_For(FTManagedObject* row, GedRec* line);
    void processCOMMENT_RECORD_For(FTManagedObject* row, GedRec* record);
    void appendTextSubRecordsOf(GedRec* line, QString& text);
    // Appends a CONT (a line break, then its value) or CONC line (its value) and marks it; false for other lines.
    bool appendContinuation(GedRec* line, QString& text);
    // Control characters (tabs, line ends) off both ends; blanks stay.
    static QString withoutControlEnds(const QString& text);
    QString getLegacyCONT_Subrecords(GedRec* line);
    void appendStringByRecursingGedRecs(GedRec* line, QString& text, bool includeTags);
    static void appendNotes(const QString& text, FTManagedObject* row);
    static void appendComments(const QString& text, FTManagedObject* row);
    static void appendTitle(const QString& text, FTManagedObject* row);
    static void appendLocation(const QString& text, FTManagedObject* row);

    // ---- LDS ordinances and associations ----
    void processLDSEvent(FTManagedObject* owner, GedRec* line);
    void processLdsChildSealingFamcRecord(FTEvent* event, GedRec* famc);
    virtual void processINDIAssocs(GedRec* indi);
    void processASSO_STRUCTURE_For(FTPerson* from, FTPerson* to, GedRec* line);
    bool processLDSChildSealingFamcRecords();

    // ---- Sources, citations and repositories ----
    // A source record is read once, by whichever reaches it first: the sources pass or a citation.
    FTSource* processSOURCE_RECORD(GedRec* record);
    void processSourceDATA_For(FTManagedObject* owner, GedRec* line);
    void processSourceRecordForInvalidReunionTag(FTSource* source, GedRec* line);
    // Repositories are no records of their own: their text goes into the location of each source citing them.
    void processREPOSITORY_CITATION_For(FTSource* source, GedRec* line);
    void processREPOSITORY_RECORD_For(FTSource* source, GedRec* record);
    void processREPOSITORY_STRUCTURE_For(FTSource* source, GedRec* line);
    // A citation of a person, an event (a personal event's citation names the person too) or a picture.
    void processSOURCE_CITATION_STRUCTURE_For(FTManagedObject* row, GedRec* line, const QString& itemDescribed);
    void processSourceCitationDATA_For(FTManagedObject* owner, GedRec* line);
    virtual void processINDISources(GedRec* indi);
    // The one source shared by the citations that name none ("Empty Source from Gedcom File").
    FTSource* nullSource();
    // A source made for one citation alone, numbered after every source of the file.
    FTSource* newTextSource(const QString& title);

    // ---- Families ----
    virtual void processFAM(GedRec* fam);
    void getHusbandAndWife(FTPerson** husband, FTPerson** wife, GedRec* fam);
    FTSpouseRel* existingSpouseRelForHusband(FTPerson* husband, FTPerson* wife) const;
    FTSpouseRel* attachSpouses(FTPerson* husband, FTPerson* wife);
    FTEvent* getMarriageEventsFor(FTSpouseRel* couple, GedRec* fam);
    void getChildrenOf(FTPerson* husband, FTPerson* wife, GedRec* fam);
    FTPcRel* attachParent(FTPerson* parent, FTPerson* child, int pcRelType);
    // The `_FREL` / `_MREL` line of a parent-child link: its type word, notes and evidence.
    void processAttributesOfPcRel(FTPcRel* link, GedRec* line);
    void processFAM_CHIL_SLGC_Records(GedRec* chil);
    // A person's FAMC and FAMS lines repeat what the family records say; they are marked here, and what stands
    // under a FAMC line (the pedigree type, notes, the link types of some programs) is read once the families
    // exist (processCHILD_TO_FAMILY_LINK_For).
    void flagRedundantGedRecs(GedRec* line);
    void processCHILD_TO_FAMILY_LINK_For(FTPerson* child, GedRec* famc);
    bool processIndividualAdoptionRecords();
    // The placeholder partner made for a family that names only one (or none).
    FTPerson* createPlaceholderPartner(const QString& name, const QString& gender);
    // The partners a family record ended with (placeholders included); both null when the record made none.
    std::pair<FTPerson*, FTPerson*> familyPartners(GedRec* fam) const;
    // The link from `parent` to `child`, or null.
    static FTPcRel* linkBetween(FTPerson* parent, FTPerson* child);

    // ---- Multimedia ----
    void processMULTIMEDIA_LINK_For(FTManagedObject* row, GedRec* line);
    void processMULTIMEDIA_RECORD_For(FTManagedObject* row, GedRec* record);
    FTPicture* processMM_FORM_SubRecord_For(FTManagedObject* row, GedRec* obje, QString* format);
    void processMM_FILE_SubRecord_For(FTPicture* picture, GedRec* obje, const QString& format);
    void processMM_OtherSubRecords_For(FTPicture* picture, GedRec* obje);
    // The path as other programs write it, made a plain path: ":images:" out, "\\" as "/", one "/" for a run of
    // them, a leading "/.PSF" off.
    static QString cleanFilename(const QString& path);
    // A picture path of the file: a relative path is taken from the GEDCOM file's folder ("../" may lead out of it,
    // as files beside a family's folder often are). Whatever the path, only a plain file (a link is followed to its
    // target) is taken into the database, never a folder, device or pipe; each file taken is named at the head of
    // the unprocessed-lines log, and a path to anything else is logged and kept as the picture's original file name.
    QString resolvedPicturePath(const QString& cleaned) const;
    const QSet<QString>& pictureTypes();

    // ---- Validation of the new database, after the report ----
    void runDatabaseIntegrityChecks();
    void validateDates(QString& report);
    void removeGhosts(QString& report);
    int removeUnconnectedPeople(QString& report);
    void checkForRecursion(QString& report);
    int checkForMultipleNaturalParents(QString& report);

    // ---- Progress ----
    void setDialogMessage(const QString& text);
    void setCurrentProgress(qint64 current, qint64 total);
    void setOverallProgress(double percent);
    void showMessage(const QString& text);

    // ---- The database ----
    bool createMoc();
    // Saves the context; a failure fails the import.
    bool saveMoc();
    // The numbering counters of ModelDefaults follow the highest numbers imported.
    void updateModelDefaultsCounters();

    // Records the first reason the import failed; answers false.
    bool fail(const QString& reason);

    static void use(GedRec* line);
    // The record the line's pointer names (its fwdPtr), found without making a string.
    GedRec* recordForPointerOf(const GedRec* line) const;

    Request m_request;
    ImportGedcomListener* m_listener;
    std::unique_ptr<FTMoc> m_moc;
    std::unique_ptr<GedcomForest> m_forest;
    // The report: it keeps the text of the lines released before it.
    std::unique_ptr<GedcomImportLog> m_log;
    GedcomHeaderInfo m_header;
    QHash<QString, FTEventType*> m_eventTypesDictionary;
    QMap<QString, QString> m_eventNamesDictionary;
    QStringList m_errorMessages;
    QList<GedRec*> m_ldsChildSealingFamcRecords;
    NumberSet m_personIds;
    // Repository identifier -> its text, built once.
    QHash<QString, QString> m_repositories;
    FTSource* m_nullSource = nullptr;
    // Family record -> the husband and wife it was given (placeholders included).
    QHash<const GedRec*, std::pair<FTPerson*, FTPerson*>> m_familyPartners;
    QSet<QString> m_pictureTypes;
    // Change stamps made so far, by day and second: a file's records share a few thousand change dates, and each
    // stamp costs a time-zone conversion.
    QHash<qint64, QDateTime> m_changeStamps;

    int m_maxPersonId = 0;
    int m_maxSourceId = 0;
    int m_maxPictureId = 0;
    int m_maxEventId = 0;
    int m_maxSpouseRelId = 0;

    qint64 m_fileSize = 0;
    int m_numLines = 0;
    int m_numGedRecs = 0;
    int m_blobRecordsIgnored = 0;
    int m_recordsWithErrors = 0;
    int m_unprocessedLines = 0;
    double m_percentDone = 0;
    QElapsedTimer m_startTime;

    bool m_failed = false;
    QString m_failure;
    bool m_createdDatabaseFile = false;
    // Where the database is built: Utils::partialDatabasePath of the request's file, renamed to it at the end.
    QString m_workingPath;

    QString m_male;
    QString m_female;

private:
    struct ReadObserver;
    std::unique_ptr<ReadObserver> m_readObserver;
    bool runPipeline();
    void recordFailed(GedRec* record, const QString& method, const QString& reason);
    void fillCounts(ImportGedcomOutcome& outcome) const;
    void removeDatabaseFile();
    // The objects of the entities updateModelDefaultsCounters walks, counted on that walk for
    // fillCounts (-1: not counted).
    struct WalkedCounts {
        int people = -1;
        int events = -1;
        int families = -1;
        int pictures = -1;
        int sources = -1;
    } m_walkedCounts;
};
