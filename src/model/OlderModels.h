#pragma once

#include <QString>

class StoreSchema;

// The schemas of older family-database models ("DOvurV1" to "DOvurV5") that a conversion can read, by model name.
// The program ships none, so a database of an older model gets the "Unable to find the data model" message; a
// schema registered here is what FTMoc::schemaForMomVersion answers for its name. Safe from any thread.
//
//   OlderModels::registerSchema(olderSchema);          // its name() is the model name, "DOvurV5"
//   const StoreSchema* s = FTMoc::schemaForMomVersion("DOvurV5");
namespace OlderModels {
// Registers `schema` (finalized here when it is not yet; it must outlive its registration) under its name, in
// place of one registered before. The current model's name is refused: false.
bool registerSchema(const StoreSchema& schema);
void unregisterSchema(const QString& modelName);
// The schema registered under the name, in any letter case; null when none is.
const StoreSchema* schemaNamed(const QString& modelName);
}
