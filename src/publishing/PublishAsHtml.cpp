#include "publishing/PublishAsHtml.h"

#include "publishing/HtmlWords.h"

#include "publishing/ContextDiagramImage.h"
#include "publishing/HtmlEscape.h"
#include "publishing/HtmlFileWriter.h"
#include "publishing/HtmlPictureWriter.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/ModelProgress.h"
#include "platform/Localizer.h"
#include "platform/UserDefaults.h"
#include "platform/store/ReleasingWalk.h"
#include "shell/DisplayMsg.h"
#include "shell/Utils.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStorageInfo>

#include <algorithm>
#include <cmath>

namespace {
const QString& L(const char* key)
{
    return htmlWord(key);
}

const QString kWorkingFolderPrefix = QStringLiteral("tempHtmlDirectory");

// The type folders in the order their numbered folders are made.
const char* const kTypeFolders[] = {"HtmlDirHTMLFiles", "HtmlDirDiagrams", "HtmlDirThumbnails", "HtmlDirMedia",
                                    "HtmlDirAncestorsTables"};

// Working folders are numbered for the whole run of the program, so that two windows never pick the same one.
int g_workingFolderCounter = 0;
// The working folders of every generator alive in this program: a window's first run clears away the working
// folders that earlier runs left behind, but never one that another open window still shows.
QSet<QString>& liveWorkingFolders()
{
    static QSet<QString> folders;
    return folders;
}
bool g_runIsActive = false;

// The text without its accents, for comparisons that ignore diacritics.
QString withoutMarks(const QString& text)
{
    QString out;
    for (const QChar c : text.normalized(QString::NormalizationForm_D))
        if (c.category() != QChar::Mark_NonSpacing)
            out += c;
    return out;
}

QColor randomPaleColour()
{
    QRandomGenerator* r = QRandomGenerator::global();
    const double hue = double(r->bounded(2147483647)) / 2147483648.0;
    const double saturation = 0.05 + 0.1 * double(r->bounded(2147483647)) / 2147483647.0;
    const double brightness = 0.95 + 0.05 * double(r->bounded(2147483647)) / 2147483647.0;
    return QColor::fromHsvF(float(hue), float(saturation), float(brightness), 1.0f);
}
} // namespace

PublishAsHtml::PublishAsHtml(FTMoc* moc)
    : m_moc(moc)
    , m_modelName(moc ? moc->modelName() : QString())
    , m_privacy(std::make_unique<HtmlPrivacy>(HtmlOptions(), QDate::currentDate().year()))
    , m_ownContextDiagram(std::make_unique<ContextDiagramImage>())
    , m_ownPictures(std::make_unique<HtmlPictureWriter>())
    , m_contextDiagram(m_ownContextDiagram.get())
    , m_pictures(m_ownPictures.get())
    , m_files(std::make_unique<HtmlFileWriter>())
{
    m_kinship = HtmlOptions::fromUserDefaults().kinship;
}

PublishAsHtml::~PublishAsHtml()
{
    m_files->waitForAll();
    liveWorkingFolders().remove(m_directory);
}

bool PublishAsHtml::runIsActive()
{
    return g_runIsActive;
}

void PublishAsHtml::status(const QString& text)
{
    if (m_progress)
        m_progress->setStatus(text);
}

void PublishAsHtml::percent(int value)
{
    if (m_progress)
        m_progress->setPercent(value);
}

// ---- Runs ---------------------------------------------------------------------------------------------------------

