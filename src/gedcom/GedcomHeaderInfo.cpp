#include "gedcom/GedcomHeaderInfo.h"

#include <QLocale>

namespace {

QString withoutLeadingBlanks(const QString& s)
{
    qsizetype i = 0;
    while (i < s.size() && (s[i] == u' ' || s[i] == u'\t'))
        ++i;
    return s.mid(i);
}

// The level number at the start of a header line; -1 when there is none.
int levelOf(const QString& line)
{
    int level = -1;
    for (QChar c : line) {
        if (c < u'0' || c > u'9')
            break;
        level = (level < 0 ? 0 : level) * 10 + (c.unicode() - u'0');
        if (level > 1000)
            break;
    }
    return level;
}

bool has(const QString& text, const char* word)
{
    return text.contains(QLatin1String(word), Qt::CaseInsensitive);
}

QString orUnknown(const QString& s)
{
    return s.isEmpty() ? QStringLiteral("Unknown") : s;
}

} // namespace

GedcomHeaderInfo GedcomHeaderInfo::fromHeaderLines(const QStringList& rawLines)
{
    QStringList lines;
    lines.reserve(rawLines.size());
    for (const QString& l : rawLines)
        lines.append(withoutLeadingBlanks(l));

    GedcomHeaderInfo info;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (line.startsWith(QLatin1String("1 SOUR "))) {
            info.sourceApplication = line.mid(7);
            while (i + 1 < lines.size() && levelOf(lines[i + 1]) > 1) {
                const QString& sub = lines[++i];
                if (sub.startsWith(QLatin1String("2 VERS ")))
                    info.sourceVersion = sub.mid(7);
                else if (sub.startsWith(QLatin1String("2 NAME ")) && info.sourceApplication.isEmpty())
                    info.sourceApplication = sub.mid(7);
            }
        } else if (line.startsWith(QLatin1String("1 DATE "))) {
            info.creationDate = line.mid(7);
        } else if (line.startsWith(QLatin1String("1 CHAR "))) {
            info.characterSet = line.mid(7);
        }
    }
    info.setProgramFlags();
    return info;
}

void GedcomHeaderInfo::setProgramFlags()
{
    bReunion = bFamilyHistorian = bLegacy = bKinloom = bGene = bFTW = bTMG = false;
    const QString& app = sourceApplication;
    if (has(app, "Reunion"))
        bReunion = true;
    else if (has(app, "Family") && has(app, "Historian"))
        bFamilyHistorian = true;
    else if (has(app, "Legacy"))
        bLegacy = true;
    else if (has(app, "KinloomFor") || has(app, "Kinloom For"))
        bKinloom = true;
    else if (has(app, "Gene") && has(sourceVersion, "4.3"))
        bGene = true;
    else if (has(app, "FTW"))
        bFTW = true;
    else if (has(app, "TMG") || has(app, "The Master Genealogist"))
        bTMG = true;
}

QString GedcomHeaderInfo::infoText() const
{
    return QStringLiteral("The Gedcom file was created by\n%1\nVersion: %2\nCreated on: %3\nCharacter Set: %4")
        .arg(sourceApplication, sourceVersion, creationDate, characterSet);
}

QVariantMap GedcomHeaderInfo::loadInformation(const QString& gedcomPath, const QString& databasePath,
                                              const QDateTime& readAt) const
{
    // The read date is written with English month names whatever the user's language.
    const QString readText = QLocale::c().toString(readAt, QStringLiteral("dd-MMM-yy 'at' HH:mm"));
    QVariantMap m;
    m.insert(QStringLiteral("Application that wrote the Gedcom File"), orUnknown(sourceApplication));
    m.insert(QStringLiteral("Application version"), orUnknown(sourceVersion));
    m.insert(QStringLiteral("Character encoding"), orUnknown(characterSet));
    m.insert(QStringLiteral("Date Gedcom file was created"), orUnknown(creationDate));
    m.insert(QStringLiteral("Date Gedcom file was read"), readText);
    m.insert(QStringLiteral("Gedcom file that was read"), orUnknown(gedcomPath));
    m.insert(QStringLiteral("Kinloom database created"), orUnknown(databasePath));
    m.insert(QStringLiteral("Kinloom version used"), QStringLiteral("V%1").arg(QStringLiteral(KINLOOM_VERSION)));
    return m;
}
