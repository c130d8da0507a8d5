#include "reports/PeopleIndexCsv.h"

#include "model/FTEvent.h"
#include "model/FTPerson.h"
#include "model/FTSpouseRel.h"
#include "model/ModelProgress.h"

#include "shell/CsvWriter.h"

#include <QFile>

#include "platform/Localizer.h"
#include "platform/Prompts.h"
#include "platform/UserDefaults.h"

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

const char* const kColumnNames[] = {"Database", "PersonId", "FullName", "GivenNames", "FamilyName", "Gender",
    "BirthDate", "BirthYear", "BirthPlace", "DeathDate", "DeathYear", "DeathPlace", "FathersId", "FathersName",
    "MothersId", "MothersName", "ToDo", "SpousesOneCol", "SpousesMCol"};
static_assert(std::size(kColumnNames) == PeopleIndexCsv::ColumnCount);

QString text(const QString& value)
{
    return CsvWriter::escapedQuoted(value);
}
QString dateOf(const FTEvent* event)
{
    return CsvWriter::tripleQuoted(event ? event->date() : QString());
}
QString yearOf(const FTEvent* event)
{
    return CsvWriter::number(event ? event->year() : 0);
}
QString placeOf(const FTEvent* event)
{
    return text(event ? event->place() : QString());
}
}

QString PeopleIndexCsv::defaultsKey(Column column)
{
    return QStringLiteral("piCsvInclude") + QLatin1String(kColumnNames[column]);
}

QString PeopleIndexCsv::columnLabel(Column column)
{
    const QString key = QLatin1String("IndexCsvInclude") + QLatin1String(kColumnNames[column]);
    return LocalizedString(key);
}

PeopleIndexCsv PeopleIndexCsv::fromDefaults()
{
    PeopleIndexCsv csv;
    const UserDefaults& defaults = UserDefaults::standard();
    for (int c = 0; c < ColumnCount; ++c)
        csv.include[c] = defaults.boolForKey(defaultsKey(Column(c)));
    return csv;
}

PeopleIndexCsv PeopleIndexCsv::everything()
{
    PeopleIndexCsv csv;
    std::fill(std::begin(csv.include), std::end(csv.include), true);
    return csv;
}

int PeopleIndexCsv::maxSpouses(const QList<FTPerson*>& people)
{
    qsizetype most = 0;
    for (const FTPerson* person : people)
        most = qMax(most, person->spouseRels().size());
    return int(most);
}

QString PeopleIndexCsv::oneFieldName(const QString& value)
{
    QString s = value;
    s.replace(QLatin1Char('\n'), QLatin1String("\\n")).replace(QLatin1Char('\r'), QLatin1String("\\r"));
    s.replace(QLatin1Char('"'), QLatin1Char(' '));
    return s;
}

QString PeopleIndexCsv::headerLine(int spouseColumns) const
{
    QStringList labels;
    for (int c = 0; c < SpousesOneCol; ++c)
        if (include[c])
            labels << columnLabel(Column(c));
    if (include[SpousesOneCol])
        labels << QStringLiteral("%1(%2)").arg(L("Spouse"), L("pluralization"));
    if (include[SpousesMCol])
        for (int n = 1; n <= spouseColumns; ++n)
            labels << QStringLiteral("%1%2").arg(L("Spouse")).arg(n);
    return labels.join(QLatin1Char(','));
}

