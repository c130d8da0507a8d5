#include "reports/DataValidation.h"

#include "reports/ListingReport.h"
#include "reports/NarrativeReport.h"

#include "model/NineMonths.h"
#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"
#include "model/FTSpouseRel.h"
#include "model/ModelProgress.h"

#include "shell/RtfWriter.h"

#include "platform/FTLog.h"
#include "platform/store/ReleasingWalk.h"

#include <QElapsedTimer>

#include <algorithm>

namespace {
const auto L = ListingReport::label;

// The paired words of the reasons: the first of each pair for a man, the second for anyone else.
struct Words {
    QString male = L("MaleShort");
    QString female = L("FemaleShort");
    bool isMale(const FTPerson* p) const { return p->gender() == male; }
    QString pick(const FTPerson* p, const char* first, const char* second) const
    {
        return L(isMale(p) ? first : second);
    }
};

quint32 packed(const FTEvent* e)
{
    return e ? e->lDate() : 0;
}

void logTime(const QElapsedTimer& timer, const char* check)
{
    FTLog(QStringLiteral("%1 msecs in %2\n\n").arg(timer.nsecsElapsed() / 1e6, 3, 'f', 3).arg(QLatin1String(check)));
}

// The key text less a closing full stop, where a reason goes on after it.
QString lead(const char* key)
{
    QString text = L(key);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}
}

DataValidation::DataValidation(FTMoc* moc)
    : m_moc(moc)
{
}

QList<Inconsistency> DataValidation::run(ModelProgress* progress) const
{
    QList<Inconsistency> out;
    if (checkBirthDates)
        checkBirths(out, progress);
    if (checkDeathDates)
        checkDeaths(out, progress);
    if (checkParentChildRelationships)
        checkLoops(out);
    if (checkUnconnectedPeople)
        checkUnconnected(out);
    if (checkMarriageDates)
        checkMarriages(out);
    if (peopleWithNoBirthAndDeathDates)
        checkNoDates(out);
    return out;
}

void DataValidation::checkBirths(QList<Inconsistency>& out, ModelProgress* progress) const
{
    QElapsedTimer timer;
    timer.start();
    const Words w;
    ReleasingWalk walk(*m_moc);
    const QList<FTPcRel*> links = m_moc->fetch<FTPcRel>();
    ModelProgress::begin(progress, QString());
    ModelProgress::Steps steps(progress, links.size(), 2);
    for (qsizetype i = 0; i < links.size(); ++i) {
        steps.at(i);
        walk.releasePoint();
        const FTPcRel* link = links[i];
        FTPerson* child = link->child();
        const FTPerson* parent = link->parent();
        if (link->intPcRelType() != FTPcRel::kNatural || !child || !parent)
            continue;
        const FTEvent* born = child->birth();
        const bool father = w.isMale(parent);

        // The parent's age at the birth.
        const int age = born ? born->yearsSince(parent->birth()) : 0;
        if (age != 0) {
            const bool mother = parent->gender() == w.female;
            if ((father && (age < 15 || age > 70)) || (mother && (age < 15 || age > 45)))
                out << Inconsistency(child,
                    QStringLiteral("%1 %2 %3 %4 %5'%6")
                        .arg(L(father ? "Father" : "Mother"), L("AgeChk1"))
                        .arg(age)
                        .arg(L("AgeChk2"), child->firstName(), L("AgeChk3")));
        }

        // Born after the parent's death; a father's child may be born up to nine months after it.
        const quint32 birthKey = packed(born);
        const quint32 deathKey = packed(parent->death());
        if (birthKey && deathKey) {
            const quint32 limit = father ? nineMonthsAfter(deathKey) : deathKey;
            if (birthKey > limit) {
                const QString died = parent->death()->date();
                out << Inconsistency(child, father
                        ? QStringLiteral("%1 %2, %3 %4 %5")
                              .arg(L("FatherDied1"), died, L("before"), child->firstName(), L("FatherDied3"))
                        : QStringLiteral("%1 %2, %3 %4 %5")
                              .arg(L("MotherDied"), died, L("before"), child->firstName(), L("wasBorn")));
            }
        }

        // Born before the parent.
        if (birthKey && birthKey < packed(parent->birth()))
            out << Inconsistency(child,
                QStringLiteral("%1 %2 %3 %4 %5 %6.")
                    .arg(child->firstName(), L("bornBefore"), w.pick(child, "his", "her"),
                        w.pick(parent, "father", "mother"), parent->nameWithBirthAndDeathYears(), L("wasBorn")));
    }
    if (progress)
        progress->setPercent(0);
    logTime(timer, "checkBirthDates");
}

