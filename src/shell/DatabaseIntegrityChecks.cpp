#include "shell/DatabaseIntegrityChecks.h"

#include "shell/Utils.h"

#include "model/FTMoc.h"
#include "model/FTMocUndoManager.h"
#include "model/FTOriginalPicture.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"
#include "model/FTPicture.h"
#include "model/ModelProgress.h"

#include "platform/Localizer.h"
#include "platform/Prompts.h"
#include "platform/store/ReleasingWalk.h"

#include <QFile>

namespace {
// "\n\n<count> <text>", the line that follows a check's title when it found something.
QString countLine(qsizetype count, const QString& text)
{
    return QStringLiteral("\n\n%1 %2").arg(QString::number(count), text);
}
}

DatabaseIntegrityChecks::DatabaseIntegrityChecks(FTMoc& moc, ModelProgress* progress)
    : m_moc(moc)
    , m_progress(progress)
{
}

QString DatabaseIntegrityChecks::execute(int row)
{
    QString report;
    switch (row) {
    case RemoveGhosts: report = removeGhosts(); break;
    case RemoveIsolatedPeople: report = removeIsolatedPeople(); break;
    case RecursionCheckAncestors: report = recursionCheckAncestors(); break;
    case RecursionCheckAll: report = recursionCheckAll(); break;
    case CleanDateFormats: report = cleanDateFormats(); break;
    case MultipleNaturalParents: report = multipleNaturalParents(); break;
    case ValidateRelationships: report = validateRelationships(); break;
    case RemoveStoredThumbnails: report = removeStoredThumbnails(); break;
    default: break;
    }
    report += u'\n' + LocalizedString("SavingChanges");
    // A save that fails has been reported and ends the program; the report must not claim otherwise meanwhile.
    report += u'\n' + (m_moc.saveMoc() ? LocalizedString("SaveComplete") : LocalizedString("SaveError"));
    if (m_progress) {
        m_progress->setStatus(QString());
        m_progress->setPercent(0);
    }
    return report;
}

QString DatabaseIntegrityChecks::removeGhosts()
{
    const int count = m_moc.removeGhosts(nullptr, true);
    QString report = LocalizedString("GhostRemoval1");
    if (count != 0)
        report += countLine(count, LocalizedString("GhostRemoval2"));
    return report;
}

QString DatabaseIntegrityChecks::removeIsolatedPeople()
{
    QString removed;
    const int count = m_moc.removeIsolatedPeople(&removed, true);
    QString report = LocalizedString("IsolatedPeople1");
    // Who was deleted stays on record in the report, not only in the alerts that went by.
    if (count != 0)
        report += countLine(count, LocalizedString("IsolatedPeople2")) + removed;
    return report;
}

QString DatabaseIntegrityChecks::recursionCheckAncestors()
{
    // The marks of an earlier search would hide the cycles it found (their links are not followed again, their
    // people not searched again): this search starts afresh.
    m_moc.clearRecursionMarks();
    QList<FTPerson*> path;
    path.reserve(200);
    const bool found = m_moc.recursionCheckAncestorsOf(m_moc.focalPerson(), 0, path, true);
    QString report = LocalizedString("RecursionCheckAncestors");
    report += found ? recursionListing() : u'\n' + LocalizedString("NoRecursion");
    return report;
}

QString DatabaseIntegrityChecks::recursionCheckAll()
{
    m_moc.recursionCheck(true);
    QString report = LocalizedString("RecursionCheckAll");
    report += m_moc.recursionLinks().isEmpty() ? u'\n' + LocalizedString("NoRecursion") : recursionListing();
    return report;
}

QString DatabaseIntegrityChecks::recursionListing() const
{
    // The heading is a sentence of its own elsewhere; here a colon follows it.
    QString heading = LocalizedString("RecursionFound");
    if (heading.endsWith(u'.'))
        heading.chop(1);
    QString listing = QStringLiteral("\n\n%1:\n").arg(heading);
    const QString child = LocalizedString("Child");
    const QString parent = LocalizedString("Parent");
    for (const FTPcRel* link : m_moc.recursionLinks())
        listing += QStringLiteral("\n%1 = %2 (ID = %3), %4 = %5 (ID = %6)")
                       .arg(child, link->child()->nameWithBirthAndDeathYears(),
                           QString::number(link->child()->numericId()), parent,
                           link->parent()->nameWithBirthAndDeathYears(), QString::number(link->parent()->numericId()));
    return listing;
}

QString DatabaseIntegrityChecks::cleanDateFormats()
{
    const int count = m_moc.cleanDateFormats();
    QString report = LocalizedString("DatesComplete1");
    if (count != 0)
        report += countLine(count, LocalizedString("DatesComplete2"));
    return report;
}

