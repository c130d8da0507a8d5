#pragma once

#include <QColor>
#include <QList>
#include <QString>

class UserDefaults;

// What a generated story holds and where it goes: the user defaults "so…" and "storyScopeOptions", read once per
// generation. The options sheet edits the same keys; the groups of relatives are bits of "storyScopeOptions".
//
//   StoryOptions options = StoryOptions::fromUserDefaults();
//   if (options.scope & StoryOptions::Cousins) ...
struct StoryOptions {
    // Where the generated text goes ("soPrependAppendReplace"); any other value puts it nowhere.
    enum Mode { Prepend = 0, Append = 1, Replace = 2 };

    // The groups of relatives, as bits of "storyScopeOptions".
    enum Scope : qlonglong {
        Parents = 0x1,
        Children = 0x2,
        Siblings = 0x4,
        Grandparents = 0x8,
        Grandchildren = 0x10,
        ParentsInLaw = 0x20,
        AuntsAndUncles = 0x40,
        Cousins = 0x80,
        SiblingsInLaw = 0x100,
        NephewsAndNieces = 0x200,
        GreatGrandchildren = 0x400,
        StepRels = 0x2000,
        AdoptedRels = 0x4000,
    };
    // One choice of the options sheet per group: its flag name ("bParents" ...) and its bit, in the sheet's order.
    struct ScopeFlag {
        const char* name;
        qlonglong bit;
    };
    static const QList<ScopeFlag>& scopeFlags();
    // The bits of the thirteen groups together.
    static qlonglong scopeMask();
    // The scope with the groups' bits taken from `chosen` (bits of scopeMask()); every other bit of `previous`
    // keeps its value.
    static qlonglong scopeWithGroups(qlonglong previous, qlonglong chosen);

    // The mode's name, a "Localizable" key ("Prepend", "Append", "Replace"); empty for any other value.
    static QString modeName(qlonglong mode);

    qlonglong mode = Prepend;
    bool defaultPicture = true;
    bool defaultPicturesOfChildren = true;
    bool excludeGoogleMaps = true;
    bool cropTo4x3 = false;
    bool includeBirthsOfLiving = true;
    bool titleOrOccupation = true;
    bool causeOfDeath = true;
    bool includeSources = true;
    bool includeNotes = true;
    bool includeComments = false;
    bool includeEvents = true;
    bool includeOthersEvents = true;
    bool includeStepRels = false;
    qlonglong scope = -1;
    QColor notesColour {255, 0, 0};
    QColor commentsColour {167, 69, 0};
    QColor sourcesColour {0, 127, 0};
    QColor eventsColour {0, 0, 255};

    static StoryOptions fromUserDefaults();
    // Every story key back to its first-run value, except the chosen word processor ("soRtfApplication").
    static void restoreFactoryValues();
    // The boolean keys the sheet shows, in its order.
    static const QStringList& booleanKeys();
    static const QStringList& colourKeys();
};