bool PublishAsHtml::generatePreview()
{
    if (g_runIsActive) {
        m_generalMessage = L("WebExportRunningAlready");
        return false;
    }
    m_kinship = 1;
    m_generalMessage = L("PreviewForKinship");
    HtmlOptions options = m_fixedOptions ? *m_fixedOptions : HtmlOptions::fromUserDefaults();
    bool ignoreExclusions = false;
    if (options.excludeLivingPeople && m_moc) {
        // A preview of nobody shows nothing: when the whole first circle is living or recently dead, this preview
        // shows them all. Such a page set may be looked at, never saved (save() refuses it).
        const HtmlPrivacy privacy(options, (m_clock ? m_clock() : QDateTime::currentDateTime()).date().year());
        FTPerson* focal = m_moc->focalPerson();
        const QSet<FTPerson*> circle = focal ? focal->peopleInKinship(1) : QSet<FTPerson*>();
        ignoreExclusions = std::none_of(circle.begin(), circle.end(), [&](const FTPerson* p) {
            return !p->isLiving(privacy.thisYear()) && !p->isRecentlyDead(options.yearsSinceDeath, privacy.thisYear());
        });
        if (ignoreExclusions) {
            options.excludeLivingPeople = false;
            options.excludeRecentlyDeadPeople = false;
            m_generalMessage = QStringLiteral("%1. \"%2\" %3 \"%4\" %5 \"%6\"")
                                   .arg(L("PreviewForKinship"), L("ExcludeLiving"), L("ConjunctiveAnd"),
                                        L("ExcludeRecentlyDeceased"), L("WebPreviewMsg"), L("GenerateAll"));
        }
    }
    const std::optional<HtmlOptions> fixed = m_fixedOptions;
    m_fixedOptions = options;
    const QString message = m_generalMessage;
    const bool ok = generateReport();
    m_fixedOptions = fixed;
    m_exclusionsIgnored = ok && ignoreExclusions;
    m_generalMessage = message;
    estimateFileSize();
    return ok;
}

bool PublishAsHtml::generateAll()
{
    if (g_runIsActive) {
        m_generalMessage = L("WebExportRunningAlready");
        return false;
    }
    m_generalMessage = L("Generating");
    status(m_generalMessage);
    m_calculatedTotalSize.clear();
    m_peopleSelected.clear();
    m_kinship = (m_fixedOptions ? *m_fixedOptions : HtmlOptions::fromUserDefaults()).kinship;
    const bool ok = generateReport();
    m_exclusionsIgnored = false;
    m_generalMessage = QStringLiteral("%1 = %2").arg(L("GeneratedForKinship")).arg(m_kinship);
    return ok;
}

void PublishAsHtml::beginRun()
{
    m_options = m_fixedOptions ? *m_fixedOptions : HtmlOptions::fromUserDefaults();
    m_now = m_clock ? m_clock() : QDateTime::currentDateTime();
    m_privacy = std::make_unique<HtmlPrivacy>(m_options, m_now.date().year());
    m_failed = false;
    m_files->reset();
    m_exclusionsIgnored = false;
    m_maxAncLevel = m_options.cdDiagramGenerations;
}

bool PublishAsHtml::generateReport()
{
    if (g_runIsActive)
        return false;
    g_runIsActive = true;
    m_threadIsActive = true;
    bool ok = false;
    try {
        ok = runReport();
    } catch (...) {
        Utils::reportCurrentException(__FILE__, __LINE__, QStringLiteral("generateHtmlReport_2"));
        ok = false;
    }
    // No file of the run is still being written once it has ended, whichever way.
    m_files->waitForAll();
    m_threadIsActive = false;
    g_runIsActive = false;
    return ok;
}

QSet<FTPerson*> PublishAsHtml::peopleOfRun(int levels, ModelProgress* progress)
{
    QSet<FTPerson*> people;
    if (!m_moc)
        return people;
    if (levels == 0) {
        for (ManagedObject* o : m_moc->fetchAllForEntity(QStringLiteral("Person")))
            people.insert(static_cast<FTPerson*>(o));
        return people;
    }
    FTPerson* focal = m_moc->focalPerson();
    if (!focal)
        return people;
    return focal->peopleInKinship(levels, [progress](int p) {
        if (progress)
            progress->setPercent(p);
    });
}

