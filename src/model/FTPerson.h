#pragma once

#include "model/FTManagedObject.h"

class FTAssociation;
class FTEvent;
class FTModelDefaults;
class FTPcRel;
class FTPicture;
class FTProjectView;
class FTSourceRel;
class FTSpouseRel;
class FTStory;

class FTPerson : public FTManagedObject {
public:
    static constexpr const char* kEntityName = "Person";

    QString name() const;
    void setName(const QString& value);
    QString familyName() const;
    void setFamilyName(const QString& value);
    QString givenNames() const;
    void setGivenNames(const QString& value);
    QString gender() const;
    void setGender(const QString& value);
    QString title() const;
    void setTitle(const QString& value);
    QString notes() const;
    void setNotes(const QString& value);
    QString comments() const;
    void setComments(const QString& value);
    QString causeOfDeath() const;
    void setCauseOfDeath(const QString& value);
    QString userId() const;
    void setUserId(const QString& value);
    QString namePrefix() const;
    void setNamePrefix(const QString& value);
    QString nameSuffix() const;
    void setNameSuffix(const QString& value);
    QString nickName() const;
    void setNickName(const QString& value);
    int numericId() const;
    void setNumericId(int value);
    QByteArray extraData() const;
    void setExtraData(const QByteArray& value);
    QDateTime lastChange() const;
    void setLastChange(const QDateTime& value);

    FTEvent* birth() const;
    void setBirth(FTEvent* value);
    FTEvent* death() const;
    void setDeath(FTEvent* value);
    QList<FTEvent*> otherEvents() const;
    void addOtherEventsObject(FTEvent* value);
    void removeOtherEventsObject(FTEvent* value);
    QList<FTSpouseRel*> spouseRels() const;
    void addSpouseRelsObject(FTSpouseRel* value);
    void removeSpouseRelsObject(FTSpouseRel* value);
    QList<FTPcRel*> parents() const;
    void addParentsObject(FTPcRel* value);
    void removeParentsObject(FTPcRel* value);
    QList<FTPcRel*> children() const;
    void addChildrenObject(FTPcRel* value);
    void removeChildrenObject(FTPcRel* value);
    QList<FTPicture*> pictures() const;
    void addPicturesObject(FTPicture* value);
    void removePicturesObject(FTPicture* value);
    FTPicture* defaultPicture() const;
    void setDefaultPicture(FTPicture* value);
    FTStory* story() const;
    void setStory(FTStory* value);
    QList<FTSourceRel*> sourceRels() const;
    void addSourceRelsObject(FTSourceRel* value);
    void removeSourceRelsObject(FTSourceRel* value);
    QList<FTAssociation*> associationsTo() const;
    void addAssociationsToObject(FTAssociation* value);
    void removeAssociationsToObject(FTAssociation* value);
    QList<FTAssociation*> associationsFrom() const;
    void addAssociationsFromObject(FTAssociation* value);
    void removeAssociationsFromObject(FTAssociation* value);
    FTProjectView* ancestralView() const;
    void setAncestralView(FTProjectView* value);
    QList<FTProjectView*> projectViews() const;
    void addProjectViewsObject(FTProjectView* value);
    void removeProjectViewsObject(FTProjectView* value);
    FTModelDefaults* modelDefaultFocalPerson() const;
    void setModelDefaultFocalPerson(FTModelDefaults* value);
    FTModelDefaults* modelDefaultSelectedPerson() const;
    void setModelDefaultSelectedPerson(FTModelDefaults* value);
};
