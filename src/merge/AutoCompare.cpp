#include "merge/AutoCompare.h"

#include "merge/CompareFormats.h"
#include "merge/ComparePeopleList.h"
#include "merge/PersonComparison.h"

#include "shell/RtfWriter.h"
#include "shell/Utils.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/ModelProgress.h"

#include "platform/Localizer.h"
#include "platform/Prompts.h"
#include "platform/store/ReleasingWalk.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <QTextCursor>
#include <QTextDocument>

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

QTextCursor endOf(QTextDocument* report)
{
    QTextCursor cursor(report);
    cursor.movePosition(QTextCursor::End);
    return cursor;
}

// The share done moves on only after a rise of more than two points, from a start of 5, and the count every tenth
// person: drawing them is what a pass of 100,000 people must not spend its time on.
class RunProgress {
public:
    RunProgress(ModelProgress* progress, qsizetype total)
        : m_progress(progress)
        , m_total(total)
    {
        if (m_progress)
            m_progress->setPercent(5);
    }
    void after(qsizetype i)
    {
        if (!m_progress || m_total <= 0)
            return;
        if (i % 10 == 0)
            m_progress->setStatus(PeopleMatching::countText(i, m_total));
        const double percent = double(i) * 100.0 / double(m_total);
        if (percent > m_shown + 2.0) {
            m_shown = percent;
            m_progress->setPercent(int(percent));
        }
    }

private:
    ModelProgress* m_progress;
    qsizetype m_total;
    double m_shown = 5.0;
};

void appendUnmatched(QTextDocument* report, const FTPerson* person, const char* reasonKey)
{
    QTextCursor cursor = endOf(report);
    cursor.insertText(person->nameWithIdBirthAndDeathYears() + '\n', CompareFormats::boldRed());
    cursor.insertText(QStringLiteral("\n - ") + L(reasonKey) + QStringLiteral("\n\n"), CompareFormats::plain());
}

// The people of a list that are not in `matched`, in list order.
QList<FTPerson*> leftOver(const QList<FTPerson*>& people, const QSet<const FTPerson*>& matched)
{
    QList<FTPerson*> out;
    for (FTPerson* p : people)
        if (!matched.contains(p))
            out << p;
    return out;
}

QString dateText(const QDateTime& moment)
{
    return RtfWriter::titleDateText(moment);
}
}

AutoCompare::Header AutoCompare::headerFor(const FTMoc* moc1, const FTMoc* moc2, int matchMode, const QDateTime& now)
{
    Header h;
    h.now = now;
    h.version = QStringLiteral(KINLOOM_VERSION);
    h.matchMode = matchMode;
    auto fileDates = [](const FTMoc* moc, QString* name, QDateTime* created, QDateTime* modified) {
        if (!moc)
            return;
        const QFileInfo file(moc->databaseURL());
        *name = file.fileName();
        *modified = file.lastModified();
        // Not every file system keeps the moment a file was made.
        *created = file.birthTime().isValid() ? file.birthTime() : file.lastModified();
    };
    fileDates(moc1, &h.sourceFile, &h.sourceCreated, &h.sourceModified);
    fileDates(moc2, &h.targetFile, &h.targetCreated, &h.targetModified);
    return h;
}

std::unique_ptr<QTextDocument> AutoCompare::newReport()
{
    auto report = std::make_unique<QTextDocument>();
    report->setDefaultFont(CompareFormats::documentFont());
    return report;
}