QList<FTPerson*> PublishAsHtml::sortedForRun(const QSet<FTPerson*>& people) const
{
    // By name with years in the reader's order, ignoring case, then by number: the order that deals people into
    // their numbered folders.
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    struct Entry {
        FTPerson* person;
        QCollatorSortKey key;
        int id;
    };
    std::vector<Entry> entries;
    entries.reserve(people.size());
    ReleasingWalk walk(*m_moc);
    for (FTPerson* p : people) {
        walk.releasePoint();
        entries.push_back({p, collator.sortKey(p->nameWithBirthAndDeathYears()), p->numericId()});
    }
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        const int c = a.key.compare(b.key);
        return c != 0 ? c < 0 : a.id < b.id;
    });
    QList<FTPerson*> out;
    out.reserve(qsizetype(entries.size()));
    for (const Entry& e : entries)
        out << e.person;
    return out;
}

bool PublishAsHtml::runReport()
{
    beginRun();
    percent(0);
    if (!createOutputDirectory())
        return false;
    m_peopleSelected.clear();
    status(QString());
    m_indexFilename = m_directory + QStringLiteral("/index.html");
    m_indexPeopleFilename = m_directory + QLatin1Char('/') + L("indexPeopleFilename");
    FTPerson* focal = m_moc ? m_moc->focalPerson() : nullptr;
    // The index names the focal person only when the options let the focal person be named.
    m_indexPageTitle = focal && !m_privacy->isHidden(focal)
                           ? QStringLiteral("%1 %2").arg(L("RelativesOf"), focal->name())
                           : QString();
    if (!writeStyleSheet())
        return false;

    m_peopleSet = peopleOfRun(m_kinship, m_progress);
    m_numPeopleInPreview = int(m_peopleSet.size());

    m_generalMessage = L("SortingAndIndexing");
    status(m_generalMessage);
    const QList<FTPerson*> sorted = sortedForRun(m_peopleSet);
    QElapsedTimer started;
    started.start();
    if (!createPersonFolderNoXRefDictionary(sorted))
        return false;

    m_generalMessage = L("Generating");
    status(m_generalMessage);
    percent(0);
    const int count = int(sorted.size());
    int shown = 0;
    ReleasingWalk walk(*m_moc);
    for (int i = 0; i < count; ++i) {
        walk.releasePoint();
        createHtmlWebPageFor(sorted[i]);
        if (m_failed || !checkFileWrites())
            return false;
        if (i != 0 && i % 10 == 0)
            status(QStringLiteral("  %1 %2 %3 %4. %5 %6.")
                       .arg(i)
                       .arg(L("ConjunctiveOf"))
                       .arg(count)
                       .arg(L("done"), estimatedTime(started, i, count), L("remaining")));
        const int p = int(qint64(i) * 100 / count);
        if (p > shown + 1) {
            shown = p;
            percent(p);
        }
    }

    m_files->waitForAll();
    if (!checkFileWrites())
        return false;
    percent(0);
    status(L("CreatingIndex"));
    try {
        createIndexForPeople();
    } catch (...) {
        Utils::reportCurrentException(__FILE__, __LINE__, QStringLiteral("generateHtmlReport_3"));
        return false;
    }
    if (m_failed)
        return false;

    calculateFileSize();
    status(QStringLiteral("%1 = %2").arg(L("TotalTime"), Utils::timeToText(int(started.elapsed() / 1000))));

    QString page = focal ? m_directory + QLatin1Char('/') + pagePathFor(focal) : QString();
    if (page.isEmpty() || !QFileInfo::exists(page)) {
        if (focal)
            m_generalMessage
                = QStringLiteral("%1 %2 %3 %4 %5 %6 %7.")
                      .arg(L("ExcludedFromScope1"), focal->nameWithBirthAndDeathYears(), L("ExcludedFromScope2"),
                           focal->gender() == L("MaleShort") ? L("he") : L("she"), L("ExcludedFromScope3"),
                           QString::number(m_options.yearsSinceDeath), L("years"));
        page = m_indexFilename;
    }
    removeEmptyFolders(m_directory);
    m_filenameToOpen = page;
    return true;
}

// ---- Files --------------------------------------------------------------------------------------------------------

