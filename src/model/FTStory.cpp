#include "model/FTStory.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"

#include "platform/Localizer.h"

#include <QTextDocumentFragment>

namespace {
const Key kData("data");
const Key kLastChange("lastChange");
const Key kPerson("person");
}

FTStory* FTStory::initInMoc(FTMoc* moc)
{
    auto* story = moc->insertObject<FTStory>();
    nameNewObjectAction(moc, LocalizedString("CreateStory"));
    return story;
}

QString FTStory::attributedString() const
{
    const QByteArray bytes = data();
    return bytes.isEmpty() ? QString() : QString::fromUtf8(bytes);
}

void FTStory::setAttributedString(const QString& html)
{
    const QString plain = html.isNull() ? QString() : QTextDocumentFragment::fromHtml(html).toPlainText();
    if (plain.trimmed().isEmpty()) {
        context()->deleteObject(this);
        return;
    }
    setData(html.toUtf8());
}

QByteArray FTStory::data() const
{
    return ManagedObject::dataValue(kData);
}
void FTStory::setData(const QByteArray& value)
{
    ManagedObject::setData(kData, value);
}
QDateTime FTStory::lastChange() const
{
    return ManagedObject::dateValue(kLastChange);
}
void FTStory::setLastChange(const QDateTime& value)
{
    ManagedObject::setDate(kLastChange, value);
}

FTPerson* FTStory::person() const
{
    return ManagedObject::object<FTPerson>(kPerson);
}
void FTStory::setPerson(FTPerson* value)
{
    ManagedObject::setObject(kPerson, value);
}
