// Publishing a saved page set: the home link of its main page, the copy into a site folder with its record in the
// database, and the disc image xorriso writes.

#include "PublishFixture.h"

#include "publishing/DiscBurner.h"
#include "publishing/SiteFolderCopy.h"
#include "publishing/SiteUpload.h"
#include "publishing/WebPageSets.h"

#include "platform/Localizer.h"
#include "platform/store/ObjectContext.h"

#include <QFileInfo>
#include <QProcess>

namespace {
// What DiscBurner::finished said, once it has.
struct BurnEnd {
    explicit BurnEnd(DiscBurner& burner)
    {
        QObject::connect(&burner, &DiscBurner::finished, [this](bool ok, const QString& why) {
            ++count;
            success = ok;
            error = why;
        });
    }
    int count = 0;
    bool success = false;
    QString error;
};

void write(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    ASSERT_TRUE(TestSupport::writeFile(path, bytes)) << path.toStdString();
}

// Every folder and file below `root` ("d " or "f " and the path), with each file's bytes: two trees are equal when
// these are.
QMap<QString, QByteArray> tree(const QString& root)
{
    QMap<QString, QByteArray> out;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info = it.nextFileInfo();
        const QString relative = QDir(root).relativeFilePath(info.filePath());
        if (info.isDir())
            out.insert("d " + relative, {});
        else
            out.insert("f " + relative, TestSupport::readFile(info.filePath()));
    }
    return out;
}

// A page set with what the generator writes and what it may not: a file without an extension, a folder whose name
// has one, an empty folder and a file larger than one piece of the copy.
QString makePageSet(const QString& folder)
{
    write(folder + "/index.html", "<a href='index.html'>[Home]</a> people");
    write(folder + "/styles.css", "body {}");
    write(folder + "/0/P1.html", "<html>one</html>");
    write(folder + "/0/README", "no extension, still a file");
    write(folder + "/pictures.d/photo.jpg", QByteArray(1536 * 1024, 'x'));
    QDir().mkpath(folder + "/empty");
    return folder;
}

using HomeLink = PublishFixture;
using SiteFolder = PublishFixture;
}

TEST_F(HomeLink, PreparingTheGeneratorsMainPageReplacesItsPlaceholderAndASecondPreparationReplacesTheFirst)
{
    born("Ann Gray", F(), 1800, 1870);
    ASSERT_TRUE(publish(0));
    const QString index = generator->save() + "/index.html";
    const QString original = QString::fromUtf8(TestSupport::readFile(index));
    ASSERT_TRUE(original.contains("<a href='index.html'>[Home]</a>"));

    QString refusal;
    const QString first = WebPageSets::otherSiteHref("https://example.org/our family/start.html", &refusal);
    EXPECT_EQ(first, "https://example.org/our%20family/start.html");
    EXPECT_EQ(WebPageSets::setHomeLink(index, first), WebPageSets::LinkEdit::Replaced);
    const QString once = QString::fromUtf8(TestSupport::readFile(index));
    EXPECT_FALSE(once.contains("href='index.html'>[Home]"));
    EXPECT_EQ(once.count("[Home]</a>"), 1);

    const QString second = WebPageSets::otherSiteHref("http://other.example.net/", &refusal);
    EXPECT_EQ(WebPageSets::setHomeLink(index, second), WebPageSets::LinkEdit::Relinked);
    QString expected = original;
    expected.replace("<a href='index.html'>[Home]</a>", "<a href='http://other.example.net/'>[Home]</a>");
    EXPECT_EQ(QString::fromUtf8(TestSupport::readFile(index)), expected);

    // Beside a site in a site folder, each part escaped.
    EXPECT_EQ(WebPageSets::siblingSiteHref("My Site", "home page.html"), "../My%20Site/home%20page.html");
}

TEST_F(HomeLink, APageWithNeitherLinkIsLeftUntouched)
{
    const QString page = pathFor("other/index.html");
    write(page, "<html><a href='x.html'>[Elsewhere]</a></html>");
    const QDateTime before = QFileInfo(page).lastModified();
    EXPECT_EQ(WebPageSets::setHomeLink(page, "https://example.org/"), WebPageSets::LinkEdit::Unchanged);
    EXPECT_EQ(TestSupport::readFile(page), "<html><a href='x.html'>[Elsewhere]</a></html>");
    EXPECT_EQ(QFileInfo(page).lastModified(), before);
    EXPECT_EQ(WebPageSets::setHomeLink(pathFor("missing/index.html"), "https://example.org/"),
              WebPageSets::LinkEdit::Failed);
}

