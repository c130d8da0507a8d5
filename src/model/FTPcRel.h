#pragma once

#include "model/FTManagedObject.h"

class FTPerson;

class FTPcRel : public FTManagedObject {
public:
    static constexpr const char* kEntityName = "PcRel";

    int pcRelType() const;
    void setPcRelType(int value);
    QByteArray extraData() const;
    void setExtraData(const QByteArray& value);
    QDateTime lastChange() const;
    void setLastChange(const QDateTime& value);

    FTPerson* parent() const;
    void setParent(FTPerson* value);
    FTPerson* child() const;
    void setChild(FTPerson* value);
};