bool PublishAsHtml::writeFile(const QString& path, const QByteArray& bytes)
{
    if (m_failed)
        return false;
    QFile f(path);
    bool ok = f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    if (ok)
        ok = f.write(bytes) == bytes.size();
    if (ok)
        ok = f.flush();
    f.close();
    if (ok && f.error() == QFileDevice::NoError)
        return true;
    // A page set with missing or cut pages is not a page set: the run stops with one message.
    m_failed = true;
    DisplayMsg(QStringLiteral("%1\n\n%2").arg(L("UnableToCreate"), path));
    return false;
}

bool PublishAsHtml::checkFileWrites()
{
    if (m_failed)
        return false;
    if (!m_files->failed())
        return true;
    m_failed = true;
    DisplayMsg(QStringLiteral("%1\n\n%2").arg(L("UnableToCreate"), m_files->firstFailure()));
    return false;
}

bool PublishAsHtml::writeFile(const QString& path, const QString& text)
{
    return writeFile(path, text.toUtf8());
}

QString PublishAsHtml::typeFolder(const char* key)
{
    return L(key);
}

QString PublishAsHtml::numberedFolder(const char* key, int number)
{
    const QString type = L(key);
    const QString prefix = qstrcmp(key, "HtmlDirAncestorsTables") == 0 ? L("Ancestors") : type;
    return QStringLiteral("%1/%2_%3").arg(type, prefix).arg(number, 2, 10, QLatin1Char('0'));
}

QString PublishAsHtml::filenameForPerson(const FTPerson* person)
{
    return QStringLiteral("P%1").arg(person->numericId());
}

int PublishAsHtml::folderNumberFor(const FTPerson* person) const
{
    return m_personFolderNoXRef.value(person, 0);
}

QString PublishAsHtml::pagePathFor(const FTPerson* person) const
{
    return numberedFolder("HtmlDirHTMLFiles", folderNumberFor(person)) + QLatin1Char('/') + filenameForPerson(person)
           + QStringLiteral(".html");
}

QString PublishAsHtml::pageLinkTo(const FTPerson* person) const
{
    return QStringLiteral("../../") + pagePathFor(person);
}

bool PublishAsHtml::createOutputDirectory()
{
    const QString reports = Utils::reportsDirectory();
    if (reports.isEmpty())
        return false;
    if (m_directory.isEmpty()) {
        // Folders left by earlier windows or an earlier run of the program.
        const QFileInfoList entries = QDir(reports).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        for (const QFileInfo& entry : entries) {
            if (!entry.fileName().startsWith(kWorkingFolderPrefix))
                continue;
            if (liveWorkingFolders().contains(entry.absoluteFilePath()))
                continue;
            if (entry.isDir() && !entry.isSymLink())
                QDir(entry.absoluteFilePath()).removeRecursively();
            else
                QFile::remove(entry.absoluteFilePath());
        }
    }
    QString path;
    do {
        ++g_workingFolderCounter;
        path = QStringLiteral("%1/%2_%3").arg(reports, kWorkingFolderPrefix).arg(g_workingFolderCounter);
    } while (QFileInfo::exists(path));
    if (!QDir().mkdir(path)) {
        DisplayMsg(QStringLiteral("%1\n\n%2").arg(L("UnableToCreateFolderCalled"), path));
        return false;
    }
    for (const char* key : kTypeFolders) {
        const QString type = path + QLatin1Char('/') + L(key);
        if (!QDir().mkdir(type)) {
            DisplayMsg(QStringLiteral("%1\n\n%2").arg(L("UnableToCreateFolderCalled"), type));
            QDir(path).removeRecursively();
            return false;
        }
    }
    if (!m_directory.isEmpty()) {
        liveWorkingFolders().remove(m_directory);
        QDir(m_directory).removeRecursively();
    }
    m_directory = QFileInfo(path).absoluteFilePath();
    liveWorkingFolders().insert(m_directory);
    m_exclusionsIgnored = false;
    return true;
}

bool PublishAsHtml::createSubFolders(int number)
{
    for (const char* key : kTypeFolders) {
        const QString path = m_directory + QLatin1Char('/') + numberedFolder(key, number);
        if (!QDir().mkpath(path)) {
            DisplayMsg(QStringLiteral("%1: %2").arg(L("UnableToCreateFolder"), path));
            return false;
        }
    }
    return true;
}

