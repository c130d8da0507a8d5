#include "shell/FirstRunDefaults.h"

#include "shell/DisplayMsg.h"
#include "shell/UpdateCheck.h"

#include "platform/Localizer.h"
#include "platform/Prompts.h"
#include "platform/UserDefaults.h"

#include <QColor>
#include <QCoreApplication>
#include <QDateTime>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QStringList>
#include <QVariant>

#include <utility>
#include <vector>

namespace {

using Entry = std::pair<const char*, QVariant>;

QString rgb(int r, int g, int b) { return UserDefaults::colorToString(QColor(r, g, b)); }
// The system's dark grey (one third white).
const QString kDarkGrey = QStringLiteral("#555555");

void registerAbsent(const std::vector<Entry>& entries)
{
    QVariantMap map;
    for (const Entry& e : entries)
        map.insert(QString::fromLatin1(e.first), e.second);
    UserDefaults::standard().registerDefaults(map);
}

// The main colours of the diagram and the windows: brought back to these values once (see "coloursReset").
const std::vector<Entry>& mainColours()
{
    static const std::vector<Entry> colours = {
        {"cdBgColour", rgb(191, 250, 237)},
        {"selectedPersonColour", rgb(255, 220, 220)},
        {"spouseColour", rgb(255, 255, 230)},
        {"otherPersonColour", rgb(242, 255, 255)},
        {"ancestralViewColour", rgb(235, 255, 227)},
        {"tableViewHighlightColour", rgb(192, 220, 220)},
        {"mainWindowBgColour", rgb(184, 202, 190)},
        {"panelsBgColour", rgb(204, 226, 213)},
    };
    return colours;
}

QFont defaultCdFont()
{
    QFont f(QStringLiteral("Arial"));
    f.setItalic(true);
    f.setPointSizeF(11);
    return f;
}

// Metric-compatible families that fontconfig offers in place of the common Windows fonts.
QStringList standIns(const QString& family)
{
    const QString f = family.toLower();
    if (f == QStringLiteral("arial"))
        return {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")};
    if (f == QStringLiteral("times new roman"))
        return {QStringLiteral("Liberation Serif"), QStringLiteral("Tinos")};
    if (f == QStringLiteral("courier new"))
        return {QStringLiteral("Liberation Mono"), QStringLiteral("Cousine")};
    return {};
}

// True when the family has all four faces: regular, italic, bold and bold italic.
bool hasFourFaces(const QString& family)
{
    QString found;
    for (const QString& f : QFontDatabase::families())
        if (f.compare(family, Qt::CaseInsensitive) == 0) {
            found = f;
            break;
        }
    if (found.isEmpty())
        return false;
    bool faces[2][2] = {{false, false}, {false, false}}; // [bold][italic]
    for (const QString& style : QFontDatabase::styles(found)) {
        const bool bold = QFontDatabase::weight(found, style) >= QFont::DemiBold;
        const bool italic = QFontDatabase::italic(found, style);
        faces[bold][italic] = true;
    }
    return faces[0][0] && faces[0][1] && faces[1][0] && faces[1][1];
}

}

bool FirstRunDefaults::checkFontIsEnabled(const QString& family)
{
    // The font database needs the windowing system's font configuration; without it there is nothing to ask.
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return true;
    if (hasFourFaces(family))
        return true;
    for (const QString& standIn : standIns(family))
        if (hasFourFaces(standIn))
            return true;
    DisplayMsg(QStringLiteral("%1 %2 %3.").arg(Prompts::kAlertTitle, LocalizedString("FontWarning"), Prompts::kAlertTitle));
    return false;
}

void FirstRunDefaults::initialiseUserDefaults()
{
    auto& d = UserDefaults::standard();

    // A missing font makes the diagrams look wrong but loses nothing: warn and carry on.
    checkFontIsEnabled(QStringLiteral("Arial"));

    initialiseHdUserDefaults();
    initialisePeopleIndexCsvUserDefaults();
    initialiseStoryUserDefaults();
    initialiseHtmlUserDefaults();
    initialiseAncestorsReportsDefaults();

    registerAbsent({
        {"fontSize", 11.0},
        {"speakIt", false},
        {"maxAncestorLevel", 3},
        {"childrenOnLeft", true},
        {"showGhostOutlines", true},
        {"showTimeline", true},
        {"showStepRelsOfFocalPerson", true},
        {"includeTitlesInSearch", true},
        {"showDeleteWarnings", true},
        {"autoAddFamilyName", false},
        {"showShadows", true},
        {"cdShadowSize", 5.0},
        {"showAddChildDialog", false},
        {"alwaysShowFamilyDialog", false},
        {"showPcdToolTips", true},
        {"showFullPcdToolTips", false},
        // Empty: open with the desktop's default application for the file type (there is no TextEdit here).
        {"rtfApplication", QString()},
        {"csvApplication", QString()},
        // RTF: no word processor on Linux reads RTFD folders.
        {"rtfFileType", QStringLiteral("rtf")},
        {"showFocalPersonsId", true},
        {"showFullNameInDiagram", false},
        {"showRelationshipHandles", true},
        {"uppercaseFamilyName", true},
        {"transcriptionSplitVertically", true},
        {"duplicateNameWarning", false},
        {"peopleIndexAlwaysOnTop", true},
        {"matchMode", 0},
        {"includeRelatedEvents", true},
        {"multiLineNotesForEventPane", true},
        {"multiLineNotesForFamilyPane", true},
        {"picturesRowSpacing", 3},
        {"croppingMode", LocalizedString("AsCropped")},
        {"loggingOn", false},
        {"cdShowMugShots", false},
        {"cdShowGenderSymbolsForAll", false},
        {"cdColourGradient", 0.4},
        {"cdPersonColourGradient", 0.25},
        {"cdNameOption", 0},
        {"sourcesSubMenu", LocalizedString("SourceSearchTitle")},
        {"previousTabViewIndex", 1},
        {"cdHighlightBadPcRels", true},
        {"cdCheckForMissingCitations", true},
        {"binaryAhnentafelNumbers", true},
        {"showSourceType", true},
        {"showSourceShortTitle", true},
        {"showSourceTitle", true},
        {"showSourceAuthor", true},
        {"showSourcePublisher", true},
        {"showSourceDate", true},
        {"showSourceLocation", true},
        {"showSourceNotes", false},
        {"geIncludeLivingPeople", true},
        {"geDepersonalizeLivingPeople", false},
        {"geIncludeRecentlyDead", true},
        {"geDepersonalizeRecentlyDead", false},
        {"geRecentlyDeadYears", 50},
        {"geIncludeCustomTags", true},
        {"geIndentGedcomLines", false},
        {"geDepersonalizeOption", 0},
        {"useGeocodeToInitialise", true},
        {"applyToAllEvents", true},
        {"applyToAllPeople", 0},
        {"familyLabelStyle", 4},
        {"redLineThreshold", 50},
        {"updateURL", UpdateCheck::kDefaultUpdateUrl},
    });

    // Written at every start, whatever the user left them at.
    d.setBool(QStringLiteral("cdCheckForMissingCitations"), true);
    d.setBool(QStringLiteral("suppressDragDropConfirmation"), false);
    d.setBool(QStringLiteral("alwaysCopyToPicturesFolder"), true);
    d.setBool(QStringLiteral("showRelationshipHandles"), true);

    // The main colours return to their first-run values once, the first time this version starts;
    // later changes survive.
    if (!d.contains(QStringLiteral("coloursReset"))) {
        d.setBool(QStringLiteral("coloursReset"), true);
        for (const Entry& e : mainColours())
            d.setObject(QString::fromLatin1(e.first), e.second);
    } else {
        registerAbsent(mainColours());
    }

    const double fontSize = d.doubleForKey(QStringLiteral("fontSize"));
    if (!(fontSize >= 6 && fontSize <= 16)) // also text that is no number
        d.setDouble(QStringLiteral("fontSize"), 11);

    // The family diagram's font keeps the user's face but always has size 11.
    QFont cdFont = defaultCdFont();
    const QString storedFont = d.stringForKey(QStringLiteral("cdFont"));
    QFont stored;
    if (!storedFont.isEmpty() && stored.fromString(storedFont) && !stored.family().isEmpty()) {
        stored.setPointSizeF(11);
        cdFont = stored;
    }
    d.setFont(QStringLiteral("cdFont"), cdFont);

    d.setBool(QStringLiteral("speakIt"), false);

    if (!d.contains(QStringLiteral("sourceNotesLabels")))
        d.setObject(QStringLiteral("sourceNotesLabels"),
                    QStringList{LocalizedString("sourceNotesLabelsSet1"), LocalizedString("sourceNotesLabelsSet2"),
                                LocalizedString("sourceNotesLabelsSet3"), LocalizedString("sourceNotesLabelsSet4"),
                                LocalizedString("sourceNotesLabelsSet5"), LocalizedString("sourceNotesLabelsSet6"),
                                LocalizedString("sourceNotesLabelsSet7"), LocalizedString("sourceNotesLabelsSet8")});
    d.synchronize();
}

QString FirstRunDefaults::mainColourFirstRunValue(const QString& key)
{
    for (const Entry& e : mainColours())
        if (key == QLatin1String(e.first))
            return e.second.toString();
    return {};
}

void FirstRunDefaults::initialiseHdUserDefaults()
{
    auto& d = UserDefaults::standard();
    if (!d.contains(QStringLiteral("previousCheckForUpdate")))
        d.setObject(QStringLiteral("previousCheckForUpdate"), QDateTime::currentDateTime());
    registerAbsent({
        {"hdFullName", true},
        {"hdIdNo", false},
        {"hdTitle", true},
        {"hdPictures", true},
        {"hdExcludeMaps", true},
        {"hdSpousePictures", false},
        {"hdBirthInfo", true},
        {"hdDeathInfo", true},
        {"hdSpouses", true},
        {"hdGenerations", 5},
        {"hdPointSize", 11.0},
        {"hdColWidthFactor", 1.0},
        {"hdCascaded", false},
        {"hdScrunched", true},
        {"hdHorizontal", true},
        {"hdSizeToWidth", false},
        {"hdNameOnly", false},
        {"hdTruncateLines", false},
        {"hdNotes", false},
        {"hdShowContinuationLines", true},
        {"hdShowRootPath", true},
        {"hdRootsSiblings", false},
        {"hdBlackAndWhite", false},
        {"hdNameBold", true},
        {"hdShowGender", true},
        {"hdColourGradient", 0.0},
        {"hdTruncateNotes", true},
        {"hdDisplayTimeline", true},
        {"hdIncludeAdoptedChildren", false},
        {"hdIncludeStepChildren", false},
        {"hdIncludeAllSiblings", false},
        {"hdIncludeAllSiblingsChildren", false},
        {"hdIncludeAllSiblingsGrandchildren", false},
        {"hdIncludeSpousesAncestors", false},
        {"hdMaxSiblingsDescendants", 2},
        {"hdIncludeAuthorsByline", false},
        {"hdExcludeBirthDatesOfLiving", false},
        {"hdIncludeKinloomFooter", true},
        {"hdBgColour", rgb(255, 255, 255)},
        {"hdNameColour", rgb(255, 0, 0)},
        {"hdTitleColour", rgb(0, 0, 255)},
        {"hdIdNoColour", kDarkGrey},
        {"hdBirthColour", kDarkGrey},
        {"hdSpouseColour", kDarkGrey},
        {"hdDeathColour", kDarkGrey},
        {"hdNotesColour", rgb(128, 0, 128)},
        {"hdHighlightColour", rgb(255, 255, 128)},
        {"hdFrameColour", rgb(202, 220, 202)},
        {"hdSiblingsColour", rgb(0, 128, 0)},
        {"hdSpousesAncestorsColour", rgb(0, 128, 0)},
    });
    // Every start begins with consanguinity off, whatever the last session left.
    d.setBool(QStringLiteral("hdShowConsanguinity"), false);
}

void FirstRunDefaults::initialisePeopleIndexCsvUserDefaults()
{
    registerAbsent({
        {"piCsvIncludeDatabase", true},
        {"piCsvIncludePersonId", true},
        {"piCsvIncludeFullName", true},
        {"piCsvIncludeGivenNames", true},
        {"piCsvIncludeFamilyName", true},
        {"piCsvIncludeGender", true},
        {"piCsvIncludeBirthDate", true},
        {"piCsvIncludeBirthYear", true},
        {"piCsvIncludeBirthPlace", true},
        {"piCsvIncludeDeathDate", true},
        {"piCsvIncludeDeathYear", true},
        {"piCsvIncludeDeathPlace", true},
        {"piCsvIncludeToDo", true},
        {"piCsvIncludeFathersId", true},
        {"piCsvIncludeFathersName", true},
        {"piCsvIncludeMothersId", true},
        {"piCsvIncludeMothersName", true},
        {"piCsvIncludeSpousesMCol", true},
        {"piCsvIncludeSpousesOneCol", true},
    });
}

void FirstRunDefaults::initialiseStoryUserDefaults()
{
    registerAbsent({
        {"soDefaultPicture", true},
        {"soDefaultPicturesOfChildren", true},
        {"soExcludeGoogleMaps", true},
        {"soCropTo4x3", false},
        {"soIncludeBirthsOfLiving", true},
        {"soTitleOrOccupation", true},
        {"soCauseOfDeath", true},
        {"soIncludeComments", false},
        {"soIncludeNotes", true},
        {"soIncludeSources", true},
        {"soIncludeStepRels", false},
        {"soIncludeEvents", true},
        {"soIncludeOthersEvents", true},
        {"soPrependAppendReplace", 0},
        {"storyScopeOptions", -1},
        {"soRtfApplication", QString()},
        {"soNotesColour", rgb(255, 0, 0)},
        {"soCommentsColour", rgb(167, 69, 0)},
        {"soSourcesColour", rgb(0, 127, 0)},
        {"soEventsColour", rgb(0, 0, 255)},
    });
}

void FirstRunDefaults::initialiseHtmlUserDefaults()
{
    registerAbsent({
        {"htmlIncludeContextDiagram", true},
        {"htmlDefaultPictureOfPerson", true},
        {"htmlAllPicturesOfPerson", false},
        {"htmlPicturesOfSpouses", true},
        {"htmlPicturesOfParents", false},
        {"htmlPicturesOfChildren", false},
        {"htmlCropTo4x3", false},
        {"htmlExcludeLivingPeople", true},
        {"htmlExcludeRecentlyDeadPeople", true},
        {"htmlDepersonalizeLivingPeople", false},
        {"htmlYearsSinceDeath", 80},
        {"htmlTitleOrOccupation", true},
        {"htmlCauseOfDeath", true},
        {"htmlIncludeComments", false},
        {"htmlIncludeNotes", true},
        {"htmlIncludeSources", true},
        {"htmlIncludeSourceRefsNotes", true},
        {"htmlIncludeStepRels", false},
        {"htmlIncludeAdoptedRels", false},
        {"htmlIncludePersonalEvents", true},
        {"htmlIncludeOthersEvents", true},
        {"htmlIncludeParents", false},
        {"htmlIncludeChildren", false},
        {"htmlIncludeSiblings", false},
        {"htmlIncludeNearRelatives", false},
        {"htmlIncludeGrandchildren", false},
        {"htmlIncludeBirthNotes", false},
        {"htmlIncludeDeathNotes", false},
        {"htmlIncludeEventNotes", true},
        {"htmlIncludeBDMInfo", true},
        {"htmlAutoRegenerate", true},
        {"htmlRandomColours", false},
        {"htmlCenteredOnPage", true},
        {"htmlDefaultFontSize", 10},
        {"htmlEventNotes", true},
        {"htmlCdBorder", true},
        {"htmlEventsBorder", true},
        {"htmlKinship", 1},
        {"htmlIncludeConsanguinityInIndex", false},
        {"htmlIncludeTitleInIndex", false},
        {"htmlFamilyBorder", true},
        {"htmlTabularContextDiagram", false},
        {"htmlAncestorsTables", false},
        {"htmlDescendantsTables", false},
        {"htmlCopyMediaFiles", false},
        {"htmlCompressMediaFiles", true},
        {"htmlCdDiagramWidth", 800},
        {"htmlCdDiagramGenerations", 3},
        {"htmlColourGradient", 0.4},
        {"htmlDefaultFontFace", QStringLiteral("Verdana")},
        {"htmlIncludeNotesForPictures", false},
        {"htmlIncludeKinloomFooter", true},
        {"htmlOneColumnIndexForiPhone", false},
        {"htmlHeadingColour", rgb(0, 0, 0)},
        {"htmlNotesColour", rgb(255, 0, 0)},
        {"htmlCommentsColour", rgb(167, 69, 0)},
        {"htmlSourcesColour", rgb(0, 127, 0)},
        {"htmlEventsColour", rgb(0, 0, 255)},
        {"htmlBgColour", rgb(255, 255, 240)},
    });
}

void FirstRunDefaults::initialiseAncestorsReportsDefaults()
{
    registerAbsent({
        {"arPrintRelsOfSelectedPerson", true},
        {"arPrintComments", true},
        {"arIncludeLivingBirthDates", false},
        {"arIncludeDefaultPicture", true},
        {"arIncludeChildrensPictures", false},
        {"arExcludeGoogleMaps", true},
        {"arShowStepRels", true},
        {"arOneLinePerPerson", false},
        {"arCropImagesTo4x3Portrait", false},
        {"arShowAdoptedChildrenAsNaturalChildren", true},
        {"arShowEventNotesAsEndnotes", true},
        {"arIncludeSourceRefs", true},
        {"arIncludeAhnentafelNumbers", true},
        {"arIncludeRelatedEvents", true},
    });
}
