#include "model/FTPerson.h"

#include "model/FTAssociation.h"
#include "model/FTEvent.h"
#include "model/FTModelDefaults.h"
#include "model/FTPcRel.h"
#include "model/FTPicture.h"
#include "model/FTProjectView.h"
#include "model/FTSourceRel.h"
#include "model/FTSpouseRel.h"
#include "model/FTStory.h"

namespace {
const Key kName("name");
const Key kFamilyName("familyName");
const Key kGivenNames("givenNames");
const Key kGender("gender");
const Key kTitle("title");
const Key kNotes("notes");
const Key kComments("comments");
const Key kCauseOfDeath("causeOfDeath");
const Key kUserId("userId");
const Key kNamePrefix("namePrefix");
const Key kNameSuffix("nameSuffix");
const Key kNickName("nickName");
const Key kNumericId("numericId");
const Key kExtraData("extraData");
const Key kLastChange("lastChange");
const Key kBirth("birth");
const Key kDeath("death");
const Key kOtherEvents("otherEvents");
const Key kSpouseRels("spouseRels");
const Key kParents("parents");
const Key kChildren("children");
const Key kPictures("pictures");
const Key kDefaultPicture("defaultPicture");
const Key kStory("story");
const Key kSourceRels("sourceRels");
const Key kAssociationsTo("associationsTo");
const Key kAssociationsFrom("associationsFrom");
const Key kAncestralView("ancestralView");
const Key kProjectViews("projectViews");
const Key kModelDefaultFocalPerson("modelDefaultFocalPerson");
const Key kModelDefaultSelectedPerson("modelDefaultSelectedPerson");
}

QString FTPerson::name() const
{
    return ManagedObject::stringValue(kName);
}
void FTPerson::setName(const QString& value)
{
    ManagedObject::setString(kName, value);
}
QString FTPerson::familyName() const
{
    return ManagedObject::stringValue(kFamilyName);
}
void FTPerson::setFamilyName(const QString& value)
{
    ManagedObject::setString(kFamilyName, value);
}
QString FTPerson::givenNames() const
{
    return ManagedObject::stringValue(kGivenNames);
}
void FTPerson::setGivenNames(const QString& value)
{
    ManagedObject::setString(kGivenNames, value);
}
QString FTPerson::gender() const
{
    return ManagedObject::stringValue(kGender);
}
void FTPerson::setGender(const QString& value)
{
    ManagedObject::setString(kGender, value);
}
QString FTPerson::title() const
{
    return ManagedObject::stringValue(kTitle);
}
void FTPerson::setTitle(const QString& value)
{
    ManagedObject::setString(kTitle, value);
}
QString FTPerson::notes() const
{
    return ManagedObject::stringValue(kNotes);
}
void FTPerson::setNotes(const QString& value)
{
    ManagedObject::setString(kNotes, value);
}
QString FTPerson::comments() const
{
    return ManagedObject::stringValue(kComments);
}
void FTPerson::setComments(const QString& value)
{
    ManagedObject::setString(kComments, value);
}
QString FTPerson::causeOfDeath() const
{
    return ManagedObject::stringValue(kCauseOfDeath);
}
void FTPerson::setCauseOfDeath(const QString& value)
{
    ManagedObject::setString(kCauseOfDeath, value);
}
QString FTPerson::userId() const
{
    return ManagedObject::stringValue(kUserId);
}
void FTPerson::setUserId(const QString& value)
{
    ManagedObject::setString(kUserId, value);
}
QString FTPerson::namePrefix() const
{
    return ManagedObject::stringValue(kNamePrefix);
}
void FTPerson::setNamePrefix(const QString& value)
{
    ManagedObject::setString(kNamePrefix, value);
}
QString FTPerson::nameSuffix() const
{
    return ManagedObject::stringValue(kNameSuffix);
}
void FTPerson::setNameSuffix(const QString& value)
{
    ManagedObject::setString(kNameSuffix, value);
}
QString FTPerson::nickName() const
{
    return ManagedObject::stringValue(kNickName);
}
void FTPerson::setNickName(const QString& value)
{
    ManagedObject::setString(kNickName, value);
}
int FTPerson::numericId() const
{
    return int(ManagedObject::integerValue(kNumericId));
}
void FTPerson::setNumericId(int value)
{
    ManagedObject::setInteger(kNumericId, value);
}
QByteArray FTPerson::extraData() const
{
    return ManagedObject::dataValue(kExtraData);
}
void FTPerson::setExtraData(const QByteArray& value)
{
    ManagedObject::setData(kExtraData, value);
}
QDateTime FTPerson::lastChange() const
{
    return ManagedObject::dateValue(kLastChange);
}
void FTPerson::setLastChange(const QDateTime& value)
{
    ManagedObject::setDate(kLastChange, value);
}

