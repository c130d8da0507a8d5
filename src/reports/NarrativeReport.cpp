#include "reports/NarrativeReport.h"

#include "reports/NarrativePersonWriter.h"
#include "reports/TemporaryAncestralView.h"

#include "model/FTPcRel.h"
#include "model/FTPerson.h"
#include "model/ModelProgress.h"

#include "shell/RtfWriter.h"

#include "platform/Localizer.h"
#include "platform/Prompts.h"

namespace {
const QString kCrLf = QStringLiteral("\r\n");

// The natural parents (or children) of `people`, each once.
QList<FTPerson*> naturalGeneration(const QList<FTPerson*>& people, bool up)
{
    QList<FTPerson*> next;
    QSet<FTPerson*> seen;
    for (const FTPerson* person : people)
        for (const FTPcRel* link : up ? person->parents() : person->children()) {
            if (link->isDeleted() || link->intPcRelType() != FTPcRel::kNatural)
                continue;
            FTPerson* relative = up ? link->parent() : link->child();
            if (relative && !seen.contains(relative)) {
                seen.insert(relative);
                next << relative;
            }
        }
    return next;
}
}

NarrativeReport::NarrativeReport(FTMoc* moc, FTPerson* selectedPerson, const NarrativeReportOptions& options)
    : m_moc(moc)
    , m_selected(selectedPerson)
    , m_options(options)
{
}

QString NarrativeReport::localFilename() const
{
    const QString name = m_selected ? m_selected->name() : QString();
    switch (m_options.reportType) {
    case NarrativeReportOptions::Ancestors:
        return LocalizedString(QStringLiteral("%@s_Ancestors")).arg(name);
    case NarrativeReportOptions::Descendants:
        return LocalizedString(QStringLiteral("%@s_Descendants")).arg(name);
    default:
        return name;
    }
}

int NarrativeReport::getMaxLevel(const QList<FTPerson*>& people, int reportType, int limit)
{
    int depth = 1;
    QList<FTPerson*> generation = people;
    while (depth < limit) {
        generation = naturalGeneration(generation, reportType == NarrativeReportOptions::Ancestors);
        if (generation.isEmpty())
            break;
        ++depth;
    }
    return depth;
}

int NarrativeReport::indentStep(int depth)
{
    return depth < 1 ? 360 : qMin(360, 5760 / depth);
}

bool NarrativeReport::beginReportFile(RtfWriter& writer, const QString& baseName)
{
    writer.setColourTable(RtfWriter::standardColourTable(9));
    writer.setStyles(RtfWriter::standardStyles({ 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 13, 23, 24, 26 }));
    writer.setFooter(true);
    if (!writer.createOutputFileName(baseName) || !writer.openOutputFile())
        return false;
    // The narrative reports are laid out on A4 whatever the country.
    return writer.printRTFHeader(QStringLiteral("A4"));
}

QString NarrativeReport::titleLine(const QString& title, const FTPerson* person, const RtfWriter& writer)
{
    const QString text
        = QStringLiteral("%1%2 %3 %4 %5")
              .arg(title, LocalizedString(QStringLiteral("ReportFor")), person ? person->name() : QString(),
                  LocalizedString(QStringLiteral("CreatedOn")), writer.titleDateText());
    return RtfWriter::rtfText(text, false) + QStringLiteral(" \\par \\par ") + kCrLf;
}

bool NarrativeReport::endReportFile(RtfWriter& writer, bool written)
{
    written = writer.write(QStringLiteral("}")) && written;
    written = writer.closeOutputFile() && written;
    if (!written)
        Prompts::current().message(
            QStringLiteral("%1: %2").arg(LocalizedString(QStringLiteral("UnableToCreateReport")), writer.outputPath()));
    return written;
}