void DataValidation::checkDeaths(QList<Inconsistency>& out, ModelProgress* progress) const
{
    QElapsedTimer timer;
    timer.start();
    const Words w;
    ReleasingWalk walk(*m_moc);
    const QList<FTEvent*> deaths = m_moc->fetch<FTEvent>([&walk](const FTEvent* e) {
        walk.releasePoint();
        return e->type() == FTEvent::DeathEvent && e->year() != 0;
    });
    ModelProgress::begin(progress, QString());
    ModelProgress::Steps steps(progress, deaths.size(), 2);
    for (qsizetype i = 0; i < deaths.size(); ++i) {
        steps.at(i);
        walk.releasePoint();
        const FTEvent* death = deaths[i];
        FTPerson* p = death->person();
        if (!p || death->checkOwnersBirthAndDeathDates(110))
            continue;
        if (packed(p->birth()) > death->lDate())
            out << Inconsistency(p,
                QStringLiteral("%1'%2 %3 %4")
                    .arg(p->firstName(), L("AgeChk4"), w.pick(p, "his", "her"), L("birthDate")));
        else
            out << Inconsistency(p,
                QStringLiteral("%1 %2 %3 %4 %5")
                    .arg(p->firstName(), L("AgeChk1"), p->ageAtDeath(), L("AgeChk2"), L("death")));
    }
    if (progress)
        progress->setPercent(0);
    logTime(timer, "checkDeathDates");
}

void DataValidation::checkLoops(QList<Inconsistency>& out) const
{
    const Words w;
    // The search clears the marks of the last one first, so each run finds every loop again.
    m_moc->recursionCheck(true);
    ReleasingWalk walk(*m_moc);
    for (const FTPcRel* link : m_moc->recursionLinks()) {
        walk.releasePoint();
        FTPerson* child = link->child();
        const FTPerson* parent = link->parent();
        if (!child || !parent)
            continue;
        out << Inconsistency(child,
            QStringLiteral("%1: %2 %3 %4 %5 %6 %7, %8")
                .arg(lead("RecursionFound"), child->firstName(), L("isAncestor"), w.pick(child, "himself", "herself"),
                    L("via"), w.pick(child, "his", "her"), w.pick(parent, "father", "mother"),
                    parent->nameWithBirthAndDeathYears()));
    }
}

void DataValidation::checkUnconnected(QList<Inconsistency>& out) const
{
    const QString reason = L("unrelatedPerson");
    ReleasingWalk walk(*m_moc);
    m_moc->forEachObject(QString::fromLatin1(FTPerson::kEntityName), [&](ManagedObject* o) {
        walk.releasePoint();
        auto* p = static_cast<FTPerson*>(o);
        if (p->isUnconnected())
            out << Inconsistency(p, QStringLiteral("%1 %2").arg(p->firstName(), reason));
        return true;
    });
}

void DataValidation::checkMarriages(QList<Inconsistency>& out) const
{
    const Words w;
    ReleasingWalk walk(*m_moc);
    m_moc->forEachObject(QString::fromLatin1(FTSpouseRel::kEntityName), [&](ManagedObject* o) {
        walk.releasePoint();
        const auto* couple = static_cast<FTSpouseRel*>(o);
        const FTEvent* marriage = couple->marriage();
        const quint32 married = packed(marriage);
        if (!married)
            return true;
        for (FTPerson* partner : couple->partners()) {
            QString reason;
            const quint32 born = packed(partner->birth());
            const quint32 died = packed(partner->death());
            if (born && married < born)
                reason = QStringLiteral("%1 %2 %3 %4")
                             .arg(partner->firstName(), L("marriedBefore"), w.pick(partner, "he", "she"), L("wasBorn"));
            if (died && married > died)
                reason = QStringLiteral("%1 %2 %3 %4")
                             .arg(partner->firstName(), L("marriedAfter"), w.pick(partner, "he", "she"), L("died"));
            const int age = marriage->yearsSince(partner->birth());
            if ((age >= 1 && age <= 12) || age >= 101)
                reason = QStringLiteral("%1 %2 %3%4 %5 %6")
                             .arg(partner->firstName(), L("marriedWhen"), w.pick(partner, "he", "she"), L("was"))
                             .arg(age)
                             .arg(L("yearsOld"));
            if (!reason.isEmpty())
                out << Inconsistency(partner, reason);
        }
        return true;
    });
}

