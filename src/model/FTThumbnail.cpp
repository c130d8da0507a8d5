#include "model/FTThumbnail.h"

#include "model/FTMoc.h"
#include "model/FTPicture.h"

#include "platform/Localizer.h"
#include "model/FTMocUndoManager.h"

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

FTThumbnail* FTThumbnail::initInMoc(FTMoc* moc)
{
    auto* record = moc->insertObject<FTThumbnail>();
    UndoManager* um = moc->undoManager();
    if (um && um->isUndoRegistrationEnabled() && um->actionName().isEmpty())
        nameNewObjectAction(moc, LocalizedString(QStringLiteral("AddThumbnail")));
    return record;
}
