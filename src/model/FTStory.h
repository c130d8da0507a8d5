#pragma once

#include "model/FTManagedObject.h"

class FTPerson;

class FTStory : public FTManagedObject {
public:
    static constexpr const char* kEntityName = "Story";

    QByteArray data() const;
    void setData(const QByteArray& value);
    QDateTime lastChange() const;
    void setLastChange(const QDateTime& value);

    FTPerson* person() const;
    void setPerson(FTPerson* value);
};
