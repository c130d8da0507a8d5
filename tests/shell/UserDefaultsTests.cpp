#include "shell/FirstRunDefaults.h"

#include "platform/Localizer.h"
#include "platform/ScriptedPrompts.h"
#include "platform/UserDefaults.h"

#include "QtPrinters.h"
#include "TestSupport.h"

#include <QDateTime>
#include <QFont>
#include <QSet>

#include <gtest/gtest.h>

namespace {

// Every key of a first run: type, key, value. b boolean, i integer, f float, s text, L the English text of
// a "Localizable" key, c colour "r,g,b".
const char* kFirstRun = R"(
f fontSize 11
b speakIt 0
i maxAncestorLevel 3
b childrenOnLeft 1
b showGhostOutlines 1
b showTimeline 1
b showStepRelsOfFocalPerson 1
b includeTitlesInSearch 1
b showDeleteWarnings 1
b autoAddFamilyName 0
b showShadows 1
f cdShadowSize 5
b showAddChildDialog 0
b alwaysShowFamilyDialog 0
b showPcdToolTips 1
b showFullPcdToolTips 0
s rtfApplication
s csvApplication
s rtfFileType rtf
b showFocalPersonsId 1
b showFullNameInDiagram 0
b showRelationshipHandles 1
b uppercaseFamilyName 1
b transcriptionSplitVertically 1
b duplicateNameWarning 0
b peopleIndexAlwaysOnTop 1
i matchMode 0
b includeRelatedEvents 1
b multiLineNotesForEventPane 1
b multiLineNotesForFamilyPane 1
i picturesRowSpacing 3
L croppingMode AsCropped
b loggingOn 0
b cdShowMugShots 0
b cdShowGenderSymbolsForAll 0
f cdColourGradient 0.4
f cdPersonColourGradient 0.25
i cdNameOption 0
L sourcesSubMenu SourceSearchTitle
i previousTabViewIndex 1
b cdHighlightBadPcRels 1
b cdCheckForMissingCitations 1
b binaryAhnentafelNumbers 1
b showSourceType 1
b showSourceShortTitle 1
b showSourceTitle 1
b showSourceAuthor 1
b showSourcePublisher 1
b showSourceDate 1
b showSourceLocation 1
b showSourceNotes 0
b geIncludeLivingPeople 1
b geDepersonalizeLivingPeople 0
b geIncludeRecentlyDead 1
b geDepersonalizeRecentlyDead 0
i geRecentlyDeadYears 50
b geIncludeCustomTags 1
b geIndentGedcomLines 0
i geDepersonalizeOption 0
b useGeocodeToInitialise 1
b applyToAllEvents 1
i applyToAllPeople 0
i familyLabelStyle 4
i redLineThreshold 50
s updateURL https://kinloom.org
b coloursReset 1
b suppressDragDropConfirmation 0
b alwaysCopyToPicturesFolder 1
c cdBgColour 191,250,237
c selectedPersonColour 255,220,220
c spouseColour 255,255,230
c otherPersonColour 242,255,255
c ancestralViewColour 235,255,227
c tableViewHighlightColour 192,220,220
c mainWindowBgColour 184,202,190
c panelsBgColour 204,226,213
b hdFullName 1
b hdIdNo 0
b hdTitle 1
b hdPictures 1
b hdExcludeMaps 1
b hdSpousePictures 0
b hdBirthInfo 1
b hdDeathInfo 1
b hdSpouses 1
i hdGenerations 5
f hdPointSize 11
f hdColWidthFactor 1
b hdCascaded 0
b hdScrunched 1
b hdHorizontal 1
b hdSizeToWidth 0
b hdNameOnly 0
b hdTruncateLines 0
b hdNotes 0
b hdShowContinuationLines 1
b hdShowRootPath 1
b hdRootsSiblings 0
b hdBlackAndWhite 0
b hdNameBold 1
b hdShowGender 1
f hdColourGradient 0
b hdTruncateNotes 1
b hdDisplayTimeline 1
b hdIncludeAdoptedChildren 0
b hdIncludeStepChildren 0
b hdIncludeAllSiblings 0
b hdIncludeAllSiblingsChildren 0
b hdIncludeAllSiblingsGrandchildren 0
b hdIncludeSpousesAncestors 0
i hdMaxSiblingsDescendants 2
b hdIncludeAuthorsByline 0
b hdExcludeBirthDatesOfLiving 0
b hdShowConsanguinity 0
b hdIncludeKinloomFooter 1
c hdBgColour 255,255,255
c hdNameColour 255,0,0
c hdTitleColour 0,0,255
c hdIdNoColour 85,85,85
c hdBirthColour 85,85,85
c hdSpouseColour 85,85,85
c hdDeathColour 85,85,85
c hdNotesColour 128,0,128
c hdHighlightColour 255,255,128
c hdFrameColour 202,220,202
c hdSiblingsColour 0,128,0
c hdSpousesAncestorsColour 0,128,0
b piCsvIncludeDatabase 1
b piCsvIncludePersonId 1
b piCsvIncludeFullName 1
b piCsvIncludeGivenNames 1
b piCsvIncludeFamilyName 1
b piCsvIncludeGender 1
b piCsvIncludeBirthDate 1
b piCsvIncludeBirthYear 1
b piCsvIncludeBirthPlace 1
b piCsvIncludeDeathDate 1
b piCsvIncludeDeathYear 1
b piCsvIncludeDeathPlace 1
b piCsvIncludeToDo 1
b piCsvIncludeFathersId 1
b piCsvIncludeFathersName 1
b piCsvIncludeMothersId 1
b piCsvIncludeMothersName 1
b piCsvIncludeSpousesMCol 1
b piCsvIncludeSpousesOneCol 1
b soDefaultPicture 1
b soDefaultPicturesOfChildren 1
b soExcludeGoogleMaps 1
b soCropTo4x3 0
b soIncludeBirthsOfLiving 1
b soTitleOrOccupation 1
b soCauseOfDeath 1
b soIncludeComments 0
b soIncludeNotes 1
b soIncludeSources 1
b soIncludeStepRels 0
b soIncludeEvents 1
b soIncludeOthersEvents 1
i soPrependAppendReplace 0
i storyScopeOptions -1
s soRtfApplication
c soNotesColour 255,0,0
c soCommentsColour 167,69,0
c soSourcesColour 0,127,0
c soEventsColour 0,0,255
b htmlIncludeContextDiagram 1
b htmlDefaultPictureOfPerson 1
b htmlAllPicturesOfPerson 0
b htmlPicturesOfSpouses 1
b htmlPicturesOfParents 0
b htmlPicturesOfChildren 0
b htmlCropTo4x3 0
b htmlExcludeLivingPeople 1
b htmlExcludeRecentlyDeadPeople 1
b htmlDepersonalizeLivingPeople 0
i htmlYearsSinceDeath 80
b htmlTitleOrOccupation 1
b htmlCauseOfDeath 1
b htmlIncludeComments 0
b htmlIncludeNotes 1
b htmlIncludeSources 1
b htmlIncludeSourceRefsNotes 1
b htmlIncludeStepRels 0
b htmlIncludeAdoptedRels 0
b htmlIncludePersonalEvents 1
b htmlIncludeOthersEvents 1
b htmlIncludeParents 0
b htmlIncludeChildren 0
b htmlIncludeSiblings 0
b htmlIncludeNearRelatives 0
b htmlIncludeGrandchildren 0
b htmlIncludeBirthNotes 0
b htmlIncludeDeathNotes 0
b htmlIncludeEventNotes 1
b htmlIncludeBDMInfo 1
b htmlAutoRegenerate 1
b htmlRandomColours 0
b htmlCenteredOnPage 1
i htmlDefaultFontSize 10
b htmlEventNotes 1
b htmlCdBorder 1
b htmlEventsBorder 1
i htmlKinship 1
b htmlIncludeConsanguinityInIndex 0
b htmlIncludeTitleInIndex 0
b htmlFamilyBorder 1
b htmlTabularContextDiagram 0
b htmlAncestorsTables 0
b htmlDescendantsTables 0
b htmlCopyMediaFiles 0
b htmlCompressMediaFiles 1
i htmlCdDiagramWidth 800
i htmlCdDiagramGenerations 3
f htmlColourGradient 0.4
s htmlDefaultFontFace Verdana
b htmlIncludeNotesForPictures 0
b htmlIncludeKinloomFooter 1
b htmlOneColumnIndexForiPhone 0
c htmlHeadingColour 0,0,0
c htmlNotesColour 255,0,0
c htmlCommentsColour 167,69,0
c htmlSourcesColour 0,127,0
c htmlEventsColour 0,0,255
c htmlBgColour 255,255,240
b arPrintRelsOfSelectedPerson 1
b arPrintComments 1
b arIncludeLivingBirthDates 0
b arIncludeDefaultPicture 1
b arIncludeChildrensPictures 0
b arExcludeGoogleMaps 1
b arShowStepRels 1
b arOneLinePerPerson 0
b arCropImagesTo4x3Portrait 0
b arShowAdoptedChildrenAsNaturalChildren 1
b arShowEventNotesAsEndnotes 1
b arIncludeSourceRefs 1
b arIncludeAhnentafelNumbers 1
b arIncludeRelatedEvents 1
)";

