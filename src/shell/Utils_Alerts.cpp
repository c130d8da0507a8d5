#include "shell/AlertHooks.h"
#include "shell/DisplayMsg.h"
#include "shell/SystemFlags.h"
#include "shell/Utils.h"

#include "platform/FTLog.h"
#include "platform/Localizer.h"
#include "platform/MainThread.h"
#include "platform/Prompts.h"
#include "platform/UserDefaults.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSysInfo>
#include <QThread>
#include <QTimer>
#include <QUrl>

#include <cxxabi.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <limits>
#include <memory>
#include <mutex>
#include <typeinfo>

bool gVovadid = false;
bool gMallocDebug = false;
bool gPrinting = false;

namespace {

const QString kExceptionsLogName = QStringLiteral("exceptionsLog.txt");
const QString kRecordSeparator = QStringLiteral("\n\n ======================================================\n\n");

// Alerts are windows: a worker hands them to the main thread and waits for the answer.
void onMainThread(const std::function<void()>& fn)
{
    if (MainThread::isMainThread())
        fn();
    else
        MainThread::invokeAndWait(fn);
}

// The data folder, read as the folders group reads it (user default "KinloomDataDirectory", else
// ~/KinloomData), without storing the default: that is the folders group's job.
QString dataFolder()
{
    QString dir = UserDefaults::standard().stringForKey(QStringLiteral("KinloomDataDirectory"));
    if (dir.isEmpty())
        return QDir::homePath() + QStringLiteral("/KinloomData");
    if (dir == QStringLiteral("~") || dir.startsWith(QStringLiteral("~/")))
        dir = QDir::homePath() + dir.mid(1);
    return dir;
}

QString reportTime(const QDateTime& t)
{
    if (!t.isValid())
        return {};
    return QLocale::c().toString(t, QStringLiteral("dddd dd-MMM-yy 'at' HH:mm:ss.zzz"));
}

// The undo history as a list, one quoted action name a line, newest first.
QString actionsText(const QStringList& actions)
{
    if (actions.isEmpty())
        return QStringLiteral("()");
    QStringList lines;
    for (const QString& a : actions.mid(0, 100)) {
        QString quoted = a;
        quoted.replace('\\', QStringLiteral("\\\\")).replace('"', QStringLiteral("\\\""));
        lines << QStringLiteral("    \"%1\"").arg(quoted);
    }
    return QStringLiteral("(\n") + lines.join(QStringLiteral(",\n")) + QStringLiteral("\n)");
}

QString demangled(const char* name)
{
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> out(abi::__cxa_demangle(name, nullptr, nullptr, &status), std::free);
    return QString::fromUtf8(status == 0 && out ? out.get() : name);
}

std::mutex g_logMutex;

// Appends the record, with the separator in front of every record but the first. Answers the file's path,
// or an empty text when it could not be written.
QString appendToExceptionsLog(const QString& record)
{
    std::lock_guard lock(g_logMutex);
    const QString folder = dataFolder();
    QDir().mkpath(folder);
    const QString path = folder + '/' + kExceptionsLogName;
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append))
        return {};
    QByteArray bytes;
    if (f.size() > 0)
        bytes += kRecordSeparator.toUtf8();
    bytes += record.toUtf8();
    const bool ok = f.write(bytes) == bytes.size();
    f.close();
    return ok ? path : QString();
}

void defaultTerminate()
{
    if (QCoreApplication::instance())
        QTimer::singleShot(0, QCoreApplication::instance(), [] { QCoreApplication::exit(1); });
    else
        std::exit(1);
}

}

Utils::AlertHooks& Utils::alertHooks()
{
    static AlertHooks hooks;
    return hooks;
}

void DisplayMsg(const QString& text)
{
    onMainThread([&] { Prompts::current().message(text); });
}

void Utils::displayMsgAsSheet(QObject* window, const QString& text)
{
    onMainThread([&] { Prompts::current().messageAsSheet(window, text); });
}

void Utils::displayMsgWithTitle(const QString& title, const QString& info)
{
    if (info.split('\n').size() >= 51 || info.size() > 1000) {
        showMe(title, info);
        return;
    }
    onMainThread([&] { Prompts::current().message(title, info); });
    sleep(50);
}

void Utils::showMe(const QString& title, const QString& info)
{
    onMainThread([&] {
        if (title.size() > 50)
            Prompts::current().showMe(Prompts::kAlertTitle, title + QStringLiteral("\n\n") + info);
        else
            Prompts::current().showMe(title, '\n' + info);
    });
    sleep(50);
}

bool Utils::displayYesNoQuery(const QString& message, const QString& firstButton, const QString& secondButton)
{
    int chosen = -1;
    onMainThread([&] { chosen = Prompts::current().choose(message, {}, {firstButton, secondButton}); });
    return chosen == 0;
}

bool Utils::askToActivateSource()
{
    return Prompts::current().choose(LocalizedString(QStringLiteral("NoSourceActivate")),
               LocalizedString(QStringLiteral("NoSourceActivateText")),
               {LocalizedString(QStringLiteral("ActivateSource")), LocalizedString(QStringLiteral("Cancel"))})
        == 0;
}

void Utils::glassSound()
{
    if (alertHooks().beep)
        alertHooks().beep();
}

