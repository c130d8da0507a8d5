#include "publishing/HtmlOptions.h"

#include "platform/UserDefaults.h"

#include <QVariant>

namespace {
struct Preset {
    const char* key;
    QVariant standard;
    QVariant smallScreen;
};

QVariant colour(int r, int g, int b)
{
    return UserDefaults::colorToString(QColor(r, g, b));
}

// The options panel's two fixed sets, key by key in the order of the first-run values.
const QList<Preset>& presets()
{
    static const QList<Preset> table = {
        {"htmlIncludeContextDiagram", true, true},
        {"htmlDefaultPictureOfPerson", true, true},
        {"htmlAllPicturesOfPerson", false, false},
        {"htmlPicturesOfSpouses", true, true},
        {"htmlPicturesOfParents", false, false},
        {"htmlPicturesOfChildren", false, true},
        {"htmlCropTo4x3", false, false},
        {"htmlExcludeLivingPeople", true, false},
        {"htmlExcludeRecentlyDeadPeople", true, false},
        {"htmlDepersonalizeLivingPeople", true, false},
        {"htmlYearsSinceDeath", 80, 80},
        {"htmlTitleOrOccupation", true, true},
        {"htmlCauseOfDeath", true, false},
        {"htmlIncludeComments", false, false},
        {"htmlIncludeNotes", true, true},
        {"htmlIncludeSources", true, true},
        {"htmlIncludeSourceRefsNotes", true, true},
        {"htmlIncludeStepRels", false, false},
        {"htmlIncludeAdoptedRels", false, false},
        {"htmlIncludePersonalEvents", true, true},
        {"htmlIncludeOthersEvents", true, true},
        {"htmlIncludeParents", false, true},
        {"htmlIncludeChildren", false, true},
        {"htmlIncludeSiblings", false, true},
        {"htmlIncludeNearRelatives", false, false},
        {"htmlIncludeGrandchildren", false, false},
        {"htmlIncludeBirthNotes", false, true},
        {"htmlIncludeDeathNotes", false, true},
        {"htmlIncludeEventNotes", true, false},
        {"htmlIncludeBDMInfo", true, true},
        {"htmlAutoRegenerate", true, true},
        {"htmlRandomColours", false, false},
        {"htmlCenteredOnPage", true, true},
        {"htmlDefaultFontSize", 10, 10},
        {"htmlEventNotes", true, false},
        {"htmlCdBorder", true, true},
        {"htmlEventsBorder", true, false},
        {"htmlKinship", 1, 1},
        {"htmlIncludeConsanguinityInIndex", false, false},
        {"htmlIncludeTitleInIndex", false, false},
        {"htmlFamilyBorder", true, true},
        {"htmlTabularContextDiagram", false, false},
        {"htmlAncestorsTables", false, false},
        {"htmlDescendantsTables", false, false},
        {"htmlCopyMediaFiles", false, true},
        {"htmlCompressMediaFiles", true, true},
        {"htmlCdDiagramWidth", 800, 480},
        {"htmlCdDiagramGenerations", 3, 1},
        {"htmlColourGradient", 0.4, 0.0},
        {"htmlDefaultFontFace", QStringLiteral("Verdana"), QStringLiteral("Verdana")},
        {"htmlIncludeNotesForPictures", false, false},
        {"htmlIncludeKinloomFooter", true, true},
        {"htmlOneColumnIndexForiPhone", false, true},
        {"htmlHeadingColour", colour(0, 0, 0), colour(0, 0, 0)},
        {"htmlNotesColour", colour(255, 0, 0), colour(255, 0, 0)},
        {"htmlCommentsColour", colour(167, 69, 0), colour(167, 69, 0)},
        {"htmlSourcesColour", colour(0, 127, 0), colour(0, 127, 0)},
        {"htmlEventsColour", colour(0, 0, 255), colour(0, 0, 255)},
        {"htmlBgColour", colour(255, 255, 240), colour(255, 255, 255)},
    };
    return table;
}

void store(bool smallScreen)
{
    UserDefaults& d = UserDefaults::standard();
    for (const Preset& p : presets())
        d.setObject(QString::fromLatin1(p.key), smallScreen ? p.smallScreen : p.standard);
}
} // namespace

