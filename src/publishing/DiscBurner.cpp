#include "publishing/DiscBurner.h"

#include "platform/Localizer.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QRegularExpression>

namespace {
constexpr int kListTimeoutMs = 60000;

// Runs xorriso to its end for a short question; false when it could not run at all.
bool ask(const QStringList& arguments, QString* output, QString* error)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(DiscBurner::program(), arguments);
    if (!process.waitForStarted(kListTimeoutMs)) {
        if (error)
            *error = process.errorString();
        return false;
    }
    process.waitForFinished(kListTimeoutMs);
    *output = QString::fromLocal8Bit(process.readAll());
    return true;
}
}

DiscBurner::DiscBurner(QObject* parent) : QObject(parent) { }

DiscBurner::~DiscBurner()
{
    if (m_process && m_process->state() != QProcess::NotRunning) {
        m_process->disconnect(this);
        m_process->kill();
        m_process->waitForFinished(5000);
    }
}

QString& DiscBurner::program()
{
    static QString name = QStringLiteral("xorriso");
    return name;
}

QStringList DiscBurner::drives(QString* error)
{
    QString out;
    if (!ask({QStringLiteral("-devices")}, &out, error))
        return {};
    // "0  -dev '/dev/sr0' rwrw-- :  'HL-DT-ST' 'DVDRAM GH24NSD1'"
    static const QRegularExpression line(QStringLiteral("^\\s*\\d+\\s+-dev\\s+'([^']+)'"),
                                         QRegularExpression::MultilineOption);
    QStringList found;
    for (auto it = line.globalMatch(out); it.hasNext();)
        found << it.next().captured(1);
    return found;
}

quint64 DiscBurner::blocksRequired(const QString& folder)
{
    quint64 blocks = 300; // volume descriptors, path tables, Joliet's second tree
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info = it.nextFileInfo();
        blocks += 1;
        if (info.isFile())
            blocks += quint64(info.size() + 2047) / 2048;
    }
    return blocks;
}

qint64 DiscBurner::freeBlocks(const QString& drive, QString* error)
{
    QString out;
    if (!ask({QStringLiteral("-outdev"), drive, QStringLiteral("-tell_media_space")}, &out, error))
        return -1;
    static const QRegularExpression space(QStringLiteral("Media space\\s*:\\s*(\\d+)s"));
    const QRegularExpressionMatch m = space.match(out);
    if (!m.hasMatch()) {
        if (error)
            *error = out.trimmed().section(QLatin1Char('\n'), -1);
        return -1;
    }
    return m.captured(1).toLongLong();
}

QString DiscBurner::volumeId(const QString& folder)
{
    QString id = QFileInfo(folder).fileName().toUpper();
    id.replace(QRegularExpression(QStringLiteral("[^A-Z0-9_]")), QStringLiteral("_"));
    if (id.isEmpty())
        id = QStringLiteral("KINLOOM");
    return id.left(32);
}

QStringList DiscBurner::arguments(const QString& folder, const QString& drive)
{
    QStringList args = {QStringLiteral("-abort_on"), QStringLiteral("FAILURE"), QStringLiteral("-outdev"), drive};
    // A rewritable disc with data on it is blanked; an image file is simply written.
    if (!drive.startsWith(QLatin1String("stdio:")))
        args << QStringLiteral("-blank") << QStringLiteral("as_needed");
    args << QStringLiteral("-volid") << volumeId(folder) << QStringLiteral("-joliet") << QStringLiteral("on")
         << QStringLiteral("-map") << QFileInfo(folder).absoluteFilePath() << QStringLiteral("/")
         << QStringLiteral("-commit");
    if (!drive.startsWith(QLatin1String("stdio:")))
        args << QStringLiteral("-eject") << QStringLiteral("all");
    return args;
}

void DiscBurner::start(const QString& folder, const QString& drive)
{
    if (isRunning())
        return;
    delete m_process;
    m_process = new QProcess(this);
    m_process->setProcessChannelMode(QProcess::MergedChannels);
    m_pending.clear();
    m_lastProblem.clear();
    m_cancelled = false;
    connect(m_process, &QProcess::readyRead, this, &DiscBurner::readOutput);
    connect(m_process, &QProcess::finished, this, &DiscBurner::processFinished);
    connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart)
            Q_EMIT finished(false, QStringLiteral("%1: %2").arg(program(), m_process->errorString()));
    });
    Q_EMIT progress(0, {});
    m_process->start(program(), arguments(folder, drive));
}

bool DiscBurner::isRunning() const
{
    return m_process && m_process->state() != QProcess::NotRunning;
}

void DiscBurner::cancel()
{
    if (!isRunning())
        return;
    m_cancelled = true;
    m_process->terminate();
}

void DiscBurner::readOutput()
{
    m_pending += m_process->readAll();
    qsizetype end;
    while ((end = m_pending.indexOf('\n')) >= 0) {
        const QString line = QString::fromLocal8Bit(m_pending.left(end)).trimmed();
        m_pending.remove(0, end + 1);
        // "xorriso : UPDATE : Writing:   16384s   42.1%   fifo 100%  buf  50%   8.0xD"
        static const QRegularExpression percent(QStringLiteral("Writing:.*?([0-9]+(?:\\.[0-9]+)?)%"));
        const QRegularExpressionMatch m = percent.match(line);
        if (m.hasMatch())
            Q_EMIT progress(m.captured(1).toDouble(), line.section(QStringLiteral(" : "), -1));
        else if (line.contains(QLatin1String(": FAILURE :")) || line.contains(QLatin1String(": SORRY :"))
                 || line.contains(QLatin1String(": FATAL :")))
            m_lastProblem = line.section(QStringLiteral(" : "), -1);
    }
}

void DiscBurner::processFinished(int exitCode, QProcess::ExitStatus status)
{
    readOutput();
    if (m_cancelled) {
        Q_EMIT finished(false, LocalizedString(QStringLiteral("BurnCancelled")));
        return;
    }
    if (status == QProcess::NormalExit && exitCode == 0) {
        Q_EMIT progress(100, {});
        Q_EMIT finished(true, {});
        return;
    }
    Q_EMIT finished(false, m_lastProblem.isEmpty() ? QStringLiteral("xorriso: exit %1").arg(exitCode) : m_lastProblem);
}
