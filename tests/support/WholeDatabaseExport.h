#pragma once

#include "gedcom/GedcomExportOptions.h"

// Export options that write the whole database as it is: living and recently dead people in full, custom tags on.
inline GedcomExportOptions wholeDatabaseExportOptions()
{
    GedcomExportOptions o;
    o.includeLivingPeople = true;
    o.depersonalizeLivingPeople = false;
    o.includeRecentlyDead = true;
    o.depersonalizeRecentlyDead = false;
    o.includeCustomTags = true;
    return o;
}
