#include "shell/AlertHooks.h"
#include "shell/DisplayMsg.h"
#include "shell/SystemFlags.h"
#include "shell/Utils.h"

#include "platform/FTLog.h"
#include "platform/Localizer.h"
#include "platform/ScriptedPrompts.h"
#include "platform/UserDefaults.h"

#include "QtPrinters.h"
#include "TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <QUrlQuery>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <stdexcept>

namespace {

class Alerts : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestSupport::useFreshDefaults();
        Prompts::install(&prompts);
    }
    void TearDown() override
    {
        Prompts::install(nullptr);
        Utils::alertHooks() = {};
    }
    ScriptedPrompts prompts;
};

QString lines(int n) { return QStringList(n, QStringLiteral("a line")).join('\n'); }

}

TEST_F(Alerts, LongInformationGoesToTheShowMeWindowAtItsLimits)
{
    struct Case {
        const char* what;
        QString info;
        bool toShowMe;
    };
    const Case cases[] = {
        {"empty", QString(), false},
        {"1,000 characters", QString(1000, 'x'), false},
        {"1,001 characters", QString(1001, 'x'), true},
        {"50 lines", lines(50), false},
        {"51 lines", lines(51), true},
        {"51 empty lines", QString(50, '\n'), true},
    };
    for (const Case& c : cases) {
        prompts.clear();
        Utils::displayMsgWithTitle(QStringLiteral("Report written"), c.info);
        ASSERT_EQ(prompts.records.size(), 1) << c.what;
        const auto& r = prompts.records[0];
        if (c.toShowMe) {
            EXPECT_EQ(r.kind, ScriptedPrompts::ShowMe) << c.what;
            EXPECT_EQ(r.text, "Report written") << c.what; // the window title
            EXPECT_EQ(r.info, '\n' + c.info) << c.what;
        } else {
            EXPECT_EQ(r.kind, ScriptedPrompts::Message) << c.what;
            EXPECT_EQ(r.text, "Report written") << c.what;
            EXPECT_EQ(r.info, c.info) << c.what;
        }
    }
}

TEST_F(Alerts, ShowMeTitleOfMoreThanFiftyCharactersMovesIntoTheText)
{
    const QString fifty(50, 't');
    const QString fiftyOne(51, 't');
    Utils::showMe(fifty, "body");
    Utils::showMe(fiftyOne, "body");
    ASSERT_EQ(prompts.records.size(), 2);
    EXPECT_EQ(prompts.records[0].kind, ScriptedPrompts::ShowMe);
    EXPECT_EQ(prompts.records[0].text, fifty);
    EXPECT_EQ(prompts.records[0].info, "\nbody");
    EXPECT_EQ(prompts.records[1].text, "Kinloom");
    EXPECT_EQ(prompts.records[1].info, fiftyOne + "\n\nbody");
}

TEST_F(Alerts, PlainAlertsAndTheYesNoQuery)
{
    DisplayMsg("Saved 3 people.");
    prompts.answer(1);
    EXPECT_FALSE(Utils::displayYesNoQuery("Delete Anna?", "Delete", "Keep"));
    EXPECT_TRUE(Utils::displayYesNoQuery("Delete Anna?", "Delete", "Keep"));
    ASSERT_EQ(prompts.records.size(), 3);
    EXPECT_EQ(prompts.records[0].kind, ScriptedPrompts::Message);
    EXPECT_EQ(prompts.records[0].text, "Saved 3 people.");
    EXPECT_EQ(prompts.records[1].kind, ScriptedPrompts::Choose);
    EXPECT_EQ(prompts.records[1].buttons, QStringList({"Delete", "Keep"}));
}

namespace {
// Remembers on which thread each alert was shown.
class ThreadRecordingPrompts : public ScriptedPrompts {
public:
    void message(const QString& text, const QString& info = {}) override
    {
        threads << QThread::currentThread();
        ScriptedPrompts::message(text, info);
    }
    QList<QThread*> threads;
};
}

