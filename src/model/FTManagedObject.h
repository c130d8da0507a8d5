#pragma once

#include "platform/store/ManagedObject.h"

// The base of every entity class of a family database. The scratch values are for graph walks, exports and
// merges: never stored, zero on every insert and load.
class FTManagedObject : public ManagedObject {
public:
    int objId() const { return m_objId; }
    void setObjId(int value) { m_objId = value; }
    quint32 flagBits() const { return m_flagBits; }
    void setFlagBits(quint32 value) { m_flagBits = value; }
    bool bDateNeedsToBeChanged() const { return m_bDateNeedsToBeChanged; }
    void setBDateNeedsToBeChanged(bool value) { m_bDateNeedsToBeChanged = value; }

protected:
    void awakeFromFetch() override;
    // A relationship that only some sub-entities have (an event owned by a couple has no `person`): nil elsewhere.
    template <class T> T* optionalObject(const Key& key) const
    {
        return hasProperty(key) ? object<T>(key) : nullptr;
    }

    bool hasProperty(const Key& key) const;

private:
    qint32 m_objId = 0;
    quint32 m_flagBits = 0;
    bool m_bDateNeedsToBeChanged = false;
};
