#include "reports/PicturesListing.h"

#include "reports/ListingReport.h"
#include "reports/NarrativeReport.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/FTPicture.h"
#include "model/ModelProgress.h"

#include "shell/RtfWriter.h"

#include "platform/Localizer.h"
#include "platform/store/ReleasingWalk.h"

namespace {
const QString& kCrLf = ListingReport::kCrLf;
const auto L = ListingReport::label;
const auto t = ListingReport::rtf;
// A description as indented paragraphs, one per line of it.
QString description(const FTPicture* picture)
{
    QString text = picture->pictureDescription();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace('\r', '\n');
    return QStringLiteral("   ") + t(text).replace(QStringLiteral("\n"), QStringLiteral("\\par    "));
}

struct PicRecord {
    QString name;
    QString familyName;
    QString filename;
    QString title;
    FTPicture* picture;
};
}

PicturesListing::PicturesListing(FTMoc* moc)
    : m_moc(moc)
{
}

bool PicturesListing::generate(RtfWriter& writer, ModelProgress* progress) const
{
    if (moment.isValid())
        writer.setDateTime(moment);
    writer.setFileType(QStringLiteral("rtf"));
    ModelProgress::begin(progress, L("ExtractingData"));
    if (!ListingReport::begin(writer, QStringLiteral("PicturesReport"), 9, RtfWriter::standardStyles({ 0 })))
        return false;
    bool written = writer.write(t(QStringLiteral("%1%2 %3 %4")
                                      .arg(L("PicsFrom"), modelName, L("ConjunctiveOn"), writer.titleDateText()))
                                + QStringLiteral(" \\par \\par ") + kCrLf);
    if (progress)
        progress->setPercent(5);

    ReleasingWalk walk(*m_moc);
    const QList<FTPicture*> pictures = m_moc->fetch<FTPicture>();
    QList<PicRecord> records;
    for (FTPicture* picture : pictures) {
        walk.releasePoint();
        // Pictures of sources are not anyone's.
        if (const FTPerson* owner = picture->owner())
            records.push_back({ owner->nameWithBirthAndDeathYears(),
                order == ByFamilyName ? owner->familyName() : QString(), picture->filename(), picture->name(),
                picture });
        m_moc->releaseLazyValues(picture);
    }
    if (progress) {
        progress->setStatus(L("SortingData"));
        progress->setPercent(10);
    }
    const int by = order;
    std::stable_sort(records.begin(), records.end(), [by](const PicRecord& a, const PicRecord& b) {
        const QString* first[] = { &a.name, &a.familyName, &a.filename, &a.title };
        const QString* second[] = { &b.name, &b.familyName, &b.filename, &b.title };
        if (by < 0 || by > 3)
            return false;
        const int order = first[by]->compare(*second[by]);
        return order != 0 ? order < 0 : a.name.compare(b.name) < 0;
    });
    if (progress)
        progress->setPercent(50);

    const bool byOwner = order == ByOwner || order == ByFamilyName;
    const bool byFile = order == ByFileName || order == ByTitle;
    for (qsizetype i = 0; i < records.size() && written; ++i) {
        walk.releasePoint();
        const PicRecord& r = records[i];
        QString s;
        if (byOwner) {
            if (i == 0 || r.name != records[i - 1].name)
                s += QStringLiteral("\\pard\\plain \\s0\\f0\\fs32\\keepn ") + kCrLf
                    + QStringLiteral("\\par \\b %1\\b0\\par \\par ").arg(t(r.name));
            s += description(r.picture) + QStringLiteral("\\par \\par ");
        } else if (byFile) {
            if (i == 0 || r.filename != records[i - 1].filename) {
                if (i > 0)
                    s += QStringLiteral("\\par \\par ");
                s += description(r.picture) + QStringLiteral("\\par \\par ");
            }
            s += QStringLiteral("      %1\\par ").arg(t(r.name));
        }
        written = writer.write(s);
        if (progress && i % 10 == 0) {
            progress->setStatus(
                QStringLiteral("%1 %2 %3 %4").arg(L("Printed")).arg(i).arg(L("ConjunctiveOf")).arg(records.size()));
            progress->setPercent(50 + int(50 * i / records.size()));
        }
        m_moc->releaseLazyValues(r.picture);
    }
    if (progress)
        progress->setPercent(100);
    return NarrativeReport::endReportFile(writer, written);
}
