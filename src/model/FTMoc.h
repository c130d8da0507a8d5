#pragma once

#include "platform/store/ObjectContext.h"

#include <QDateTime>
#include <QHash>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class FTEvent;
class FTEventType;
class FTMocUndoManager;
class FTPcRel;
class FTModelDefaults;
class FTPerson;
class FTProjectView;
class FTSource;
class ModelProgress;
class StoreSchema;
struct Notification;

// The context of one open family database: the store of one ".RezUdu" file with the confirming undo manager, a
// few working values of the database (active source, active event), the cached lists the editors offer (places,
// event names, recent sources) and the save that runs the one-time repairs. One per open document; the
// new-database command, the GEDCOM import, compare-and-merge and the conversion open their own. A context belongs
// to the thread that made it.
//
//   FTMoc::OpenError error;
//   std::unique_ptr<FTMoc> moc = FTMoc::initForStoreURL(path, true, &error);
//   if (!moc && error.code == FTMoc::kWrongModelVersionErrorCode) ... offer the conversion
//   ... changes ...
//   moc->deferredSave();      // after each user edit: one save when the application is next idle
//   moc->saveMoc();           // or now
//
// Every failure of opening has already been shown to the user (through Prompts) when initForStoreURL answers null.
class FTMoc : public ObjectContext {
public:
    // The model version this program writes, and the metadata key that records a store's version.
    static const QString kCurrentModelVersion; // "DOvurV6"
    static const QString kMomKey; // "MomKey"
    static const QString kErrorDomain;
    static constexpr int kWrongModelVersionErrorCode = 999;
    struct OpenError {
        QString domain;
        int code = 0;
        // Why the store could not be opened: InUse (open elsewhere), Locked (busy), ReadOnly (its folder) mean a
        // sound file that cannot be used now; the caller then offers no other database in its place.
        ObjectContext::ErrorCode storeError = ObjectContext::ErrorCode::None;
    };
    enum class StoreType { None, SQLite, XML, Binary };

    // ---- Opening -------------------------------------------------------------------------------------------

    // Opens the store file at `path` (which must exist, be readable and writable, and end in "RezUdu" in any
    // letter case; an empty file becomes a new database). With `withLatestDatamodel` a store of another model
    // version is refused with error 999 and the migration message; without it (the conversion) any stamped
    // version with a model this program has is opened. A store without "MomKey" is stamped "DOvurV6" and saved at
    // once; the event types are seeded; old picture thumbnails are handed to ModelHooks::moveThumbnails. Null
    // after a message on failure.
    static std::unique_ptr<FTMoc> initForStoreURL(
        const QString& path, bool withLatestDatamodel, OpenError* error = nullptr);
    // Opens another database only to read it (to copy or compare from): the file must exist and be readable, but
    // need not be writable, and it may be open for editing elsewhere at the same time. Its model version is checked
    // as with `withLatestDatamodel`; nothing is stamped, seeded, moved or saved, ever: what changes in this context
    // (a thumbnail made on first read, say) stays in memory, and saveMoc() answers false without telling anyone.
    // Null after a message on failure.
    static std::unique_ptr<FTMoc> initForReadingStoreURL(const QString& path, OpenError* error = nullptr);
    // A database being built under a temporary name ("<name>.RezUdu.part", which nobody opens by mistake: it has
    // no database's extension), opened as initForStoreURL with the latest model opens "<name>.RezUdu".
    static std::unique_ptr<FTMoc> initForPartialStoreURL(const QString& path, OpenError* error = nullptr);
    ~FTMoc() override;

    // Whether the file exists and may be read, and written unless `forWriting` is false; a message saying what to
    // do when not.
    static bool checkDatabaseAccess(const QString& path, bool forWriting = true);
    // By extension, ignoring case: "RezUdu" SQLite, "ZuvEvu" XML, "DazBin" binary, anything else None.
    static StoreType storeTypeForFile(const QString& path);
    // The store's "MomKey"; empty when the metadata cannot be read or has no such key.
    static QString momVersionInStoreAtUrl(const QString& path);
    // The schema of a model version ("DOvurV6", or an older model registered with OlderModels; any letter case);
    // null, after a message, for a model this program does not have (with `failure`, the message is given there
    // instead of shown). An empty version answers null silently.
    static const StoreSchema* schemaForMomVersion(const QString& momVersion, QString* failure = nullptr);

    // Run once by opening (public for the tools that repeat them).
    void populateEventTypes();
    void moveThumbnailData();

    // ---- Working values of the database --------------------------------------------------------------------

