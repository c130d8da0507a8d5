#include "model/ModelFlags.h"

std::atomic<bool> gMergeFromAnotherDatabase { false };
bool gHebrewDates = false;