QString DatabaseIntegrityChecks::multipleNaturalParents()
{
    QString detail;
    const QList<FTPerson*> children = m_moc.findChildrenWithMultipleNaturalParents(&detail, true);
    QString report;
    if (!detail.isEmpty())
        report += QStringLiteral("\n\n%1 %2:\n%3")
                      .arg(QString::number(children.size()), LocalizedString("SameSexCheck1"), detail)
                + QStringLiteral("\n\n");
    report += LocalizedString("PcCheckComplete");
    report += countLine(children.size(), LocalizedString("SameSexCheck2"));
    const int changed = m_moc.convertMultipleNaturalParentsIntoStepRels(children);
    report += countLine(changed, LocalizedString("SameGenderNaturals3"));
    if (!children.isEmpty())
        report += QStringLiteral("\n\n") + LocalizedString("ValidationFileFooter");
    return report;
}

QString DatabaseIntegrityChecks::validateRelationships()
{
    QString detail;
    int total = 0;
    QString report;
    try {
        m_moc.validateAllRelationships(m_progress, &detail, &total);
    } catch (...) {
        QString name, reason;
        Utils::describeCurrentException(&name, &reason);
        const QString text = QStringLiteral("%1 = %2\n%3 = %4\n%5 = %6")
                                 .arg(LocalizedString("Exception"), name, LocalizedString("Reason"), reason,
                                     LocalizedString("UserInfo"), QString());
        Prompts::current().message(text);
        report += QStringLiteral("\n\n") + text;
        report += countLine(total, LocalizedString("SameSexCheck3"));
    }
    report += QStringLiteral("\n%1 %2\n\n").arg(QString::number(total), LocalizedString("SameSexCheck4"));
    report += detail;
    return report;
}

QString DatabaseIntegrityChecks::removeStoredThumbnails()
{
    if (!Utils::displayYesNoQuery(
            LocalizedString("CannotUndoContinue"), LocalizedString("Continue"), LocalizedString("Cancel")))
        return {};

    FTMocUndoManager* undo = m_moc.undoManager();
    undo->disableUndoRegistration();
    ModelProgress::begin(m_progress, rowTitle(RemoveStoredThumbnails));
    ReleasingWalk walk(m_moc);
    const QList<FTPicture*> pictures = m_moc.fetch<FTPicture>();
    ModelProgress::Steps steps(m_progress, pictures.size(), 1);
    int removed = 0;
    for (qsizetype i = 0; i < pictures.size(); ++i) {
        steps.at(i);
        walk.releasePoint();
        if (FTOriginalPicture* stored = pictures[i]->originalPicture()) {
            m_moc.deleteObject(stored);
            ++removed;
        }
    }
    undo->enableUndoRegistration();
    // An earlier edit of a thumbnail, undone now, would bring back a record that is gone.
    if (removed > 0)
        undo->removeAllActions();

    QString report = QStringLiteral("\n%1 %2").arg(QString::number(removed), LocalizedString("ThumbsRemove1"));
    report += QStringLiteral("\n\n") + LocalizedString("ThumbsRemove2");
    report += QStringLiteral("\n\n%1 %2.").arg(LocalizedString("ThumbsRemove3"), Prompts::kAlertTitle);
    return report;
}

QString DatabaseIntegrityChecks::rowTitle(int row)
{
    switch (row) {
    case RemoveGhosts: return LocalizedString("DbIntegrityCheck0");
    case RemoveIsolatedPeople: return LocalizedString("DbIntegrityCheck1");
    case RecursionCheckAncestors: return LocalizedString("DbIntegrityCheck2");
    case RecursionCheckAll: return LocalizedString("DbIntegrityCheck3");
    case CleanDateFormats: return LocalizedString("DbIntegrityCheck4");
    case MultipleNaturalParents: return LocalizedString("DbIntegrityCheck5");
    case ValidateRelationships: return LocalizedString("DbIntegrityCheck6");
    case RemoveStoredThumbnails: return LocalizedString("DbIntegrityCheck7");
    default: return {};
    }
}

QString DatabaseIntegrityChecks::reportFilePath()
{
    const QString folder = Utils::KinloomDataDirectory();
    if (folder.isEmpty())
        return {};
    return QStringLiteral("%1/%2").arg(folder, LocalizedString("DbIntegrityFileName"));
}

bool DatabaseIntegrityChecks::writeReportFile(const QString& path, const QString& report)
{
    QFile file(path);
    bool written = file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    if (written) {
        QByteArray bytes("\xEF\xBB\xBF");
        bytes += report.toUtf8();
        written = file.write(bytes) == bytes.size();
        written = file.flush() && written;
        file.close();
    }
    if (!written)
        Prompts::current().message(
            QStringLiteral("%1: %2").arg(LocalizedString("UnableToCreateReport"), path), file.errorString());
    return written;
}

bool DatabaseIntegrityChecks::showReport(const QString& report)
{
    const QString path = reportFilePath();
    if (path.isEmpty() || !writeReportFile(path, report))
        return false;
    return Utils::displayFile(path, QString());
}
