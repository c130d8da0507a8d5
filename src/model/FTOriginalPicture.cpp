#include "model/FTOriginalPicture.h"

#include "model/FTPicture.h"

namespace {
const Key kData("data");
const Key kPicture("picture");
}

QByteArray FTOriginalPicture::data() const
{
    return ManagedObject::dataValue(kData);
}
void FTOriginalPicture::setData(const QByteArray& value)
{
    ManagedObject::setData(kData, value);
}

FTPicture* FTOriginalPicture::picture() const
{
    return ManagedObject::object<FTPicture>(kPicture);
}
void FTOriginalPicture::setPicture(FTPicture* value)
{
    ManagedObject::setObject(kPicture, value);
}
