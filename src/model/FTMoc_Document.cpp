#include "model/FTMoc.h"

#include "model/FTMocState.h"

void FTMoc::resetPlaces()
{
    s->places.reset();
}

void FTMoc::rebuildPlaces()
{
    s->places.reset();
    s->placesFromEvents = true;
}

void FTMoc::resetEventNames()
{
    s->eventNamesDictionary.clear();
}
