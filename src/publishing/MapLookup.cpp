#include "publishing/MapLookup.h"

#include "publishing/MapProvider.h"

#include "model/FTEvent.h"

#include "platform/Localizer.h"
#include "platform/UserDefaults.h"

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}
}

QString MapLookup::placeQuery(const QString& place)
{
    QString text = place;
    text.replace(QLatin1String("&"), QStringLiteral(" %1 ").arg(L("ConjunctiveAnd")));
    text.remove(QLatin1Char('"'));
    text.replace(QLatin1String(" Co."), QStringLiteral(" %1").arg(L("County")));
    text.replace(QLatin1String(" Co "), QStringLiteral(" %1 ").arg(L("County")));
    return QString::fromLatin1(QUrl::toPercentEncoding(text));
}

QUrl MapLookup::initialUrl(const FTEvent& event, const MapProvider& provider,
                           const std::function<bool(const QString& question)>& useSavedAddress)
{
    const QString place = event.place();
    if (place.isEmpty())
        return provider.defaultUrl();
    const QUrl query = provider.queryUrl(placeQuery(place));
    const QUrl saved = event.googleMapUrl();
    const bool web = saved.isValid() && (saved.scheme() == QLatin1String("http") || saved.scheme() == QLatin1String("https"));
    if (!web)
        return query;
    if (UserDefaults::standard().boolForKey(QStringLiteral("useGeocodeToInitialise")))
        return saved;
    const QString question = QStringLiteral("%1:\n%2").arg(L("GeocodeQuery"), place);
    return useSavedAddress && useSavedAddress(question) ? saved : query;
}

QString MapLookup::eventDescription(const FTEvent& event)
{
    QString preposition;
    if (event.qual() == 0)
        preposition = QStringLiteral("%1 ").arg(event.day() != 0 ? L("ConjunctiveOn") : L("ConjunctiveIn"));
    const QString date = event.date();
    const QString datePart = preposition + (date.isEmpty() ? QStringLiteral("?") : date);
    const QString owner = event.ownerName();
    switch (event.type()) {
    case FTEvent::BirthEvent:
        return QStringLiteral("%1 %2 %3 %4:").arg(owner, L("wasBorn"), datePart, L("ConjunctiveAt"));
    case FTEvent::DeathEvent:
        return QStringLiteral("%1 %2 %3 %4:").arg(owner, L("died"), datePart, L("ConjunctiveAt"));
    case FTEvent::MarriageEvent: {
        // The couple's names are joined by the marriage mark ("A +. B"): here they read "A and B".
        QString couple = owner;
        const QString andWord = QStringLiteral(" %1 ").arg(L("ConjunctiveAnd"));
        couple.replace(QStringLiteral(" %1. ").arg(L("MarriageShort")), andWord);
        couple.replace(QLatin1String(" +. "), andWord);
        return QStringLiteral("%1 %2 %3 %4:").arg(couple, L("wereMarried"), datePart, L("ConjunctiveAt"));
    }
    case FTEvent::OtherPersonalEvent:
    case FTEvent::OtherMarriageEvent:
        return QStringLiteral("%1 : %2 %3 %4:").arg(owner, event.name(), datePart, L("ConjunctiveAt"));
    default:
        return {};
    }
}