TEST_F(HomeLink, OnlyWebAddressesWithoutQuotesAreTaken)
{
    const struct {
        const char* typed;
        const char* refusalKey; // null: taken
    } cases[] = {
        {"", "EnterUrlAgain"},
        {"javascript:alert(document.cookie)", "HomePageUrlRefused"},
        {"JavaScript://example.org/%0aalert(1)", "HomePageUrlRefused"},
        {"data:text/html,<script>alert(1)</script>", "HomePageUrlRefused"},
        {"https://example.org/a' onmouseover='alert(1)", "HomePageUrlRefused"},
        {"https://example.org/\"><script>", "HomePageUrlRefused"},
        {"file:///etc/passwd", "HomePageUrlRefused"},
        {"example.org/home.html", "HomePageUrlRefused"},
        {"HTTPS://Example.org/Home.html", nullptr},
        {"  http://example.org/a<b>&c  ", nullptr},
    };
    for (const auto& c : cases) {
        QString refusal;
        const QString href = WebPageSets::otherSiteHref(c.typed, &refusal);
        if (c.refusalKey) {
            EXPECT_TRUE(href.isEmpty()) << c.typed;
            EXPECT_EQ(refusal, LocalizedString(c.refusalKey)) << c.typed;
        } else {
            EXPECT_FALSE(href.isEmpty()) << c.typed;
            // Nothing in it can end the attribute or start markup.
            EXPECT_FALSE(href.contains('\'') || href.contains('"') || href.contains('<') || href.contains('>'))
                << href.toStdString();
        }
    }
}

TEST_F(SiteFolder, TheCopyEqualsTheSetAndCopyingAgainLeavesUnchangedFilesAlone)
{
    const QString set = makePageSet(pathFor("Reports/Family_WebPages_1"));
    SiteFolderCopy copy(set, pathFor("site/Family_WebPages_1"));
    ASSERT_TRUE(copy.estimate());
    EXPECT_EQ(copy.fileCount(), 5);
    EXPECT_EQ(copy.totalBytes(), 1536 * 1024 + 87);
    std::atomic_bool abort = false;
    QList<SiteFolderCopy::Row> rows;
    SiteFolderCopy::Progress last;
    const QStringList failed
        = copy.copy({}, abort, {[&](const SiteFolderCopy::Row& r) { rows << r; }, [&](const auto& p) { last = p; }});
    EXPECT_TRUE(failed.isEmpty()) << failed.join(", ").toStdString();
    EXPECT_EQ(tree(pathFor("site/Family_WebPages_1")), tree(set));
    EXPECT_TRUE(QFileInfo(pathFor("site/Family_WebPages_1/0/README")).isFile());
    EXPECT_EQ(last.bytesDone, copy.totalBytes());
    EXPECT_EQ(last.filesLeft, 0);
    EXPECT_EQ(copy.copiedFiles(), 5);

    // Again, after one page changed: only that page is written.
    write(set + "/0/P1.html", "<html>one, corrected</html>");
    SiteFolderCopy again(set, pathFor("site/Family_WebPages_1"));
    ASSERT_TRUE(again.estimate());
    EXPECT_TRUE(again.copy({}, abort, {}).isEmpty());
    EXPECT_EQ(again.copiedFiles(), 1);
    EXPECT_EQ(again.unchangedFiles(), 4);
    EXPECT_EQ(tree(pathFor("site/Family_WebPages_1")), tree(set));
}

TEST_F(SiteFolder, AFileThatCannotBeWrittenIsListedAndARetryCopiesIt)
{
    const QString set = makePageSet(pathFor("Reports/Family_WebPages_1"));
    const QString site = pathFor("site/Family_WebPages_1");
    // A folder stands where a page must go: that page cannot be written, the others can.
    QDir().mkpath(site + "/0/P1.html/in the way");
    SiteFolderCopy copy(set, site);
    ASSERT_TRUE(copy.estimate());
    std::atomic_bool abort = false;
    QList<SiteFolderCopy::Row> failedRows;
    const QStringList failed = copy.copy({}, abort, {[&](const SiteFolderCopy::Row& r) {
        if (r.failed)
            failedRows << r;
    }, {}});
    EXPECT_EQ(failed, QStringList {"0/P1.html"});
    ASSERT_EQ(failedRows.size(), 1);
    EXPECT_EQ(failedRows[0].path, "0/P1.html");
    EXPECT_FALSE(failedRows[0].result.isEmpty());
    EXPECT_EQ(TestSupport::readFile(site + "/0/README"), "no extension, still a file");

    QDir(site + "/0/P1.html").removeRecursively();
    EXPECT_TRUE(copy.copy(failed, abort, {}).isEmpty());
    EXPECT_EQ(tree(site), tree(set));
}

