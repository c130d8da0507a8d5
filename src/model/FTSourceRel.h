#pragma once

#include "model/FTManagedObject.h"

class FTEvent;
class FTPerson;
class FTPicture;
class FTSource;

class FTSourceRel : public FTManagedObject {
public:
    static constexpr const char* kEntityName = "SourceRel";

    QString reference() const;
    void setReference(const QString& value);
    QString itemDescribed() const;
    void setItemDescribed(const QString& value);
    QString notes() const;
    void setNotes(const QString& value);
    int certainty() const;
    void setCertainty(int value);
    QByteArray extraData() const;
    void setExtraData(const QByteArray& value);
    QDateTime lastChange() const;
    void setLastChange(const QDateTime& value);

    FTSource* source() const;
    void setSource(FTSource* value);
    FTPerson* person() const;
    void setPerson(FTPerson* value);
    FTEvent* event() const;
    void setEvent(FTEvent* value);
    FTPicture* picture() const;
    void setPicture(FTPicture* value);
};
