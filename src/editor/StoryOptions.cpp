#include "editor/StoryOptions.h"

#include "shell/FirstRunDefaults.h"

#include "platform/UserDefaults.h"

#include <QStringList>

const QList<StoryOptions::ScopeFlag>& StoryOptions::scopeFlags()
{
    static const QList<ScopeFlag> flags = {
        {"bParents", Parents},
        {"bChildren", Children},
        {"bSiblings", Siblings},
        {"bGrandparents", Grandparents},
        {"bGrandchildren", Grandchildren},
        {"bGreatGrandchildren", GreatGrandchildren},
        {"bParentsInLaw", ParentsInLaw},
        {"bAuntsAndUncles", AuntsAndUncles},
        {"bCousins", Cousins},
        {"bSiblingsInLaw", SiblingsInLaw},
        {"bNephewsAndNieces", NephewsAndNieces},
        {"bStepRels", StepRels},
        {"bAdoptedRels", AdoptedRels},
    };
    return flags;
}

qlonglong StoryOptions::scopeMask()
{
    qlonglong mask = 0;
    for (const ScopeFlag& flag : scopeFlags())
        mask |= flag.bit;
    return mask;
}

qlonglong StoryOptions::scopeWithGroups(qlonglong previous, qlonglong chosen)
{
    return (previous & ~scopeMask()) | (chosen & scopeMask());
}

QString StoryOptions::modeName(qlonglong mode)
{
    switch (mode) {
    case Prepend:
        return QStringLiteral("Prepend");
    case Append:
        return QStringLiteral("Append");
    case Replace:
        return QStringLiteral("Replace");
    default:
        return {};
    }
}

const QStringList& StoryOptions::booleanKeys()
{
    static const QStringList keys = {
        QStringLiteral("soDefaultPicture"),       QStringLiteral("soDefaultPicturesOfChildren"),
        QStringLiteral("soExcludeGoogleMaps"),    QStringLiteral("soCropTo4x3"),
        QStringLiteral("soIncludeBirthsOfLiving"), QStringLiteral("soTitleOrOccupation"),
        QStringLiteral("soCauseOfDeath"),         QStringLiteral("soIncludeSources"),
        QStringLiteral("soIncludeNotes"),         QStringLiteral("soIncludeComments"),
        QStringLiteral("soIncludeEvents"),        QStringLiteral("soIncludeOthersEvents"),
        QStringLiteral("soIncludeStepRels"),
    };
    return keys;
}

const QStringList& StoryOptions::colourKeys()
{
    static const QStringList keys = {QStringLiteral("soNotesColour"), QStringLiteral("soCommentsColour"),
                                     QStringLiteral("soSourcesColour"), QStringLiteral("soEventsColour")};
    return keys;
}

StoryOptions StoryOptions::fromUserDefaults()
{
    const UserDefaults& d = UserDefaults::standard();
    StoryOptions o;
    auto flag = [&d](const char* key, bool& value) {
        const QString k = QString::fromLatin1(key);
        if (d.contains(k))
            value = d.boolForKey(k);
    };
    auto colour = [&d](const char* key, QColor& value) {
        const QColor c = d.colorForKey(QString::fromLatin1(key));
        if (c.isValid())
            value = c;
    };
    if (d.contains(QStringLiteral("soPrependAppendReplace")))
        o.mode = d.integerForKey(QStringLiteral("soPrependAppendReplace"));
    if (d.contains(QStringLiteral("storyScopeOptions")))
        o.scope = d.integerForKey(QStringLiteral("storyScopeOptions"));
    flag("soDefaultPicture", o.defaultPicture);
    flag("soDefaultPicturesOfChildren", o.defaultPicturesOfChildren);
    flag("soExcludeGoogleMaps", o.excludeGoogleMaps);
    flag("soCropTo4x3", o.cropTo4x3);
    flag("soIncludeBirthsOfLiving", o.includeBirthsOfLiving);
    flag("soTitleOrOccupation", o.titleOrOccupation);
    flag("soCauseOfDeath", o.causeOfDeath);
    flag("soIncludeSources", o.includeSources);
    flag("soIncludeNotes", o.includeNotes);
    flag("soIncludeComments", o.includeComments);
    flag("soIncludeEvents", o.includeEvents);
    flag("soIncludeOthersEvents", o.includeOthersEvents);
    flag("soIncludeStepRels", o.includeStepRels);
    colour("soNotesColour", o.notesColour);
    colour("soCommentsColour", o.commentsColour);
    colour("soSourcesColour", o.sourcesColour);
    colour("soEventsColour", o.eventsColour);
    return o;
}

void StoryOptions::restoreFactoryValues()
{
    UserDefaults& d = UserDefaults::standard();
    QStringList keys = booleanKeys() + colourKeys();
    keys << QStringLiteral("soPrependAppendReplace") << QStringLiteral("storyScopeOptions");
    for (const QString& key : std::as_const(keys))
        d.removeObject(key);
    // The first-run registration sets exactly the keys that are absent now.
    FirstRunDefaults::initialiseStoryUserDefaults();
}
