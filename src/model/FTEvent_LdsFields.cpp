#include "model/FTEvent.h"

#include "platform/Localizer.h"

#include <QCborMap>

// The status and temple code of an LDS ordinance, kept in the event's extraData map.

namespace {
const QString kLdsStatus = QStringLiteral("ldsStatus");
const QString kLdsTempleCode = QStringLiteral("ldsTempleCode");
}

QString FTEvent::ldsStatus() const
{
    return extraDataMap().value(kLdsStatus).toString();
}

void FTEvent::setLdsStatus(const QString& value)
{
    setExtraDataValue(kLdsStatus, value.isNull() ? QStringLiteral("") : value);
}

QString FTEvent::ldsTempleCode() const
{
    return extraDataMap().value(kLdsTempleCode).toString();
}

void FTEvent::setLdsTempleCode(const QString& value)
{
    setExtraDataValue(kLdsTempleCode, value.isNull() ? QStringLiteral("") : value);
}

QString FTEvent::ldsStatusAndTempleCode() const
{
    QString text;
    const QString status = ldsStatus();
    const QString temple = ldsTempleCode();
    if (!status.isEmpty())
        text += QStringLiteral("%1 = %2").arg(LocalizedString(QStringLiteral("LDSStatus")), status);
    if (!temple.isEmpty()) {
        text += text.isEmpty() ? LocalizedString(QStringLiteral("LDS")) + QLatin1Char(' ') : QStringLiteral(", ");
        text += QStringLiteral("%1 = %2").arg(LocalizedString(QStringLiteral("Temple")), temple);
    }
    return text;
}