struct Expected {
    char type;
    QString key;
    QString value;
};

QList<Expected> firstRunTable()
{
    QList<Expected> out;
    for (const QString& line : QString::fromLatin1(kFirstRun).split('\n', Qt::SkipEmptyParts)) {
        const QStringList parts = line.split(' ');
        out.append({parts[0][0].toLatin1(), parts[1], parts.mid(2).join(' ')});
    }
    return out;
}

// Starts the defaults from `path` again, so values come back as the settings file stores them.
void reopen(const QString& path) { UserDefaults::useSettingsFile(path); }

class InitialiseUserDefaults : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = TestSupport::useFreshDefaults();
        Prompts::install(&prompts);
    }
    void TearDown() override { Prompts::install(nullptr); }
    void start()
    {
        FirstRunDefaults::initialiseUserDefaults();
        reopen(path);
    }
    QString path;
    ScriptedPrompts prompts;
    UserDefaults& d() { return UserDefaults::standard(); }
};

}

TEST_F(InitialiseUserDefaults, AFreshStoreHoldsEveryKeyWithItsFirstRunValue)
{
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    start();
    QSet<QString> expectedKeys = {"cdFont", "sourceNotesLabels", "previousCheckForUpdate"};
    for (const Expected& e : firstRunTable()) {
        expectedKeys.insert(e.key);
        const std::string key = e.key.toStdString();
        ASSERT_TRUE(d().contains(e.key)) << key;
        switch (e.type) {
        case 'b':
            EXPECT_EQ(d().boolForKey(e.key), e.value == "1") << key;
            break;
        case 'i':
            EXPECT_EQ(d().integerForKey(e.key), e.value.toLongLong()) << key;
            break;
        case 'f':
            EXPECT_DOUBLE_EQ(d().doubleForKey(e.key), e.value.toDouble()) << key;
            break;
        case 's':
            EXPECT_EQ(d().stringForKey(e.key), e.value) << key;
            break;
        case 'L':
            EXPECT_EQ(d().stringForKey(e.key), LocalizedString(e.value)) << key;
            EXPECT_NE(d().stringForKey(e.key), e.value) << key << ": the table has an English text";
            break;
        case 'c': {
            const QStringList c = e.value.split(',');
            const QColor colour(c[0].toInt(), c[1].toInt(), c[2].toInt());
            EXPECT_EQ(d().stringForKey(e.key), colour.name()) << key << " is stored as #rrggbb";
            break;
        }
        default:
            FAIL() << "bad table line for " << key;
        }
    }
    const QFont cdFont = d().fontForKey("cdFont");
    EXPECT_EQ(cdFont.family(), "Arial");
    EXPECT_TRUE(cdFont.italic());
    EXPECT_EQ(cdFont.pointSizeF(), 11);

    const QStringList labels = d().stringListForKey("sourceNotesLabels");
    ASSERT_EQ(labels.size(), 8);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(labels[i], LocalizedString(QStringLiteral("sourceNotesLabelsSet%1").arg(i + 1)));

    const QDateTime checked = d().objectForKey("previousCheckForUpdate").toDateTime();
    EXPECT_TRUE(checked >= before && checked <= QDateTime::currentDateTime()) << "the time of the first start";

    const QStringList stored = d().allKeys();
    const QSet<QString> storedKeys(stored.begin(), stored.end());
    EXPECT_EQ(storedKeys - expectedKeys, QSet<QString>()) << "keys nobody reads";
    EXPECT_EQ(expectedKeys - storedKeys, QSet<QString>());
    EXPECT_TRUE(prompts.records.isEmpty()) << "Arial or its stand-in is installed: no font warning";
}

