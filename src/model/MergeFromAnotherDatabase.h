#pragma once

#include <atomic>

// Set while people are copied in from another database (compare and merge), cleared afterwards. While it is set a
// new citation describes the copied attributes and opens no citation sheet, and a new picture cites the context's
// active source. Atomic because GEDCOM workers read the model's flags while the main thread sets them.
extern std::atomic<bool> gMergeFromAnotherDatabase;
