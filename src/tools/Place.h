#pragma once

#include <QString>

// One place of the places listing: its text as the events hold it, the same text with its comma-separated parts
// in reverse order, and the map position of its first event (0, 0 without one).
class Place {
public:
    Place() = default;
    Place(const QString& name, float latitude, float longitude);

    QString name;
    QString invertedName;
    float latitude = 0.0f;
    float longitude = 0.0f;

    // "Paris, Ile de France, France" -> "France, Ile de France, Paris": the parts trimmed of blanks and line ends.
    static QString invert(const QString& name);
    // "(48.85°N, 2.35°E) ", with its trailing blank.
    QString positionText() const;
};