TEST_F(Alerts, AnAlertFromAWorkerIsShownByTheMainThread)
{
    ThreadRecordingPrompts p;
    Prompts::install(&p);
    QThread* worker = QThread::create([] { DisplayMsg("from the import"); });
    worker->start();
    while (!worker->isFinished())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    worker->wait();
    delete worker;
    ASSERT_EQ(p.threads.size(), 1);
    EXPECT_EQ(p.threads[0], QCoreApplication::instance()->thread());
    EXPECT_EQ(p.records[0].text, "from the import");
}

TEST_F(Alerts, SleepKeepsTheEventLoopTurning)
{
    bool fired = false;
    QTimer::singleShot(0, [&] { fired = true; });
    QElapsedTimer t;
    t.start();
    Utils::sleep(30);
    EXPECT_TRUE(fired) << "timers and repaints run during the pause";
    EXPECT_GE(t.elapsed(), 29);
    Utils::sleep(-5); // nothing to wait for
    Utils::sleep(std::nan(""));
}

namespace {
QStringList g_log;
void captureLog(const QString& line) { g_log << line; }
}

TEST_F(Alerts, SystemCheckAcceptsLinuxAndReadsDevelopmentModeFromTheEnvironment)
{
    struct Case {
        const char* env; // nullptr: unset
        bool loggingOn;
        bool development;
        QStringList logged;
    };
    const QString version = Utils::systemVersionString();
    const Case cases[] = {
        {nullptr, false, false, {}},
        {"0", true, false, {}},
        {"1", false, true, {version}},
        {"yes", true, true, {"Development Environment is Currently Active", version}},
    };
    FTLogSetSink(captureLog);
    for (const Case& c : cases) {
        g_log.clear();
        gDevelopmentVersion = false;
        gVovadid = false;
        gMallocDebug = true;
        if (c.env)
            qputenv("KINLOOM_DEVELOPMENT", c.env);
        else
            qunsetenv("KINLOOM_DEVELOPMENT");
        UserDefaults::standard().setBool("loggingOn", c.loggingOn);
        EXPECT_TRUE(Utils::OSX10Point4OrLater());
        EXPECT_TRUE(gVovadid);
        EXPECT_FALSE(gMallocDebug);
        EXPECT_EQ(gDevelopmentVersion, c.development) << (c.env ? c.env : "unset");
        EXPECT_EQ(g_log, c.logged) << (c.env ? c.env : "unset");
    }
    qunsetenv("KINLOOM_DEVELOPMENT");
    gDevelopmentVersion = false;
    UserDefaults::standard().setBool("loggingOn", false);
    g_log.clear();
    FTLog("not heard");
    EXPECT_TRUE(g_log.isEmpty());
    FTLogSetSink(nullptr);
}

namespace {

class ExceptionReport : public Alerts {
protected:
    void SetUp() override
    {
        Alerts::SetUp();
        static int n = 0;
        dataDir = QStringLiteral("%1/data-%2").arg(TestSupport::tempRoot()).arg(++n);
        UserDefaults::standard().setString("KinloomDataDirectory", dataDir);
        auto& h = Utils::alertHooks();
        h.now = [] { return QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9, 42)); };
        h.openUrl = [this](const QUrl& url) {
            urls << url;
            return mailOpens;
        };
        h.terminate = [this] { ++terminations; };
    }
    QString logText() const
    {
        QFile f(dataDir + "/exceptionsLog.txt");
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

    QString dataDir;
    QList<QUrl> urls;
    bool mailOpens = true;
    int terminations = 0;
};

const char* kSeparator = "\n\n ======================================================\n\n";

}