TEST_F(InitialiseUserDefaults, KeepsTheUsersValuesButResetsTheKeysOfEveryStart)
{
    d().setBool("showTimeline", false);
    d().setInteger("maxAncestorLevel", 7);
    d().setString("croppingMode", "Square");
    d().setObject("sourceNotesLabels", QStringList{"Volume: Page: "});
    d().setColor("hdNameColour", QColor(1, 2, 3));
    d().setString("KinloomDataDirectory", "/data/family");
    const QDateTime lastCheck(QDate(2020, 1, 2), QTime(3, 4, 5));
    d().setObject("previousCheckForUpdate", lastCheck);
    // The user switched these off (or on) in the last session.
    d().setBool("showRelationshipHandles", false);
    d().setBool("cdCheckForMissingCitations", false);
    d().setBool("suppressDragDropConfirmation", true);
    d().setBool("alwaysCopyToPicturesFolder", false);
    d().setBool("hdShowConsanguinity", true);
    d().setBool("speakIt", true);
    start();

    EXPECT_FALSE(d().boolForKey("showTimeline"));
    EXPECT_EQ(d().integerForKey("maxAncestorLevel"), 7);
    EXPECT_EQ(d().stringForKey("croppingMode"), "Square");
    EXPECT_EQ(d().stringListForKey("sourceNotesLabels"), QStringList{"Volume: Page: "});
    EXPECT_EQ(d().colorForKey("hdNameColour"), QColor(1, 2, 3));
    EXPECT_EQ(d().stringForKey("KinloomDataDirectory"), "/data/family");
    EXPECT_EQ(d().objectForKey("previousCheckForUpdate").toDateTime(), lastCheck);

    EXPECT_TRUE(d().boolForKey("showRelationshipHandles"));
    EXPECT_TRUE(d().boolForKey("cdCheckForMissingCitations"));
    EXPECT_FALSE(d().boolForKey("suppressDragDropConfirmation"));
    EXPECT_TRUE(d().boolForKey("alwaysCopyToPicturesFolder"));
    EXPECT_FALSE(d().boolForKey("hdShowConsanguinity"));
    EXPECT_FALSE(d().boolForKey("speakIt"));
}

