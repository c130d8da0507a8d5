#include "model/FTPicture.h"

#include "model/FTOriginalPicture.h"
#include "model/FTPerson.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"
#include "model/FTThumbnail.h"

namespace {
const Key kFilename("filename");
const Key kOriginalFilename("originalFilename");
const Key kName("name");
const Key kDate("date");
const Key kNotes("notes");
const Key kSeqNo("seqNo");
const Key kRotation("rotation");
const Key kRclCut("rclCut");
const Key kTranscriptionData("transcriptionData");
const Key kNumericId("numericId");
const Key kExtraData("extraData");
const Key kThumbNailImageData("thumbNailImageData");
const Key kLastChange("lastChange");
const Key kOwner("owner");
const Key kSource("source");
const Key kDefaultPictureOwner("defaultPictureOwner");
const Key kOriginalPicture("originalPicture");
const Key kThumbnail("thumbnail");
const Key kSourceRels("sourceRels");
}

QString FTPicture::filename() const
{
    return ManagedObject::stringValue(kFilename);
}
void FTPicture::setFilename(const QString& value)
{
    ManagedObject::setString(kFilename, value);
}
QString FTPicture::originalFilename() const
{
    return ManagedObject::stringValue(kOriginalFilename);
}
void FTPicture::setOriginalFilename(const QString& value)
{
    ManagedObject::setString(kOriginalFilename, value);
}
QString FTPicture::name() const
{
    return ManagedObject::stringValue(kName);
}
void FTPicture::setName(const QString& value)
{
    ManagedObject::setString(kName, value);
}
QString FTPicture::date() const
{
    return ManagedObject::stringValue(kDate);
}
void FTPicture::setDate(const QString& value)
{
    ManagedObject::setString(kDate, value);
}
QString FTPicture::notes() const
{
    return ManagedObject::stringValue(kNotes);
}
void FTPicture::setNotes(const QString& value)
{
    ManagedObject::setString(kNotes, value);
}
int FTPicture::seqNo() const
{
    return int(ManagedObject::integerValue(kSeqNo));
}
void FTPicture::setSeqNo(int value)
{
    ManagedObject::setInteger(kSeqNo, value);
}
int FTPicture::rotation() const
{
    return int(ManagedObject::integerValue(kRotation));
}
void FTPicture::setRotation(int value)
{
    ManagedObject::setInteger(kRotation, value);
}
QString FTPicture::rclCut() const
{
    return ManagedObject::stringValue(kRclCut);
}
void FTPicture::setRclCut(const QString& value)
{
    ManagedObject::setString(kRclCut, value);
}
QByteArray FTPicture::transcriptionData() const
{
    return ManagedObject::dataValue(kTranscriptionData);
}
void FTPicture::setTranscriptionData(const QByteArray& value)
{
    ManagedObject::setData(kTranscriptionData, value);
}
int FTPicture::numericId() const
{
    return int(ManagedObject::integerValue(kNumericId));
}
void FTPicture::setNumericId(int value)
{
    ManagedObject::setInteger(kNumericId, value);
}
QByteArray FTPicture::extraData() const
{
    return ManagedObject::dataValue(kExtraData);
}
void FTPicture::setExtraData(const QByteArray& value)
{
    ManagedObject::setData(kExtraData, value);
}
QByteArray FTPicture::thumbNailImageData() const
{
    return ManagedObject::dataValue(kThumbNailImageData);
}
void FTPicture::setThumbNailImageData(const QByteArray& value)
{
    ManagedObject::setData(kThumbNailImageData, value);
}
QDateTime FTPicture::lastChange() const
{
    return ManagedObject::dateValue(kLastChange);
}
void FTPicture::setLastChange(const QDateTime& value)
{
    ManagedObject::setDate(kLastChange, value);
}

FTPerson* FTPicture::owner() const
{
    return ManagedObject::object<FTPerson>(kOwner);
}
void FTPicture::setOwner(FTPerson* value)
{
    ManagedObject::setObject(kOwner, value);
}
FTSource* FTPicture::source() const
{
    return ManagedObject::object<FTSource>(kSource);
}
void FTPicture::setSource(FTSource* value)
{
    ManagedObject::setObject(kSource, value);
}
FTPerson* FTPicture::defaultPictureOwner() const
{
    return ManagedObject::object<FTPerson>(kDefaultPictureOwner);
}
void FTPicture::setDefaultPictureOwner(FTPerson* value)
{
    ManagedObject::setObject(kDefaultPictureOwner, value);
}
FTOriginalPicture* FTPicture::originalPicture() const
{
    return ManagedObject::object<FTOriginalPicture>(kOriginalPicture);
}
void FTPicture::setOriginalPicture(FTOriginalPicture* value)
{
    ManagedObject::setObject(kOriginalPicture, value);
}
FTThumbnail* FTPicture::thumbnail() const
{
    return ManagedObject::object<FTThumbnail>(kThumbnail);
}
void FTPicture::setThumbnail(FTThumbnail* value)
{
    ManagedObject::setObject(kThumbnail, value);
}
QList<FTSourceRel*> FTPicture::sourceRels() const
{
    return ManagedObject::objectList<FTSourceRel>(kSourceRels);
}
void FTPicture::addSourceRelsObject(FTSourceRel* value)
{
    ManagedObject::addObject(kSourceRels, value);
}
void FTPicture::removeSourceRelsObject(FTSourceRel* value)
{
    ManagedObject::removeObject(kSourceRels, value);
}
