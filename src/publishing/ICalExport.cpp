#include "publishing/ICalExport.h"

#include "publishing/ICalWriter.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/FTSpouseRel.h"

#include "shell/DisplayMsg.h"
#include "shell/Utils.h"

#include "platform/Localizer.h"
#include "platform/UserDefaults.h"
#include "platform/store/ReleasingWalk.h"

#include <QFile>
#include <QSet>

#include <algorithm>
#include <optional>

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

// The address of an e-mail alarm goes into a URI: blanks and control characters (a line break would start a
// property of its own) are left out.
QString cleanAddress(const QString& address)
{
    QString out;
    for (const QChar c : address)
        if (!c.isSpace() && c.category() != QChar::Other_Control)
            out += c;
    return out;
}
}

ICalExport::ICalExport(FTMoc* moc)
    : m_moc(moc)
{
}

QString ICalExport::cleanString(const QString& text)
{
    if (text.isEmpty())
        return QStringLiteral("");
    QString out = text;
    for (QChar& c : out)
        switch (c.unicode()) {
        case '"':
        case '\\':
        case '(':
        case ')':
        case '{':
        case '}':
        case '[':
        case ']':
            c = QLatin1Char(' ');
            break;
        default:
            break;
        }
    return out;
}

QList<FTPerson*> ICalExport::people() const
{
    if (!m_moc)
        return {};
    if (options.kinship <= 0)
        return m_moc->fetch<FTPerson>();
    FTPerson* focal = m_moc->focalPerson();
    if (!focal)
        return {};
    const QSet<FTPerson*> kin = focal->peopleInKinship(options.kinship);
    QList<FTPerson*> out(kin.begin(), kin.end());
    std::sort(out.begin(), out.end(), [](const FTPerson* a, const FTPerson* b) { return a->primaryKey() < b->primaryKey(); });
    return out;
}

QString ICalExport::instructions() const
{
    if (options.kinship <= 0)
        return L("ExportAllToCalendar");
    FTPerson* focal = m_moc ? m_moc->focalPerson() : nullptr;
    const QString kind = [&] {
        QString out;
        if (options.includeBirths)
            out += QLatin1Char(' ') + L("births");
        if (options.includeDeaths)
            out += QLatin1Char(' ') + L("deaths");
        if (options.includeMarriages)
            out += QLatin1Char(' ') + L("marriages");
        return out;
    }();
    const bool male = focal && focal->gender() == L("MaleShort");
    return QStringLiteral("%1%2 %3 ").arg(L("Export"), kind, L("toCalendar"))
           + QStringLiteral("\"%1\"").arg(focal ? focal->name() : QString())
           + QStringLiteral(" %1 %2 %3. %4 = %5, %6 = %7")
                 .arg(L("ConjunctiveAnd"), male ? L("his") : L("her"), L("closeRelatives"), L("EmailAlarm"),
                      options.emailAlarm ? L("YES") : L("NO"), L("DisplayAlarm"),
                      options.displayAlarm ? L("YES") : L("NO"));
}

QString ICalExport::statistics() const
{
    const QString stats = L("iCalStats");
    QStringList lines;
    const std::pair<const char*, long> figures[] = {
        {"people", numPeople}, {"birthdays", numBirths}, {"deaths", numDeaths},
        {"marriages", numMarriages}, {"alarms", numAlarms},
    };
    for (const auto& [key, value] : figures)
        lines << QStringLiteral("%1 %2 = %3").arg(stats, L(key), QString::number(value));
    return lines.join(QLatin1Char('\n'));
}