bool PublishAsHtml::createPersonFolderNoXRefDictionary(const QList<FTPerson*>& sortedPeople)
{
    m_personFolderNoXRef.clear();
    if (!createSubFolders(0))
        return false;
    m_personFolderNoXRef.reserve(sortedPeople.size());
    int set = 0;
    for (qsizetype i = 0; i < sortedPeople.size(); ++i) {
        if (i % 500 == 0) {
            set = int(i / 500) + 1;
            if (!createSubFolders(set))
                return false;
        }
        m_personFolderNoXRef.insert(sortedPeople[i], set);
    }
    return true;
}

void PublishAsHtml::removeEmptyFolders(const QString& path)
{
    const QFileInfoList entries = QDir(path).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QFileInfo& entry : entries) {
        if (entry.isSymLink())
            continue;
        removeEmptyFolders(entry.absoluteFilePath());
        QDir().rmdir(entry.absoluteFilePath()); // refused while it holds anything
    }
}

// ---- Page colour --------------------------------------------------------------------------------------------------

void PublishAsHtml::setBackgroundColour()
{
    QColor colour = m_options.bgColour;
    if (m_options.randomColours)
        colour = m_randomColour ? m_randomColour() : randomPaleColour();
    colour = colour.toRgb();
    m_bgColour = colour;
    m_hexBgColour = QString::asprintf("%02X%02X%02X", int(colour.redF() * 255), int(colour.greenF() * 255),
                                      int(colour.blueF() * 255));
}

// ---- Save and discard ---------------------------------------------------------------------------------------------

QString PublishAsHtml::createNewFilePath() const
{
    QString base;
    for (const QChar c : m_modelName)
        if (c.isLetterOrNumber() || c == QLatin1Char(' ') || c == QLatin1Char('_') || c == QLatin1Char('-'))
            base += c;
    while (base.contains(QStringLiteral("  ")))
        base.replace(QStringLiteral("  "), QStringLiteral(" "));
    base.replace(QLatin1Char(' '), QLatin1Char('_'));

    const QString reports = Utils::reportsDirectory();
    const QString suffix = L("WebPagesDirSuffix");
    const QString stem = QStringLiteral("%1_%2").arg(base, suffix);
    const QString numbered = stem + QLatin1Char('_');
    const QString looseStem = withoutMarks(stem);
    int highest = 0;
    const QStringList entries = QDir(reports).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QString& entry : entries) {
        if (!withoutMarks(entry).contains(looseStem, Qt::CaseInsensitive))
            continue;
        const qsizetype at = entry.indexOf(numbered, 0, Qt::CaseInsensitive);
        if (at < 0)
            continue;
        qsizetype end = at + numbered.size();
        qsizetype digits = end;
        while (digits < entry.size() && entry.at(digits).isDigit())
            ++digits;
        bool isNumber = false;
        const int n = entry.mid(end, digits - end).toInt(&isNumber);
        if (isNumber)
            highest = std::max(highest, n);
    }
    return QStringLiteral("%1/%2_%3").arg(reports, stem).arg(highest + 1);
}

QString PublishAsHtml::save()
{
    if (m_directory.isEmpty() || !QFileInfo(m_directory).isDir()) {
        DisplayMsg(L("UnableToSaveFiles"));
        return {};
    }
    if (m_exclusionsIgnored) {
        DisplayMsg(L("PreviewShowsExcludedPeople"));
        return {};
    }
    const QString target = createNewFilePath();
    if (QFileInfo::exists(target) || !QDir().rename(m_directory, target)) {
        DisplayMsg(L("UnableToSaveFiles"));
        return {};
    }
    liveWorkingFolders().remove(m_directory);
    m_directory.clear();
    UserDefaults::standard().setString(QStringLiteral("mostRecentWebPagesFolder"), QFileInfo(target).fileName());
    return target;
}

