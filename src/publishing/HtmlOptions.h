#pragma once

#include <QColor>
#include <QString>

// The options of one web-page run: the user defaults whose keys begin with "html", read once when the run starts
// so that every page of a run follows the same choices (a change in the options panel takes effect at the next
// run). Tests and benchmarks fill them directly.
//
//   HtmlOptions o = HtmlOptions::fromUserDefaults();
//   o.tabularContextDiagram = true;
//   generator.setOptions(o);
struct HtmlOptions {
    // Who is published and how much of them (see HtmlPrivacy).
    bool excludeLivingPeople = true;          // htmlExcludeLivingPeople
    bool excludeRecentlyDeadPeople = true;    // htmlExcludeRecentlyDeadPeople
    bool depersonalizeLivingPeople = false;   // htmlDepersonalizeLivingPeople
    int yearsSinceDeath = 80;                 // htmlYearsSinceDeath

    // The person page's sections.
    bool includeContextDiagram = true;        // htmlIncludeContextDiagram
    bool tabularContextDiagram = false;       // htmlTabularContextDiagram
    int cdDiagramGenerations = 3;             // htmlCdDiagramGenerations
    int cdDiagramWidth = 800;                 // htmlCdDiagramWidth
    double colourGradient = 0.4;              // htmlColourGradient
    bool ancestorsTables = false;             // htmlAncestorsTables
    bool titleOrOccupation = true;            // htmlTitleOrOccupation
    bool causeOfDeath = true;                 // htmlCauseOfDeath
    bool includeComments = false;             // htmlIncludeComments
    bool includeNotes = true;                 // htmlIncludeNotes
    bool includeSources = true;               // htmlIncludeSources
    bool includeSourceRefsNotes = true;       // htmlIncludeSourceRefsNotes
    bool includeStepRels = false;             // htmlIncludeStepRels
    bool includeAdoptedRels = false;          // htmlIncludeAdoptedRels
    bool includePersonalEvents = true;        // htmlIncludePersonalEvents
    bool includeOthersEvents = true;          // htmlIncludeOthersEvents
    bool includeParents = false;              // htmlIncludeParents
    bool includeChildren = false;             // htmlIncludeChildren
    bool includeSiblings = false;             // htmlIncludeSiblings
    bool includeNearRelatives = false;        // htmlIncludeNearRelatives
    bool includeGrandchildren = false;        // htmlIncludeGrandchildren
    bool includeBirthNotes = false;           // htmlIncludeBirthNotes
    bool includeDeathNotes = false;           // htmlIncludeDeathNotes
    bool includeEventNotes = true;            // htmlIncludeEventNotes
    bool includeBDMInfo = true;               // htmlIncludeBDMInfo
    bool includeKinloomFooter = true;         // htmlIncludeKinloomFooter

    // Pictures (drawn by the pictures section, when one is installed).
    bool defaultPictureOfPerson = true;       // htmlDefaultPictureOfPerson
    bool allPicturesOfPerson = false;         // htmlAllPicturesOfPerson
    bool picturesOfSpouses = true;            // htmlPicturesOfSpouses
    bool picturesOfChildren = false;          // htmlPicturesOfChildren
    bool includeNotesForPictures = false;     // htmlIncludeNotesForPictures
    bool copyMediaFiles = false;              // htmlCopyMediaFiles
    bool compressMediaFiles = true;           // htmlCompressMediaFiles

    // Looks.
    bool randomColours = false;               // htmlRandomColours
    QColor bgColour {255, 255, 240};          // htmlBgColour
    bool centeredOnPage = true;               // htmlCenteredOnPage
    QString defaultFontFace = QStringLiteral("Verdana"); // htmlDefaultFontFace
    int defaultFontSize = 10;                 // htmlDefaultFontSize
    bool cdBorder = true;                     // htmlCdBorder
    bool eventsBorder = true;                 // htmlEventsBorder

    // The index.
    int kinship = 1;                          // htmlKinship: levels around the focal person; 0 everyone
    bool includeConsanguinityInIndex = false; // htmlIncludeConsanguinityInIndex
    bool includeTitleInIndex = false;         // htmlIncludeTitleInIndex
    bool oneColumnIndexForiPhone = false;     // htmlOneColumnIndexForiPhone

    // Every key above as the user defaults hold it now (a key never set keeps the value written here, which is
    // the first-run value).
    static HtmlOptions fromUserDefaults();

    // The two fixed sets of the options panel, stored into the user defaults whole (every "html" key of the
    // panel, read by the pages or not): the standard set (the first-run values, but living people
    // depersonalized), and the set for small screens such as a phone (480 pixels wide, one generation, no
    // gradient, a white background, one column of family names, more relatives and fewer notes).
    static void setDefaults();
    static void setiPhoneDefaults();
};
