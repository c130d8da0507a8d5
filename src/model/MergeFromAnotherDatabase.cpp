#include "model/MergeFromAnotherDatabase.h"

std::atomic<bool> gMergeFromAnotherDatabase { false };
