#pragma once

#include <QColor>
#include <QString>

// The plain functions that come with Utils.

// A colour from 0-255 components, fully opaque.
QColor RGB(int red, int green, int blue);
// The background of every alert and panel: the user default "panelsBgColour", else 230, 230, 230.
QColor PanelColour();

// The text without leading and trailing white space and line ends, also stored back; empty for no text.
QString TrimString(QString* text);

// "Unknown", "Natural", "Step", "Foster", "Adopted" for the type bits 0, 1, 2, 4, 8; empty for any other value.
QString GetPcRelTypeString(int pcRelType);

// The first free path for a new database ("SQL": .RezUdu) or GEDCOM file ("GED": .GED) in the data folder:
// "<data>/<name>.<ext>", then "<data>/<name>_<n>.<ext>" up to n = 1000. Empty, after a message, for an unknown
// kind or when every name is taken.
QString CreateUniquePathNameForNewModel(const QString& name, const QString& kind);