    FTMocUndoManager* undoManager() const;
    QString databaseURL() const; // the store file's path
    void setDatabaseURL(const QString& path);
    QString momVersion() const;
    void setMomVersion(const QString& version);
    QDateTime sessionStartDate() const;
    void setSessionStartDate(const QDateTime& date);
    QDateTime lastRefreshDate() const;
    void setLastRefreshDate(const QDateTime& date);
    // The active source: while set, newly made records cite it. Held by its URI, so a deleted source reads null.
    FTSource* activeSource() const;
    void setActiveSource(FTSource* source);
    QString activeSourcePageRef() const;
    void setActiveSourcePageRef(const QString& pageRef);
    QString activeEventURI() const;
    void setActiveEventURI(const QString& uri);
    // The event of activeEventURI(); null (and the URI cleared) when it can no longer be read.
    FTEvent* activeEvent();
    // True from opening until the first save that finds changes.
    bool firstSave() const;

    // The database's single ModelDefaults record: the first one stored, or a new one made (outside the undo
    // history) on first use.
    FTModelDefaults* modelDefaults();

    // Set while a GEDCOM import fills this database: no numbering by the constructors, no undo names, no change
    // stamps, no notifications and no list upkeep for this context (other open databases carry on as usual).
    bool importThreadIsActive() const;
    void setImportThreadIsActive(bool active);

    // ---- Saving --------------------------------------------------------------------------------------------

    // Saves now when there are changes. The first save after opening first runs the pending one-time repairs. The
    // cached place and recent-sources lists are written back into ModelDefaults with every save. A failed write
    // leaves the changes pending for the next save, which tries again; the first failure after a good save is
    // reported (reportSaveError), later ones only logged. An exception is reported through
    // ModelHooks::reportCurrentException. Both answer false.
    bool saveMoc();
    // The same save, telling a failed write to `error` instead of the user (the close and quit questions show
    // it); the first failure after a good save is still written to the report file.
    bool saveMoc(QString* error);
    // Why the last save failed; empty after a save that succeeded.
    QString lastSaveError() const;
    // "DatabaseError.txt" in the data folder, where failed saves are reported.
    static QString saveErrorReportPath();
    // Queues one save of this context for when the application is next idle: any number of calls before then give
    // one save, and each open database saves only its own changes ("SaveMoc" with this context as its object).
    // On a worker's context it does nothing: the worker saves its context itself with saveMoc().
    void deferredSave();
    // The observer of "SaveMoc": saves when the notification's object is this context.
    void saveMoc_Deferred(const Notification& notification);
    // Appends a report to "DatabaseError.txt" in the data folder and tells the user what failed, that the changes
    // are kept, and where the report is. The program and every open database go on.
    void reportSaveError(const QString& error);

    // The one-time repairs, each recorded by a flag in the store's metadata, in this fixed order. A repair runs
    // when its flag is absent (a flag present with any value is skipped); the flag is set only once the repair has
    // completed on this context, and a repair not built yet leaves its flag unset.
    static QStringList integrityCheckKeys();
    void databaseIntegrityChecks();
    // A repair answers true when it completed (its flag is then set).
    using IntegrityRepair = std::function<bool(FTMoc&)>;
    // The repair of one flag; empty when not built yet.
    static IntegrityRepair integrityRepair(const QString& key);
    // Supplies or replaces the repair of a flag (repairs built elsewhere; tests).
    static void setIntegrityRepair(const QString& key, IntegrityRepair repair);

    // Repairs of this file: adoptive links stored with type 3 become type 8 (raw writes, no undo, no stamp);
    // links typed "not related" (4096) are deleted; events without an event type are linked through the
    // event-type index sheet (ModelHooks::createEventTypeIndex), only on the front document's context.
    bool convertPcRelTypes();
    bool correctPcRelsForNotRelated();
    bool createEventTypeIndex();

    // ---- Cached lists --------------------------------------------------------------------------------------

    // Place names used by events, distinct, in case-insensitive order: read from the stored copy in ModelDefaults,
    // else built from the events, on first use.
    QStringList places();
    void setPlaces(const QStringList& places);
    // Adds a name not already in the list (exact comparison) in its sorted place.
    void addPlaceName(const QString& place);
    // Removes a name unless more than one event still uses it (called while the changing event still holds it).
    void removePlaceName(const QString& place);
    // The places beginning with `prefix`, ignoring case and diacritics.
    QStringList placeNamesStartingWith(const QString& prefix);
    // Writes the loaded list into ModelDefaults' stored copy (saveMoc does this with every save).
    void savePlaces();

    // The event names offered for an event tag: the vocabulary's name, plus (for tags other than BIRT, DEAT and
    // MARR) the names of the events with that tag, without "Birth", "Death" and "Marriage", case-insensitively
    // sorted. Built on first use per tag.
    QStringList eventNamesForSubtype(const QString& subtype);
    void addEventName(const QString& name, const QString& subtype);
    void removeEventName(const QString& name, const QString& subtype);

