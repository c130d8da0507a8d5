#include "diagrams/HdOptions.h"

#include "model/FTPerson.h"

#include "platform/UserDefaults.h"

#include <algorithm>
#include <cmath>

namespace {
void readBool(const UserDefaults& d, const char* key, bool& out)
{
    const QString k = QString::fromLatin1(key);
    if (d.contains(k))
        out = d.boolForKey(k);
}

// Levels index tables of the layout: a value outside 0 to max (the "Add generation" answer raises it without
// bound, and the file may hold anything) is brought inside.
void readLevel(const UserDefaults& d, const char* key, int& out)
{
    const QString k = QString::fromLatin1(key);
    if (d.contains(k))
        out = int(std::clamp<qlonglong>(d.integerForKey(k), 0, HdOptions::kMaxLevels - 1));
}

// Sizes divide and scale the layout: a value that is not a number above 0 keeps the factory value.
void readPositive(const UserDefaults& d, const char* key, double& out)
{
    const QString k = QString::fromLatin1(key);
    if (!d.contains(k))
        return;
    const double v = d.doubleForKey(k);
    if (std::isfinite(v) && v > 0)
        out = v;
}

void readColour(const UserDefaults& d, const char* key, QColor& out, QColor missing = Qt::black)
{
    const QColor c = d.colorForKey(QString::fromLatin1(key));
    out = c.isValid() ? c : missing;
}
}

HdOptions HdOptions::fromUserDefaults()
{
    UserDefaults& d = UserDefaults::standard();
    HdOptions o;
    readBool(d, "hdFullName", o.fullName);
    readBool(d, "hdIdNo", o.idNo);
    readBool(d, "hdTitle", o.title);
    readBool(d, "hdPictures", o.pictures);
    readBool(d, "hdExcludeMaps", o.excludeMaps);
    readBool(d, "hdSpousePictures", o.spousePictures);
    readBool(d, "hdBirthInfo", o.birthInfo);
    readBool(d, "hdDeathInfo", o.deathInfo);
    readBool(d, "hdSpouses", o.spouses);
    readBool(d, "hdNotes", o.notes);
    readBool(d, "hdNameOnly", o.nameOnly);
    readBool(d, "hdTruncateLines", o.truncateLines);
    readBool(d, "hdTruncateNotes", o.truncateNotes);
    readBool(d, "hdNameBold", o.nameBold);
    readBool(d, "hdShowGender", o.showGender);
    readBool(d, "hdBlackAndWhite", o.blackAndWhite);
    readBool(d, "hdRootsSiblings", o.rootsSiblings);
    readBool(d, "hdIncludeAllSiblings", o.includeAllSiblings);
    readBool(d, "hdIncludeAllSiblingsChildren", o.includeAllSiblingsChildren);
    readBool(d, "hdIncludeAllSiblingsGrandchildren", o.includeAllSiblingsGrandchildren);
    if (o.includeAllSiblingsGrandchildren) {
        readLevel(d, "hdMaxSiblingsDescendants", o.maxSiblingsDescendants);
    } else {
        o.maxSiblingsDescendants = 2;
        if (d.integerForKey(QStringLiteral("hdMaxSiblingsDescendants")) != 2)
            d.setInteger(QStringLiteral("hdMaxSiblingsDescendants"), 2);
    }
    readBool(d, "hdIncludeSpousesAncestors", o.includeSpousesAncestors);
    readBool(d, "hdExcludeBirthDatesOfLiving", o.excludeBirthDatesOfLiving);
    readBool(d, "hdShowConsanguinity", o.showConsanguinity);

    readLevel(d, "hdGenerations", o.generations);
    readBool(d, "hdIncludeAdoptedChildren", o.includeAdoptedChildren);
    readBool(d, "hdIncludeStepChildren", o.includeStepChildren);

    readPositive(d, "hdPointSize", o.pointSize);
    readPositive(d, "hdColWidthFactor", o.colWidthFactor);
    readBool(d, "hdCascaded", o.cascaded);
    readBool(d, "hdScrunched", o.scrunched);
    readBool(d, "hdHorizontal", o.horizontal);
    readBool(d, "hdSizeToWidth", o.sizeToWidth);
    readBool(d, "hdShowRootPath", o.showRootPath);

    readBool(d, "hdShowContinuationLines", o.showContinuationLines);
    readBool(d, "hdDisplayTimeline", o.displayTimeline);
    readBool(d, "hdIncludeAuthorsByline", o.includeAuthorsByline);
    readBool(d, "hdIncludeKinloomFooter", o.includeKinloomFooter);
    if (d.contains(QStringLiteral("hdColourGradient"))) {
        const double g = d.doubleForKey(QStringLiteral("hdColourGradient"));
        o.colourGradient = std::isfinite(g) ? std::clamp(g, 0.0, 1.0) : 0.0;
    }

    readColour(d, "hdBgColour", o.bgColour, Qt::white);
    readColour(d, "hdNameColour", o.nameColour);
    readColour(d, "hdTitleColour", o.titleColour);
    readColour(d, "hdIdNoColour", o.idNoColour);
    readColour(d, "hdBirthColour", o.birthColour);
    readColour(d, "hdSpouseColour", o.spouseColour);
    readColour(d, "hdDeathColour", o.deathColour);
    readColour(d, "hdNotesColour", o.notesColour);
    readColour(d, "hdSiblingsColour", o.siblingsColour);
    readColour(d, "hdSpousesAncestorsColour", o.spousesAncestorsColour);
    readColour(d, "hdHighlightColour", o.highlightColour);
    return o;
}

