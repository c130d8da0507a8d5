#include "tools/MinorDynasties.h"

#include "tools/RtfText.h"
#include "tools/UndoPass.h"

#include "shell/DisplayMsg.h"
#include "shell/Utils.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/ModelProgress.h"

#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"
#include "platform/store/ReleasingWalk.h"
#include "platform/store/TextMatch.h"

#include <QSet>
#include <QStringList>

#include <algorithm>

namespace {
QString L(const char* key) { return LocalizedString(QString::fromLatin1(key)); }

bool byNumber(const FTPerson* a, const FTPerson* b) { return a->numericId() < b->numericId(); }
}

MinorDynasties::MinorDynasties(FTMoc* moc)
    : m_moc(moc)
{
}

QList<QList<FTPerson*>> MinorDynasties::createDynastiesDictionary(ModelProgress* progress) const
{
    QList<QList<FTPerson*>> groups;
    if (!m_moc)
        return groups;
    // The people in number order, so that the groups come in the same order on every run.
    const QList<FTPerson*> all = m_moc->fetch<FTPerson>({}, byNumber);
    QSet<FTPerson*> placed;
    placed.reserve(all.size());
    ModelProgress::begin(progress, L("PruneDynastiesTitle"));
    if (progress)
        progress->setPercent(20);
    ModelProgress::Steps steps(progress, all.size(), 2);
    // No path between two people of a group is longer than the database has people: a group is never cut short.
    const int levels = std::max(1000, int(all.size()));
    ReleasingWalk walk(*m_moc);
    for (FTPerson* person : all) {
        if (placed.contains(person))
            continue;
        walk.releasePoint();
        const QSet<FTPerson*> kin = person->peopleInKinship(levels);
        QList<FTPerson*> group(kin.begin(), kin.end());
        std::sort(group.begin(), group.end(), byNumber);
        for (FTPerson* p : std::as_const(group))
            placed.insert(p);
        groups << group;
        steps.at(placed.size());
    }
    if (progress)
        progress->setPercent(0);
    return groups;
}

void MinorDynasties::loadDynasties(ModelProgress* progress)
{
    m_main.clear();
    m_rows.clear();
    m_numOtherPeople = 0;
    const QList<QList<FTPerson*>> groups = createDynastiesDictionary(progress);
    if (groups.isEmpty())
        return;
    qsizetype mainIndex = 0;
    for (qsizetype i = 1; i < groups.size(); ++i)
        if (groups[i].size() > groups[mainIndex].size())
            mainIndex = i;
    m_main = groups[mainIndex];
    FTPerson* focal = m_moc->focalPerson();
    int number = 0;
    for (qsizetype i = 0; i < groups.size(); ++i) {
        if (i == mainIndex)
            continue;
        ++number;
        QList<FTPerson*> group = groups[i];
        if (focal && group.contains(focal)) {
            DisplayMsg(QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8 %9")
                           .arg(L("MinorDynNum"))
                           .arg(number)
                           .arg(L("UnableToPruneFocal1"), focal->nameWithBirthAndDeathYears(),
                                L("UnableToPruneFocal2"), focal->name(), L("ConjunctiveAnd"),
                                focal->gender() == L("MaleShort") ? L("his") : L("her"), L("UnableToPruneFocal3")));
            continue;
        }
        sortByNameWithYears(group);
        m_numOtherPeople += int(group.size());
        if (!m_rows.isEmpty())
            m_rows << Row{};
        m_rows << Row{QStringLiteral("------  %1 %2 (%3 %4 %5) ------")
                          .arg(L("MinorDynNum"))
                          .arg(number)
                          .arg(L("contains"))
                          .arg(group.size())
                          .arg(L(group.size() == 1 ? "person" : "people")),
                      nullptr};
        for (FTPerson* p : std::as_const(group))
            m_rows << Row{{}, p};
    }
}

QList<FTPerson*> MinorDynasties::findPerson(const QString& text) const
{
    const QStringList words = text.trimmed().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QList<FTPerson*> found;
    for (FTPerson* p : m_main) {
        const QString name = p->name();
        const bool all = std::all_of(words.begin(), words.end(), [&name](const QString& word) {
            if (TextMatch::beginsWith(name, word))
                return true;
            for (const QChar before : {QLatin1Char(' '), QLatin1Char('_'), QLatin1Char('(')})
                if (TextMatch::contains(name, before + word))
                    return true;
            return false;
        });
        if (all)
            found << p;
    }
    // The list shows given names, then family name.
    std::stable_sort(found.begin(), found.end(), [](const FTPerson* a, const FTPerson* b) {
        if (const int c = a->givenNames().compare(b->givenNames(), Qt::CaseInsensitive))
            return c < 0;
        return a->familyName().compare(b->familyName(), Qt::CaseInsensitive) < 0;
    });
    return found;
}

QString MinorDynasties::selectionSummary(const QList<int>& rows) const
{
    QList<FTPerson*> people;
    for (const int row : rows)
        if (row >= 0 && row < m_rows.size() && m_rows[row].person)
            people << m_rows[row].person;
    sortByNameWithYears(people);
    QString text = QStringLiteral("%1 %2 %3:\n")
                       .arg(people.size())
                       .arg(L(people.size() == 1 ? "personIs" : "peopleAre"), L("selectedForDeletion"));
    for (const FTPerson* p : std::as_const(people))
        text += QStringLiteral("\n%1").arg(p->nameWithBirthAndDeathYears());
    return text;
}

int MinorDynasties::deleteSelectedPeople(const QList<int>& rows, const QString& databasePath, BackupPanel* panel,
                                         ModelProgress* progress)
{
    if (rows.isEmpty() || !m_moc)
        return 0;
    QList<FTPerson*> people;
    for (const int row : rows)
        if (row >= 0 && row < m_rows.size() && m_rows[row].person && !m_rows[row].person->isDeleted())
            people << m_rows[row].person;
    if (people.isEmpty()) {
        DisplayMsg(L("NoOneToDelete"));
        return 0;
    }
    if (people.size() > 1) {
        if (databasePath.isEmpty() || !panel) {
            DisplayMsg(L("NoCurrentDoc"));
            return 0;
        }
        // A backup copies the file: one that could not take every change would lack them silently.
        if (const QString refusal = Utils::saveBeforeBackup(*m_moc); !refusal.isEmpty()) {
            Utils::displayMsgWithTitle(L("bkupWarnTitle"), refusal);
            return 0;
        }
        Utils::backupCurrentModel(databasePath, *panel);
    }
    int count = 0;
    {
        UndoPass pass(m_moc, L("Prune"));
        ModelProgress::begin(progress, L("Prune"));
        if (progress)
            progress->setPercent(20);
        ModelProgress::Steps steps(progress, people.size(), 2);
        NotificationCenter& center = NotificationCenter::defaultCenter();
        for (FTPerson* p : std::as_const(people)) {
            center.post(QStringLiteral("PersonToBeDeleted"), p, m_moc);
            m_moc->deleteObject(p);
            steps.at(++count);
        }
        if (progress)
            progress->setPercent(0);
    }
    DisplayMsg(QStringLiteral("%1 %2 %3").arg(count).arg(L(count == 1 ? "personWas" : "peopleWere"),
                                                         L("PruneComplete")));
    m_moc->saveMoc();
    loadDynasties(progress);
    return count;
}
