// The checks and repairs of a newly imported database as a whole, and their report ("ValidationErrors.txt", also
// appended to "UnprocessedGedRecs.txt").
#include "gedcom/ImportGedcomThread.h"

#include "gedcom/GedcomImportLog.h"
#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"
#include "platform/FTLog.h"
#include "platform/Localizer.h"
#include "platform/store/ReleasingWalk.h"

#include <QCollator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

// The bit the loop search marks a link with.
constexpr quint32 kLoopLink = 16;

QString elapsed(const QElapsedTimer& timer)
{
    return QString::number(double(timer.nsecsElapsed()) / 1e6, 'f', 3);
}

} // namespace

void ImportGedcomThread::runDatabaseIntegrityChecks()
{
    QElapsedTimer whole;
    whole.start();
    constexpr int kSteps = 9;
    int step = 0;
    const QString running = LocalizedString("RunningDbValidation");
    const auto next = [&](const QString& key) {
        setDialogMessage(QStringLiteral("%1 - %2").arg(running, key));
        m_percentDone = 0;
        setCurrentProgress(++step, kSteps);
    };

    setDialogMessage(running);
    setCurrentProgress(++step, kSteps);
    QString report;
    const QString folder = QFileInfo(m_request.databaseFilename).absolutePath();
    GedcomImportLog log(folder, m_request.gedcomFilename, m_request.databaseFilename);
    const QString fileName = LocalizedString("ValidationFileName");
    std::unique_ptr<QFile> file = log.createOutputFile(fileName);
    if (!file)
        showMessage(QStringLiteral("Unable to create the file for the %1").arg(fileName));

    next(LocalizedString("DbValidation1"));
    m_moc->validateNumericIds(false);
    next(LocalizedString("DbValidation2"));
    validateDates(report);
    next(LocalizedString("DbValidation3"));
    removeGhosts(report);
    next(LocalizedString("DbValidation4"));
    removeUnconnectedPeople(report);
    next(LocalizedString("DbValidation5"));
    checkForRecursion(report);
    next(LocalizedString("DbValidation6"));
    checkForMultipleNaturalParents(report);
    next(LocalizedString("DbValidation7"));
    // The one-time repairs put right what older versions of the program stored. A new import is written in the
    // current form, and running them would rewrite what the file said (trimmed notes, rebuilt family names), here or
    // at the first save after opening: the new database is marked as repaired.
    for (const QString& key : FTMoc::integrityCheckKeys())
        m_moc->setMetadataValue(key, true);

    next(LocalizedString("DbValidation8"));
    const QByteArray text = report.toUtf8();
    if (file) {
        file->write(text);
        file->close();
    }
    QFile unprocessed(log.pathFor(LocalizedString("UnprocessedGedFileName")));
    if (unprocessed.exists() && unprocessed.open(QIODevice::Append)) {
        unprocessed.write("\n\n");
        unprocessed.write(text);
    }
    FTLog(QStringLiteral("%1 msecs in validateDatabaseIntegrity\n\n").arg(elapsed(whole)));
}

void ImportGedcomThread::validateDates(QString& report)
{
    QElapsedTimer timer;
    timer.start();
    if (const int corrected = m_moc->cleanDateFormats())
        report += QStringLiteral("\n\n%1 %2").arg(corrected).arg(LocalizedString("CorrectedDates"));

    ReleasingWalk walk(*m_moc);
    QList<FTEvent*> deaths = m_moc->fetch<FTEvent>([&walk](const FTEvent* e) {
        walk.releasePoint();
        return e->type() == FTEvent::DeathEvent && e->year() != 0;
    });
    // The events were made in the order of their numbers (unique by now): mostly no sort is needed.
    const auto byNumber = [](const FTEvent* a, const FTEvent* b) { return a->numericId() < b->numericId(); };
    if (!std::is_sorted(deaths.begin(), deaths.end(), byNumber))
        std::sort(deaths.begin(), deaths.end(), byNumber);
    bool first = true;
    for (const FTEvent* death : deaths) {
        walk.releasePoint();
        FTPerson* person = death->person();
        if (!person || death->checkOwnersBirthAndDeathDates(120))
            continue;
        if (first)
            report += u'\n';
        first = false;
        report
            += QStringLiteral("\n%1 %2, %3 %4, %5 %6")
                   .arg(LocalizedString("InconsistentDates"), person->name(), LocalizedString("born"),
                       person->birth() ? person->birth()->date() : QString(), LocalizedString("died"), death->date());
    }
    FTLog(QStringLiteral("%1 msecs in validateDates\n\n").arg(elapsed(timer)));
}

