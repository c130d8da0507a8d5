#include "model/FTMoc.h"

#include "model/FTMocState.h"

void FTMoc::resetPlaces()
{
    s->places.reset();
}
