#include "model/ModelFlags.h"

bool gMergeFromAnotherDatabase = false;
bool gHebrewDates = false;