void AutoCompare::createReportHeader(QTextDocument* report, const Header& h)
{
    try {
        auto store = [](const char* sideKey, const QString& file, const QDateTime& created, const QDateTime& modified) {
            return L(sideKey) + QStringLiteral(" = ") + file + QStringLiteral("\n   - ") + L("DbCreated") + ' '
                + dateText(created) + QStringLiteral("\n   - ") + L("DbModified") + ' ' + dateText(modified);
        };
        const QString text = '\n' + L("AutoCompareReportTitle") + QStringLiteral(" - ") + L("ConjunctiveOn") + ' '
            + dateText(h.now) + ' ' + L("usingKinloom") + ' ' + h.version + QStringLiteral("\n\n") + L("MatchMode")
            + QStringLiteral(" = ") + L(h.matchMode == 0 ? "MatchMode0" : "MatchMode1") + QStringLiteral("\n\n")
            + store("SourceDb", h.sourceFile, h.sourceCreated, h.sourceModified) + QStringLiteral("\n\n")
            + store("TargetDb", h.targetFile, h.targetCreated, h.targetModified) + QStringLiteral("\n\n\n");
        endOf(report).insertText(text, CompareFormats::bold());
    } catch (...) {
        Utils::reportCurrentException(__FILE__, __LINE__, QStringLiteral("createReportHeader"));
    }
}

AutoCompare::Result AutoCompare::compareBasedOnNameGenderBirthDeathAndNumericId(
    QTextDocument* report, const QList<FTPerson*>& source, const QList<FTPerson*>& target, ModelProgress* progress)
{
    Result result;
    result.sourceCount = int(source.size());
    result.targetCount = int(target.size());
    try {
        // The first row of each name in the target list, which is by name: a person's candidates are the rows of
        // its name from there on.
        QHash<QString, qsizetype> firstRowOfName;
        for (qsizetype i = 0; i < target.size(); ++i) {
            const QString name = target[i]->name();
            if (name.isEmpty())
                continue;
            if (i == 0 || target[i - 1]->name().compare(name, Qt::CaseInsensitive) != 0)
                firstRowOfName.insert(name.toLower(), i);
        }
        QSet<const FTPerson*> matchedSource, matchedTarget;
        RunProgress steps(progress, source.size());
        for (qsizetype i = 0; i < source.size(); ++i) {
            FTPerson* s = source[i];
            FTPerson* match = nullptr;
            const auto start = firstRowOfName.constFind(s->name().toLower());
            if (start != firstRowOfName.constEnd()) {
                const QString years = s->nameWithBirthAndDeathYears();
                for (qsizetype row = start.value();
                     row < target.size() && target[row]->name().compare(s->name(), Qt::CaseInsensitive) == 0; ++row) {
                    FTPerson* t = target[row];
                    if (t->gender() == s->gender()
                        && t->nameWithBirthAndDeathYears().compare(years, Qt::CaseInsensitive) == 0
                        && !matchedTarget.contains(t)) {
                        match = t;
                        break;
                    }
                }
            }
            if (match) {
                PersonComparison::comparePerson(s, match, report);
                matchedSource.insert(s);
                matchedTarget.insert(match);
                ++result.matchedPairs;
            } else {
                appendUnmatched(report, s, "UnableToFindMatch");
            }
            steps.after(i);
        }
        result.unmatchedSource = leftOver(source, matchedSource);
        result.unmatchedTarget = leftOver(target, matchedTarget);
    } catch (...) {
        Utils::reportCurrentException(
            __FILE__, __LINE__, QStringLiteral("compareBasedOnNameGenderBirthDeathAndNumericId"));
    }
    return result;
}

