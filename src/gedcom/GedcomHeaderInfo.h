#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariantMap>

// What the header of a GEDCOM file says about itself: the program that wrote it (and so which of its
// quirks to expect), the creation date and the character set. Read from the raw header lines before
// the file is decoded, shown in the import dialog and kept in the new database's metadata.
class GedcomHeaderInfo {
public:
    QString sourceApplication;
    QString sourceVersion;
    QString creationDate;
    QString characterSet;

    bool bReunion = false;
    bool bFamilyHistorian = false;
    bool bLegacy = false;
    bool bKinloom = false;
    bool bGene = false;
    bool bFTW = false;
    bool bTMG = false;

    // The header lines as the header scan gives them (leading blanks are removed here again).
    static GedcomHeaderInfo fromHeaderLines(const QStringList& lines);

    // Clears the program flags and sets at most one from the application name and version; the
    // header record reader uses the same rules.
    void setProgramFlags();

    // "The Gedcom file was created by\n...\nVersion: ...\nCreated on: ...\nCharacter Set: ..."
    QString infoText() const;

    // The "GedcomLoadInformation" dictionary of the new database's metadata.
    QVariantMap loadInformation(const QString& gedcomPath, const QString& databasePath,
                                const QDateTime& readAt) const;
};