QString PeopleIndexCsv::personLine(const FTPerson* person, const QString& databaseName, int spouseColumns) const
{
    QStringList fields;
    const FTEvent* birth = person->birth();
    const FTEvent* death = person->death();
    const FTPerson* father = include[FathersId] || include[FathersName] ? person->naturalFather() : nullptr;
    const FTPerson* mother = include[MothersId] || include[MothersName] ? person->naturalMother() : nullptr;
    for (int c = 0; c < SpousesOneCol; ++c) {
        if (!include[c])
            continue;
        switch (Column(c)) {
        case Database: fields << text(databaseName); break;
        case PersonId: fields << QString::number(person->numericId()); break;
        case FullName: fields << text(person->nameWithBirthAndDeathYears()); break;
        case GivenNames: fields << text(person->givenNames()); break;
        case FamilyName: fields << text(person->familyName()); break;
        case Gender: fields << text(person->gender()); break;
        case BirthDate: fields << dateOf(birth); break;
        case BirthYear: fields << yearOf(birth); break;
        case BirthPlace: fields << placeOf(birth); break;
        case DeathDate: fields << dateOf(death); break;
        case DeathYear: fields << yearOf(death); break;
        case DeathPlace: fields << placeOf(death); break;
        case FathersId: fields << CsvWriter::number(father ? father->numericId() : 0); break;
        case FathersName: fields << text(father ? father->nameWithBirthAndDeathYears() : QString()); break;
        case MothersId: fields << CsvWriter::number(mother ? mother->numericId() : 0); break;
        case MothersName: fields << text(mother ? mother->nameWithBirthAndDeathYears() : QString()); break;
        case ToDo: fields << text(person->todo()); break;
        default: break;
        }
    }
    const QList<FTSpouseRel*> couples =
        include[SpousesOneCol] || include[SpousesMCol] ? person->spouseRelsArray() : QList<FTSpouseRel*>();
    if (include[SpousesOneCol]) {
        QStringList names;
        for (const FTSpouseRel* couple : couples)
            if (const FTPerson* partner = couple->partnerOf(person))
                names << oneFieldName(partner->nameWithBirthAndDeathYears());
        fields << QStringLiteral("\"%1\"").arg(names.join(QStringLiteral(", ")));
    }
    if (include[SpousesMCol]) {
        int written = 0;
        for (const FTSpouseRel* couple : couples) {
            const FTPerson* partner = couple->partnerOf(person);
            const FTEvent* marriage = couple->marriage();
            QString name = partner ? partner->nameWithBirthAndDeathYears() : QString();
            QString place = marriage ? marriage->place() : QString();
            name.replace(QLatin1Char(','), QLatin1Char(';'));
            place.replace(QLatin1Char(','), QLatin1Char(';'));
            QString field = QStringLiteral("ID = %1;").arg(partner ? QString::number(partner->numericId()) : QString());
            const auto add = [&field](const QString& label, const QString& value) {
                field += QStringLiteral(" %1 = %2;").arg(label, value);
            };
            add(L("Name"), name);
            add(L("Date"), marriage ? marriage->date() : QString());
            add(L("Year"), CsvWriter::number(marriage ? marriage->year() : 0));
            add(L("Place"), place);
            fields << text(field);
            ++written;
        }
        for (; written < spouseColumns; ++written)
            fields << QString();
    }
    return fields.join(QLatin1Char(','));
}

QString PeopleIndexCsv::write(const QList<FTPerson*>& people, const QString& databaseName, ModelProgress* progress) const
{
    const int spouseColumns = include[SpousesMCol] ? maxSpouses(people) : 0;
    CsvWriter csv;
    if (!csv.create(QStringLiteral("%1_%2").arg(databaseName, L("Index"))))
        return {};
    // A listing cut short (a full disk) is not left behind looking complete.
    const auto failed = [&csv] {
        csv.close();
        QFile::remove(csv.outputPath());
        Prompts::current().message(QStringLiteral("%1: %2").arg(L("UnableToCreateReport"), csv.outputPath()));
        return QString();
    };
    // Each line goes out as it is made, so the whole file is never held in memory.
    if (!csv.write(headerLine(spouseColumns) + QLatin1Char('\n')))
        return failed();
    if (progress)
        progress->setPercent(0);
    ModelProgress::Steps steps(progress, people.size(), 2);
    for (qsizetype i = 0; i < people.size(); ++i) {
        steps.at(i);
        if (!csv.write(personLine(people[i], databaseName, spouseColumns) + QLatin1Char('\n')))
            return failed();
    }
    if (progress)
        progress->setPercent(0);
    if (!csv.close())
        return failed();
    return csv.outputPath();
}
