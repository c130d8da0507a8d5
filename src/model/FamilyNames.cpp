#include "model/FamilyNames.h"

#include <QStringList>

const QSet<QString>& FamilyNames::prefixes()
{
    static const QSet<QString> set = [] {
        QSet<QString> s { "ab", "abu", "ap", "ben", "bin", "da", "de", "del", "den", "der", "des", "di", "du", "fitz",
            "ibn", "la", "le", "of", "st", "st.", "ter", "von", "van", "mac", "mc", "nic", "an", "Bean" };
        // The Irish forms: Ó, Ní, Iníon and Uì.
        s << QString(QChar(211)) << QStringLiteral("N") + QChar(237) << QStringLiteral("In") + QChar(237) + "on"
          << QStringLiteral("U") + QChar(236);
        return s;
    }();
    return set;
}

const QSet<QString>& FamilyNames::suffixes()
{
    static const QSet<QString> set { "Jr", "Sr", "I", "II", "III", "IV", "V", "VI", "VII", "VIII", "IX", "X", "XI",
        "XII", "XIII", "XIV", "XV", "XVI", "XVII", "XVIII", "XIX", "XX" };
    return set;
}

QString FamilyNames::uppercaseFamilyName(const QString& name)
{
    const QStringList words = name.split(' ');
    if (words.size() < 2)
        return name;
    const QString last = words.last().toUpper();
    for (QChar c : last)
        if (c.isPunct())
            return name;
    QString out;
    for (qsizetype i = 0; i + 1 < words.size(); ++i)
        out += words[i] + ' ';
    return out + last;
}
