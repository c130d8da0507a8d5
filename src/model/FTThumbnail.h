#pragma once

#include "model/FTManagedObject.h"

class FTPicture;

class FTThumbnail : public FTManagedObject {
public:
    static constexpr const char* kEntityName = "Thumbnail";

    QByteArray data() const;
    void setData(const QByteArray& value);

    FTPicture* picture() const;
    void setPicture(FTPicture* value);
};
