#include "diagrams/CdOptions.h"

#include "platform/UserDefaults.h"

#include <algorithm>

namespace {
QColor colourOr(const UserDefaults& d, const QString& key, const QColor& fallback)
{
    const QColor c = d.colorForKey(key);
    return c.isValid() ? c : fallback;
}
}

QFont CdOptions::defaultFont()
{
    QFont f(QStringLiteral("Arial"));
    f.setItalic(true);
    f.setPointSizeF(11);
    return f;
}

int CdOptions::clampedAncestorLevel(qlonglong level)
{
    return int(std::clamp<qlonglong>(level, kMinAncestorLevel, kMaxAncestorLevel));
}

CdOptions CdOptions::fromUserDefaults()
{
    const UserDefaults& d = UserDefaults::standard();
    CdOptions o;
    const auto flag = [&d](const char* key, bool fallback) {
        const QString k = QString::fromLatin1(key);
        return d.contains(k) ? d.boolForKey(k) : fallback;
    };
    const auto number = [&d](const char* key, double fallback) {
        const QString k = QString::fromLatin1(key);
        return d.contains(k) ? d.doubleForKey(k) : fallback;
    };
    o.showTimeline = flag("showTimeline", o.showTimeline);
    o.childrenOnLeft = flag("childrenOnLeft", o.childrenOnLeft);
    o.showStepRelsOfFocalPerson = flag("showStepRelsOfFocalPerson", o.showStepRelsOfFocalPerson);
    o.showGhostOutlines = flag("showGhostOutlines", o.showGhostOutlines);
    o.maxAncLevel = clampedAncestorLevel(qlonglong(number("maxAncestorLevel", o.maxAncLevel)));
    o.highlightBadPcRels = flag("cdHighlightBadPcRels", o.highlightBadPcRels);
    o.nameOption = int(number("cdNameOption", o.nameOption));
    o.binaryAhnentafelNumbers = flag("binaryAhnentafelNumbers", o.binaryAhnentafelNumbers);
    o.showGenderSymbolsForAll = flag("cdShowGenderSymbolsForAll", o.showGenderSymbolsForAll);
    o.showMugShots = flag("cdShowMugShots", o.showMugShots);
    o.showFocalPersonsId = flag("showFocalPersonsId", o.showFocalPersonsId);
    o.showShadows = flag("showShadows", o.showShadows);
    o.shadowSize = number("cdShadowSize", o.shadowSize);
    o.personColourGradient = number("cdPersonColourGradient", o.personColourGradient);
    o.colourGradient = number("cdColourGradient", o.colourGradient);
    o.redLineThreshold = int(number("redLineThreshold", o.redLineThreshold));
    o.showPcdToolTips = flag("showPcdToolTips", o.showPcdToolTips);
    o.showFullPcdToolTips = flag("showFullPcdToolTips", o.showFullPcdToolTips);
    o.speakIt = flag("speakIt", o.speakIt);
    o.bgColour = colourOr(d, QStringLiteral("cdBgColour"), o.bgColour);
    o.selectedPersonColour = colourOr(d, QStringLiteral("selectedPersonColour"), o.selectedPersonColour);
    o.spouseColour = colourOr(d, QStringLiteral("spouseColour"), o.spouseColour);
    o.otherPersonColour = colourOr(d, QStringLiteral("otherPersonColour"), o.otherPersonColour);
    o.ancestralViewColour = colourOr(d, QStringLiteral("ancestralViewColour"), o.ancestralViewColour);

    QFont stored;
    const QString storedFont = d.stringForKey(QStringLiteral("cdFont"));
    if (!storedFont.isEmpty() && stored.fromString(storedFont) && !stored.family().isEmpty())
        o.font = stored;
    const double size = number("fontSize", o.font.pointSizeF());
    o.font.setPointSizeF(std::clamp(size > 0 ? size : 11.0, 6.0, 16.0));
    return o;
}
