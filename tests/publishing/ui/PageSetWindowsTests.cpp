// Publishing a saved page set as the user does it from the Publish menu: preparing it for another web site,
// copying it into a site folder with its progress window, and burning it to a disc (an image file here).

#include "../../gedcom/ui/GedcomWindowFixture.h"
#include "WorkspaceFixture.h"

#include "publishing/SiteUpload.h"
#include "publishing/ui/BurnDiscSheet.h"
#include "publishing/ui/PrepareForUpload.h"
#include "publishing/ui/ProgressMonitor.h"
#include "publishing/ui/PublishingMenuActions.h"
#include "publishing/ui/UploadToSiteFolder.h"

#include "shell/MenuRules.h"
#include "shell/Utils.h"

#include "platform/UserDefaults.h"
#include "platform/store/ObjectContext.h"

#include <QComboBox>
#include <QDirIterator>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>

namespace {
const QString kPlaceholder = "<a href='index.html'>[Home]</a>";

QMap<QString, QByteArray> tree(const QString& root)
{
    QMap<QString, QByteArray> out;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info = it.nextFileInfo();
        out.insert((info.isDir() ? "d " : "f ") + QDir(root).relativeFilePath(info.filePath()),
                   info.isDir() ? QByteArray() : TestSupport::readFile(info.filePath()));
    }
    return out;
}

// Answers like ScriptedPrompts, after running `beforeRetry` when asked whether to copy failed files again.
struct RetryingPrompts : ScriptedPrompts {
    std::function<void()> beforeRetry;
    int choose(const QString& text, const QString& info, const QStringList& buttons) override
    {
        if (text.startsWith(LocalizedString("UploadRetry1")) && beforeRetry)
            beforeRetry();
        return ScriptedPrompts::choose(text, info, buttons);
    }
};

class PageSetWindows : public GedcomWindowFixture {
protected:
    void SetUp() override
    {
        GedcomWindowFixture::SetUp();
        start();
        doc = openDatabase(makeFamilyDatabase("Family"));
        ASSERT_TRUE(doc);
        moc = doc->moc();
        set = Utils::reportsDirectory() + "/Family_WebPages_1";
        page("index.html", ("<html><body><table><tr><td>" + kPlaceholder + "</td></tr></table> Family</body></html>").toUtf8());
        page("styles.css", "td { color: navy }");
        for (int i = 1; i <= 30; ++i)
            page(QString("0/P%1.html").arg(i), QByteArray("<html>person</html>").repeated(i));
        page("0/NOTES", "a file without an extension");
        UserDefaults::standard().setString("mostRecentWebPagesFolder", "Family_WebPages_1");
        siteRoot = TestSupport::tempRoot() + "/www";
        QDir().mkpath(siteRoot + "/family");
        QDir().mkpath(siteRoot + "/empty");
        ASSERT_TRUE(TestSupport::writeFile(siteRoot + "/family/index.html", "<html>our family site</html>"));
        ASSERT_TRUE(TestSupport::writeFile(siteRoot + "/family/about.html", "<html>about</html>"));
    }
    void TearDown() override
    {
        PublishingMenuActions::burnPanels() = savedBurnPanels;
        UploadToSiteFolder::chooseFolderPanel() = savedChooser;
        Prompts::install(&prompts);
        GedcomWindowFixture::TearDown();
    }

    void page(const QString& relative, const QByteArray& bytes)
    {
        const QString path = set + "/" + relative;
        QDir().mkpath(QFileInfo(path).absolutePath());
        ASSERT_TRUE(TestSupport::writeFile(path, bytes));
    }
    QString index() const { return QString::fromUtf8(TestSupport::readFile(set + "/index.html")); }

    // Opens the upload window from the menu, agrees to the privacy question, picks the site folder, the set, the
    // "family" site and its index page, and runs `fn` in it. `answers` answer the questions that follow.
    void inUploadWindow(const std::function<void(UploadToSiteFolder*)>& fn, ScriptedPrompts* answering = nullptr,
                        const QList<int>& answers = {})
    {
        ScriptedPrompts& p = answering ? *answering : prompts;
        UploadToSiteFolder::chooseFolderPanel() = [this](QWidget*, const QString&) { return siteRoot; };
        bool ran = false;
        whenShown<UploadToSiteFolder>([](UploadToSiteFolder*) { return true; }, [&](UploadToSiteFolder* w) {
            ran = true;
            w->chooseSiteFolder();
            w->sitesList()->setCurrentRow(0);
            fn(w);
            if (w->isVisible())
                w->reject();
        });
        p.answer(0); // Continue
        for (int a : answers)
            p.answer(a);
        PublishingMenuActions::uploadToSiteFolder();
        EXPECT_TRUE(ran);
    }