AutoCompare::Result AutoCompare::compareBasedOnNumericId(QTextDocument* report, const QList<FTPerson*>& source,
    const QList<FTPerson*>& target, FTMoc* moc2, ModelProgress* progress)
{
    Result result;
    result.sourceCount = int(source.size());
    result.targetCount = int(target.size());
    try {
        // Every person of the open database by id, made once: asking the database for each id in turn would read
        // all its people once per person. An id held by several people stands for none of them.
        QHash<int, FTPerson*> byId;
        QSet<int> shared;
        if (moc2) {
            ReleasingWalk walk(*moc2);
            for (FTPerson* p : moc2->fetch<FTPerson>()) {
                walk.releasePoint();
                if (byId.contains(p->numericId()))
                    shared.insert(p->numericId());
                else
                    byId.insert(p->numericId(), p);
            }
        }
        QSet<const FTPerson*> matchedSource, matchedTarget;
        RunProgress steps(progress, source.size());
        for (qsizetype i = 0; i < source.size(); ++i) {
            FTPerson* s = source[i];
            const int id = s->numericId();
            FTPerson* match = id != 0 && !shared.contains(id) ? byId.value(id) : nullptr;
            if (match && matchedTarget.contains(match))
                match = nullptr;
            if (match) {
                PersonComparison::comparePerson(s, match, report);
                matchedSource.insert(s);
                matchedTarget.insert(match);
                ++result.matchedPairs;
            } else {
                appendUnmatched(report, s, "UnableToFindMatchOnId");
            }
            steps.after(i);
        }
        result.unmatchedSource = leftOver(source, matchedSource);
        result.unmatchedTarget = leftOver(target, matchedTarget);
    } catch (...) {
        Utils::reportCurrentException(__FILE__, __LINE__, QStringLiteral("compareBasedOnNumericId"));
    }
    return result;
}

void AutoCompare::appendSummaries(QTextDocument* report, const Result& r)
{
    QTextCursor cursor = endOf(report);
    auto matchedLine = [](int matched, int count, const char* side, const char* other) {
        return QStringLiteral("\n%1 %2 %3 %4 %5 %6 %7.\n")
            .arg(matched)
            .arg(L("ConjunctiveOf"))
            .arg(count)
            .arg(L("peopleInThe"), L(side), L("haveMatching"), L(other));
    };
    auto unmatchedLine = [](int unmatched, int count, const char* side, const char* other) {
        return QStringLiteral("\n%1 %2 %3 %4 %5 %6 %7, %8:\n")
            .arg(unmatched)
            .arg(L("ConjunctiveOf"))
            .arg(count)
            .arg(L("peopleInThe"), L(side), L("haveNotMatching"), L(other), L("asFollows"));
    };
    auto list = [&](const QList<FTPerson*>& people) {
        QString text;
        for (const FTPerson* p : people)
            text += p->nameWithIdBirthAndDeathYears() + '\n';
        if (!text.isEmpty())
            cursor.insertText(text, CompareFormats::plain());
    };
    const int sourceMatched = r.sourceCount - int(r.unmatchedSource.size());
    const int targetMatched = r.targetCount - int(r.unmatchedTarget.size());
    cursor.insertText(matchedLine(sourceMatched, r.sourceCount, "sourceDb", "targetDb"), CompareFormats::bold());
    cursor.insertText(unmatchedLine(int(r.unmatchedSource.size()), r.sourceCount, "sourceDb", "targetDb"),
        CompareFormats::bold());
    list(r.unmatchedSource);
    cursor.insertText(matchedLine(targetMatched, r.targetCount, "targetDb", "sourceDb"), CompareFormats::bold());
    cursor.insertText(unmatchedLine(int(r.unmatchedTarget.size()), r.targetCount, "targetDb", "sourceDb"),
        CompareFormats::bold());
    list(r.unmatchedTarget);
}

QString AutoCompare::finalCountText(const Result& r)
{
    return QStringLiteral("%1 %2 %3 %4").arg(r.matchedPairs).arg(L("ConjunctiveOf")).arg(r.sourceCount).arg(
        L("peopleMatched"));
}

void AutoCompare::createEventIndexesInMoc(FTMoc* moc)
{
    if (!moc)
        return;
    removeEventIndexesInMoc(moc);
    ReleasingWalk walk(*moc);
    moc->forEachObject(QStringLiteral("OtherPersonalEvent"), [&walk](ManagedObject* o) {
        walk.releasePoint();
        auto* event = static_cast<FTEvent*>(o);
        if (event->type() == FTEvent::OtherPersonalEvent)
            if (FTPerson* owner = event->person())
                owner->addOtherEventToOtherEventsSet(event);
        return true;
    });
}

