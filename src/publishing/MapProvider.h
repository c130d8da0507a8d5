#pragma once

#include <QString>
#include <QUrl>

#include <memory>

// Where the map window's pages come from: the address that looks a place up, the map shown when there is nothing
// to look up, and the address kept with an event for the view the user settled on. What the event keeps must
// carry the position as "ll=<latitude>,<longitude>" (FTEvent::saveGoogleMapUrl reads it from there).
class MapProvider {
public:
    virtual ~MapProvider() = default;

    // The page that looks up `place`, a text already percent-encoded for a query (MapLookup::placeQuery).
    virtual QUrl queryUrl(const QString& encodedPlace) const = 0;
    // The map shown without a place.
    virtual QUrl defaultUrl() const = 0;
    // The address to keep for the page now shown at `pageUrl`; empty when that page shows no position.
    virtual QString savedAddress(const QUrl& pageUrl) const = 0;

    // The provider the map window uses; tests point it at a page of their own.
    static const MapProvider& current();
    static void setCurrent(std::shared_ptr<const MapProvider> provider);
};

// OpenStreetMap's own web site: "/search?query=..." looks a place up, and the page keeps the view it shows in its
// address as "#map=<zoom>/<latitude>/<longitude>", updated as the user moves the map. The kept address opens the
// same view again: "<site>/?ll=<lat>,<lon>&zoom=<zoom>#map=<zoom>/<lat>/<lon>".
class OpenStreetMap : public MapProvider {
public:
    explicit OpenStreetMap(const QUrl& site = QUrl(QStringLiteral("https://www.openstreetmap.org")));

    QUrl queryUrl(const QString& encodedPlace) const override;
    // Australia, as a whole.
    QUrl defaultUrl() const override;
    QString savedAddress(const QUrl& pageUrl) const override;

private:
    QString m_site; // without a trailing "/"
};
