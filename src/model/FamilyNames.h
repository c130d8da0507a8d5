#pragma once

#include <QSet>
#include <QString>

// The words that the family-name rule of a person's name knows: family-name prefixes ("van", "de", "mac" ...),
// which stay with the family name that follows them, and suffixes ("Jr", "III" ...), which stay with the family
// name before them. Also the capitalising of a family name that the user default "uppercaseFamilyName" asks for.
namespace FamilyNames {
// 32 prefixes, compared as written (the caller lower-cases the word it tests).
const QSet<QString>& prefixes();
// "Jr", "Sr" and the Roman numerals "I" to "XX".
const QSet<QString>& suffixes();
// The last of two or more words (split at single blanks) in capitals, unless it holds punctuation ("O'Brien").
QString uppercaseFamilyName(const QString& name);
}