bool ICalExport::exportToICal()
{
    emailAddress = cleanAddress(UserDefaults::standard().stringForKey(QStringLiteral("iCalEmailAddress")));
    if (options.emailAlarm && emailAddress.isEmpty()) {
        DisplayMsg(L("iCalEmailWarn"));
        return false;
    }
    const QList<FTPerson*> chosen = people();
    numPeople = chosen.size();
    m_outputFilePath = Utils::createReportFileName(m_moc->modelName(), L("CalendarFilename"), QStringLiteral("ics"));
    if (m_outputFilePath.isEmpty()) {
        DisplayMsg(QStringLiteral("%1: %2").arg(L("UnableToCreateReport"), Utils::reportsDirectory()));
        return false;
    }
    QFile file(m_outputFilePath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        DisplayMsg(QStringLiteral("%1: %2").arg(L("UnableToCreateReport"), m_outputFilePath));
        return false;
    }
    const bool written = write(&file, chosen);
    file.close();
    if (!written || file.error() != QFileDevice::NoError) {
        DisplayMsg(QStringLiteral("%1: %2").arg(L("UnableToCreateReport"), m_outputFilePath));
        return false;
    }
    return true;
}

bool ICalExport::write(QIODevice* out, const QList<FTPerson*>& chosen)
{
    numBirths = numDeaths = numMarriages = numAlarms = 0;
    m_stamp = (m_now.isValid() ? m_now : QDateTime::currentDateTime()).toUTC();
    m_currentYear = (m_now.isValid() ? m_now : QDateTime::currentDateTime()).date().year();
    m_storeId = m_moc ? m_moc->storeUUID() : QString();
    m_storeId.remove(QLatin1Char('{'));
    m_storeId.remove(QLatin1Char('}'));

    ICalWriter ics(out);
    ics.beginCalendar();
    // A calendar of everyone reads the whole file: the people written are given back as it goes.
    std::optional<ReleasingWalk> walk;
    if (!chosen.isEmpty())
        walk.emplace(*chosen.first()->context());
    for (FTPerson* p : chosen) {
        walk->releasePoint();
        if (options.includeBirths)
            exportBirthForPerson(ics, p);
        if (options.includeDeaths)
            exportDeathForPerson(ics, p);
    }
    if (options.includeMarriages)
        exportMarriageAnniversaries(ics, chosen);
    ics.endCalendar();
    return ics.ok();
}

QDate ICalExport::anniversary(const FTEvent* event) const
{
    if (!event || event->year() == 0 || event->month() < 1 || event->month() > 12 || event->day() < 1)
        return {};
    // A day the month does not have this year (29 February in a common year, or a day past the month's end that
    // an imported file gave) falls on the month's last day.
    const QDate first(m_currentYear, event->month(), 1);
    return QDate(m_currentYear, event->month(), std::min(event->day(), first.daysInMonth()));
}

QString ICalExport::uid(const char* kind, qint64 key) const
{
    return QStringLiteral("%1-%2-%3@kinloom").arg(QLatin1String(kind), QString::number(key), m_storeId);
}

QString ICalExport::personNotes(const QString& head, FTPerson* person) const
{
    QString notes = head + cleanString(person->name());
    notes += QStringLiteral("\n%1: %2").arg(L("Title"), cleanString(person->title()));
    const FTEvent* birth = person->birth();
    notes += QStringLiteral("\n%1: %2").arg(L("Born"), cleanString(birth ? birth->date() : QString()));
    const FTEvent* death = person->death();
    const QString deathDate = death ? death->date() : QString();
    const int birthYear = birth ? birth->year() : 0;
    if (!deathDate.isEmpty())
        notes += QStringLiteral("\n%1: %2 %3 %4").arg(L("Died"), cleanString(deathDate), L("AgedAtDeath"), person->ageAtDeath());
    else if (m_currentYear - birthYear <= 100)
        notes += QStringLiteral("\n%1: %2").arg(L("AgeThisYear"), QString::number(m_currentYear - birthYear));
    return notes;
}

void ICalExport::exportBirthForPerson(ICalWriter& ics, FTPerson* person)
{
    const FTEvent* birth = person->birth();
    const QDate day = anniversary(birth);
    if (!day.isValid())
        return;
    ++numBirths;
    const QString name = options.showFullNameOnCalendar ? person->name() : person->shortName();
    const QString summary = cleanString(QStringLiteral("%1 %2.%3").arg(name, L("BirthShort"), QString::number(birth->year())));
    writeEvent(ics, uid("birthday", person->primaryKey()), day, summary, personNotes(L("BirthdayOf"), person));
}

