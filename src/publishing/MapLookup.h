#pragma once

#include <QString>
#include <QUrl>

#include <functional>

class FTEvent;
class MapProvider;

// What the map window shows for an event: the look-up of its place, or the map address saved with it earlier,
// and the one line that describes the event above the map.
namespace MapLookup {
// The place made into a map query: "&" becomes " and " (the localized "ConjunctiveAnd"), double quotes go,
// " Co." and " Co " become the localized "County", then the whole text is percent-encoded as UTF-8 (every
// character but letters, digits and "-._~": so "#", "?", "+", "=" and "%" stay inside the query).
QString placeQuery(const QString& place);

// The address to load for `event`: the look-up of its place; or, when it has a saved map address, that address,
// without asking when the user default "useGeocodeToInitialise" is set and otherwise when `useSavedAddress`
// (given the question's text) answers true. Only a web address (http or https) saved with the event is ever
// opened: a link of any other kind (a file, a script) that came with an imported file is passed over. An event
// without a place gives the provider's default map.
QUrl initialUrl(const FTEvent& event, const MapProvider& provider,
                const std::function<bool(const QString& question)>& useSavedAddress);

// "John Smith was born on 05 Jan 1900 at:", "John Smith and Mary Jones were married in 1925 at:",
// "John Smith : Baptism in ? at:" (no date); empty for an event of another type.
QString eventDescription(const FTEvent& event);
}
