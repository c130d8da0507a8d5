#pragma once

class StoreSchema;

// The entities of a family database (model "DOvurV6"), with their attributes, relationships and delete rules.
// Built once, shared by every context.
const StoreSchema& DOvurV6Schema();

// Declares those entities into `schema`, which is not finalized: the starting point of a schema that differs
// from the current model in a few declarations (an older model's, for a conversion).
void declareDOvurV6Entities(StoreSchema& schema);