void AutoCompare::removeEventIndexesInMoc(FTMoc* moc)
{
    if (!moc)
        return;
    ReleasingWalk walk(*moc);
    moc->forEachObject(QString::fromLatin1(FTPerson::kEntityName), [&walk](ManagedObject* o) {
        walk.releasePoint();
        static_cast<FTPerson*>(o)->removeGedcomExportIndexes();
        return true;
    });
}

AutoCompare::Result AutoCompare::autoCompare(ComparePeopleList& source, ComparePeopleList& target, FTMoc* moc1,
    FTMoc* moc2, const Header& header, ModelProgress* progress, std::unique_ptr<QTextDocument>* report)
{
    Result result;
    std::unique_ptr<QTextDocument> made = newReport();
    try {
        // The name match walks runs of equal names: both lists by name, whatever the mode.
        for (ComparePeopleList* list : { &source, &target }) {
            list->setSearch({});
            list->setSortMode(0);
        }
        createReportHeader(made.get(), header);
        createEventIndexesInMoc(moc1);
        createEventIndexesInMoc(moc2);
        if (header.matchMode == 0)
            result = compareBasedOnNameGenderBirthDeathAndNumericId(
                made.get(), source.arranged(), target.arranged(), progress);
        else if (header.matchMode == 1)
            result = compareBasedOnNumericId(made.get(), source.arranged(), target.arranged(), moc2, progress);
        removeEventIndexesInMoc(moc1);
        removeEventIndexesInMoc(moc2);
        if (header.matchMode == 0 || header.matchMode == 1)
            appendSummaries(made.get(), result);
    } catch (...) {
        Utils::reportCurrentException(__FILE__, __LINE__, QStringLiteral("autoCompare"));
    }
    if (progress) {
        progress->setStatus(finalCountText(result));
        progress->setPercent(0);
    }
    if (report)
        *report = std::move(made);
    return result;
}

bool AutoCompare::writeRtf(const QTextDocument& document, const QString& path)
{
    const QByteArray rtf = Utils::encodeRTFwithPictures(document).toLatin1();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(rtf) != rtf.size() || !file.commit()) {
        Prompts::current().message(
            QStringLiteral("%1: %2\n\n%3").arg(L("UnableToCreateReport"), path, file.errorString()));
        return false;
    }
    return true;
}

QString AutoCompare::writeReport(const QTextDocument& report)
{
    const QString path = Utils::createReportFileName(L("AutoCompareReportFileName"), QStringLiteral("rtf"));
    if (path.isEmpty()) {
        Prompts::current().message(QStringLiteral("%1: %2").arg(L("UnableToCreateReport"), Utils::reportsDirectory()));
        return {};
    }
    if (!writeRtf(report, path))
        return {};
    Utils::displayFile(path, QStringLiteral("defaultRtfApp"));
    return path;
}

QString AutoCompare::printSelected(const QString& m1Filename, const ComparisonDictionary::SideText& person1Details,
    const QString& m2Filename, const ComparisonDictionary::SideText& person2Details)
{
    const QString folder = Utils::reportsDirectory();
    if (folder.isEmpty())
        return {};
    const std::unique_ptr<QTextDocument> printout = newReport();
    QTextCursor cursor(printout.get());
    cursor.insertText(L("DBValues") + ' ' + m1Filename + QStringLiteral("\n\n"), CompareFormats::header());
    ComparisonDictionary::append(cursor, person1Details);
    cursor.insertText(QStringLiteral("\n\n") + L("CurrentDBValues") + ' ' + m2Filename + QStringLiteral("\n\n"),
        CompareFormats::header());
    ComparisonDictionary::append(cursor, person2Details);
    cursor.insertText(QStringLiteral("\n\n"), CompareFormats::plain());
    const QString path = folder + QStringLiteral("/temp.rtf");
    if (!writeRtf(*printout, path))
        return {};
    Utils::displayFile(path, QStringLiteral("defaultRtfApp"));
    return path;
}
