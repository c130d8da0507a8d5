#include "gedcom/GedcomExportOptions.h"

#include "platform/UserDefaults.h"

const QStringList& GedcomExportOptions::submitterKeys()
{
    static const QStringList keys{"LdsSubmitterName", "LdsSubmitterAddress", "LdsSubmitterPhone",
                                  "LdsSubmitterLanguage", "LdsSubmitterRegisteredRFN"};
    return keys;
}

const QStringList& GedcomExportOptions::submissionKeys()
{
    static const QStringList keys{"LdsSubmissionFamilyFile",
                                  "LdsSubmissionTemple",
                                  "LdsSubmissionGenerationsOfAncestors",
                                  "LdsSubmissionGenerationsOfDescendants",
                                  "LdsSubmissionOrdinanceProcessFlag",
                                  "LdsSubmissionRecordId"};
    return keys;
}

const QVariantMap& GedcomExportOptions::restoreValues()
{
    static const QVariantMap values{
        {"geIncludeLivingPeople", true},        {"geDepersonalizeLivingPeople", false},
        {"geIncludeRecentlyDead", true},        {"geDepersonalizeRecentlyDead", false},
        {"geRecentlyDeadYears", 50},            {"geIncludeCustomTags", true},
        {"geIndentGedcomLines", false},         {"geDepersonalizeOption", 0},
    };
    return values;
}

GedcomExportOptions GedcomExportOptions::fromUserDefaults()
{
    UserDefaults& d = UserDefaults::standard();
    auto flag = [&](const char* key) {
        return d.contains(key) ? d.boolForKey(key) : restoreValues().value(key).toBool();
    };
    auto number = [&](const char* key) {
        return d.contains(key) ? int(d.integerForKey(key)) : restoreValues().value(key).toInt();
    };

    GedcomExportOptions o;
    o.includeLivingPeople = flag("geIncludeLivingPeople");
    o.depersonalizeLivingPeople = flag("geDepersonalizeLivingPeople");
    o.includeRecentlyDead = flag("geIncludeRecentlyDead");
    o.depersonalizeRecentlyDead = flag("geDepersonalizeRecentlyDead");
    o.recentlyDeadYears = number("geRecentlyDeadYears");
    o.includeCustomTags = flag("geIncludeCustomTags");
    o.indentGedcomLines = flag("geIndentGedcomLines");
    o.depersonalizeOption = number("geDepersonalizeOption");
    // Someone who died recently was alive within the period, so the living cannot be written when
    // the recently dead are held back.
    if (!o.includeRecentlyDead)
        o.includeLivingPeople = false;

    for (const QStringList* keys : {&submitterKeys(), &submissionKeys()})
        for (const QString& key : *keys)
            if (d.contains(key))
                o.submissionData.insert(key, d.objectForKey(key));
    return o;
}

void GedcomExportOptions::restoreUserDefaults()
{
    UserDefaults& d = UserDefaults::standard();
    for (auto it = restoreValues().begin(); it != restoreValues().end(); ++it)
        d.setObject(it.key(), it.value());
}

void GedcomExportOptions::ensureSubmissionKeys()
{
    UserDefaults& d = UserDefaults::standard();
    for (const QStringList* keys : {&submitterKeys(), &submissionKeys()})
        for (const QString& key : *keys)
            if (!d.contains(key))
                d.setString(key, QString());
}
