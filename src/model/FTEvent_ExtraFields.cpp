#include "model/FTEvent.h"

#include <QCborMap>
#include <QUrl>

#include <cmath>

// Map coordinates, the map link and the GEDCOM date text, kept in the event's extraData map. Each write rewrites
// the whole map through an ordinary change of "extraData", so it is stamped and undone like any attribute.

namespace {
const QString kLatitude = QStringLiteral("latitude");
const QString kLongitude = QStringLiteral("longitude");
const QString kGoogleMapUrl = QStringLiteral("googleMapUrl");
const QString kGedcomDate = QStringLiteral("gedcomDate");

// The parameters of a map link: the parts between "&", the first one taken after the "?" of the address.
QStringList linkParameters(const QString& link)
{
    QStringList parts = link.split(QLatin1Char('&'));
    if (!parts.isEmpty()) {
        const qsizetype question = parts.first().indexOf(QLatin1Char('?'));
        if (question >= 0 && !parts.first().startsWith(QLatin1String("ll=")) && !parts.first().startsWith(QLatin1String("q=")))
            parts.first() = parts.first().mid(question + 1);
    }
    return parts;
}

float roundedToTenths(float v)
{
    return float(std::round(double(v) * 10.0) / 10.0);
}
}

float FTEvent::latitude() const
{
    return float(extraDataMap().value(kLatitude).toDouble(0.0));
}

void FTEvent::setLatitude(float value)
{
    setExtraDataValue(kLatitude, double(value));
}

float FTEvent::longitude() const
{
    return float(extraDataMap().value(kLongitude).toDouble(0.0));
}

void FTEvent::setLongitude(float value)
{
    setExtraDataValue(kLongitude, double(value));
}

QUrl FTEvent::googleMapUrl() const
{
    const QCborValue v = extraDataMap().value(kGoogleMapUrl);
    return v.isString() ? QUrl(v.toString()) : QUrl();
}

void FTEvent::saveGoogleMapUrl(const QString& url)
{
    const QString link = url.trimmed();
    setExtraDataValue(kGoogleMapUrl, link.isEmpty() ? QVariant() : QVariant(link));
    float lat = 0.0f, lon = 0.0f;
    if (!link.isEmpty()) {
        for (const QString& part : linkParameters(link)) {
            if (!part.startsWith(QLatin1String("ll=")))
                continue;
            const QStringList pieces = part.mid(3).split(QLatin1Char(','));
            if (pieces.size() == 2) {
                lat = pieces[0].trimmed().toFloat();
                lon = pieces[1].trimmed().toFloat();
            }
            break;
        }
    }
    setLatitude(lat);
    setLongitude(lon);
}

QString FTEvent::coordinates() const
{
    return QString::asprintf("%4.1fN, %4.1fE", double(roundedToTenths(latitude())), double(roundedToTenths(longitude())));
}

QString FTEvent::googleMapAddress() const
{
    const QCborValue v = extraDataMap().value(kGoogleMapUrl);
    if (!v.isString())
        return {};
    QStringList gathered;
    for (const QString& part : linkParameters(v.toString())) {
        if (part.startsWith(QLatin1String("ll="))) {
            QString ll = part.mid(3);
            gathered << ll.replace(QLatin1Char(','), QStringLiteral("N, ")) + QLatin1Char('E');
        } else if (part.startsWith(QLatin1String("q="))) {
            QString query = part.mid(2);
            query.replace(QLatin1Char('+'), QLatin1Char(' '));
            gathered << QUrl::fromPercentEncoding(query.toUtf8());
        }
    }
    return gathered.join(QStringLiteral(", "));
}

QString FTEvent::gedcomDate() const
{
    const QCborValue v = extraDataMap().value(kGedcomDate);
    return v.isString() ? v.toString() : QString();
}

void FTEvent::setGedcomDate(const QString& value)
{
    if (!value.isEmpty())
        setExtraDataValue(kGedcomDate, value);
}
