#pragma once

#include <atomic>

// Process-wide switches that an operation sets around its work and the model reads.

// Set while people are copied in from another database (compare and merge): a new citation describes the copied
// attributes and opens no citation sheet, and a new picture cites the context's active source. Atomic because
// GEDCOM workers read the model's flags while the main thread sets them.
extern std::atomic<bool> gMergeFromAnotherDatabase;

// A report lists Hebrew dates: FTEvent::date() answers the Hebrew form of the date while it is set.
extern bool gHebrewDates;
