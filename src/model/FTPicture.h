#pragma once

#include "model/FTManagedObject.h"

class FTOriginalPicture;
class FTPerson;
class FTSource;
class FTSourceRel;
class FTThumbnail;

class FTPicture : public FTManagedObject {
public:
    static constexpr const char* kEntityName = "Picture";

    QString filename() const;
    void setFilename(const QString& value);
    QString originalFilename() const;
    void setOriginalFilename(const QString& value);
    QString name() const;
    void setName(const QString& value);
    QString date() const;
    void setDate(const QString& value);
    QString notes() const;
    void setNotes(const QString& value);
    int seqNo() const;
    void setSeqNo(int value);
    int rotation() const;
    void setRotation(int value);
    QString rclCut() const;
    void setRclCut(const QString& value);
    QByteArray transcriptionData() const;
    void setTranscriptionData(const QByteArray& value);
    int numericId() const;
    void setNumericId(int value);
    QByteArray extraData() const;
    void setExtraData(const QByteArray& value);
    QByteArray thumbNailImageData() const;
    void setThumbNailImageData(const QByteArray& value);
    QDateTime lastChange() const;
    void setLastChange(const QDateTime& value);

    FTPerson* owner() const;
    void setOwner(FTPerson* value);
    FTSource* source() const;
    void setSource(FTSource* value);
    FTPerson* defaultPictureOwner() const;
    void setDefaultPictureOwner(FTPerson* value);
    FTOriginalPicture* originalPicture() const;
    void setOriginalPicture(FTOriginalPicture* value);
    FTThumbnail* thumbnail() const;
    void setThumbnail(FTThumbnail* value);
    QList<FTSourceRel*> sourceRels() const;
    void addSourceRelsObject(FTSourceRel* value);
    void removeSourceRelsObject(FTSourceRel* value);
};
