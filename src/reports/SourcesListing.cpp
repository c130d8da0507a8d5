#include "reports/SourcesListing.h"

#include "reports/ListingReport.h"
#include "reports/NarrativeReport.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"
#include "model/ModelProgress.h"

#include "shell/CsvWriter.h"
#include "shell/RtfWriter.h"

#include "platform/Localizer.h"
#include "platform/Prompts.h"
#include "platform/store/ReleasingWalk.h"

namespace {
const QString& kCrLf = ListingReport::kCrLf;
const auto L = ListingReport::label;
const auto t = ListingReport::rtf;
// A multi-line field inside a labelled line: carriage returns become blanks, each line feed a new tabbed
// paragraph.
QString continued(const QString& text)
{
    QString s = text;
    s.replace('\r', ' ');
    return t(s).replace(QStringLiteral("\n"), QStringLiteral("\\par \\tab "));
}
QString joined(const QString& text)
{
    QString s = text;
    s.replace('\r', ' ').replace('\n', ' ');
    return t(s);
}
}

SourcesListing::SourcesListing(FTMoc* moc)
    : m_moc(moc)
{
}

QList<FTSource*> SourcesListing::sources() const
{
    const bool byType = sortByType;
    return m_moc->fetch<FTSource>({}, [byType](const FTSource* a, const FTSource* b) {
        if (byType) {
            const int order = a->type().compare(b->type());
            if (order != 0)
                return order < 0;
        }
        return a->numericId() < b->numericId();
    });
}

QString SourcesListing::paragraph(const FTSource* s) const
{
    QString out = QString::number(s->numericId());
    const QString type = s->type().trimmed();
    if (!type.isEmpty())
        out += QStringLiteral(", %1 = %2").arg(t(L("SourceSearchType")), t(type));
    if (!s->title().isEmpty())
        out += QStringLiteral(", %1 = \\i %2\\i0  ").arg(t(L("SourceSearchTitle")), joined(s->title()));
    if (!s->author().isEmpty())
        out += QStringLiteral(", %1 = %2").arg(t(L("SourceSearchAuth")), joined(s->author()));
    if (!s->publisher().isEmpty())
        out += QStringLiteral(", %1 = %2").arg(t(L("SourceSearchPubl")), continued(s->publisher()));
    if (!s->date().isEmpty())
        out += QStringLiteral(", %1 = %2").arg(t(L("SourceSearchDate")), joined(s->date()));
    if (!s->location().isEmpty())
        out += QStringLiteral(", %1 = %2").arg(t(L("SourceSearchLocn")), continued(s->location()));
    if (includeReferences)
        out += QStringLiteral(", %1 %2").arg(s->numSourceRels()).arg(t(L("References")));
    // Notes keep their line breaks as in the block layout, so a long note stays readable.
    if (!s->notes().isEmpty())
        out += QStringLiteral(", %1 = %2").arg(t(L("SourceSearchNotes")), continued(s->notes()));
    return out + QStringLiteral(" \\par ") + kCrLf;
}

QString SourcesListing::block(const FTSource* s) const
{
    QString out = QStringLiteral("\\b\\ul %1 %2 \\ul0\\b0 \\par ").arg(t(L("SourceNum"))).arg(s->numericId()) + kCrLf;
    const QString type = s->type().trimmed();
    out += QStringLiteral("  \\par %1:\\tab %2").arg(t(L("SourceSearchType")), type.isEmpty() ? QStringLiteral(" ") : t(type));
    if (!s->title().isEmpty())
        out += QStringLiteral("  \\par %1:\\tab\\i %2\\i0  ").arg(t(L("SourceSearchTitle")), continued(s->title()));
    const struct {
        const char* label;
        QString value;
        bool multiLine;
    } lines[] = { { "SourceSearchAuth", s->author(), false }, { "SourceSearchPubl", s->publisher(), true },
        { "SourceSearchDate", s->date(), false }, { "SourceSearchLocn", s->location(), true },
        { "SourceSearchNotes", s->notes(), true } };
    for (const auto& line : lines)
        if (!line.value.isEmpty())
            out += QStringLiteral("  \\par %1:\\tab %2")
                       .arg(t(L(line.label)), line.multiLine ? continued(line.value) : joined(line.value));

    if (includeReferences) {
        QList<FTSourceRel*> citations = s->sourceRels();
        std::stable_sort(citations.begin(), citations.end(), [](const FTSourceRel* a, const FTSourceRel* b) {
            const FTPerson* pa = a->person();
            const FTPerson* pb = b->person();
            if (!pa || !pb)
                return !pa && pb; // citations without a person first
            return pa->name().compare(pb->name()) < 0;
        });
        if (!citations.isEmpty())
            out += QStringLiteral("\\par\\par %1").arg(t(L("References")));
        for (qsizetype i = 0; i < citations.size(); ++i) {
            const FTSourceRel* c = citations[i];
            if (i > 0)
                out += QStringLiteral(" \\par ");
            out += QStringLiteral("\\tab   -  ");
            const FTEvent* event = c->event();
            const FTPerson* person = c->person();
            if (event && person)
                out += t(QStringLiteral("%1 = %2 %3 %4")
                             .arg(L("Event"), event->name(), L("ConjunctiveOf"), person->nameWithBirthAndDeathYears()));
            else if (event)
                out += t(event->nameForSourceRefDialog());
            else if (person)
                out += t(person->nameWithBirthAndDeathYears());
            if (!c->reference().isEmpty())
                out += QStringLiteral(", %1 = %2").arg(t(L("RefShort")), joined(c->reference()));
            if (!c->notes().isEmpty())
                out += QStringLiteral(", %1 = %2").arg(t(L("CitationNotes")), joined(c->notes()));
        }
    }
    return out + QStringLiteral(" \\par  \\par ") + kCrLf;
}

