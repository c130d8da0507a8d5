#pragma once

class StoreSchema;

// The entities of a family database (model "DOvurV6"), with their attributes, relationships and delete rules.
// Built once, shared by every context.
const StoreSchema& DOvurV6Schema();