    static bool waitForPass(ProgressMonitor* monitor)
    {
        bool ended = false;
        const QMetaObject::Connection c = QObject::connect(monitor, &ProgressMonitor::passEnded, [&] { ended = true; });
        const bool ok = TestSupport::waitUntil([&] { return ended; }, "the copy");
        QObject::disconnect(c);
        return ok;
    }

    DOvurDocument* doc = nullptr;
    FTMoc* moc = nullptr;
    QString set, siteRoot;
    RetryingPrompts retrying;
    PublishingMenuActions::BurnPanels savedBurnPanels = PublishingMenuActions::burnPanels();
    std::function<QString(QWidget*, const QString&)> savedChooser = UploadToSiteFolder::chooseFolderPanel();
};
}

TEST_F(PageSetWindows, PreparingForAnotherSiteRefusesUnsafeAddressesAndLinksTheMainPage)
{
    bool ran = false;
    whenShown<PrepareForUpload>([](PrepareForUpload*) { return true; }, [&](PrepareForUpload* w) {
        ran = true;
        ASSERT_EQ(w->webFolders(), QStringList {"Family_WebPages_1"});
        EXPECT_EQ(w->foldersList()->currentItem()->text(), "Family_WebPages_1");

        // Before any preparation there is nothing to show.
        w->showMeButton()->click();
        EXPECT_TRUE(texts().last().startsWith(LocalizedString("UnableToOpen")));
        for (const char* unsafe : {"javascript:alert(1)", "data:text/html,<b>x</b>", "https://example.org/'><script>"}) {
            w->homePageUrlField()->setText(unsafe);
            w->prepareButton()->click();
            EXPECT_EQ(texts().last(), LocalizedString("HomePageUrlRefused")) << unsafe;
        }
        EXPECT_TRUE(index().contains(kPlaceholder));

        prompts.clear();
        w->homePageUrlField()->setText("https://example.org/our family/");
        screenshot(w, "publishing-prepare-for-upload");
        w->prepareButton()->click();
        EXPECT_EQ(texts(), QStringList({"URL = https://example.org/our%20family/",
                                        LocalizedString("indexFilename") + " = " + set + "/index.html"}));
        EXPECT_TRUE(index().contains("<td><a href='https://example.org/our%20family/'>[Home]</a></td>"));
        EXPECT_EQ(UserDefaults::standard().stringForKey("HomePageUrl"), "https://example.org/our family/");

        // No set chosen: refused after the address is shown.
        w->foldersList()->clearSelection();
        w->prepareButton()->click();
        EXPECT_EQ(texts().last(), LocalizedString("SelectFolderTryAgain"));
        w->reject();
    });
    PublishingMenuActions::prepareForUploadToOtherWebSite();
    EXPECT_TRUE(ran);
}

