#include "shell/Utils.h"
#include "shell/UtilsFunctions.h"

#include "model/EventTypesVocabulary.h"
#include "model/FamilyNames.h"

#include "platform/Localizer.h"
#include "platform/UserDefaults.h"

#include <QColor>
#include <QMap>
#include <QSet>
#include <QStringList>

namespace {
QStringList sortedNames(int mask)
{
    QStringList names = Utils::eventTypesDictionary(mask).values();
    std::sort(names.begin(), names.end(),
              [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    return names;
}

void collapseBlanks(QString& s)
{
    while (s.contains(QStringLiteral("  ")))
        s.replace(QStringLiteral("  "), QStringLiteral(" "));
}
}

// The vocabulary belongs to the family database, which seeds its event types from it.
QMap<QString, QString> Utils::eventTypesDictionary(int mask) { return EventTypesVocabulary::dictionary(mask); }

QMap<QString, QString> Utils::allEventTypesDictionary() { return eventTypesDictionary(-1); }
QStringList Utils::otherPersonalEventTypesArray() { return sortedNames(2 | 4 | 8 | 128); }
QStringList Utils::otherMarriageEventTypesArray() { return sortedNames(32 | 64 | 128); }

// The name vocabularies belong to the family database, whose family-name rule uses them.
QSet<QString> Utils::familyNamePrefixes() { return FamilyNames::prefixes(); }
QSet<QString> Utils::familyNameSuffixes() { return FamilyNames::suffixes(); }

int Utils::intPcRelTypeFromString(const QString& text)
{
    static const std::pair<const char*, int> kPrefixes[] = {{"Unknown", 0}, {"Natural", 1}, {"Step", 2},
                                                            {"Adopted", 8}, {"Foster", 4},  {"Not Related", 4096}};
    for (const auto& [prefix, bits] : kPrefixes)
        if (text.startsWith(QLatin1String(prefix)))
            return bits;
    return 0;
}

QString GetPcRelTypeString(int pcRelType)
{
    switch (pcRelType) {
    case 0: return QStringLiteral("Unknown");
    case 1: return QStringLiteral("Natural");
    case 2: return QStringLiteral("Step");
    case 4: return QStringLiteral("Foster");
    case 8: return QStringLiteral("Adopted");
    default: return QString();
    }
}

QString Utils::uppercaseFamilyName(const QString& name) { return FamilyNames::uppercaseFamilyName(name); }

namespace {
// True when cleanPlaceName would give `place` back unchanged: no comma or blank at either end, every comma followed
// by one blank, no blank before a comma, no doubled blank, and no full stop to drop. An import cleans every place
// of a file, and most are clean already.
bool placeNeedsNoCleaning(const QString& place, bool importRunning)
{
    const qsizetype n = place.size();
    if (n == 0)
        return true;
    const QChar* c = place.constData();
    if (c[0] == u',' || c[0] == u' ' || c[n - 1] == u',' || c[n - 1] == u' ')
        return false;
    bool stop = false;
    for (qsizetype i = 0; i < n; ++i) {
        if (c[i] == u',') {
            if (c[i + 1] != u' ' || c[i - 1] == u' ')
                return false;
        } else if (c[i] == u' ') {
            if (c[i + 1] == u' ')
                return false;
        } else if (c[i] == u'.' || c[i] == u'@') {
            stop = true; // conservative: a place with an "@" keeps its stops, but the full path decides that
        }
    }
    return importRunning || !stop;
}
}

QString Utils::cleanPlaceName(const QString& place, bool importRunning)
{
    if (placeNeedsNoCleaning(place, importRunning))
        return place;
    QString s = place;
    while (s.startsWith(','))
        s.remove(0, 1);
    while (s.contains(QStringLiteral(" ,")) || s.contains(QStringLiteral(",,"))) {
        s.replace(QStringLiteral(" ,"), QStringLiteral(","));
        s.replace(QStringLiteral(",,"), QStringLiteral(","));
    }
    if (!importRunning && !s.contains('@'))
        s.remove('.');
    s.replace(QStringLiteral(","), QStringLiteral(", "));
    collapseBlanks(s);
    auto edge = [](QChar c) { return c == ' ' || c == ','; };
    while (!s.isEmpty() && edge(s.back()))
        s.chop(1);
    while (!s.isEmpty() && edge(s.front()))
        s.remove(0, 1);
    return s;
}

QColor RGB(int red, int green, int blue) { return QColor(red, green, blue); }

QColor PanelColour()
{
    const QColor c = UserDefaults::standard().colorForKey(QStringLiteral("panelsBgColour"));
    return c.isValid() ? c : RGB(230, 230, 230);
}

QColor Utils::tableViewHighlightColour()
{
    const QColor c = UserDefaults::standard().colorForKey(QStringLiteral("tableViewHighlightColour"));
    return c.isValid() ? c : RGB(190, 220, 220);
}

QString TrimString(QString* text)
{
    if (!text)
        return {};
    *text = text->trimmed();
    return *text;
}

QString Utils::hexadecimalRepresentation(const QByteArray& data) { return QString::fromLatin1(data.toHex()); }

QString Utils::timeToText(int seconds)
{
    const int m = seconds / 60;
    const int s = seconds % 60;
    QString out;
    if (m != 0)
        out = QStringLiteral("%1 %2 %3 ")
                  .arg(m)
                  .arg(m == 1 ? LocalizedString("minute") : LocalizedString("minutes"),
                       LocalizedString("ConjunctiveAnd"));
    return out + QStringLiteral("%1 %2").arg(s).arg(s == 1 ? LocalizedString("second") : LocalizedString("seconds"));
}

QString Utils::replaceForwardSlashInString(const QString& text)
{
    QString s = text;
    for (QChar& c : s) {
        if (c == QLatin1Char('/'))
            c = QLatin1Char('|');
        else if (c.category() == QChar::Other_Control)
            c = QLatin1Char(' ');
    }
    return s;
}