void PublishAsHtml::discard()
{
    if (m_directory.isEmpty())
        return;
    QDir(m_directory).removeRecursively();
    liveWorkingFolders().remove(m_directory);
    m_directory.clear();
}

QString PublishAsHtml::pageToShowIn(const QString& folder) const
{
    FTPerson* focal = m_moc ? m_moc->focalPerson() : nullptr;
    if (focal && m_personFolderNoXRef.contains(focal)) {
        const QString page = folder + QLatin1Char('/') + pagePathFor(focal);
        if (QFileInfo::exists(page))
            return page;
    }
    return folder + QStringLiteral("/index.html");
}

// ---- Estimates ----------------------------------------------------------------------------------------------------

void PublishAsHtml::kinshipChanged()
{
    m_kinship = (m_fixedOptions ? *m_fixedOptions : HtmlOptions::fromUserDefaults()).kinship;
    m_numPeopleInKinship = int(peopleOfRun(m_kinship, m_progress).size());
    m_peopleSelected = QStringLiteral("%1 %2 %3 %4 %5.")
                           .arg(L("KinshipChange1"), QString::number(m_numPeopleInPreview), L("KinshipChange2"),
                                QString::number(m_numPeopleInKinship), L("KinshipChange3"));
    estimateFileSize();
}

void PublishAsHtml::estimateFileSize()
{
    const HtmlOptions o = m_fixedOptions ? *m_fixedOptions : HtmlOptions::fromUserDefaults();
    double kilobytes;
    if (o.includeContextDiagram && !o.tabularContextDiagram) {
        // JPEG diagrams at the fixed compression 0.4.
        const double perDiagram = 40;
        kilobytes = m_numPeopleInKinship * perDiagram * (o.cdDiagramWidth / 800.0);
    } else {
        kilobytes = m_numPeopleInKinship * 4.0;
    }
    m_calculatedTotalSize = QStringLiteral("%1 = %2 Mb").arg(L("EstimatedFileSize"), QString::asprintf("%3.1f", kilobytes / 1000));
    checkFreeDiskSpace(qint64(kilobytes));
}

QString PublishAsHtml::checkFreeDiskSpace(qint64 kilobytes)
{
    const QStorageInfo volume(Utils::KinloomDataDirectory());
    const qint64 available = volume.isValid() ? volume.bytesAvailable() : 0;
    const quint64 freeBytes = available > 0 ? quint64(available) : 0;
    QString text;
    if (freeBytes > 1073741824ull)
        text = QStringLiteral("%1 Gb").arg(freeBytes / 1073741824ull);
    else if (freeBytes > 1048576ull)
        text = QStringLiteral("%1 Mb").arg(freeBytes / 1048576ull);
    else if (freeBytes > 1024ull)
        text = QStringLiteral("%1 Kb").arg(freeBytes / 1024ull);
    m_freeSpaceMessage.clear();
    const bool tooBig = quint64(std::max<qint64>(kilobytes, 0)) * 1000ull > freeBytes;
    if (freeBytes <= 1073741824ull || tooBig)
        m_freeSpaceMessage = QStringLiteral("%1 = %2").arg(L("FreeDiskSpace"), text);
    return text;
}

void PublishAsHtml::calculateFileSize()
{
    qint64 total = 0;
    if (!m_directory.isEmpty()) {
        QDirIterator it(m_directory, QDir::Files | QDir::Hidden | QDir::NoSymLinks, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            it.next();
            total += it.fileInfo().size();
        }
    }
    m_calculatedTotalSize
        = QStringLiteral("%1 = %2 Mb").arg(L("TotalFileSize"), QString::asprintf("%3.1f", double(total) / 1048576.0));
}

QString PublishAsHtml::estimatedTime(const QElapsedTimer& start, int done, int total)
{
    if (done <= 0)
        return Utils::timeToText(0);
    const double elapsed = double(start.elapsed()) / 1000.0;
    const double remaining = std::trunc(elapsed * (total - done) / done);
    return Utils::timeToText(int(std::trunc(std::trunc(elapsed + remaining) - elapsed)));
}
