#include "model/FTProjectView.h"

#include "model/FTModelDefaults.h"
#include "model/FTPerson.h"

namespace {
const Key kName("name");
const Key kNotes("notes");
const Key kComments("comments");
const Key kLastChange("lastChange");
const Key kPersons("persons");
const Key kRootPersonInAncestralView("rootPersonInAncestralView");
const Key kModelDefaultCurrentView("modelDefaultCurrentView");
}

QString FTProjectView::name() const
{
    return ManagedObject::stringValue(kName);
}
void FTProjectView::setName(const QString& value)
{
    ManagedObject::setString(kName, value);
}
QString FTProjectView::notes() const
{
    return ManagedObject::stringValue(kNotes);
}
void FTProjectView::setNotes(const QString& value)
{
    ManagedObject::setString(kNotes, value);
}
QString FTProjectView::comments() const
{
    return ManagedObject::stringValue(kComments);
}
void FTProjectView::setComments(const QString& value)
{
    ManagedObject::setString(kComments, value);
}
QDateTime FTProjectView::lastChange() const
{
    return ManagedObject::dateValue(kLastChange);
}
void FTProjectView::setLastChange(const QDateTime& value)
{
    ManagedObject::setDate(kLastChange, value);
}

QList<FTPerson*> FTProjectView::persons() const
{
    return ManagedObject::objectList<FTPerson>(kPersons);
}
void FTProjectView::addPersonsObject(FTPerson* value)
{
    ManagedObject::addObject(kPersons, value);
}
void FTProjectView::removePersonsObject(FTPerson* value)
{
    ManagedObject::removeObject(kPersons, value);
}
FTPerson* FTProjectView::rootPersonInAncestralView() const
{
    return ManagedObject::object<FTPerson>(kRootPersonInAncestralView);
}
void FTProjectView::setRootPersonInAncestralView(FTPerson* value)
{
    ManagedObject::setObject(kRootPersonInAncestralView, value);
}
FTModelDefaults* FTProjectView::modelDefaultCurrentView() const
{
    return ManagedObject::object<FTModelDefaults>(kModelDefaultCurrentView);
}
void FTProjectView::setModelDefaultCurrentView(FTModelDefaults* value)
{
    ManagedObject::setObject(kModelDefaultCurrentView, value);
}
