#include "model/FTMoc.h"

#include "model/FTEventType.h"

FTEventType* FTMoc::eventTypeForEventTypeName(const QString& name) const
{
    return fetchFirst<FTEventType>([&](const FTEventType* t) { return t->name() == name; });
}

FTEventType* FTMoc::eventTypeForEventGedcomCode(const QString& gedcomCode) const
{
    return fetchFirst<FTEventType>([&](const FTEventType* t) { return t->gedcomCode() == gedcomCode; });
}
