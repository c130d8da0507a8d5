#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class FTMoc;
class FTSource;

// Types for sources that have none, guessed from the words of their own texts, so that the source menus, which
// group by type, can list them. The candidate names are the database's types and a vocabulary of common kinds of
// records, longest first: the longest name found in any field wins. A name of four letters or fewer matches only
// as a word followed by a blank or ending the field; a name ending in "y" (not "ey") also matches its "ies" plural,
// and the singular is stored.
class SourceTypeAssignment {
public:
    // The candidates: the context's source types and the "SrcsAutoType" vocabulary, less the two names never
    // assigned, ordered by length (longest first), then by text.
    static QStringList getSourceTypeNames(const FTMoc* moc);
    // Gives `source` the first of `types` found in its abbreviated title, title, author, publisher, location or
    // notes (in that order for each name). True when it set one.
    static bool setSourceTypeFor(FTSource* source, const QStringList& types);
    // After the user agrees: every source whose type is empty or blanks gets a guessed one; the user is told how
    // many. Not saved, no undo name. Answers the count, nothing when the user declined.
    static std::optional<int> autoPopulateSourceTypes(FTMoc* moc);
    // Types with trailing blanks are trimmed (run each time the sources editor opens).
    static void correctSourceTypesWithTrailingSpaces(FTMoc* moc);
};
