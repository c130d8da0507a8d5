#include "model/OlderModels.h"

#include "model/FTMoc.h"

#include "platform/store/StoreSchema.h"

#include <QHash>
#include <QMutex>

namespace {
struct Registry {
    QMutex mutex;
    QHash<QString, const StoreSchema*> byName; // by lower-case name
};

Registry& registry()
{
    static Registry r;
    return r;
}
}

bool OlderModels::registerSchema(const StoreSchema& schema)
{
    if (schema.name().isEmpty() || schema.name().compare(FTMoc::kCurrentModelVersion, Qt::CaseInsensitive) == 0)
        return false;
    if (!schema.isFinalized())
        const_cast<StoreSchema&>(schema).finalize();
    Registry& r = registry();
    QMutexLocker lock(&r.mutex);
    r.byName.insert(schema.name().toLower(), &schema);
    return true;
}

void OlderModels::unregisterSchema(const QString& modelName)
{
    Registry& r = registry();
    QMutexLocker lock(&r.mutex);
    r.byName.remove(modelName.toLower());
}

const StoreSchema* OlderModels::schemaNamed(const QString& modelName)
{
    Registry& r = registry();
    QMutexLocker lock(&r.mutex);
    return r.byName.value(modelName.toLower());
}
