#pragma once

#include <QString>

class ObjectContext;

// Family databases made up for benchmarks and tests: people in family shapes (couples with a marriage, zero to
// seven natural children each, children marrying into new couples generation after generation, some second
// marriages), about 2.5 events a person (birth, most deaths of the older generations, baptisms, burials,
// occupations, residences, marriages), event types, a few sources with citations, and the ModelDefaults record
// with its counters and a focal person. The same people and seed always give the same database.
namespace SyntheticDatabase {
struct Counts {
    int people = 0;
    int events = 0;
    int couples = 0;
    int parentChildLinks = 0;
    int sources = 0;
    int citations = 0;
};

// Fills an open context (meant to be empty) without recording undo; does not save.
Counts build(ObjectContext& ctx, int people, quint32 seed = 1);
// Creates a new store file at `path` (which must not exist), fills it and saves it.
bool create(const QString& path, int people, QString* error = nullptr, Counts* counts = nullptr, quint32 seed = 1);
}