TEST_F(SiteFolder, AnAbortedCopyAnswersEveryFileNotSent)
{
    const QString set = makePageSet(pathFor("Reports/Family_WebPages_1"));
    SiteFolderCopy copy(set, pathFor("site/Family_WebPages_1"));
    ASSERT_TRUE(copy.estimate());
    std::atomic_bool abort = true;
    QStringList failed = copy.copy({}, abort, {});
    failed.sort();
    EXPECT_TRUE(copy.aborted());
    EXPECT_EQ(failed, (QStringList {"0/P1.html", "0/README", "index.html", "pictures.d/photo.jpg", "styles.css"}));
    EXPECT_FALSE(QFileInfo::exists(pathFor("site/Family_WebPages_1/index.html")));
}

TEST_F(SiteFolder, SitesAreVisibleFoldersHoldingHtmlPagesAndTheUploadIsRecordedInTheDatabase)
{
    const QString root = pathFor("site");
    write(root + "/family/Index.HTML", "home");
    write(root + "/family/about.htm", "not offered");
    write(root + "/family/notes.txt", "not offered");
    QDir().mkpath(root + "/family/folder.html");
    write(root + "/.cache/index.html", "hidden");
    write(root + "/blog/readme.htm", "no html page");
    write(root + "/loose.html", "a page, not a site");
    EXPECT_EQ(SiteUpload::sites(root), QStringList {"family"});
    EXPECT_EQ(SiteUpload::htmlFilesInFolder(root + "/family"), QStringList {"Index.HTML"});
    EXPECT_TRUE(WebPageSets::pageSetFolders(pathFor("nowhere")).isEmpty());

    EXPECT_TRUE(SiteUpload::recordText(moc->metadata()).isEmpty());
    const SiteUpload::Upload upload {root, "family", "Index.HTML", pathFor("Reports/Family_WebPages_1")};
    ASSERT_TRUE(SiteUpload::saveRecord(*moc, upload, QDateTime(QDate(2026, 3, 7), QTime(9, 5))));
    const QVariantMap stored = ObjectContext::metadataForStoreAt(moc->databaseURL());
    const QString text = SiteUpload::recordText(stored);
    EXPECT_TRUE(text.startsWith(LocalizedString("MobMeKeyLastUpload") + "\n07-Mar-26 at 09:05\n\n")) << text.toStdString();
    EXPECT_TRUE(text.contains(QUrl::fromLocalFile(root + "/Family_WebPages_1/index.html").toString()));
    EXPECT_TRUE(text.contains(QUrl::fromLocalFile(root + "/family/Index.HTML").toString()));
    EXPECT_EQ(stored.value(SiteUpload::recordKey()).toMap().size(), 8);
}

TEST_F(SiteFolder, ADiscImageHoldsTheSetsFiles)
{
    const QString set = makePageSet(pathFor("Reports/Family_WebPages_1"));
    const QString image = pathFor("disc.iso");
    DiscBurner burner;
    BurnEnd finished(burner);
    ASSERT_GT(DiscBurner::freeBlocks("stdio:" + image), qint64(DiscBurner::blocksRequired(set)));
    burner.start(set, "stdio:" + image);
    ASSERT_TRUE(TestSupport::waitUntil([&] { return finished.count > 0; }, "xorriso"));
    ASSERT_TRUE(finished.success) << finished.error.toStdString();

    // Read back with xorriso itself: every folder and file, byte for byte.
    const QString out = pathFor("extracted");
    QProcess extract;
    extract.start("xorriso", {"-osirrox", "on", "-indev", "stdio:" + image, "-extract", "/", out});
    ASSERT_TRUE(extract.waitForFinished(60000));
    ASSERT_EQ(extract.exitCode(), 0) << extract.readAllStandardError().toStdString();
    EXPECT_EQ(tree(out), tree(set));
}

TEST_F(SiteFolder, AWriterThatCannotRunEndsWithItsReason)
{
    const QString saved = DiscBurner::program();
    DiscBurner::program() = pathFor("no-such-xorriso");
    QString error;
    EXPECT_TRUE(DiscBurner::drives(&error).isEmpty());
    EXPECT_FALSE(error.isEmpty());
    DiscBurner burner;
    BurnEnd finished(burner);
    burner.start(makePageSet(pathFor("set")), "stdio:" + pathFor("disc.iso"));
    TestSupport::waitUntil([&] { return finished.count > 0; }, "the failed start");
    DiscBurner::program() = saved;
    EXPECT_EQ(finished.count, 1);
    EXPECT_FALSE(finished.success);
    EXPECT_FALSE(finished.error.isEmpty());
}
