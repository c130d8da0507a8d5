#pragma once

#include "model/FTManagedObject.h"

class FTPicture;
class FTSourceRel;

class FTSource : public FTManagedObject {
public:
    static constexpr const char* kEntityName = "Source";

    int numericId() const;
    void setNumericId(int value);
    QString type() const;
    void setType(const QString& value);
    QString title() const;
    void setTitle(const QString& value);
    QString abbreviatedTitle() const;
    void setAbbreviatedTitle(const QString& value);
    QString author() const;
    void setAuthor(const QString& value);
    QString publisher() const;
    void setPublisher(const QString& value);
    QString date() const;
    void setDate(const QString& value);
    QString location() const;
    void setLocation(const QString& value);
    QString notes() const;
    void setNotes(const QString& value);
    QString userId() const;
    void setUserId(const QString& value);
    int flags() const;
    void setFlags(int value);
    QDateTime lastChange() const;
    void setLastChange(const QDateTime& value);

    QList<FTSourceRel*> sourceRels() const;
    void addSourceRelsObject(FTSourceRel* value);
    void removeSourceRelsObject(FTSourceRel* value);
    FTPicture* picture() const;
    void setPicture(FTPicture* value);
};
