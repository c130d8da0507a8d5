#include "diagrams/DiagramFileName.h"

#include "model/FTPerson.h"

#include "shell/Utils.h"

QString DiagramFileName::baseName(const FTPerson* person)
{
    return safeBaseName(person ? person->nameWithBirthAndDeathYears() : QString(), QStringLiteral("Family Diagram"));
}

QString DiagramFileName::safeBaseName(QString name, const QString& fallback)
{
    return Utils::safeFileName(name, fallback);
}

QString DiagramFileName::path(const QString& folder, const FTPerson* person, const QString& extension)
{
    return QStringLiteral("%1/%2.%3").arg(folder, baseName(person), extension);
}
