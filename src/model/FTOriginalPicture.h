#pragma once

#include "model/FTManagedObject.h"

class FTPicture;

class FTOriginalPicture : public FTManagedObject {
public:
    static constexpr const char* kEntityName = "OriginalPicture";

    QByteArray data() const;
    void setData(const QByteArray& value);

    FTPicture* picture() const;
    void setPicture(FTPicture* value);
};
