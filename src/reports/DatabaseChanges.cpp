#include "reports/DatabaseChanges.h"

#include "reports/ReportTextFile.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/ModelProgress.h"

#include "platform/Localizer.h"
#include "platform/store/ReleasingWalk.h"

#include <algorithm>
#include <optional>

namespace {
constexpr qint64 kSecondsADay = 86400;

QDateTime earliest(int days, const QDateTime& now)
{
    return now.addSecs(-kSecondsADay * days);
}
}

DatabaseChanges::DatabaseChanges(FTMoc* moc)
    : m_people(moc->fetch<FTPerson>())
{
}

QList<FTPerson*> DatabaseChanges::changedWithin(int days, const QDateTime& now) const
{
    const QDateTime from = earliest(days, now);
    QList<std::pair<QDateTime, FTPerson*>> changed;
    std::optional<ReleasingWalk> walk;
    if (!m_people.isEmpty())
        walk.emplace(*m_people.first()->context());
    for (FTPerson* p : m_people) {
        walk->releasePoint();
        if (p->isDeleted())
            continue;
        const QDateTime when = p->latestChangeDate();
        if (when.isValid() && when >= from)
            changed.append({ when, p });
    }
    std::stable_sort(changed.begin(), changed.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    QList<FTPerson*> out;
    out.reserve(changed.size());
    for (const auto& c : std::as_const(changed))
        out << c.second;
    return out;
}

QString DatabaseChanges::text(const QList<FTPerson*>& changed, int days, const QDateTime& now, ModelProgress* progress)
{
    const QDateTime from = earliest(days, now);
    QString out = QStringLiteral("\n");
    ModelProgress::Steps steps(progress, changed.size(), 5);
    for (qsizetype i = 0; i < changed.size(); ++i) {
        steps.at(i);
        const FTPerson* p = changed[i];
        const QDateTime when = p->latestChangeDate();
        if (!when.isValid() || when < from)
            continue;
        out += p->nameWithBirthAndDeathYears() + QLatin1Char('\n') + p->latestChanges();
    }
    return out;
}

bool DatabaseChanges::writeReport(const QList<FTPerson*>& changed, int days, const QDateTime& now, QString* path,
                                  ModelProgress* progress) const
{
    if (progress)
        progress->setPercent(0);
    ReportTextFile file;
    if (!file.create(modelName + QStringLiteral("_LatestChanges"), QStringLiteral("txt"), 1000))
        return false;
    if (path)
        *path = file.path();
    file.write(text(changed, days, now, progress));
    if (progress)
        progress->setPercent(0);
    return file.close();
}

QString DatabaseChanges::noChangesMessage(int days)
{
    return QStringLiteral("%1%2 %3%4")
        .arg(LocalizedString(QStringLiteral("NoChanges")))
        .arg(days)
        .arg(LocalizedString(QStringLiteral("ADay")), days > 1 ? QStringLiteral("s") : QString());
}
