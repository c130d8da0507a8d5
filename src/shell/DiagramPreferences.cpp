#include "shell/DiagramPreferences.h"

#include "shell/DisplayMsg.h"
#include "shell/FirstRunDefaults.h"

#include "model/FTMoc.h"

#include "platform/Localizer.h"
#include "platform/UserDefaults.h"

#include <QVariant>

#include <algorithm>
#include <utility>

QStringList DiagramPreferences::nameOptionTitles()
{
    static const char* const keys[] = {"DiagOptFullName", "DiagOptFirstLast", "DiagOptTitOc",     "DiagOptBirthDeath",
                                       "DiagOptMarriages", "DiagOptChildren", "DiagOptMigration", "DiagOptReligious",
                                       "DiagOptBurial",    "DiagOptDeathCause", "DiagOptConsang", "DiagOptAhnentafel",
                                       "DiagOptSources",   "DiagOptLastChange"};
    QStringList titles;
    for (const char* key : keys)
        titles << LocalizedString(QString::fromLatin1(key));
    // The ahnentafel title is a format that takes the accented letter of its name.
    titles[kAhnentafel] = titles[kAhnentafel].arg(QChar(0x00E9));
    return titles;
}

int DiagramPreferences::nameOption()
{
    return int(UserDefaults::standard().integerForKey(QStringLiteral("cdNameOption")));
}

void DiagramPreferences::setNameOption(int option, FTMoc* moc, Diagram* diagram)
{
    option = std::clamp(option, 0, int(nameOptionTitles().size()) - 1);
    UserDefaults::standard().setInteger(QStringLiteral("cdNameOption"), option);
    nameOptionChanged(moc, diagram);
}

void DiagramPreferences::nameOptionChanged(FTMoc* moc, Diagram* diagram)
{
    const int option = nameOption();
    if ((option == kConsanguinity || option == kAhnentafel) && moc && !moc->projectView())
        DisplayMsg(LocalizedString(QStringLiteral("AncestralViewNeeded")));
    if (diagram) {
        diagram->setRefreshArray(true);
        diagram->redraw();
    }
}

QFont DiagramPreferences::defaultCdFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setItalic(true);
    font.setPointSizeF(11);
    return font;
}

QStringList DiagramPreferences::resetColourKeys()
{
    return {QStringLiteral("cdBgColour"),          QStringLiteral("selectedPersonColour"),
            QStringLiteral("spouseColour"),        QStringLiteral("otherPersonColour"),
            QStringLiteral("ancestralViewColour"), QStringLiteral("mainWindowBgColour"),
            QStringLiteral("panelsBgColour")};
}

void DiagramPreferences::setDefaults(Diagram* diagram)
{
    UserDefaults& d = UserDefaults::standard();
    static const std::pair<const char*, QVariant> values[] = {
        {"fontSize", 11.0},
        {"speakIt", false},
        {"childrenOnLeft", true},
        {"showGhostOutlines", true},
        {"showTimeline", true},
        {"showStepRelsOfFocalPerson", true},
        {"showShadows", true},
        {"cdShadowSize", 5.0},
        {"showPcdToolTips", true},
        {"showFullPcdToolTips", false},
        {"showFocalPersonsId", true},
        {"showFullNameInDiagram", false},
        {"alwaysShowFamilyDialog", false},
        {"maxAncestorLevel", 3},
        {"showRelationshipHandles", true},
        {"alwaysCopyToPicturesFolder", true},
        {"cdShowMugShots", false},
        {"cdShowGenderSymbolsForAll", false},
        {"cdNameOption", 0},
        {"cdHighlightBadPcRels", true},
        {"cdCheckForMissingCitations", true},
        {"binaryAhnentafelNumbers", true},
        {"cdColourGradient", 0.4},
        {"cdPersonColourGradient", 0.25},
    };
    for (const auto& [key, value] : values)
        d.setObject(QString::fromLatin1(key), value);
    for (const QString& key : resetColourKeys())
        d.setString(key, FirstRunDefaults::mainColourFirstRunValue(key));
    if (diagram) {
        diagram->setCdFont(defaultCdFont());
        diagram->setRefreshArray(true);
    } else {
        d.setFont(QStringLiteral("cdFont"), defaultCdFont());
    }
}