TEST_F(ExceptionReport, FirstRecordThenSeparatedRecordsAndOneMail)
{
    try {
        throw std::out_of_range("index 5 & size 0 (%1)");
    } catch (...) {
        Utils::reportCurrentException("/home/dev/kinloom/src/shell/DOvurDocument.cpp", 42, "saveDocument");
    }
    const QString first =
        QStringLiteral("An exception occurred in Kinloom V" KINLOOM_VERSION " in DOvurDocument.cpp : saveDocument "
                       "at line 42 on Tuesday 05-Mar-24 at 14:07:09.042.\n\nOperatingSystem = ") +
        Utils::systemVersionString() +
        QStringLiteral("\n\nException = std::out_of_range\n\nReason = index 5 & size 0 (%1)\n\nUserInfo = "
                       "\n\nDatabase Name = \n\nLast 100 Actions = \n\nLast Database Refresh = \n\nSession Start = ");
    EXPECT_EQ(logText(), first) << "no separator before the first record";

    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_TRUE(prompts.records[0].text.startsWith("An error has occurred in DOvurDocument.cpp : saveDocument\n\n"
                                                   "Please send the following email to Tolvane."));
    ASSERT_EQ(urls.size(), 1);
    const QUrl& mail = urls[0];
    EXPECT_EQ(mail.scheme(), "mailto");
    EXPECT_EQ(mail.path(), Utils::supportEmailAddress());
    const QUrlQuery query(mail);
    EXPECT_EQ(query.queryItemValue("subject", QUrl::FullyDecoded), "Kinloom Error V" KINLOOM_VERSION);
    QString body = first;
    body.replace("\n", "\r\n");
    EXPECT_EQ(query.queryItemValue("body", QUrl::FullyDecoded), body) << "an & in the record must not cut the body";
    EXPECT_EQ(terminations, 1);

    // The program is ending: a later report is logged, with the open database's fields, but mails nothing.
    Utils::alertHooks().currentDocument = [] {
        return Utils::ExceptionDocumentInfo{"Royal92", {"Typing", "Add Child"},
                                            QDateTime(QDate(2024, 3, 5), QTime(13, 0)),
                                            QDateTime(QDate(2024, 3, 4), QTime(9, 30, 15, 5))};
    };
    try {
        throw 42;
    } catch (...) {
        Utils::reportCurrentException("FTPerson.cpp", 7, "parentLinks");
    }
    const QString log = logText();
    ASSERT_TRUE(log.startsWith(first + kSeparator));
    const QString second = log.mid(first.size() + int(strlen(kSeparator)));
    EXPECT_TRUE(second.startsWith("An exception occurred in Kinloom V" KINLOOM_VERSION " in FTPerson.cpp : parentLinks "
                                  "at line 7 on "));
    EXPECT_TRUE(second.contains("\n\nException = unknown exception\n\nReason = \n\n"));
    EXPECT_TRUE(second.endsWith("\n\nDatabase Name = Royal92\n\nLast 100 Actions = (\n    \"Typing\",\n    \"Add Child\"\n)"
                                "\n\nLast Database Refresh = Tuesday 05-Mar-24 at 13:00:00.000"
                                "\n\nSession Start = Monday 04-Mar-24 at 09:30:15.005"))
        << second.toStdString();
    EXPECT_EQ(urls.size(), 1);
    EXPECT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(terminations, 1);
}

TEST_F(ExceptionReport, WithoutAMailProgramTheUserIsToldWhereTheReportIs)
{
    mailOpens = false;
    Utils::reportException("FTMocSaveError", "disk full", "{path = /x}", "FTMoc.cpp", 12, "save");
    ASSERT_EQ(prompts.records.size(), 2);
    EXPECT_TRUE(prompts.records[1].text.contains(dataDir + "/exceptionsLog.txt"));
    EXPECT_TRUE(prompts.records[1].text.contains(Utils::supportEmailAddress()));
    EXPECT_TRUE(logText().contains("\n\nUserInfo = {path = /x}\n\n"));
    EXPECT_EQ(terminations, 1);
}
