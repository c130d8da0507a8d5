#pragma once

#include <QtGlobal>

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
bool isFault(const ManagedObject* object);
// Records of the context whose values are not in memory now.
qint64 faultCount(const ObjectContext& context);
}
