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

    // A new, empty record; names the open undo action "Add Thumbnail" when it has no name yet and undo
    // registration is on.
    static FTThumbnail* initInMoc(FTMoc* moc);
};
