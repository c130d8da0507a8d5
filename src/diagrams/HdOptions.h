#pragma once

#include <QColor>
#include <QStringList>

class FTPerson;

// The hierarchy diagram's options (the "hd" user defaults), read once for each build of the tree so that one
// build never sees two values of a key. The members start at the factory values; tests fill them directly.
struct HdOptions {
    // ---- What a box shows ----
    bool fullName = true;             // "hdFullName"
    bool idNo = false;                // "hdIdNo"
    bool title = true;                // "hdTitle"
    bool pictures = true;             // "hdPictures"
    bool excludeMaps = true;          // "hdExcludeMaps"
    bool spousePictures = false;      // "hdSpousePictures"
    bool birthInfo = true;            // "hdBirthInfo"
    bool deathInfo = true;            // "hdDeathInfo"
    bool spouses = true;              // "hdSpouses"
    bool notes = false;               // "hdNotes"
    bool nameOnly = false;            // "hdNameOnly"
    bool truncateLines = false;       // "hdTruncateLines"
    bool truncateNotes = true;        // "hdTruncateNotes"
    bool nameBold = true;             // "hdNameBold"
    bool showGender = true;           // "hdShowGender"
    bool blackAndWhite = false;       // "hdBlackAndWhite"
    bool rootsSiblings = false;       // "hdRootsSiblings"
    bool includeAllSiblings = false;  // "hdIncludeAllSiblings"
    bool includeAllSiblingsChildren = false;      // "hdIncludeAllSiblingsChildren"
    bool includeAllSiblingsGrandchildren = false; // "hdIncludeAllSiblingsGrandchildren"
    // "hdMaxSiblingsDescendants": 2 while grandchildren are off; read within 0 to kMaxLevels - 1.
    int maxSiblingsDescendants = 2;
    bool includeSpousesAncestors = false;     // "hdIncludeSpousesAncestors"
    bool excludeBirthDatesOfLiving = false;   // "hdExcludeBirthDatesOfLiving"
    bool showConsanguinity = false;           // "hdShowConsanguinity"

    // ---- Which people ----
    // "hdGenerations": the generations below the root, read within 0 to kMaxLevels - 1.
    int generations = 5;
    bool includeAdoptedChildren = false; // "hdIncludeAdoptedChildren"
    bool includeStepChildren = false;    // "hdIncludeStepChildren"

    // ---- Layout ----
    double pointSize = 11.0;      // "hdPointSize", above 0
    double colWidthFactor = 1.0;  // "hdColWidthFactor", above 0
    bool cascaded = false;        // "hdCascaded"
    bool scrunched = true;        // "hdScrunched"
    bool horizontal = true;       // "hdHorizontal"
    bool sizeToWidth = false;     // "hdSizeToWidth"
    bool showRootPath = true;     // "hdShowRootPath"

    // ---- Drawing ----
    bool showContinuationLines = true; // "hdShowContinuationLines"
    bool displayTimeline = true;       // "hdDisplayTimeline"
    bool includeAuthorsByline = false; // "hdIncludeAuthorsByline"
    bool includeKinloomFooter = true;  // "hdIncludeKinloomFooter"
    double colourGradient = 0.0;       // "hdColourGradient"

    // ---- Colours: the factory values; a key without a value reads as black (the background as white) ----
    QColor bgColour { 255, 255, 255 };            // "hdBgColour"
    QColor nameColour { 255, 0, 0 };              // "hdNameColour"
    QColor titleColour { 0, 0, 255 };             // "hdTitleColour"
    QColor idNoColour { 0x55, 0x55, 0x55 };       // "hdIdNoColour"
    QColor birthColour { 0x55, 0x55, 0x55 };      // "hdBirthColour"
    QColor spouseColour { 0x55, 0x55, 0x55 };     // "hdSpouseColour"
    QColor deathColour { 0x55, 0x55, 0x55 };      // "hdDeathColour"
    QColor notesColour { 128, 0, 128 };           // "hdNotesColour"
    QColor siblingsColour { 0, 128, 0 };          // "hdSiblingsColour"
    QColor spousesAncestorsColour { 0, 128, 0 };  // "hdSpousesAncestorsColour"
    QColor highlightColour { 255, 255, 128 };     // "hdHighlightColour"

    // Levels a tree may hold: the root's and up to 999 generations below it.
    static constexpr int kMaxLevels = 1000;

    // Reads every key now. With "hdIncludeAllSiblingsGrandchildren" off, "hdMaxSiblingsDescendants" is set back
    // to 2 in the defaults as well, as the customise window shows it.
    static HdOptions fromUserDefaults();
    // Writes every key with these values.
    void writeToUserDefaults() const;

    // A person's name with birth and death years as the diagram shows it (`shortName`: the short name, the years
    // joined by "-"): nothing but the name for a living person while excludeBirthDatesOfLiving is on.
    QString nameWithYears(const FTPerson* person, bool shortName = false) const;
    // The same with "hdExcludeBirthDatesOfLiving" as it is now: the window's title and the PDF's name.
    static QString nameWithYearsNow(const FTPerson* person);

    // The keys saved as the user's own defaults ("hdUserDefaults"): every option and the byline's text, but not
    // "hdCascaded", which follows the diagram's direction and orientation.
    static const QStringList& userDefaultsKeys();
    // Saves the present values of those keys (a key without a value is left out) as "hdUserDefaults".
    static void saveAsUserDefaults();
    // Copies the saved values back; nothing when none were saved. Answers whether anything was copied.
    static bool restoreUserDefaults();
};
