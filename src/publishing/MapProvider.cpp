#include "publishing/MapProvider.h"

#include <QStringList>

namespace {
std::shared_ptr<const MapProvider>& installed()
{
    static std::shared_ptr<const MapProvider> provider = std::make_shared<OpenStreetMap>();
    return provider;
}
}

const MapProvider& MapProvider::current()
{
    return *installed();
}

void MapProvider::setCurrent(std::shared_ptr<const MapProvider> provider)
{
    installed() = provider ? std::move(provider) : std::make_shared<OpenStreetMap>();
}

OpenStreetMap::OpenStreetMap(const QUrl& site)
    : m_site(site.toString(QUrl::StripTrailingSlash | QUrl::RemoveQuery | QUrl::RemoveFragment))
{
}

QUrl OpenStreetMap::queryUrl(const QString& encodedPlace) const
{
    return QUrl::fromEncoded((m_site + QStringLiteral("/search?query=") + encodedPlace).toLatin1(), QUrl::StrictMode);
}

QUrl OpenStreetMap::defaultUrl() const
{
    return QUrl(m_site + QStringLiteral("/#map=4/-26.000/134.000"));
}

QString OpenStreetMap::savedAddress(const QUrl& pageUrl) const
{
    // "map=12/53.8008/-1.5491", possibly among other parts of the fragment ("layers=C&map=...").
    for (const QString& part : pageUrl.fragment(QUrl::FullyDecoded).split(QLatin1Char('&'))) {
        if (!part.startsWith(QLatin1String("map=")))
            continue;
        const QStringList view = part.mid(4).split(QLatin1Char('/'));
        if (view.size() != 3)
            return {};
        bool zoomOk = false, latOk = false, lonOk = false;
        const int zoom = view[0].toInt(&zoomOk);
        const double lat = view[1].toDouble(&latOk);
        const double lon = view[2].toDouble(&lonOk);
        if (!zoomOk || !latOk || !lonOk || lat < -90 || lat > 90 || lon < -180 || lon > 180 || zoom < 0)
            return {};
        // The numbers as the page wrote them, so the kept view is exactly the one shown.
        return QStringLiteral("%1/?ll=%2,%3&zoom=%4#map=%4/%2/%3")
            .arg(m_site, view[1].trimmed(), view[2].trimmed(), view[0].trimmed());
    }
    return {};
}