HtmlOptions HtmlOptions::fromUserDefaults()
{
    HtmlOptions o;
    const UserDefaults& d = UserDefaults::standard();
    const auto b = [&d](const char* key, bool& value) {
        if (d.contains(QString::fromLatin1(key)))
            value = d.boolForKey(QString::fromLatin1(key));
    };
    const auto i = [&d](const char* key, int& value) {
        if (d.contains(QString::fromLatin1(key)))
            value = int(d.integerForKey(QString::fromLatin1(key)));
    };
    b("htmlExcludeLivingPeople", o.excludeLivingPeople);
    b("htmlExcludeRecentlyDeadPeople", o.excludeRecentlyDeadPeople);
    b("htmlDepersonalizeLivingPeople", o.depersonalizeLivingPeople);
    i("htmlYearsSinceDeath", o.yearsSinceDeath);
    b("htmlIncludeContextDiagram", o.includeContextDiagram);
    b("htmlTabularContextDiagram", o.tabularContextDiagram);
    i("htmlCdDiagramGenerations", o.cdDiagramGenerations);
    i("htmlCdDiagramWidth", o.cdDiagramWidth);
    if (d.contains(QStringLiteral("htmlColourGradient")))
        o.colourGradient = d.doubleForKey(QStringLiteral("htmlColourGradient"));
    b("htmlAncestorsTables", o.ancestorsTables);
    b("htmlTitleOrOccupation", o.titleOrOccupation);
    b("htmlCauseOfDeath", o.causeOfDeath);
    b("htmlIncludeComments", o.includeComments);
    b("htmlIncludeNotes", o.includeNotes);
    b("htmlIncludeSources", o.includeSources);
    b("htmlIncludeSourceRefsNotes", o.includeSourceRefsNotes);
    b("htmlIncludeStepRels", o.includeStepRels);
    b("htmlIncludeAdoptedRels", o.includeAdoptedRels);
    b("htmlIncludePersonalEvents", o.includePersonalEvents);
    b("htmlIncludeOthersEvents", o.includeOthersEvents);
    b("htmlIncludeParents", o.includeParents);
    b("htmlIncludeChildren", o.includeChildren);
    b("htmlIncludeSiblings", o.includeSiblings);
    b("htmlIncludeNearRelatives", o.includeNearRelatives);
    b("htmlIncludeGrandchildren", o.includeGrandchildren);
    b("htmlIncludeBirthNotes", o.includeBirthNotes);
    b("htmlIncludeDeathNotes", o.includeDeathNotes);
    b("htmlIncludeEventNotes", o.includeEventNotes);
    b("htmlIncludeBDMInfo", o.includeBDMInfo);
    b("htmlIncludeKinloomFooter", o.includeKinloomFooter);
    b("htmlDefaultPictureOfPerson", o.defaultPictureOfPerson);
    b("htmlAllPicturesOfPerson", o.allPicturesOfPerson);
    b("htmlPicturesOfSpouses", o.picturesOfSpouses);
    b("htmlPicturesOfChildren", o.picturesOfChildren);
    b("htmlIncludeNotesForPictures", o.includeNotesForPictures);
    b("htmlCopyMediaFiles", o.copyMediaFiles);
    b("htmlCompressMediaFiles", o.compressMediaFiles);
    b("htmlRandomColours", o.randomColours);
    if (d.contains(QStringLiteral("htmlBgColour"))) {
        const QColor c = d.colorForKey(QStringLiteral("htmlBgColour"));
        if (c.isValid())
            o.bgColour = c;
    }
    b("htmlCenteredOnPage", o.centeredOnPage);
    if (d.contains(QStringLiteral("htmlDefaultFontFace")))
        o.defaultFontFace = d.stringForKey(QStringLiteral("htmlDefaultFontFace"));
    i("htmlDefaultFontSize", o.defaultFontSize);
    b("htmlCdBorder", o.cdBorder);
    b("htmlEventsBorder", o.eventsBorder);
    i("htmlKinship", o.kinship);
    b("htmlIncludeConsanguinityInIndex", o.includeConsanguinityInIndex);
    b("htmlIncludeTitleInIndex", o.includeTitleInIndex);
    b("htmlOneColumnIndexForiPhone", o.oneColumnIndexForiPhone);
    return o;
}

void HtmlOptions::setDefaults()
{
    store(false);
}

void HtmlOptions::setiPhoneDefaults()
{
    store(true);
}