TEST_F(PageSetWindows, PublishingToASiteFolderCopiesTheSetBesideTheSiteAndRecordsIt)
{
    WorkspaceFixture desktop(TestSupport::tempRoot(), "text/html");
    ProgressMonitor* monitor = nullptr;
    inUploadWindow([&](UploadToSiteFolder* w) {
        EXPECT_EQ(w->sitesList()->count(), 1); // "empty" holds no page
        EXPECT_EQ(w->homePagesList()->currentItem()->text(), "index.html");
        w->mostRecentUpload();
        EXPECT_EQ(texts().last(), LocalizedString("NoUploadInfoWarning"));
        w->showMeTheHomePage();
        EXPECT_EQ(desktop.launched(), QStringList({"--editor", siteRoot + "/family/index.html"}));
        screenshot(w, "publishing-upload-to-site-folder");
        monitor = w->uploadToSiteFolder();
        EXPECT_FALSE(w->isVisible());
    });
    ASSERT_TRUE(monitor);
    ASSERT_TRUE(waitForPass(monitor));
    EXPECT_TRUE(monitor->recorded());
    EXPECT_EQ(texts().last(), LocalizedString("UploadComplete"));
    EXPECT_EQ(tree(siteRoot + "/Family_WebPages_1"), tree(set));
    EXPECT_TRUE(index().contains("<a href='../family/index.html'>[Home]</a>"));
    EXPECT_EQ(monitor->errorsText(), LocalizedString("NoErrors"));
    EXPECT_EQ(monitor->progressBar()->value(), monitor->progressBar()->maximum());
    screenshot(monitor, "publishing-upload-progress");
    const QVariantMap record = ObjectContext::metadataForStoreAt(moc->databaseURL()).value(SiteUpload::recordKey()).toMap();
    EXPECT_EQ(record.value(LocalizedString("MobMeKeyKinloomFolder")).toString(), set);
    EXPECT_EQ(record.value(LocalizedString("MobMeKeyHomePage")).toString(), "index.html");
    monitor->closeMonitor();

    inUploadWindow([&](UploadToSiteFolder* w) {
        prompts.clear();
        w->mostRecentUpload();
        ASSERT_FALSE(prompts.records.isEmpty());
        EXPECT_EQ(prompts.records.last().text, LocalizedString("MobMeLastUpload"));
        EXPECT_TRUE(prompts.records.last().info.contains(set));
    });
}

TEST_F(PageSetWindows, AFileThatCannotBeCopiedIsListedAndOnlyARetryThatCopiesItRecordsTheUpload)
{
    Prompts::install(&retrying);
    const QString blocked = siteRoot + "/Family_WebPages_1/0/P7.html";
    QDir().mkpath(blocked + "/a folder in the way");
    // First Ignore: the upload is not recorded. Then Retry, once the folder is gone.
    ProgressMonitor* monitor = nullptr;
    inUploadWindow([&](UploadToSiteFolder* w) { monitor = w->uploadToSiteFolder(); }, &retrying, {1});
    ASSERT_TRUE(monitor);
    ASSERT_TRUE(waitForPass(monitor));
    EXPECT_EQ(monitor->failedFiles(), QStringList {"0/P7.html"});
    EXPECT_EQ(monitor->errorsText(), "1 " + LocalizedString("file") + " " + LocalizedString("toBeResubmitted"));
    QStringList said;
    for (const auto& r : retrying.records)
        said << r.text;
    EXPECT_EQ(said.count(LocalizedString("UploadTxError")), 1);
    EXPECT_EQ(said.last(), LocalizedString("UploadNotComplete"));
    EXPECT_FALSE(monitor->recorded());
    EXPECT_FALSE(ObjectContext::metadataForStoreAt(moc->databaseURL()).contains(SiteUpload::recordKey()));
    QList<QTreeWidgetItem*> rows = monitor->resultsTable()->findItems("0/P7.html", Qt::MatchExactly, 1);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_NE(rows[0]->text(2), LocalizedString("Copied"));
    screenshot(monitor, "publishing-upload-progress-failed");
    monitor->closeMonitor();

    retrying.clear();
    retrying.beforeRetry = [&] { QDir(blocked).removeRecursively(); };
    inUploadWindow([&](UploadToSiteFolder* w) { monitor = w->uploadToSiteFolder(); }, &retrying, {0});
    ASSERT_TRUE(monitor);
    ASSERT_TRUE(waitForPass(monitor)); // the pass that failed and its retry
    EXPECT_TRUE(monitor->failedFiles().isEmpty());
    EXPECT_TRUE(monitor->recorded());
    EXPECT_EQ(tree(siteRoot + "/Family_WebPages_1"), tree(set));
    EXPECT_TRUE(ObjectContext::metadataForStoreAt(moc->databaseURL()).contains(SiteUpload::recordKey()));
    monitor->closeMonitor();
}