    // The most recently chosen sources, newest first, at most 10; sources deleted since are dropped.
    QList<FTSource*> recentSources();
    void setRecentSources(const QStringList& sourceURIs);
    void addRecentSource(FTSource* source);
    void saveRecentSources();

    FTEventType* eventTypeForEventTypeName(const QString& name) const;
    FTEventType* eventTypeForEventGedcomCode(const QString& gedcomCode) const;

    // Context keys for observers: "modelDefaults".
    QVariant valueForKey(const QString& key) const override;

    // ---- Document ----
    // Forgets the loaded place list, so that the next places() reads it again (an undo may have changed places).
    void resetPlaces();
    // Forgets the loaded place list and its stored copy's authority: the next places() builds the list from the
    // events themselves. For changes of many places at once, and for undo and redo, after which the stored copy
    // may name places that no event holds any more.
    void rebuildPlaces();
    // Forgets every loaded event-names list; each is built again from the events on its next use.
    void resetEventNames();

private:
    explicit FTMoc(const StoreSchema& schema);
    static std::unique_ptr<FTMoc> openAt(const QString& path, bool withLatestDatamodel, bool reading, OpenError* error,
                                         const QString& typePath = {});
    bool openStore(const QString& path, StoreType type);
    void writeBackCachedLists();
    // The stored copies of the cached lists, in ModelDefaults' extraData.
    std::optional<QStringList> storedList(const QString& key);
    void storeList(const QString& key, const QStringList& list);
    void setIntegrityFlag(const QString& key);
    // saveMoc(), telling the user of a failure or not.
    bool saveAndReport(QString* error, bool tellUser);
    // Appends the report of a failed save to saveErrorReportPath(); false when it could not be written.
    bool appendSaveErrorReport(const QString& error);

    struct State;
    std::unique_ptr<State> s;

public:
    // ---- People: look-ups and finds (FTMoc_Finds.cpp) -------------------------------------------------------

    // The person the family diagram centres on. When none is stored: the lowest-numbered person (made the root of
    // an ancestral view that becomes the current view, unless it has one), or, in a database without people, a
    // new man named "name" (then the message "Empty model"). The answer is stored as the focal person.
    FTPerson* focalPerson();
    void setFocalPerson(FTPerson* person);
    // The person the person editor shows; when none is stored, the focal person, which is then stored.
    FTPerson* selectedPerson();
    void setSelectedPerson(FTPerson* person);
    // The current project view; null for the whole database.
    FTProjectView* projectView();
    // The store file's name without folder and extension.
    QString modelName() const;
    // The lowest-numbered person, or the second lowest when the lowest is `person`; null when there is none.
    FTPerson* firstPersonInDatabaseWhoIsNot(const FTPerson* person) const;
    // Every record of an entity (and its sub-entities), unsorted.
    QList<ManagedObject*> fetchAllForEntity(const QString& entityName) const;
    // The records of an entity whose `name` holds every typed word at its start or at the start of one of its
    // words (after a blank, "_" or "("), ignoring case and diacritics, sorted by name. With the user default
    // "includeTitlesInSearch", a person's title counts too. Empty text: nothing.
    QList<ManagedObject*> findObjectName(const QString& text, const QString& entityName) const;
    // The people whose name matches the pattern (* any run of characters, ? one character; case and diacritics
    // ignored), sorted by name with years. Empty pattern: nothing.
    QList<FTPerson*> findPeopleWithName(const QString& pattern) const;
    // The usual gender ("MaleShort"/"FemaleShort") of the name's first word (of two letters or more) among the
    // people of the database; null on a tie or when unknown. `firstName` receives that word capitalised.
    QString genderForName(const QString& name, QString* firstName = nullptr) const;
    // The gender to use for a new or edited person: the given one, unless the first name is usually of the other
    // gender; then the user chooses "Male", "Female" or "Cancel" (null).
    QString confirmGender(const QString& name, const QString& gender) const;
    // For each of `sources` (of another database), the first source here with the same attributes (numbers,
    // stamps, thumbnails and extra data left out), keyed by that source's object URI. Sources without a match
    // have no entry.
    QHash<QString, FTSource*> findMatchingSources(const QList<FTSource*>& sources) const;
    // The built-in source types and those typed into this database's sources, each once, sorted without regard to
    // case.
    QStringList sourceTypes() const;

public:
    // ---- Relationship validation, repairs and clean-ups (FTMoc_ValidateRelationships.cpp,
    // FTMoc_IntegrityChecks.cpp, FTMoc_Repairs.cpp, FTMoc_EventTypeIndex.cpp) -----------------------------------
    // The passes over the whole database run on the main thread and report through `progress` (may be null): its
    // status, then a share redrawn only when it has grown by more than one point. Messages go through Prompts.