TEST_F(InitialiseUserDefaults, MainColoursComeBackOnceThenSurvive)
{
    d().setColor("cdBgColour", QColor(0, 0, 0));
    d().setColor("panelsBgColour", QColor(1, 2, 3));
    d().setColor("hdBgColour", QColor(4, 5, 6)); // not one of the main colours
    start();
    EXPECT_TRUE(d().boolForKey("coloursReset"));
    EXPECT_EQ(d().colorForKey("cdBgColour"), QColor(191, 250, 237));
    EXPECT_EQ(d().colorForKey("panelsBgColour"), QColor(204, 226, 213));
    EXPECT_EQ(d().colorForKey("hdBgColour"), QColor(4, 5, 6));

    d().setColor("cdBgColour", QColor(10, 20, 30));
    d().removeObject("spouseColour");
    start();
    EXPECT_EQ(d().colorForKey("cdBgColour"), QColor(10, 20, 30));
    EXPECT_EQ(d().colorForKey("spouseColour"), QColor(255, 255, 230)) << "a missing colour is still filled in";
}

TEST_F(InitialiseUserDefaults, FontSizeOutsideSixToSixteenBecomesEleven)
{
    const struct {
        QVariant stored;
        double after;
    } cases[] = {{6.0, 6}, {16.0, 16}, {12.5, 12.5}, {5.5, 11}, {16.5, 11}, {0, 11}, {"large", 11}};
    for (const auto& c : cases) {
        d().setObject("fontSize", c.stored);
        start();
        EXPECT_DOUBLE_EQ(d().doubleForKey("fontSize"), c.after) << c.stored.toString().toStdString();
    }
}

TEST_F(InitialiseUserDefaults, DiagramFontAlwaysEndsAtSizeEleven)
{
    QFont serif("Liberation Serif", 14);
    serif.setBold(true);
    const struct {
        const char* what;
        QString stored; // empty: absent
        QString family;
        bool italic;
        bool bold;
    } cases[] = {
        {"absent", {}, "Arial", true, false},
        {"size 14", serif.toString(), "Liberation Serif", false, true},
        {"unreadable", "Arial,x,y,z", "Arial", true, false},
    };
    for (const auto& c : cases) {
        if (c.stored.isEmpty())
            d().removeObject("cdFont");
        else
            d().setString("cdFont", c.stored);
        start();
        const QFont f = d().fontForKey("cdFont");
        EXPECT_EQ(f.family(), c.family) << c.what;
        EXPECT_EQ(f.pointSizeF(), 11) << c.what;
        EXPECT_EQ(f.italic(), c.italic) << c.what;
        EXPECT_EQ(f.bold(), c.bold) << c.what;
    }
}

TEST_F(InitialiseUserDefaults, MissingFontIsReportedButNeverFatal)
{
    EXPECT_TRUE(FirstRunDefaults::checkFontIsEnabled("Arial")) << "Liberation Sans stands in for Arial";
    EXPECT_TRUE(prompts.records.isEmpty());
    EXPECT_FALSE(FirstRunDefaults::checkFontIsEnabled("No Such Family Kinloom"));
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].text,
              "Kinloom for Vovadid " + LocalizedString("FontWarning") + " Kinloom for Vovadid.");
}