TEST_F(PageSetWindows, AnAbortedUploadLeavesThePreviousRecordAsItWas)
{
    const SiteUpload::Upload earlier {siteRoot, "family", "about.html", set};
    ASSERT_TRUE(SiteUpload::saveRecord(*moc, earlier, QDateTime(QDate(2025, 1, 2), QTime(3, 4))));
    const QVariantMap before = ObjectContext::metadataForStoreAt(moc->databaseURL()).value(SiteUpload::recordKey()).toMap();
    // A large file keeps the copy busy long enough to be stopped halfway.
    QFile big(set + "/pictures/big.jpg");
    QDir().mkpath(set + "/pictures");
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    ASSERT_TRUE(big.resize(qint64(256) << 20));
    big.close();
    ProgressMonitor* monitor = nullptr;
    inUploadWindow([&](UploadToSiteFolder* w) {
        monitor = w->uploadToSiteFolder();
        ASSERT_TRUE(monitor);
        monitor->abortUpload();
    });
    ASSERT_TRUE(monitor);
    ASSERT_TRUE(waitForPass(monitor));
    EXPECT_TRUE(monitor->copy().aborted());
    EXPECT_FALSE(monitor->failedFiles().isEmpty());
    EXPECT_FALSE(monitor->recorded());
    EXPECT_EQ(ObjectContext::metadataForStoreAt(moc->databaseURL()).value(SiteUpload::recordKey()).toMap(), before);
    EXPECT_FALSE(QFileInfo::exists(siteRoot + "/Family_WebPages_1/pictures/big.jpg"));
    monitor->closeMonitor();
}

TEST_F(PageSetWindows, BurningWritesTheSetToTheDiscAndQuittingIsRefusedMeanwhile)
{
    const QString image = TestSupport::tempRoot() + "/disc.iso";
    PublishingMenuActions::burnPanels().drives = [&](QString*) { return QStringList {"stdio:" + image}; };
    bool ran = false, ok = false;
    whenShown<BurnDiscSheet>([](BurnDiscSheet*) { return true; }, [&](BurnDiscSheet* w) {
        ran = true;
        EXPECT_FALSE(app->bBurning);
        screenshot(w, "publishing-burn-sheet");
        QObject::connect(w, &BurnDiscSheet::burnFinished, [&](bool done) { ok = done; });
        w->burnButton()->click();
        EXPECT_TRUE(w->isBurning());
        EXPECT_TRUE(app->bBurning);
        EXPECT_FALSE(MenuRules::isMenuItemEnabled("Quit Kinloom", true, app->bBurning, true, false));
        EXPECT_FALSE(app->terminate());
    });
    PublishingMenuActions::burnCdOrDvd("Family_WebPages_1");
    ASSERT_TRUE(waitFor([&] { return ran && !app->bBurning; }, "the burn"));
    EXPECT_TRUE(ok) << texts().join("\n").toStdString();
    EXPECT_EQ(texts().last(), LocalizedString("BurnCdSuccess"));

    const QString out = TestSupport::tempRoot() + "/extracted";
    QProcess extract;
    extract.start("xorriso", {"-osirrox", "on", "-indev", "stdio:" + image, "-extract", "/", out});
    ASSERT_TRUE(extract.waitForFinished(60000));
    EXPECT_EQ(tree(out), tree(set));
}

TEST_F(PageSetWindows, BurnAndTheMessageOnlyCommandsSayWhyNothingHappens)
{
    PublishingMenuActions::burnPanels().drives = [](QString*) { return QStringList(); };
    PublishingMenuActions::burnCdOrDvd("Family_WebPages_1");
    EXPECT_EQ(texts().last(), LocalizedString("NoBurnDrive"));

    // The latest set is gone: the message, and it is forgotten.
    QDir(set).removeRecursively();
    PublishingMenuActions::burnCdOrDvd("Family_WebPages_1");
    EXPECT_EQ(texts().last(), LocalizedString("BurnCdError"));
    EXPECT_FALSE(UserDefaults::standard().objectForKey("mostRecentWebPagesFolder").isValid());

    // "Other..." cancelled: nothing.
    const int said = texts().size();
    PublishingMenuActions::burnPanels().chooseFolder = [](QWidget*, const QString&) { return QString(); };
    PublishingMenuActions::burnCdOrDvd("Other...");
    EXPECT_EQ(texts().size(), said);

    PublishingMenuActions::syncToiPhone();
    EXPECT_EQ(texts().last(), LocalizedString("iPhoneNotAvailable"));
    PublishingMenuActions::exportToXMLFile();
    EXPECT_EQ(texts().last(), LocalizedString("ExportXmlWarn"));
}
