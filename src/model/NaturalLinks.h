#pragma once

#include <QList>

class FTPerson;

// The walks up natural parent-child links shared by blood relationships and ancestral views. They read each
// person's links directly (no sorting, no repairs), which keeps a walk over a whole generation cheap.
namespace NaturalLinks {
// Appends the parents of `person` along links of type natural (1), fathers first; parents that can no longer be
// read are skipped.
void appendNaturalParents(const FTPerson* person, QList<FTPerson*>& out);
}