QStringList SourcesListing::csvFields(const FTSource* s)
{
    return { QString::number(s->numericId()), CsvWriter::escapedQuoted(s->type()),
        CsvWriter::escapedQuoted(s->title()), CsvWriter::escapedQuoted(s->author()),
        CsvWriter::escapedQuoted(s->publisher()), CsvWriter::escapedQuoted(s->date()),
        CsvWriter::escapedQuoted(s->location()), QString::number(s->numSourceRels()),
        CsvWriter::escapedQuoted(s->notes()) };
}

bool SourcesListing::generate(RtfWriter& writer, ModelProgress* progress) const
{
    const QList<FTSource*> all = sources();
    if (all.isEmpty()) {
        Prompts::current().message(L("NoSourcesDefined"));
        return false;
    }
    if (moment.isValid())
        writer.setDateTime(moment);
    writer.setFileType(fileType());
    const QString baseName = ListingReport::baseName(modelName, QStringLiteral("SourcesReportFilename"));
    bool written = true;
    if (richTextFormat) {
        // The narrative styles less the citations' and the pictures', the comments in dark green.
        QStringList styles = RtfWriter::standardStyles({ 0, 1, 2, 3, 4, 5, 6, 7, 8, 13, 23, 24 });
        styles.last().replace(QStringLiteral("\\cf9"), QStringLiteral("\\cf8"));
        if (!ListingReport::begin(writer, baseName, 8, styles))
            return false;
        written = writer.write(QStringLiteral("\\pard\\plain \\s2\\f0\\fs20\\fi-1000\\li1000\\tx1000\\cf0\\par ") + kCrLf);
        written = writer.write(t(QStringLiteral("%1 %2 %3 %4")
                                     .arg(L("SourcesReportTitle"), modelName, L("CreatedOn"), writer.titleDateText()))
                               + QStringLiteral(" \\par \\par ") + kCrLf)
            && written;
    } else {
        if (!writer.createOutputFileName(baseName) || !writer.openOutputFile())
            return false;
        written = writer.write(L("SourcesReportCsvHeader") + '\n');
    }

    ModelProgress::begin(progress, QString());
    ModelProgress::Steps steps(progress, all.size(), 1);
    ReleasingWalk walk(*m_moc);
    for (qsizetype i = 0; i < all.size() && written; ++i) {
        walk.releasePoint();
        const FTSource* s = all[i];
        if (progress)
            progress->setStatus(QString::number(s->numericId()));
        if (!richTextFormat)
            written = writer.write(csvFields(s).join(',') + '\n');
        else
            written = writer.write(oneLinePerSource ? paragraph(s) : block(s));
        steps.at(i);
    }
    if (progress)
        progress->setStatus(QString::number(all.size()));
    if (!richTextFormat) {
        written = writer.closeOutputFile() && written;
        if (!written)
            Prompts::current().message(
                QStringLiteral("%1: %2").arg(L("UnableToCreateReport"), writer.outputPath()));
        return written;
    }
    return NarrativeReport::endReportFile(writer, written);
}
