#pragma once

// Process-wide switches that an operation sets around its work and the model reads (main thread only).

// People are being copied from another database: new citations describe the copied attributes and open no sheet.
extern bool gMergeFromAnotherDatabase;

// A report lists Hebrew dates: FTEvent::date() answers the Hebrew form of the date while it is set.
extern bool gHebrewDates;
