#include "gedcom/ExportPersonPlusAllRels.h"

#include "gedcom/ExportToGedcom.h"

#include "model/FTMoc.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"
#include "model/FTSpouseRel.h"

#include "shell/RtfWriter.h"
#include "shell/Utils.h"

#include "platform/FTLog.h"
#include "platform/Localizer.h"
#include "platform/Prompts.h"
#include "platform/store/ReleasingWalk.h"

#include <QElapsedTimer>
#include <QHash>
#include <QLocale>

#include <algorithm>

namespace {

bool byName(const FTPerson* a, const FTPerson* b)
{
    const int c = QString::localeAwareCompare(a->name(), b->name());
    return c != 0 ? c < 0 : a->numericId() < b->numericId();
}

using LinkMap = QHash<FTPerson*, QList<FTPerson*>>;

// Everybody reachable from `start` not yet in `visited`, `start` included; each is added to `visited`. Walks
// with a list of people still to look at, so a long chain of generations cannot exhaust the stack.
QList<FTPerson*> reachable(FTPerson* start, const LinkMap& links, QSet<FTPerson*>& visited)
{
    QList<FTPerson*> group;
    if (visited.contains(start))
        return group;
    visited.insert(start);
    group.append(start);
    for (qsizetype next = 0; next < group.size(); ++next)
        for (FTPerson* other : links.value(group[next]))
            if (!visited.contains(other)) {
                visited.insert(other);
                group.append(other);
            }
    return group;
}

} // namespace

ExportPersonPlusAllRels::ExportPersonPlusAllRels(FTMoc* moc, FTPerson* focalPerson, const QString& nibName)
    : m_moc(moc), m_focalPerson(focalPerson), m_modelName(moc->modelName()), m_nibName(nibName)
{
}

ExportPersonPlusAllRels::~ExportPersonPlusAllRels() = default;

void ExportPersonPlusAllRels::setProgress(int percent)
{
    if (percent == m_lastProgress)
        return;
    m_lastProgress = percent;
    if (progressChanged)
        progressChanged(percent);
}

void ExportPersonPlusAllRels::createArrays()
{
    QElapsedTimer timer;
    timer.start();
    m_relatedPeopleSet.clear();
    m_unrelatedPeopleArray.clear();
    m_numUnrelated = 0;

    // The links of everyone are read once; the graph keeps only pointers to the people.
    ReleasingWalk walk(*m_moc);
    QList<FTPerson*> people = m_moc->fetch<FTPerson>();
    std::sort(people.begin(), people.end(), [](const FTPerson* a, const FTPerson* b) {
        return a->numericId() != b->numericId() ? a->numericId() < b->numericId() : a->primaryKey() < b->primaryKey();
    });
    m_totPeopleInMoc = int(people.size());
    setProgress(5);

    LinkMap links;
    links.reserve(people.size());
    auto link = [&links](FTPerson* a, FTPerson* b) {
        links[a].append(b);
        links[b].append(a);
    };
    const QList<FTPcRel*> pcRels = m_moc->fetch<FTPcRel>();
    double shown = 0;
    for (qsizetype i = 0; i < pcRels.size(); ++i) {
        walk.releasePoint();
        FTPerson* parent = pcRels[i]->parent();
        FTPerson* child = pcRels[i]->child();
        if (parent && child)
            link(parent, child);
        const double percent = 100.0 * double(i + 1) / pcRels.size();
        if (percent - shown > 2) {
            shown = percent;
            setProgress(int(percent));
        }
    }
    const QList<FTSpouseRel*> couples = m_moc->fetch<FTSpouseRel>();
    FTLog(QStringLiteral("%1 SpouseRels").arg(couples.size()));
    setProgress(0);
    shown = 0;
    for (qsizetype i = 0; i < couples.size(); ++i) {
        walk.releasePoint();
        const QList<FTPerson*> partners = couples[i]->partners();
        if (partners.size() == 2)
            link(partners[0], partners[1]);
        const double percent = 100.0 * double(i + 1) / couples.size();
        if (percent - shown > 2) {
            shown = percent;
            setProgress(int(percent));
        }
    }
    setProgress(6);

    QSet<FTPerson*> visited;
    visited.reserve(people.size());
    if (m_focalPerson) {
        const QList<FTPerson*> related = reachable(m_focalPerson, links, visited);
        m_relatedPeopleSet = QSet<FTPerson*>(related.begin(), related.end());
    }
    // The unconnected people, group by group, each group started by the lowest-numbered person left.
    bool first = true;
    for (FTPerson* person : std::as_const(people)) {
        walk.releasePoint();
        QList<FTPerson*> group = reachable(person, links, visited);
        if (group.isEmpty())
            continue;
        std::sort(group.begin(), group.end(), byName);
        if (!first)
            m_unrelatedPeopleArray.append(nullptr);
        first = false;
        m_unrelatedPeopleArray += group;
        m_numUnrelated += int(group.size());
    }
    setProgress(0);
    FTLog(QStringLiteral("%1 seconds in createArrays").arg(double(timer.nsecsElapsed()) / 1e9, 3, 'f', 1));
}