void DataValidation::checkNoDates(QList<Inconsistency>& out) const
{
    const QString reason = L("NoDates");
    ReleasingWalk walk(*m_moc);
    m_moc->forEachObject(QString::fromLatin1(FTPerson::kEntityName), [&](ManagedObject* o) {
        walk.releasePoint();
        auto* p = static_cast<FTPerson*>(o);
        const FTEvent* birth = p->birth();
        const FTEvent* death = p->death();
        if ((birth && birth->year() > 0) || (death && death->year() > 0))
            return true;
        // "Y": the death is known to have happened, only its date is not.
        if (death && death->date().compare(QLatin1String("Y"), Qt::CaseInsensitive) == 0)
            return true;
        out << Inconsistency(p, QStringLiteral("%1 %2").arg(p->firstName(), reason));
        return true;
    });
}

QList<Inconsistency> DataValidation::sorted(QList<Inconsistency> rows)
{
    // Each person's text once, not once per comparison.
    QList<std::pair<QString, qsizetype>> keys;
    keys.reserve(rows.size());
    for (qsizetype i = 0; i < rows.size(); ++i)
        keys.append({ rows[i].person() ? rows[i].person()->nameWithBirthAndDeathYears() : QString(), i });
    std::stable_sort(keys.begin(), keys.end(), [&rows](const auto& a, const auto& b) {
        if (const int c = a.first.compare(b.first); c != 0)
            return c < 0;
        return rows[a.second].reason().compare(rows[b.second].reason()) < 0;
    });
    QList<Inconsistency> out;
    out.reserve(rows.size());
    for (const auto& k : std::as_const(keys))
        out << rows[k.second];
    return out;
}

bool DataValidation::generate(
    RtfWriter& writer, const QList<Inconsistency>& rows, bool details, ModelProgress* progress) const
{
    if (moment.isValid())
        writer.setDateTime(moment);
    writer.setFileType(QStringLiteral("rtf"));
    if (!ListingReport::begin(
            writer, modelName + QStringLiteral("_Inconsistencies"), 8, { QStringLiteral("{\\s0\\f0\\fs20\\snext0 Normal;}") }))
        return false;
    const auto t = ListingReport::rtf;
    bool written = writer.write(QStringLiteral("%1 \\par %2 \\par \\par \n")
                                    .arg(t(L("InconsistencyTitle") + QLatin1Char(' ') + modelName),
                                        t(L("CreatedOn") + QLatin1Char(' ') + writer.titleDateText())));
    const QString label = L("Inconsistency");
    ModelProgress::begin(progress, QString());
    ModelProgress::Steps steps(progress, rows.size(), 2);
    ReleasingWalk walk(*m_moc);
    for (qsizetype i = 0; i < rows.size() && written; ++i) {
        steps.at(i);
        walk.releasePoint();
        const Inconsistency& row = rows[i];
        const FTPerson* p = row.person();
        const QString reason = t(QStringLiteral("%1? %2").arg(label, row.reason()));
        if (details)
            written = writer.write(QStringLiteral("%1 \\par %2\\par \\par ")
                                       .arg(p ? RtfWriter::rtfText(p->nameWithBirthMarriageAndDeathInfo(), true)
                                              : QString(),
                                           reason));
        else
            written = writer.write(QStringLiteral("   %1 \\par \n   %2\\par \\par ")
                                       .arg(p ? t(p->nameWithBirthAndDeathYears()) : QString(), reason));
    }
    if (progress)
        progress->setPercent(0);
    return NarrativeReport::endReportFile(writer, written);
}
