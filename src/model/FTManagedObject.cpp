#include "model/FTManagedObject.h"

#include "platform/store/EntityDescription.h"

void FTManagedObject::awakeFromFetch()
{
    m_objId = 0;
    m_flagBits = 0;
    m_bDateNeedsToBeChanged = false;
}

bool FTManagedObject::hasProperty(const Key& key) const { return entity()->property(key) != nullptr; }
