#include "tools/Place.h"

#include <QStringList>

#include <algorithm>

Place::Place(const QString& name, float latitude, float longitude)
    : name(name)
    , invertedName(invert(name))
    , latitude(latitude)
    , longitude(longitude)
{
}

QString Place::invert(const QString& name)
{
    QStringList parts = name.split(QLatin1Char(','));
    for (QString& part : parts)
        part = part.trimmed();
    std::reverse(parts.begin(), parts.end());
    return parts.join(QStringLiteral(", "));
}

QString Place::positionText() const
{
    // As a single-precision number prints: 51.507 stays 51.507, not 51.50699996948242.
    auto number = [](float value) { return QString::number(double(value), 'g', 7); };
    return QStringLiteral("(%1%2N, %3%4E) ").arg(number(latitude), QChar(176), number(longitude), QChar(176));
}
