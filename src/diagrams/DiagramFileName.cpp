#include "diagrams/DiagramFileName.h"

#include "model/FTPerson.h"

#include "shell/Utils.h"

QString DiagramFileName::baseName(const FTPerson* person)
{
    return safeBaseName(person ? person->nameWithBirthAndDeathYears() : QString(), QStringLiteral("Family Diagram"));
}

QString DiagramFileName::safeBaseName(QString name, const QString& fallback)
{
    name.removeIf([](QChar c) { return c.category() == QChar::Other_Control; });
    name = Utils::replaceForwardSlashInString(name).simplified();
    qsizetype lead = 0;
    while (lead < name.size() && (name[lead] == QLatin1Char('.') || name[lead].isSpace()))
        ++lead;
    name = name.mid(lead);
    // A file name holds at most 255 bytes: room for the extension and a number the folder may add.
    while (name.toUtf8().size() > 200)
        name.chop(name.size() > 1 && name.back().isLowSurrogate() ? 2 : 1);
    name = name.trimmed();
    return name.isEmpty() ? fallback : name;
}

QString DiagramFileName::path(const QString& folder, const FTPerson* person, const QString& extension)
{
    return QStringLiteral("%1/%2.%3").arg(folder, baseName(person), extension);
}