bool NarrativeReport::generate(RtfWriter& writer, ModelProgress* progress)
{
    m_numPrinted = 0;
    if (!m_selected)
        return false;
    if (m_options.moment.isValid())
        writer.setDateTime(m_options.moment);
    if (!beginReportFile(writer, localFilename()))
        return false;

    const int type = m_options.reportType;
    int depth = 1;
    if (type != NarrativeReportOptions::Individual)
        depth = qMin(getMaxLevel({ m_selected }, type, qMax(1, m_options.numGenerations)), m_options.numGenerations);
    const int w = type == NarrativeReportOptions::Individual ? 360 : indentStep(depth);
    bool written = true;
    if (m_options.oneLinePerPerson) {
        QString tabs = QStringLiteral("\\pard\\plain \\s0\\f0\\fs20");
        for (int level = 1; level <= depth; ++level)
            tabs += QStringLiteral("\\tx%1").arg(level * w);
        written = writer.write(tabs + QStringLiteral("\\keepn ") + kCrLf);
    }
    const char* titleKey = type == NarrativeReportOptions::Ancestors ? "TitleAncestors"
        : type == NarrativeReportOptions::Descendants                ? "TitleDescendants"
                                                                     : nullptr;
    const QString title = titleKey ? LocalizedString(QString::fromLatin1(titleKey)) : QString();
    written = writer.write(titleLine(title, m_selected, writer)) && written;

    {
        TemporaryAncestralView view(m_moc, m_selected);
        NarrativePersonWriter person(
            writer, m_options, NarrativePersonWriter::Layout::Narrative, view.get(), m_selected);
        m_person = &person;
        m_progress = progress;
        ModelProgress::begin(progress, LocalizedString(QStringLiteral("PeopleWritten")).arg(0));
        QSet<FTPerson*> visited;
        if (type == NarrativeReportOptions::Ancestors)
            recursePrintAncestorsOf(m_selected, 0, w, visited);
        else if (type == NarrativeReportOptions::Descendants)
            recursePrintDescendantsOf(m_selected, 0, w, visited);
        else
            person.printIndividualsInfo(m_selected, 0, w);
        if (progress)
            progress->setStatus(LocalizedString(QStringLiteral("PeopleWritten")).arg(m_numPrinted));
        written = person.ok() && written;
        m_person = nullptr;
        m_progress = nullptr;
    }
    return endReportFile(writer, written);
}

void NarrativeReport::counted()
{
    ++m_numPrinted;
    // Redrawn every ten people: the walk runs on the main thread, and a redraw per person would cost more than
    // the writing.
    if (m_progress && m_numPrinted % 10 == 0)
        m_progress->setStatus(LocalizedString(QStringLiteral("PeopleWritten")).arg(m_numPrinted));
}

void NarrativeReport::recursePrintAncestorsOf(FTPerson* person, int g, int w, QSet<FTPerson*>& visited)
{
    counted();
    m_person->printIndividualsInfo(person, g, w);
    if (visited.contains(person)) {
        m_person->printReferAbove(person, g, w);
        return;
    }
    if (g + 1 > m_options.numGenerations)
        return;
    const QList<FTPerson*> parents = person->naturalParents();
    // Marked before its parents are walked, so a person who is their own ancestor is referred back to at once
    // instead of going round until the generations run out. (A person without parents is never marked, and is
    // written in full each time it is met.)
    if (!parents.isEmpty())
        visited.insert(person);
    for (FTPerson* parent : parents)
        recursePrintAncestorsOf(parent, g + 1, w, visited);
}

void NarrativeReport::recursePrintDescendantsOf(FTPerson* person, int g, int w, QSet<FTPerson*>& visited)
{
    counted();
    m_person->printIndividualsInfo(person, g, w);
    if (visited.contains(person)) {
        m_person->printReferAbove(person, g, w);
        return;
    }
    if (g + 1 > m_options.numGenerations)
        return;
    const QList<FTPerson*> children = person->childrenOfType(
        m_options.showAdoptedChildrenAsNaturalChildren ? FTPcRel::kNatural | FTPcRel::kAdopted : FTPcRel::kNatural);
    if (!children.isEmpty())
        visited.insert(person);
    for (FTPerson* child : children)
        recursePrintDescendantsOf(child, g + 1, w, visited);
}