void ICalExport::exportDeathForPerson(ICalWriter& ics, FTPerson* person)
{
    const FTEvent* death = person->death();
    const QDate day = anniversary(death);
    if (!day.isValid())
        return;
    ++numDeaths;
    const QString name = options.showFullNameOnCalendar ? person->name() : person->shortName();
    const QString summary = cleanString(QStringLiteral("%1 %2.%3").arg(name, L("DeathShort"), QString::number(death->year())));
    writeEvent(ics, uid("death", person->primaryKey()), day, summary, personNotes(L("DeathOf"), person));
}

void ICalExport::exportMarriageAnniversaries(ICalWriter& ics, const QList<FTPerson*>& chosen)
{
    // A couple's marriage once, however many of its partners are exported.
    QSet<const FTEvent*> seen;
    std::optional<ReleasingWalk> walk;
    if (!chosen.isEmpty())
        walk.emplace(*chosen.first()->context());
    for (const FTPerson* p : chosen) {
        walk->releasePoint();
        for (const FTSpouseRel* couple : p->spouseRels()) {
            const FTEvent* marriage = couple->marriage();
            if (!marriage || seen.contains(marriage))
                continue;
            seen.insert(marriage);
            const QDate day = anniversary(marriage);
            if (!day.isValid())
                continue;
            ++numMarriages;
            const QString year = QString::number(marriage->year());
            const QString owner = cleanString(marriage->ownerName());
            const QString summary = cleanString(QStringLiteral("%1 %2 %3").arg(marriage->ownerName(), L("ConjunctiveIn"), year));
            QString notes = QStringLiteral("%1 %2 %3 %4").arg(L("WeddingAnniversaryOf"), owner, L("ConjunctiveIn"), year);
            notes += QStringLiteral("\n%1: %2").arg(L("On"), cleanString(marriage->date()));
            writeEvent(ics, uid("wedding", couple->primaryKey()), day, summary, notes);
        }
    }
}

void ICalExport::writeEvent(ICalWriter& ics, const QString& id, const QDate& day, const QString& summary,
                            const QString& notes)
{
    ics.begin("VEVENT");
    ics.property(QStringLiteral("UID"), id);
    ics.utcDateTime(QStringLiteral("DTSTAMP"), m_stamp);
    ics.text(QStringLiteral("DESCRIPTION"), notes);
    ics.property(QStringLiteral("TRANSP"), QStringLiteral("TRANSPARENT"));
    ics.text(QStringLiteral("SUMMARY"), summary);
    if (options.bAllDayEvent) {
        ics.date(QStringLiteral("DTSTART"), day);
        ics.date(QStringLiteral("DTEND"), day.addDays(1));
    } else {
        ics.localDateTime(QStringLiteral("DTSTART"), day, QTime(0, 1));
        ics.localDateTime(QStringLiteral("DTEND"), day, QTime(23, 59));
    }
    if (options.displayAlarm) {
        ics.begin("VALARM");
        ics.property(QStringLiteral("ACTION"), QStringLiteral("DISPLAY"));
        ics.text(QStringLiteral("DESCRIPTION"), notes);
        ics.text(QStringLiteral("SUMMARY"), summary);
        ics.property(QStringLiteral("TRIGGER"), QStringLiteral("-P1D"));
        ics.end("VALARM");
        ++numAlarms;
    }
    if (options.emailAlarm) {
        ics.begin("VALARM");
        ics.property(QStringLiteral("ACTION"), QStringLiteral("EMAIL"));
        ics.text(QStringLiteral("DESCRIPTION"), notes);
        ics.text(QStringLiteral("SUMMARY"), summary);
        ics.property(QStringLiteral("ATTENDEE"), QStringLiteral("mailto:") + emailAddress);
        ics.property(QStringLiteral("TRIGGER"), QStringLiteral("-P1D"));
        ics.end("VALARM");
        ++numAlarms;
    }
    ics.end("VEVENT");
}
