// A run of the generator: its folders, the focal person's page, previews, Save and Discard, failures and the
// estimate.

#include "PublishFixture.h"

#include "WithoutPermissionOverride.h"

#include "model/ModelProgress.h"
#include "publishing/HtmlEscape.h"

namespace {
struct CallbackProgress : ModelProgress {
    std::function<void(const QString&)> onStatus;
    void setStatus(const QString& text) override
    {
        if (onStatus)
            onStatus(text);
    }
    void setPercent(int) override {}
};

QStringList emptyFolders(const QString& root)
{
    QStringList out;
    QDirIterator it(root, QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (QDir(path).isEmpty())
            out << path;
    }
    return out;
}

using PublishRun = PublishFixture;

TEST_F(PublishRun, PeopleAreDealtIntoFoldersOf500AndEmptyFoldersAreRemoved)
{
    for (int i = 0; i < 1001; ++i)
        born(QStringLiteral("Person%1 Walker").arg(i, 4, 10, QChar('0')), M(), 1700, 1760);
    ASSERT_TRUE(publish(0));
    const auto pages = [this](int folder) {
        return QDir(root() + "/" + PublishAsHtml::numberedFolder("HtmlDirHTMLFiles", folder)).entryList(QDir::Files).size();
    };
    EXPECT_EQ(pages(1), 500);
    EXPECT_EQ(pages(2), 500);
    EXPECT_EQ(pages(3), 1);
    EXPECT_FALSE(QFileInfo::exists(root() + "/HtmlFiles/HtmlFiles_00"));
    EXPECT_FALSE(QFileInfo::exists(root() + "/Media"));
    EXPECT_EQ(emptyFolders(root()), QStringList());
    // In name order: the last person has the 1001st place.
    EXPECT_EQ(generator->pagePathFor(moc->findPeopleWithName("Person1000 Walker").value(0)),
              "HtmlFiles/HtmlFiles_03/P1001.html");
}

TEST_F(PublishRun, SavedFoldersAreNamedAfterTheDatabaseAndNumberedOnFromTheHighest)
{
    moc = newDatabase("Smith & Jones (2).RezUdu");
    born("Ada Jones", F(), 1800, 1870);
    ASSERT_TRUE(publish(0));
    EXPECT_EQ(generator->createNewFilePath(), reports() + "/Smith_Jones_2_WebPages_1");
    ASSERT_EQ(generator->save(), reports() + "/Smith_Jones_2_WebPages_1");
    ASSERT_TRUE(publish(0));
    ASSERT_EQ(generator->save(), reports() + "/Smith_Jones_2_WebPages_2");
    // Entries with the name and the suffix but no number after them do not count.
    QDir().mkpath(reports() + "/Smith_Jones_2_WebPages_copy");
    QDir().mkpath(reports() + "/Smith_Jones_2_WebPages");
    ASSERT_TRUE(publish(0));
    const QString third = generator->save();
    EXPECT_EQ(third, reports() + "/Smith_Jones_2_WebPages_3");
    EXPECT_TRUE(QFileInfo::exists(third + "/index.html"));
    EXPECT_EQ(defaults().stringForKey("mostRecentWebPagesFolder"), "Smith_Jones_2_WebPages_3");
    EXPECT_TRUE(generator->directory().isEmpty());
}

TEST_F(PublishRun, EachRunReplacesTheLastWorkingFolderAndDiscardDeletesIt)
{
    born("Ada Jones", F(), 1800, 1870);
    // Left by an earlier run of the program. Working folders are numbered from 1 for the whole process, so a
    // leftover numbered 0 is never one that this process's generators (of earlier tests, too) are using.
    const QString leftover = reports() + "/tempHtmlDirectory_0";
    QDir().mkpath(leftover + "/HtmlFiles");
    // Another window of the program, with a working folder of its own.
    PublishAsHtml other(moc.get());
    other.setOptions(options);
    ASSERT_TRUE(other.generateReport());

    ASSERT_TRUE(publish(0));
    const QString first = root();
    EXPECT_FALSE(QFileInfo::exists(leftover));
    EXPECT_TRUE(QFileInfo::exists(other.directory() + "/index.html"));
    ASSERT_TRUE(publish(0));
    EXPECT_NE(root(), first);
    EXPECT_FALSE(QFileInfo::exists(first));
    const QString second = root();
    generator->discard();
    EXPECT_FALSE(QFileInfo::exists(second));
    EXPECT_TRUE(QFileInfo::exists(other.directory()));
}

TEST_F(PublishRun, ASuppressedFocalPersonEndsOnTheIndexWithTheReason)
{
    const Family f = makeFamily();
    moc->setFocalPerson(f.lorna);
    ASSERT_TRUE(publish(0));
    EXPECT_EQ(generator->filenameToOpen(), root() + "/index.html");
    EXPECT_EQ(generator->generalMessage(), "The focal person Lorna O'Brien (1985 - ) has no page because she is "
                                           "living or died within the last 80 years.");
    moc->setFocalPerson(f.john);
    ASSERT_TRUE(publish(0));
    EXPECT_EQ(generator->filenameToOpen(), root() + "/" + pageOf(f.john));
}

TEST_F(PublishRun, APreviewOfALivingCircleShowsThemButCannotBeSaved)
{
    FTPerson* me = born("Lucy Hart", F(), 1980);
    FTPerson* son = born("Leo Hart", M(), 2010);
    link(me, son);
    moc->setFocalPerson(me);
    defaults().setBool("htmlExcludeLivingPeople", true);
    defaults().setBool("htmlExcludeRecentlyDeadPeople", true);
    generator = std::make_unique<PublishAsHtml>(moc.get());
    generator->setClock([this] { return now; });

    ASSERT_TRUE(generator->generatePreview());
    EXPECT_TRUE(QFileInfo::exists(generator->filenameToOpen()));
    EXPECT_TRUE(generator->filenameToOpen().endsWith(generator->pagePathFor(me)));
    EXPECT_TRUE(generator->generalMessage().contains("\"Exclude living people\" and \"Exclude recently deceased"));
    EXPECT_TRUE(defaults().boolForKey("htmlExcludeLivingPeople"));
    EXPECT_TRUE(defaults().boolForKey("htmlExcludeRecentlyDeadPeople"));

    const QString preview = generator->directory();
    EXPECT_EQ(generator->save(), QString());
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_TRUE(prompts.records[0].text.contains("cannot be saved"));
    EXPECT_TRUE(QFileInfo::exists(preview + "/index.html"));
    EXPECT_EQ(QDir(reports()).entryList({"*WebPages*"}, QDir::Dirs), QStringList());

    // The full run follows the options: nobody is published, and that set may be saved.
    ASSERT_TRUE(generator->generateAll());
    EXPECT_FALSE(QFileInfo::exists(generator->directory() + "/" + generator->pagePathFor(me)));
    EXPECT_FALSE(generator->save().isEmpty());
}

TEST_F(PublishRun, RandomColoursGiveEachPageItsOwnBackground)
{
    const Family f = makeFamily();
    options.randomColours = true;
    ASSERT_TRUE(publish(0));
    const QRegularExpression colour("<body  bgcolor='#([0-9A-F]{6})'>");
    const QString a = colour.match(file(pageOf(f.john))).captured(1);
    const QString b = colour.match(file(pageOf(f.mary))).captured(1);
    EXPECT_FALSE(a.isEmpty());
    EXPECT_NE(a, b);
}

TEST_F(PublishRun, APageThatCannotBeWrittenStopsTheRunWithOneMessage)
{
    for (int i = 0; i < 20; ++i)
        born(QStringLiteral("Person%1 Walker").arg(i), M(), 1700, 1760);
    generator = std::make_unique<PublishAsHtml>(moc.get());
    generator->setOptions(options);
    CallbackProgress progress;
    QString folder;
    // The pages' folder turns read-only once the run has made it.
    progress.onStatus = [&](const QString& text) {
        if (text == "Generating web pages" && folder.isEmpty()) {
            folder = generator->directory() + "/HtmlFiles/HtmlFiles_01";
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
        }
    };
    generator->setProgress(&progress);
    WithoutPermissionOverride asAnyUser;
    EXPECT_FALSE(generator->generateReport());
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_TRUE(prompts.records[0].text.startsWith("Unable to create the file\n\n" + folder + "/P"));
    EXPECT_FALSE(PublishAsHtml::runIsActive());
}

TEST_F(PublishRun, AFolderThatCannotBeMadeIsReportedAndTheRunEnds)
{
    born("Ada Jones", F(), 1800, 1870);
    QDir().mkpath(reports());
    QFile::setPermissions(reports(), QFile::ReadOwner | QFile::ExeOwner);
    WithoutPermissionOverride asAnyUser;
    EXPECT_FALSE(publish(0));
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_TRUE(prompts.records[0].text.startsWith("Unable to create the folder called\n\n" + reports() + "/tempHtmlDirectory_"));
    EXPECT_TRUE(generator->directory().isEmpty());
}

TEST_F(PublishRun, TheEstimateAndTheSizeWritten)
{
    for (int i = 0; i < 25; ++i)
        born(QStringLiteral("Person%1 Walker").arg(i), M(), 1700, 1760);
    options.kinship = 0;
    generator = std::make_unique<PublishAsHtml>(moc.get());
    options.includeContextDiagram = true;
    options.tabularContextDiagram = false;
    options.cdDiagramWidth = 400;
    generator->setOptions(options);
    generator->kinshipChanged();
    EXPECT_EQ(generator->numPeopleInKinship(), 25);
    // 25 diagrams of 40 KB at half the standard width.
    EXPECT_EQ(generator->calculatedTotalSize(), "Estimated size = 0.5 Mb");
    EXPECT_FALSE(generator->checkFreeDiskSpace(1).isEmpty());
    options.tabularContextDiagram = true;
    generator->setOptions(options);
    generator->estimateFileSize();
    EXPECT_EQ(generator->calculatedTotalSize(), "Estimated size = 0.1 Mb");
    ASSERT_TRUE(generator->generateReport());
    EXPECT_TRUE(generator->calculatedTotalSize().startsWith("Total size = 0."));
}
} // namespace

namespace {
TEST(PublishNames, FolderAndFileWordsAreSafeInFileNamesAndLinks)
{
    for (const char* key : {"HtmlDirHTMLFiles", "HtmlDirDiagrams", "HtmlDirThumbnails", "HtmlDirMedia",
                            "HtmlDirAncestorsTables", "Ancestors", "indexPeopleFilename", "cssFilename",
                            "WebPagesDirSuffix"}) {
        const QString word = LocalizedString(key);
        EXPECT_FALSE(word.isEmpty()) << key;
        EXPECT_EQ(word, HtmlEscape::attribute(word)) << key;
        for (const QChar c : word)
            EXPECT_TRUE(c.isLetterOrNumber() || c == '.' || c == '_' || c == '-') << key << ": " << word.toStdString();
    }
    EXPECT_NE(LocalizedString("indexPeopleFilename").section('.', -1), "html");
}
} // namespace