FTEvent* FTPerson::birth() const
{
    return ManagedObject::object<FTEvent>(kBirth);
}
void FTPerson::setBirth(FTEvent* value)
{
    ManagedObject::setObject(kBirth, value);
}
FTEvent* FTPerson::death() const
{
    return ManagedObject::object<FTEvent>(kDeath);
}
void FTPerson::setDeath(FTEvent* value)
{
    ManagedObject::setObject(kDeath, value);
}
QList<FTEvent*> FTPerson::otherEvents() const
{
    return ManagedObject::objectList<FTEvent>(kOtherEvents);
}
void FTPerson::addOtherEventsObject(FTEvent* value)
{
    ManagedObject::addObject(kOtherEvents, value);
}
void FTPerson::removeOtherEventsObject(FTEvent* value)
{
    ManagedObject::removeObject(kOtherEvents, value);
}
QList<FTSpouseRel*> FTPerson::spouseRels() const
{
    return ManagedObject::objectList<FTSpouseRel>(kSpouseRels);
}
void FTPerson::addSpouseRelsObject(FTSpouseRel* value)
{
    ManagedObject::addObject(kSpouseRels, value);
}
void FTPerson::removeSpouseRelsObject(FTSpouseRel* value)
{
    ManagedObject::removeObject(kSpouseRels, value);
}
QList<FTPcRel*> FTPerson::parents() const
{
    return ManagedObject::objectList<FTPcRel>(kParents);
}
void FTPerson::addParentsObject(FTPcRel* value)
{
    ManagedObject::addObject(kParents, value);
}
void FTPerson::removeParentsObject(FTPcRel* value)
{
    ManagedObject::removeObject(kParents, value);
}
QList<FTPcRel*> FTPerson::children() const
{
    return ManagedObject::objectList<FTPcRel>(kChildren);
}
void FTPerson::addChildrenObject(FTPcRel* value)
{
    ManagedObject::addObject(kChildren, value);
}
void FTPerson::removeChildrenObject(FTPcRel* value)
{
    ManagedObject::removeObject(kChildren, value);
}
QList<FTPicture*> FTPerson::pictures() const
{
    return ManagedObject::objectList<FTPicture>(kPictures);
}
void FTPerson::addPicturesObject(FTPicture* value)
{
    ManagedObject::addObject(kPictures, value);
}
void FTPerson::removePicturesObject(FTPicture* value)
{
    ManagedObject::removeObject(kPictures, value);
}
FTPicture* FTPerson::defaultPicture() const
{
    return ManagedObject::object<FTPicture>(kDefaultPicture);
}
void FTPerson::setDefaultPicture(FTPicture* value)
{
    ManagedObject::setObject(kDefaultPicture, value);
}
FTStory* FTPerson::story() const
{
    return ManagedObject::object<FTStory>(kStory);
}
void FTPerson::setStory(FTStory* value)
{
    ManagedObject::setObject(kStory, value);
}
QList<FTSourceRel*> FTPerson::sourceRels() const
{
    return ManagedObject::objectList<FTSourceRel>(kSourceRels);
}
void FTPerson::addSourceRelsObject(FTSourceRel* value)
{
    ManagedObject::addObject(kSourceRels, value);
}
void FTPerson::removeSourceRelsObject(FTSourceRel* value)
{
    ManagedObject::removeObject(kSourceRels, value);
}
QList<FTAssociation*> FTPerson::associationsTo() const
{
    return ManagedObject::objectList<FTAssociation>(kAssociationsTo);
}
void FTPerson::addAssociationsToObject(FTAssociation* value)
{
    ManagedObject::addObject(kAssociationsTo, value);
}
void FTPerson::removeAssociationsToObject(FTAssociation* value)
{
    ManagedObject::removeObject(kAssociationsTo, value);
}
QList<FTAssociation*> FTPerson::associationsFrom() const
{
    return ManagedObject::objectList<FTAssociation>(kAssociationsFrom);
}
void FTPerson::addAssociationsFromObject(FTAssociation* value)
{
    ManagedObject::addObject(kAssociationsFrom, value);
}
void FTPerson::removeAssociationsFromObject(FTAssociation* value)
{
    ManagedObject::removeObject(kAssociationsFrom, value);
}
FTProjectView* FTPerson::ancestralView() const
{
    return ManagedObject::object<FTProjectView>(kAncestralView);
}
void FTPerson::setAncestralView(FTProjectView* value)
{
    ManagedObject::setObject(kAncestralView, value);
}
QList<FTProjectView*> FTPerson::projectViews() const
{
    return ManagedObject::objectList<FTProjectView>(kProjectViews);
}
void FTPerson::addProjectViewsObject(FTProjectView* value)
{
    ManagedObject::addObject(kProjectViews, value);
}
void FTPerson::removeProjectViewsObject(FTProjectView* value)
{
    ManagedObject::removeObject(kProjectViews, value);
}
FTModelDefaults* FTPerson::modelDefaultFocalPerson() const
{
    return ManagedObject::object<FTModelDefaults>(kModelDefaultFocalPerson);
}
void FTPerson::setModelDefaultFocalPerson(FTModelDefaults* value)
{
    ManagedObject::setObject(kModelDefaultFocalPerson, value);
}
FTModelDefaults* FTPerson::modelDefaultSelectedPerson() const
{
    return ManagedObject::object<FTModelDefaults>(kModelDefaultSelectedPerson);
}
void FTPerson::setModelDefaultSelectedPerson(FTModelDefaults* value)
{
    ManagedObject::setObject(kModelDefaultSelectedPerson, value);
}
