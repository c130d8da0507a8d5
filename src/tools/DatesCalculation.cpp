#include "tools/DatesCalculation.h"

#include "tools/UndoPass.h"

#include "shell/DisplayMsg.h"
#include "shell/Utils.h"

#include "model/Dates.h"
#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/ModelProgress.h"

#include "platform/Localizer.h"
#include "platform/store/ReleasingWalk.h"

#include <QSaveFile>

#include <algorithm>

namespace {
QString L(const char* key) { return LocalizedString(QString::fromLatin1(key)); }

// What differs between the two tools.
struct Words {
    const char* tags[2];
    const char* notes[2]; // the note for each tag
    int type;
    const char* subtype;
    const char* undoName;
    const char* dates;
    const char* dateLabel;
    const char* fileName;
    const char* nothingAdded;
};
const Words kBirths{{"CHR", "BAPM"}, {"DateFromChristening", "DateFromBaptism"}, FTEvent::BirthEvent, "BIRT",
    "CalculateBirth", "BirthDates", "BDate", "CalculateBirthDates", "NoBirthDatesAdded"};
const Words kDeaths{{"BURI", "CREM"}, {"DateFromBurial", "DateFromCremation"}, FTEvent::DeathEvent, "DEAT",
    "CalculateDeath", "DeathDates", "DDate", "CalculateDeathDates", "NoDeathDatesAdded"};

const Words& wordsFor(DatesCalculation::Kind kind) { return kind == DatesCalculation::Births ? kBirths : kDeaths; }
}

DatesCalculation::DatesCalculation(FTMoc* moc, Kind kind)
    : m_moc(moc)
    , m_kind(kind)
{
}

FTEvent* DatesCalculation::filledEvent(FTPerson* person) const
{
    return m_kind == Births ? person->birth() : person->death();
}

const QList<FTEvent*>& DatesCalculation::createEventsArray()
{
    m_events.clear();
    if (m_moc) {
        const Words& w = wordsFor(m_kind);
        const QString tag0 = QString::fromLatin1(w.tags[0]), tag1 = QString::fromLatin1(w.tags[1]);
        ReleasingWalk walk(*m_moc);
        m_events = m_moc->fetch<FTEvent>([&](const FTEvent* e) {
            walk.releasePoint();
            if (e->type() != FTEvent::OtherPersonalEvent || e->year() == 0)
                return false;
            const QString subtype = e->subtype();
            if (subtype != tag0 && subtype != tag1)
                return false;
            FTPerson* person = e->person();
            if (!person)
                return false;
            const FTEvent* filled = filledEvent(person);
            return !filled || filled->year() == 0;
        });
        // The events' names once each, not once per comparison.
        QList<std::pair<QString, FTEvent*>> named;
        named.reserve(m_events.size());
        for (FTEvent* e : std::as_const(m_events))
            named.append({e->name(), e});
        std::stable_sort(named.begin(), named.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        for (qsizetype i = 0; i < named.size(); ++i)
            m_events[i] = named[i].second;
    }
    if (m_events.isEmpty())
        DisplayMsg(L("NothingToDo"));
    return m_events;
}

bool DatesCalculation::checkBirthDate(const FTEvent* birth, const FTEvent* death)
{
    if (!birth || !death)
        return true;
    const qint64 born = birth->lDate();
    qint64 died = death->lDate();
    if (born == 0 || died == 0)
        return true;
    // An unknown month or day counts as the last one: the death may lie anywhere in its year or month.
    if (death->month() == 0)
        died += 12 * 256;
    if (death->day() == 0)
        died += 31;
    return died >= born && ((died - born) >> 16) <= 120;
}

QString DatesCalculation::createOutputFilePath(const QString& baseName)
{
    return Utils::uniquePathInFolder(Utils::reportsDirectory(), baseName, QStringLiteral("txt"), -1);
}

QString DatesCalculation::logText(const QList<FTPerson*>& people) const
{
    const Words& w = wordsFor(m_kind);
    QString text = QStringLiteral("%1 %2 %3 %4: \n\n")
                       .arg(L("Added"))
                       .arg(people.size())
                       .arg(L(w.dates), L("ConjunctiveFor"));
    const QString label = L(w.dateLabel);
    for (const FTPerson* person : people) {
        const FTEvent* filled = m_kind == Births ? person->birth() : person->death();
        text += QStringLiteral("%1, \t%2 = %3\n")
                    .arg(person->nameWithBirthAndDeathYears(), label, filled ? filled->date() : QString());
    }
    return text;
}

DatesCalculation::Outcome DatesCalculation::createDates(ModelProgress* progress)
{
    Outcome outcome;
    const Words& w = wordsFor(m_kind);
    if (m_events.isEmpty() || !m_moc) {
        DisplayMsg(L("NothingToDo"));
        return outcome;
    }
    m_progressMessage.clear();
    if (progress)
        progress->setPercent(0);
    QList<FTPerson*> changed;
    {
        UndoPass pass(m_moc, L(w.undoName));
        const qsizetype n = m_events.size();
        int shown = 0;
        for (qsizetype i = 0; i < n; ++i) {
            const int percent = int(i * 100 / n);
            if (progress && percent > shown + 5) {
                progress->setPercent(percent);
                shown = percent;
            }
            FTEvent* source = m_events[i];
            if (source->isDeleted() || source->year() == 0)
                continue;
            FTPerson* person = source->person();
            if (!person)
                continue;
            const bool plausible = m_kind == Births ? checkBirthDate(source, person->death())
                                                    : checkBirthDate(person->birth(), source);
            if (!plausible) {
                ++outcome.ignored;
                continue;
            }
            FTEvent* filled = filledEvent(person);
            // Given a date meanwhile (by the other event of a person christened and baptised).
            if (filled && !filled->date().isEmpty())
                continue;
            if (!filled) {
                // Not through the constructor that cites the active source: that would open a citation sheet
                // for every person, and a calculated date is not evidence of that source.
                filled = FTEvent::initInMoc(m_moc, w.type, QString::fromLatin1(w.subtype));
                if (!filled)
                    continue;
                filled->setOwner(person);
            }
            // Written with the month's name, which every reading order reads the same.
            const int day = source->day(), month = source->month(), year = source->year();
            const bool yearOnly = day == 0 && month == 0;
            filled->setDate(Dates::dateStringFor(yearOnly ? 1 : 2, month == 0 ? 0 : day, month, year, true));
            const QString old = filled->notes();
            const QString note = source->subtype() == QLatin1String(w.tags[0]) ? L(w.notes[0]) : L(w.notes[1]);
            filled->setNotes(old.isEmpty() ? note : QStringLiteral("%1. %2").arg(old, note));
            ++outcome.added;
            changed << person;
        }
    }
    if (progress)
        progress->setPercent(100);
    if (outcome.ignored > 0)
        DisplayMsg(QStringLiteral("%1 %2").arg(outcome.ignored).arg(L("NumIgnoredDates")));
    if (outcome.added == 0) {
        m_progressMessage = L(w.nothingAdded);
        return outcome;
    }
    m_progressMessage = QStringLiteral("%1 %2 %3").arg(L("Added")).arg(outcome.added).arg(L(w.dates));
    const QString path = createOutputFilePath(QString::fromLatin1(w.fileName));
    QSaveFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(logText(changed).toUtf8()) < 0
        || !file.commit()) {
        DisplayMsg(L("CalculatedDatesLogNotWritten").arg(path, file.errorString()));
        return outcome;
    }
    outcome.logPath = path;
    Utils::displayFile(path, {});
    return outcome;
}