    // The six checks below in order; answers the sum of their results. `report` (may be null) receives the lines
    // of the birth-year check. `runningTotal` (may be null) is kept up to date after each check, so that a caller
    // whose check was stopped by an exception still knows what the earlier ones did.
    int validateAllRelationships(ModelProgress* progress, QString* report, int* runningTotal = nullptr);
    // Deletes the parent-child links without a parent or a child (saving after each); answers how many.
    int validatePcRels(ModelProgress* progress);
    // Report, without changing anything, people, couples (not exactly two partners included) whose links can no
    // longer be read. Answer 0.
    int validatePersonRels(ModelProgress* progress);
    int validateSpouseRelRels(ModelProgress* progress);
    // Deletes, after showing each, the events without an owner or with links that can no longer be read; answers 0.
    int validateEventRels(ModelProgress* progress);
    // Deletes the citations whose source is gone; answers how many.
    int validateSourceRelRels(ModelProgress* progress);
    // Lists (in `report`, one line each) children born before, less than ten years after, or more than 45 (a
    // mother) or 70 (a father) years after a parent; answers how many. Nothing is changed.
    int validateParentChildBirthDates(ModelProgress* progress, QString* report);

    // The children with a second natural father or mother (listed once more for each further one), by number.
    // `report` (may be null) gets one line for each such child and gender.
    QList<FTPerson*> findChildrenWithMultipleNaturalParents(QString* report, bool showMessages);
    // Keeps the natural links to the lowest-numbered father and mother of each child; its other natural links
    // become step links. Answers how many changed.
    int convertMultipleNaturalParentsIntoStepRels(const QList<FTPerson*>& children);
    // Looks for people who are their own natural ancestors; each cycle is reported once (a message with
    // `showMessages`) and its closing link marked with flagBits 16. Answers the number of cycles found.
    int recursionCheck(bool showMessages);
    // The search from one person, whose path of descendants so far is the first `level` entries of `path`.
    // True when a cycle was found among the ancestors.
    bool recursionCheckAncestorsOf(FTPerson* person, int level, QList<FTPerson*>& path, bool showMessages);
    // Clears `bit` in the flagBits of each record (only where it is set).
    static void nullifyBitFlag(quint32 bit, const QList<ManagedObject*>& records);
    // Forgets what earlier searches for cycles marked (the links that closed a cycle, the people searched), so that
    // a search from one person finds every cycle above that person again.
    void clearRecursionMarks();
    // The links that the searches for cycles marked as closing one, by the child's number, then the parent's.
    QList<FTPcRel*> recursionLinks() const;

    // The one-time repairs of the first save (each answers how many values it changed; see integrityCheckKeys()).
    int replaceVovovInPictureFilenames();
    int fixPicturesNotes();
    int fixEventNotes();
    int fixPersonNames();
    int fixPersonFields();
    int fixSourceFields();
    int fixSourceRelsFields();
    int populateNameComponents();
    int removeRedundantSourceRels();
    // Deletes doubled citations of a couple's event that also name a person; answers how many were examined.
    int validateSourceRels();
    int removeInvalidSourceRels();
    int fixEventTypeGroupNames();
    int fixEventTypeNames();
    // Trims a text field: "\n " becomes "\n", white space leaves both ends; written only when that changed
    // its length. Answers whether it wrote.
    static bool tidyTextField(ManagedObject* record, const QString& key);

    // Clean-ups offered by the integrity-check dialog and run by the GEDCOM import:
    // nameless people related to nobody are deleted (`report` is not written);
    int removeGhosts(QString* report, bool showMessages);
    // people related to nobody, except the focal person, are deleted and listed in `report` (may be null);
    int removeIsolatedPeople(QString* report, bool showMessages);
    // the date texts of years 1 to 999 are rewritten in the standard form (no undo, no stamp);
    int cleanDateFormats();
    // records numbered 0 or sharing a number get new numbers above the counter (people, couples, pictures,
    // sources, events); saves afterwards when `save` and anything changed. Answers how many were renumbered.
    int validateNumericIds(bool save);
    int validateNumericIdsFor(const QString& entityName, const QString& modelDefaultsKeyPath);

    // The event-type index: links each of `events` to the event type of its tag (a tag given as an event type's
    // name becomes its code; "CEN" becomes "CENS", "RES" "RESI", any other unknown tag "EVEN"), saving every 1000
    // events, with the share in steps of more than 5 points. False when a save failed (reported; the rest keep
    // no type). The index sheet calls this and shows only the progress.
    bool linkEventsToEventTypes(const QList<FTEvent*>& events, ModelProgress* progress);
    // The time the sheet announces for `eventCount` events: 5 ms an event, in whole seconds.
    static int eventTypeIndexEstimatedSeconds(qsizetype eventCount);
};
