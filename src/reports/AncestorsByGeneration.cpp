#include "reports/AncestorsByGeneration.h"

#include "reports/NarrativePersonWriter.h"
#include "reports/NarrativeReport.h"
#include "reports/TemporaryAncestralView.h"

#include "model/FTPerson.h"
#include "model/ModelProgress.h"

#include "shell/RtfWriter.h"

#include "platform/Localizer.h"

namespace {
const QString kCrLf = QStringLiteral("\r\n");
// This report indents nothing.
constexpr int kIndent = 0;
}

AncestorsByGeneration::AncestorsByGeneration(
    FTMoc* moc, FTPerson* selectedPerson, const NarrativeReportOptions& options)
    : m_moc(moc)
    , m_selected(selectedPerson)
    , m_options(options)
{
    m_options.reportType = NarrativeReportOptions::Ancestors;
}

QString AncestorsByGeneration::localFilename() const
{
    return LocalizedString(QStringLiteral("%@s_Ancestors")).arg(m_selected ? m_selected->name() : QString());
}

bool AncestorsByGeneration::generate(RtfWriter& writer, ModelProgress* progress)
{
    m_numPrinted = 0;
    if (!m_selected)
        return false;
    if (m_options.moment.isValid())
        writer.setDateTime(m_options.moment);
    if (!NarrativeReport::beginReportFile(writer, localFilename()))
        return false;
    m_written = true;
    if (m_options.oneLinePerPerson)
        m_written = writer.write(QStringLiteral("\\pard\\plain \\s0\\f0\\fs20\\tx0\\keepn ") + kCrLf);
    {
        TemporaryAncestralView view(m_moc, m_selected);
        m_written = writer.write(NarrativeReport::titleLine(
                        LocalizedString(QStringLiteral("TitleAncestors")), m_selected, writer))
            && m_written;
        NarrativePersonWriter person(
            writer, m_options, NarrativePersonWriter::Layout::ByGeneration, view.get(), m_selected);
        m_person = &person;
        m_writer = &writer;
        m_progress = progress;
        ModelProgress::begin(progress, LocalizedString(QStringLiteral("GenerationsWritten")).arg(0));
        QSet<FTPerson*> visited;
        recursePrintAncestorsOf({ m_selected }, 0, visited);
        if (progress)
            progress->setStatus(LocalizedString(QStringLiteral("GenerationsWritten")).arg(m_numPrinted));
        m_written = person.ok() && m_written;
        m_person = nullptr;
        m_writer = nullptr;
        m_progress = nullptr;
    }
    return NarrativeReport::endReportFile(writer, m_written);
}

void AncestorsByGeneration::recursePrintAncestorsOf(const QList<FTPerson*>& people, int g, QSet<FTPerson*>& visited)
{
    // One generation a call, so the depth is that of the pedigree; the visited set ends any loop of links.
    QList<FTPerson*> generation = people;
    for (; !generation.isEmpty(); ++g) {
        ++m_numPrinted;
        if (m_progress)
            m_progress->setStatus(LocalizedString(QStringLiteral("GenerationsWritten")).arg(m_numPrinted));
        if (g > 0) {
            m_written
                = m_writer->write(
                      QStringLiteral("\\page\\pard\\plain \\s1\\f2\\fs28\\li%1\\sb280\\sa100\\b\\keepn ").arg(kIndent)
                      + kCrLf + QStringLiteral(" *************** Generation No: %1. ********************").arg(g)
                      + QStringLiteral("\\par \\b0 ") + kCrLf)
                && m_written;
        }
        QList<FTPerson*> next;
        for (FTPerson* person : std::as_const(generation)) {
            if (visited.contains(person)) {
                m_person->printReferAbove(person, g, kIndent);
                continue;
            }
            visited.insert(person);
            m_person->printIndividualsInfo(person, g, kIndent);
            next << person->naturalParents();
        }
        if (g + 1 > m_options.numGenerations)
            break;
        generation = next;
    }
}
