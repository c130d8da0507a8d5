#include "reports/PeopleWithoutAncestorsListing.h"

#include "reports/ListingReport.h"
#include "reports/NarrativeReport.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/ModelProgress.h"

#include "shell/RtfWriter.h"

#include "platform/Localizer.h"
#include "platform/store/ReleasingWalk.h"

namespace {
const auto L = ListingReport::label;
}

PeopleWithoutAncestorsListing::PeopleWithoutAncestorsListing(FTMoc* moc)
    : m_moc(moc)
{
}

QList<FTPerson*> PeopleWithoutAncestorsListing::people() const
{
    QList<QPair<QString, FTPerson*>> rows;
    ReleasingWalk walk(*m_moc);
    m_moc->forEachObject(QString::fromLatin1(FTPerson::kEntityName), [&rows, &walk](ManagedObject* o) {
        walk.releasePoint();
        auto* p = static_cast<FTPerson*>(o);
        if (p->parents().isEmpty())
            rows.push_back({ p->name(), p });
        return true;
    });
    std::stable_sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) { return a.first.compare(b.first) < 0; });
    QList<FTPerson*> out;
    out.reserve(rows.size());
    for (const auto& r : std::as_const(rows))
        out << r.second;
    return out;
}

bool PeopleWithoutAncestorsListing::generate(
    RtfWriter& writer, const QList<FTPerson*>& selected, bool longForm, ModelProgress* progress) const
{
    if (moment.isValid())
        writer.setDateTime(moment);
    writer.setFileType(QStringLiteral("rtf"));
    if (!ListingReport::begin(writer, ListingReport::baseName(modelName, QStringLiteral("NoAncestors")), 8,
                              RtfWriter::standardStyles({ 0 })))
        return false;
    bool written = writer.write(RtfWriter::rtfText(L("NoAncestorsTitle") + modelName, false) + QStringLiteral(" \\par ")
                                + RtfWriter::rtfText(QStringLiteral("%1 %2").arg(L("CreatedOn"), writer.titleDateText()), false)
                                + QStringLiteral(" \\par \\par \n"));
    ModelProgress::begin(progress, L("NoAncestorsTitle") + modelName);
    ModelProgress::Steps steps(progress, selected.size(), 2);
    ReleasingWalk walk(*m_moc);
    for (qsizetype i = 0; i < selected.size() && written; ++i) {
        walk.releasePoint();
        const FTPerson* p = selected[i];
        written = writer.write(longForm ? RtfWriter::rtfText(p->nameWithBirthMarriageAndDeathInfo(), true)
                                              + QStringLiteral(" \\par \\par \n")
                                        : QStringLiteral("   %1 \\par \n")
                                              .arg(RtfWriter::rtfText(p->nameWithBirthAndDeathYears(), false)));
        steps.at(i + 1);
    }
    if (progress)
        progress->setPercent(0);
    return NarrativeReport::endReportFile(writer, written);
}
