#include "editor/RelativesCsv.h"

#include "shell/CsvWriter.h"
#include "shell/DisplayMsg.h"
#include "shell/Utils.h"

#include "model/FTEvent.h"
#include "model/FTPerson.h"

#include "platform/Localizer.h"
#include "platform/Prompts.h"

#include <QSaveFile>

QString RelativesCsv::stringFromInt(int value)
{
    return CsvWriter::number(value);
}

QString RelativesCsv::cleanString(const QString& text)
{
    return CsvWriter::quoted(text);
}

QString RelativesCsv::cleanDateString(const QString& text)
{
    return CsvWriter::tripleQuoted(text);
}

QString RelativesCsv::line(const Relative& row)
{
    const FTPerson* p = row.person();
    const FTEvent* birth = p ? p->birth() : nullptr;
    const FTEvent* death = p ? p->death() : nullptr;
    const QStringList fields = {
        stringFromInt(p ? p->numericId() : 0),
        row.relationship(),
        cleanString(p ? p->name() : QString()),
        cleanDateString(birth ? birth->date() : QString()),
        stringFromInt(birth ? birth->year() : 0),
        cleanString(birth ? birth->place() : QString()),
        cleanDateString(death ? death->date() : QString()),
        stringFromInt(death ? death->year() : 0),
        cleanString(death ? death->place() : QString()),
        cleanString(p ? p->ageAtDeath() : QString()),
    };
    return fields.join(QLatin1Char(',')) + QLatin1Char('\n');
}

QByteArray RelativesCsv::contents(const QList<Relative>& rows)
{
    QByteArray out("\xEF\xBB\xBF");
    out += LocalizedString("RelativesCsvHeaderLine").toUtf8();
    for (const Relative& row : rows)
        out += line(row).toUtf8();
    return out;
}

QString RelativesCsv::pathFor(const FTPerson* person, const QString& reportsFolder)
{
    const QString name = Utils::safeFileName(person ? person->name() : QString());
    return QStringLiteral("%1/%2_%3.csv").arg(reportsFolder, name, LocalizedString("Relatives"));
}

bool RelativesCsv::write(const QList<Relative>& rows, const QString& path, QString* error)
{
    QSaveFile file(path);
    const QByteArray data = contents(rows);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

QString RelativesCsv::generateCsvReport(const FTPerson* person, const QList<Relative>& rows)
{
    if (!person)
        return {};
    const QString folder = Utils::reportsDirectory();
    if (folder.isEmpty())
        return {};
    const QString path = pathFor(person, folder);
    QString error;
    if (!write(rows, path, &error)) {
        Prompts::current().message(QStringLiteral("%1: %2").arg(LocalizedString("UnableToCreateReport"), path),
                                   error);
        return {};
    }
    DisplayMsg(LocalizedString("CsvNote"));
    const QStringList applications = Utils::applicationsThatOpenFile(path);
    if (applications.isEmpty())
        DisplayMsg(QStringLiteral("%1 %2 %3").arg(LocalizedString("FileNotOpened1"), path,
                                                   LocalizedString("FileNotOpened2")));
    else
        Utils::displayFile(path, applications.constFirst());
    return path;
}
