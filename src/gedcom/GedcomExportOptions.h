#pragma once

#include <QString>
#include <QStringList>
#include <QVariantMap>

// The options of one GEDCOM export run, as plain values. The export window fills them from the user
// defaults (fromUserDefaults) when the user presses Generate; tests fill them directly.
struct GedcomExportOptions {
    bool includeLivingPeople = true;
    bool depersonalizeLivingPeople = false;
    bool includeRecentlyDead = true;
    bool depersonalizeRecentlyDead = false;
    int recentlyDeadYears = 50;
    bool includeCustomTags = true;
    bool indentGedcomLines = false;
    // 0 keep the sex only, 1 also the first name, 2 also the birth year.
    int depersonalizeOption = 0;
    // The submitter and submission data: user-default key ("LdsSubmitterName", ...) to the stored object.
    // Only non-empty strings are written (see GedcomWriter::ldsDataFor).
    QVariantMap submissionData;

    // Reads every option key and the eleven submitter and submission keys. A key that was never set
    // takes its restore value. Leaving out recently dead people also leaves out the living.
    static GedcomExportOptions fromUserDefaults();
    // Writes the restore values of the option keys (not the submission keys) into the user defaults.
    static void restoreUserDefaults();
    // Stores "" under each submitter and submission key that has no value yet, in table order.
    static void ensureSubmissionKeys();

    // The eleven submitter (SUBM) and submission (SUBN) keys, in the order their lines are written.
    static const QStringList& submitterKeys();
    static const QStringList& submissionKeys();
    // The option keys with their restore values.
    static const QVariantMap& restoreValues();
};