void ImportGedcomThread::removeGhosts(QString& report)
{
    QElapsedTimer timer;
    timer.start();
    // Nameless people related to nobody: listed by number, since they have nothing else to show.
    ReleasingWalk walk(*m_moc);
    QList<FTPerson*> ghosts = m_moc->fetch<FTPerson>([&walk](const FTPerson* p) {
        walk.releasePoint();
        return p->name().isEmpty() && p->isUnconnected();
    });
    std::sort(ghosts.begin(), ghosts.end(),
        [](const FTPerson* a, const FTPerson* b) { return a->numericId() < b->numericId(); });
    QString list;
    for (const FTPerson* ghost : ghosts)
        list += QStringLiteral("\nID = %1").arg(ghost->numericId());
    if (const int removed = m_moc->removeGhosts(nullptr, false))
        report += QStringLiteral("\n\n%1 %2").arg(removed).arg(LocalizedString("GhostsRemoved")) + list;
    FTLog(QStringLiteral("%1 msecs in removeGhosts\n\n").arg(elapsed(timer)));
}

int ImportGedcomThread::removeUnconnectedPeople(QString& report)
{
    QElapsedTimer timer;
    timer.start();
    ReleasingWalk walk(*m_moc);
    const QList<FTPerson*> people = m_moc->fetch<FTPerson>([&walk](const FTPerson* p) {
        walk.releasePoint();
        return p->isUnconnected();
    });
    QStringList names;
    names.reserve(people.size());
    for (const FTPerson* p : people) {
        walk.releasePoint();
        names << p->nameWithBirthAndDeathYears();
    }
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(
        names.begin(), names.end(), [&](const QString& a, const QString& b) { return collator.compare(a, b) < 0; });
    if (!names.isEmpty()) {
        report += QStringLiteral("\n\n%1 %2 %3:\n")
                      .arg(LocalizedString("UnconnectedPeople1"), QString::number(names.size()),
                          LocalizedString("UnconnectedPeople2"));
        for (const QString& name : std::as_const(names))
            report += u'\n' + name;
    }
    FTLog(QStringLiteral("%1 msecs in removeUnconnectedPeople\n\n").arg(elapsed(timer)));
    return int(names.size());
}

void ImportGedcomThread::checkForRecursion(QString& report)
{
    QElapsedTimer timer;
    timer.start();
    m_moc->recursionCheck(false);
    ReleasingWalk walk(*m_moc);
    QList<FTPcRel*> links = m_moc->fetch<FTPcRel>([&walk](const FTPcRel* l) {
        walk.releasePoint();
        return (l->flagBits() & kLoopLink) && l->parent() && l->child();
    });
    std::sort(links.begin(), links.end(), [](const FTPcRel* a, const FTPcRel* b) {
        if (a->child()->numericId() != b->child()->numericId())
            return a->child()->numericId() < b->child()->numericId();
        return a->parent()->numericId() < b->parent()->numericId();
    });
    if (links.isEmpty()) {
        report += QStringLiteral("\n\n%1").arg(LocalizedString("NoRecursionErrors"));
    } else {
        const QString heading = QStringLiteral("%1 %2 %3")
                                    .arg(LocalizedString("RecursionFound"), QString::number(links.size()),
                                        LocalizedString("RecursionFound2"));
        showMessage(
            QStringLiteral("%1 %2 %3").arg(heading, LocalizedString("ReferTo"), LocalizedString("ValidationFileName")));
        report += QStringLiteral("\n\n%1\n%2").arg(heading, LocalizedString("RecursionFound3"));
        for (FTPcRel* link : std::as_const(links)) {
            report
                += QStringLiteral("\n%1 = %2 (ID = %3), %4 = %5 (ID = %6)")
                       .arg(LocalizedString("Child"), link->child()->nameWithBirthAndDeathYears(),
                           QString::number(link->child()->numericId()), LocalizedString("Parent"),
                           link->parent()->nameWithBirthAndDeathYears(), QString::number(link->parent()->numericId()));
            // A step link closes no loop of natural descent.
            link->setPcRelType(FTPcRel::kStep);
        }
    }
    FTLog(QStringLiteral("%1 msecs in checkForRecursion\n\n").arg(elapsed(timer)));
}

int ImportGedcomThread::checkForMultipleNaturalParents(QString& report)
{
    QElapsedTimer timer;
    timer.start();
    QString list;
    const QList<FTPerson*> children = m_moc->findChildrenWithMultipleNaturalParents(&list, false);
    int changed = 0;
    if (!children.isEmpty())
        changed = m_moc->convertMultipleNaturalParentsIntoStepRels(children);
    if (changed) {
        const qsizetype n = children.size();
        report += QStringLiteral("\n\n%1 %2 %3\n%4\n%5 %6\n%7\n\n%8")
                      .arg(QString::number(n), n == 1 ? LocalizedString("person") : LocalizedString("people"),
                          LocalizedString("SameGenderNaturals"), LocalizedString("SameGenderNaturals2"),
                          QString::number(changed), LocalizedString("SameGenderNaturals3"), list.trimmed(),
                          LocalizedString("ValidationFileFooter"));
    }
    FTLog(QStringLiteral("%1 msecs in checkForMultipleNaturalParents\n\n").arg(elapsed(timer)));
    return changed;
}