QList<FTPerson*> ExportPersonPlusAllRels::relatedPeopleArray() const
{
    QList<FTPerson*> out(m_relatedPeopleSet.begin(), m_relatedPeopleSet.end());
    std::sort(out.begin(), out.end(), byName);
    return out;
}

QString ExportPersonPlusAllRels::rowText(const FTPerson* person)
{
    return person ? person->nameWithBirthAndDeathYears() : kSeparatorText;
}

std::unique_ptr<ExportToGedcom> ExportPersonPlusAllRels::generate()
{
    if (m_nibName == kExportPersonPlusAllRels)
        return generateToGedcom();
    if (m_nibName == kDynastiesReport) {
        m_moc->saveMoc();
        generateDynastiesReport();
    }
    return nullptr;
}

std::unique_ptr<ExportToGedcom> ExportPersonPlusAllRels::generateToGedcom()
{
    m_moc->saveMoc();
    auto exporter = std::make_unique<ExportToGedcom>(m_moc);
    exporter->setSelectiveExport(true);
    exporter->setSetOfPeopleToExport(m_relatedPeopleSet);
    return exporter;
}

QString ExportPersonPlusAllRels::peopleText(const QList<FTPerson*>& people)
{
    QString text;
    double shown = 0;
    for (qsizetype i = 0; i < people.size(); ++i) {
        if (const FTPerson* p = people[i]) {
            QString name = p->nameWithBirthAndDeathYears();
            Utils::cleanTheRtfString(name);
            text += name + QStringLiteral("\\par ");
        } else {
            text += QStringLiteral("\\par ") + kSeparatorText + QStringLiteral("\\par \\par ");
        }
        const double percent = 100.0 * double(i + 1) / people.size();
        if (percent - shown > 5) {
            shown = percent;
            setProgress(int(percent));
        }
    }
    return text;
}

QString ExportPersonPlusAllRels::writeDynastiesReport()
{
    setProgress(0);
    m_report = std::make_unique<RtfWriter>();
    RtfWriter& rtf = *m_report;
    rtf.setFileType(QStringLiteral("rtf"));
    rtf.setColourTable(RtfWriter::standardColourTable(9));
    rtf.setStyles(RtfWriter::standardStyles({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 13, 23, 24}));
    const QDateTime now = m_now.isValid() ? m_now : QDateTime::currentDateTime();
    rtf.setDate(now.date());
    if (!rtf.createOutputFileName(m_modelName + QStringLiteral("_DynastiesReport")) || !rtf.openOutputFile()
        || !rtf.printRTFHeader(QStringLiteral("A4"))) {
        m_report.reset();
        return {};
    }

    QString name = m_modelName;
    Utils::cleanTheRtfString(name);
    const QString when = QLocale(QLocale::English).toString(now, QStringLiteral("dddd dd-MMM-yy 'at' HH:mm"));
    const QString stars = QStringLiteral("*********************************************************");
    QString text = QStringLiteral("Dynasties People Report created from %1 on %2 \\par \\par \r\n").arg(name, when);
    text += QStringLiteral("\\pard\\plain \\s0\\f0\\fs16\\keepn \r\n");
    text += QStringLiteral("\\par %1\\par ").arg(stars);
    text += QStringLiteral("People NOT related to the Focal Person \\par ");
    text += QStringLiteral("%1\\par \\par ").arg(stars);
    text += peopleText(m_unrelatedPeopleArray);
    text += QStringLiteral("\\par \\par %1\\par ").arg(stars);
    text += QStringLiteral("People related to the Focal Person Follow \\par ");
    text += QStringLiteral("%1\\par \\par ").arg(stars);
    text += peopleText(relatedPeopleArray());
    text += u'}';
    const bool written = rtf.write(text);
    const QString path = rtf.rtfFilePath();
    if (!rtf.closeOutputFile() || !written) {
        m_report.reset();
        Prompts::current().message(QStringLiteral("%1: %2").arg(LocalizedString(QStringLiteral("UnableToCreateReport")), path));
        return {};
    }
    setProgress(100);
    return path;
}

bool ExportPersonPlusAllRels::generateDynastiesReport()
{
    return !writeDynastiesReport().isEmpty() && m_report->handOver();
}
