#pragma once

#include <QtGlobal>

class ObjectContext;

// A walk over a whole database (an export, the integrity checks, a report or a numbering of everyone) reads every
// record once, and a large database does not fit in memory whole. Inside such a walk the records it reads are given
// back at the walker's release points: each stays the one object of its row (pointers to it stay valid and may be
// kept), only its values and relationships go, and they are read again from the file when next used.
//
// A database of up to largeDatabaseRows() rows (two million, about 400,000 people; less on a machine with less than
// two gigabytes) is walked whole in memory as before: nothing is given back, which is several times faster. A larger
// one is walked in blocks, and keeps about keptRecords() records a walk read, giving back the rest.
//
// Contract for the walker: at a release point it holds no reference into a record's values (a `const QString&`
// taken from an accessor) or relationships (a `const ObjectSet&`, a range-for loop over one). Copies and pointers
// are fine. Records with unsaved changes, observed records and records read before the walk began are never given
// back. Walks nest: an inner walk's release points give back only what was read since the outer one began.
class ReleasingWalk {
public:
    explicit ReleasingWalk(const ObjectContext& context);
    ~ReleasingWalk();
    ReleasingWalk(const ReleasingWalk&) = delete;
    ReleasingWalk& operator=(const ReleasingWalk&) = delete;

    // Between two records of the walk. Cheap when there is nothing to give back.
    void releasePoint();
    // Whether the walk gives records back (a large database). A walker that comes back to records in no order of
    // keys (from a person to a parent, say) then keeps what it needs of them in a list read in key order instead.
    bool givesBack() const;

    // Above this many rows in the file a database is large. The developer's environment variables
    // KINLOOM_LARGE_DATABASE_ROWS and KINLOOM_KEPT_RECORDS override the two limits, so that a whole test suite can
    // be run as if every database were large and every walk gave back all it read.
    static qint64 largeDatabaseRows();
    static qint64 keptRecords();
    // For tests: both limits at once; a negative value restores the default.
    static void setLimits(qint64 largeDatabaseRows, qint64 keptRecords);

private:
    const ObjectContext& m_context;
};

// Many small reads in a row (a family drawn, a focal person changed) inside one read transaction of the file: each
// statement outside one takes and drops the file's lock and looks for a journal, which costs more than a small
// read itself. The transaction begins with the first read and ends with the scope (or with a save inside it), so
// another program may write the file between two such bursts. Scopes nest; a save inside one is fine.
class ReadBurst {
public:
    explicit ReadBurst(const ObjectContext* context);
    ~ReadBurst();
    ReadBurst(const ReadBurst&) = delete;
    ReadBurst& operator=(const ReadBurst&) = delete;

private:
    const ObjectContext* m_context;
};
