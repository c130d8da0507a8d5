#include "model/FTOriginalPicture.h"

#include "model/FTMoc.h"
#include "model/FTPicture.h"

#include "platform/Localizer.h"
#include "model/FTMocUndoManager.h"

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

FTOriginalPicture* FTOriginalPicture::initInMoc(FTMoc* moc)
{
    auto* record = moc->insertObject<FTOriginalPicture>();
    UndoManager* um = moc->undoManager();
    if (um && um->isUndoRegistrationEnabled() && um->actionName().isEmpty())
        nameNewObjectAction(moc, LocalizedString(QStringLiteral("AddThumbnail")));
    return record;
}