void HdOptions::writeToUserDefaults() const
{
    UserDefaults& d = UserDefaults::standard();
    const auto b = [&d](const char* key, bool value) { d.setBool(QString::fromLatin1(key), value); };
    const auto colour = [&d](const char* key, const QColor& value) { d.setColor(QString::fromLatin1(key), value); };
    b("hdFullName", fullName);
    b("hdIdNo", idNo);
    b("hdTitle", title);
    b("hdPictures", pictures);
    b("hdExcludeMaps", excludeMaps);
    b("hdSpousePictures", spousePictures);
    b("hdBirthInfo", birthInfo);
    b("hdDeathInfo", deathInfo);
    b("hdSpouses", spouses);
    b("hdNotes", notes);
    b("hdNameOnly", nameOnly);
    b("hdTruncateLines", truncateLines);
    b("hdTruncateNotes", truncateNotes);
    b("hdNameBold", nameBold);
    b("hdShowGender", showGender);
    b("hdBlackAndWhite", blackAndWhite);
    b("hdRootsSiblings", rootsSiblings);
    b("hdIncludeAllSiblings", includeAllSiblings);
    b("hdIncludeAllSiblingsChildren", includeAllSiblingsChildren);
    b("hdIncludeAllSiblingsGrandchildren", includeAllSiblingsGrandchildren);
    d.setInteger(QStringLiteral("hdMaxSiblingsDescendants"), maxSiblingsDescendants);
    b("hdIncludeSpousesAncestors", includeSpousesAncestors);
    b("hdExcludeBirthDatesOfLiving", excludeBirthDatesOfLiving);
    b("hdShowConsanguinity", showConsanguinity);
    d.setInteger(QStringLiteral("hdGenerations"), generations);
    b("hdIncludeAdoptedChildren", includeAdoptedChildren);
    b("hdIncludeStepChildren", includeStepChildren);
    d.setDouble(QStringLiteral("hdPointSize"), pointSize);
    d.setDouble(QStringLiteral("hdColWidthFactor"), colWidthFactor);
    b("hdCascaded", cascaded);
    b("hdScrunched", scrunched);
    b("hdHorizontal", horizontal);
    b("hdSizeToWidth", sizeToWidth);
    b("hdShowRootPath", showRootPath);
    b("hdShowContinuationLines", showContinuationLines);
    b("hdDisplayTimeline", displayTimeline);
    b("hdIncludeAuthorsByline", includeAuthorsByline);
    b("hdIncludeKinloomFooter", includeKinloomFooter);
    d.setDouble(QStringLiteral("hdColourGradient"), colourGradient);
    colour("hdBgColour", bgColour);
    colour("hdNameColour", nameColour);
    colour("hdTitleColour", titleColour);
    colour("hdIdNoColour", idNoColour);
    colour("hdBirthColour", birthColour);
    colour("hdSpouseColour", spouseColour);
    colour("hdDeathColour", deathColour);
    colour("hdNotesColour", notesColour);
    colour("hdSiblingsColour", siblingsColour);
    colour("hdSpousesAncestorsColour", spousesAncestorsColour);
    colour("hdHighlightColour", highlightColour);
}

