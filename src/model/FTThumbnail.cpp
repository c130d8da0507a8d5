#include "model/FTThumbnail.h"

#include "model/FTPicture.h"

namespace {
const Key kData("data");
const Key kPicture("picture");
}

QByteArray FTThumbnail::data() const
{
    return ManagedObject::dataValue(kData);
}
void FTThumbnail::setData(const QByteArray& value)
{
    ManagedObject::setData(kData, value);
}

FTPicture* FTThumbnail::picture() const
{
    return ManagedObject::object<FTPicture>(kPicture);
}
void FTThumbnail::setPicture(FTPicture* value)
{
    ManagedObject::setObject(kPicture, value);
}