void Utils::sleep(double milliseconds)
{
    if (!(milliseconds > 0)) // also NaN
        return;
    const qint64 ms = qint64(std::ceil(std::min(milliseconds, double(std::numeric_limits<int>::max()))));
    if (!QCoreApplication::instance() || !MainThread::isMainThread()) {
        QThread::msleep(ms);
        return;
    }
    // A nested loop that paints and runs timers but holds back clicks and keys, so nothing the user does
    // re-enters the operation that is pausing.
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(int(ms));
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

QString Utils::systemVersionString()
{
    return QStringLiteral("%1 (%2 %3)").arg(QSysInfo::prettyProductName(), QSysInfo::kernelType(),
                                            QSysInfo::kernelVersion());
}

bool Utils::OSX10Point4OrLater()
{
    gVovadid = true;
    gMallocDebug = false;
    const QString development = qEnvironmentVariable("KINLOOM_DEVELOPMENT");
    if (!development.isEmpty() && development != QStringLiteral("0")) {
        // Written before the flag is set: only heard with "loggingOn".
        FTLog(QStringLiteral("Development Environment is Currently Active"));
        gDevelopmentVersion = true;
        FTLog(systemVersionString());
    }
    return true;
}

QString Utils::supportEmailAddress() { return QStringLiteral("support@kinloom.org"); }

QString Utils::exceptionRecord(const QString& name, const QString& reason, const QString& userInfo, const char* file,
                               int line, const QString& method)
{
    const AlertHooks& hooks = alertHooks();
    const QString fileName = QFileInfo(QString::fromUtf8(file ? file : "")).fileName();
    const QDateTime now = hooks.now ? hooks.now() : QDateTime::currentDateTime();
    std::optional<ExceptionDocumentInfo> doc;
    if (hooks.currentDocument)
        doc = hooks.currentDocument();
    const QString databaseName = doc ? doc->databaseName : QString();
    const QString actions = doc ? actionsText(doc->recentActions) : QString();
    const QString lastRefresh = doc ? reportTime(doc->lastRefresh) : QString();
    const QString sessionStart = doc ? reportTime(doc->sessionStart) : QString();
    // One pass over the format: a value that holds "%1" is not substituted again.
    return QStringLiteral("An exception occurred in Kinloom V%1 in %2 : %3 at line %4 on %5.\n\n"
                          "OperatingSystem = %6\n\nException = %7\n\nReason = %8\n\nUserInfo = %9\n\n"
                          "Database Name = %10\n\nLast 100 Actions = %11\n\nLast Database Refresh = %12\n\n"
                          "Session Start = %13")
        .arg(QStringLiteral(KINLOOM_VERSION), fileName, method, QString::number(line), reportTime(now),
             systemVersionString(), name, reason, userInfo, databaseName, actions, lastRefresh, sessionStart);
}

void Utils::reportException(const QString& name, const QString& reason, const QString& userInfo, const char* file,
                            int line, const QString& method)
{
    onMainThread([&] {
        const QString record = exceptionRecord(name, reason, userInfo, file, line, method);
        const QString logPath = appendToExceptionsLog(record);
        if (logPath.isEmpty()) // the record must not be lost: at least the terminal gets it
            std::fprintf(stderr, "%s\n", record.toUtf8().constData());

        AlertHooks& hooks = alertHooks();
        if (hooks.terminating)
            return; // the program is already ending after an earlier report
        hooks.terminating = true;

        const QString fileName = QFileInfo(QString::fromUtf8(file ? file : "")).fileName();
        DisplayMsg(QStringLiteral("An error has occurred in %1 : %2\n\nPlease send the following email to Tolvane."
                                  "\n\nAFTER SENDING THE EMAIL:\n\n 1. If Kinloom does not automatically terminate "
                                  "then Quit from Kinloom - to clear the error.\n\n 2. Restart Kinloom")
                       .arg(fileName, method));

        // Every part is escaped on its own, so an "&" or "?" in the record cannot cut the body short.
        // Mail wants CRLF line ends in the body.
        QString body = record;
        body.replace('\n', QStringLiteral("\r\n"));
        const QByteArray encoded =
            "mailto:" + QUrl::toPercentEncoding(supportEmailAddress(), "@") + "?subject=" +
            QUrl::toPercentEncoding(QStringLiteral("Kinloom Error V%1").arg(QStringLiteral(KINLOOM_VERSION))) +
            "&body=" + QUrl::toPercentEncoding(body);
        const QUrl url = QUrl::fromEncoded(encoded, QUrl::StrictMode);
        const bool opened = hooks.openUrl ? hooks.openUrl(url) : QDesktopServices::openUrl(url);
        if (!opened)
            DisplayMsg(LocalizedString("NoMailProgram")
                           .arg(logPath.isEmpty() ? dataFolder() + '/' + kExceptionsLogName : logPath,
                                supportEmailAddress()));

        if (hooks.terminate)
            hooks.terminate();
        else
            defaultTerminate();
    });
}

void Utils::describeCurrentException(QString* name, QString* reason)
{
    *name = QStringLiteral("unknown exception");
    reason->clear();
    if (std::exception_ptr current = std::current_exception()) {
        try {
            std::rethrow_exception(current);
        } catch (const std::exception& e) {
            *name = demangled(typeid(e).name());
            *reason = QString::fromUtf8(e.what());
        } catch (...) {
        }
    }
}

void Utils::reportCurrentException(const char* file, int line, const QString& method)
{
    QString name, reason;
    describeCurrentException(&name, &reason);
    reportException(name, reason, QString(), file, line, method);
}