const QStringList& HdOptions::userDefaultsKeys()
{
    static const QStringList keys = {
        "hdFullName", "hdIdNo", "hdTitle", "hdPictures", "hdExcludeMaps", "hdSpousePictures", "hdBirthInfo",
        "hdDeathInfo", "hdSpouses", "hdGenerations", "hdPointSize", "hdColWidthFactor", "hdScrunched", "hdHorizontal",
        "hdSizeToWidth", "hdNameOnly", "hdBgColour", "hdNameColour", "hdTitleColour", "hdIdNoColour", "hdBirthColour",
        "hdDeathColour", "hdSpouseColour", "hdTruncateLines", "hdNotes", "hdNotesColour", "hdSiblingsColour",
        "hdShowContinuationLines", "hdShowRootPath", "hdRootsSiblings", "hdBlackAndWhite", "hdNameBold",
        "hdShowGender", "hdHighlightColour", "hdColourGradient", "hdFrameColour", "hdTruncateNotes",
        "hdDisplayTimeline", "hdIncludeAdoptedChildren", "hdIncludeStepChildren", "hdIncludeAllSiblings",
        "hdIncludeAllSiblingsChildren", "hdIncludeAllSiblingsGrandchildren", "hdMaxSiblingsDescendants",
        "hdIncludeAuthorsByline", "authorsByline", "hdIncludeSpousesAncestors", "hdSpousesAncestorsColour",
        "hdExcludeBirthDatesOfLiving", "hdShowConsanguinity", "hdIncludeKinloomFooter",
    };
    return keys;
}

void HdOptions::saveAsUserDefaults()
{
    UserDefaults& d = UserDefaults::standard();
    QVariantMap saved;
    for (const QString& key : userDefaultsKeys())
        if (d.contains(key))
            saved.insert(key, d.objectForKey(key));
    d.setObject(QStringLiteral("hdUserDefaults"), saved);
}

bool HdOptions::restoreUserDefaults()
{
    // Only the keys saved: whatever else the dictionary may hold (a hand-edited file) stays out, and so does
    // "hdCascaded", which belongs to the open diagram.
    UserDefaults& d = UserDefaults::standard();
    const QVariantMap saved = d.objectForKey(QStringLiteral("hdUserDefaults")).toMap();
    bool copied = false;
    for (const QString& key : userDefaultsKeys()) {
        const auto it = saved.constFind(key);
        if (it == saved.constEnd() || !it->isValid())
            continue;
        d.setObject(key, *it);
        copied = true;
    }
    return copied;
}

QString HdOptions::nameWithYears(const FTPerson* person, bool shortName) const
{
    if (!person)
        return {};
    // A living person has no death year: without the birth year nothing is left to show.
    if (excludeBirthDatesOfLiving && person->isLiving())
        return shortName ? person->shortName() : person->name();
    return shortName ? person->shortNameWithBirthAndDeathYears() : person->nameWithBirthAndDeathYears();
}

QString HdOptions::nameWithYearsNow(const FTPerson* person)
{
    HdOptions options;
    readBool(UserDefaults::standard(), "hdExcludeBirthDatesOfLiving", options.excludeBirthDatesOfLiving);
    return options.nameWithYears(person);
}
