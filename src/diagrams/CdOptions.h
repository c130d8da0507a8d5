#pragma once

#include <QColor>
#include <QFont>

// The family diagram's preferences, read from the user defaults once per drawing pass so that the boxes, the
// layout and the painting of one pass all see the same values.
struct CdOptions {
    bool showTimeline = true;
    bool childrenOnLeft = true;
    bool showStepRelsOfFocalPerson = true;
    bool showGhostOutlines = true;
    // Ancestor generations shown: always within kMinAncestorLevel..kMaxAncestorLevel, so that the column width
    // (W - 10) / (maxAncLevel + 2) never divides by zero and the timeline's tables have a column for each.
    int maxAncLevel = 3;
    bool highlightBadPcRels = true;  // "cdHighlightBadPcRels"
    int nameOption = 0;              // "cdNameOption"
    bool binaryAhnentafelNumbers = false;
    bool showGenderSymbolsForAll = false;
    bool showMugShots = false;       // "cdShowMugShots"
    bool showFocalPersonsId = true;
    bool showShadows = true;
    double shadowSize = 5;            // "cdShadowSize"
    double personColourGradient = 0.25; // "cdPersonColourGradient": box shading and the bow of its sides
    double colourGradient = 0.4;      // "cdColourGradient": the background's shading
    int redLineThreshold = 50;
    bool showPcdToolTips = true;
    bool showFullPcdToolTips = false;
    bool speakIt = false;
    QColor bgColour {191, 250, 237};
    QColor selectedPersonColour {255, 220, 220};
    QColor spouseColour {255, 255, 230};
    QColor otherPersonColour {242, 255, 255};
    QColor ancestralViewColour {235, 255, 227};
    // "cdFont" at "fontSize" (kept within 6 to 16 points).
    QFont font = defaultFont();

    static constexpr int kMinAncestorLevel = 1;
    static constexpr int kMaxAncestorLevel = 99;

    // The strip kept free above the boxes: 16 points with the timeline, else 5.
    int timelineHeight() const { return showTimeline ? 16 : 5; }

    static CdOptions fromUserDefaults();
    // "Arial Italic" at 11 points: the diagram's font when none is stored.
    static QFont defaultFont();
    static int clampedAncestorLevel(qlonglong level);
};
