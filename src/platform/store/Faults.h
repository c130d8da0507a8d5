#pragma once

#include <QtGlobal>

#include <QString>

#include <functional>

class ManagedObject;
class ObjectContext;

// Records turned back into faults: a record keeps its identity (the same C++ object, its key) and its links, and
// lets its attribute values go; any read or write of a value reads its row again first. For giving memory back
// when a record is not needed any more.
namespace StoreFaults {
// Only a saved record without pending changes, that nobody observes, of a store still open: anything else answers
// false and stays as it is. Should the row be gone when the values are next needed (a repair of the file, another
// program), the record reads as deleted with nil values, and its context's lastErrorCode() says Damaged.
bool refreshObject(ManagedObject* object);
// The same, but the record keeps its relationships (and the block that holds them) even in a database too large to
// read whole, where a fault gives them back too: read again, it reads only its row. For records likely to be used
// again soon, such as those around the person the user is looking at.
bool refreshKeepingRelationships(ManagedObject* object);
bool isFault(const ManagedObject* object);
// Records of the context whose values are not in memory now.
qint64 faultCount(const ObjectContext& context);
// The records in memory (faults included), in table and key order, without reading any from the file; fn answers
// false to stop. Deleted records waiting for the next save are among them.
void forEachRegisteredObject(const ObjectContext& context, const std::function<bool(ManagedObject*)>& fn);
// The same for the records of one entity (and its sub-entities) alone.
void forEachRegisteredObject(
    const ObjectContext& context, const QString& entityName, const std::function<bool(ManagedObject*)>& fn);
qint64 registeredObjectCount(const ObjectContext& context);
// The records whose values are in memory now (no fault), without walking the others; fn answers false to stop.
// New records are among them once saved (before, none of them can be given back).
void forEachLoadedObject(const ObjectContext& context, const std::function<bool(ManagedObject*)>& fn);
// Statements the context has run to read records since it opened: for tests that check how rows are read.
qint64 readStatementCount(const ObjectContext& context);
}
