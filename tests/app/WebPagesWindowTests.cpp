// The web-page generator's window as the running program opens it: from the Publish menu, as a sheet on the
// database's main window, with its preview in a web view and the options panel beside it.

#include "app/InstallApplication.h"

#include "publishing/PublishAsHtml.h"
#include "publishing/ui/PublishAsHtmlSheet.h"
#include "publishing/ui/PublishAsHtml_Options.h"

#include "model/FTEvent.h"
#include "model/FTPerson.h"

#include "../shell/ui/ApplicationFixture.h"
#include "Screenshot.h"

#include <QAction>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QMenu>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace {
class WebPagesWindow : public ApplicationFixture {
protected:
    void SetUp() override
    {
        // Chromium refuses to start its sandbox as root; the tests run as whoever runs them.
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
        ApplicationFixture::SetUp();
    }
    void TearDown() override
    {
        if (sheet) {
            prompts.answer(1); // Discard
            sheet->closeSheet();
        }
        controller.reset();
        ApplicationFixture::TearDown();
    }

    // Opens the database and the generator's window from its menu item; waits for the first preview.
    void openSheet(const std::function<void(FTMoc&)>& change = {})
    {
        controller = std::make_unique<AppController>();
        installApplication(*controller);
        ASSERT_TRUE(controller->awakeFromNib());
        doc = controller->openDocumentWithContentsOfURL(makeDatabase(data + "/Family Tree.RezUdu", 60));
        ASSERT_TRUE(doc);
        if (change)
            change(*doc->moc());
        std::unique_ptr<QMenuBar> bar(controller->createMainMenu(doc->dovurWindow()));
        QAction* item = nullptr;
        for (QAction* menu : bar->actions())
            if (menu->menu() && menu->text() == "Publish")
                for (QAction* a : menu->menu()->actions())
                    if (a->text() == "Generate Web Pages...")
                        item = a;
        ASSERT_TRUE(item);
        controller->validateMenu({item});
        ASSERT_TRUE(item->isEnabled());
        item->trigger();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* s = qobject_cast<PublishAsHtmlSheet*>(w); s && s->isVisible())
                sheet = s;
        ASSERT_TRUE(sheet);
        EXPECT_EQ(sheet->parentWidget(), doc->dovurWindow());
        EXPECT_TRUE(doc->hasAttachedSheet());
        ASSERT_TRUE(TestSupport::waitUntil([this] { return sheet->previewLoaded(); }, "the first preview"));
    }

    QVariant evaluate(const QString& script)
    {
        bool done = false;
        QVariant result;
        sheet->webView()->page()->runJavaScript(script, [&](const QVariant& value) {
            result = value;
            done = true;
        });
        TestSupport::waitUntil([&] { return done; }, "the script's answer");
        return result;
    }
    void waitForPainting()
    {
        QElapsedTimer painted;
        painted.start();
        TestSupport::waitUntil([&] { return painted.elapsed() > 600; }, "the preview to paint");
    }
    QStringList savedFolders() const
    {
        return QDir(data + "/Reports").entryList({"*_WebPages_*"}, QDir::Dirs);
    }

    std::unique_ptr<AppController> controller;
    DOvurDocument* doc = nullptr;
    QPointer<PublishAsHtmlSheet> sheet;
};

TEST_F(WebPagesWindow, OpensFromThePublishMenuPreviewsTheFocalPersonAndSavesWhatGenerateMade)
{
    UserDefaults::standard().setBool("htmlExcludeLivingPeople", false);
    UserDefaults::standard().setBool("htmlExcludeRecentlyDeadPeople", false);
    openSheet();
    FTPerson* focal = doc->moc()->focalPerson();
    ASSERT_TRUE(focal);

    // The preview shows the focal person's own page, with its context diagram as a picture.
    const QString url = sheet->webView()->url().toLocalFile();
    EXPECT_TRUE(url.endsWith("/" + PublishAsHtml::filenameForPerson(focal) + ".html")) << url.toStdString();
    EXPECT_EQ(evaluate("document.title").toString(), focal->nameWithBirthAndDeathYears());
    EXPECT_TRUE(evaluate("document.querySelector(\"img[usemap='#cdDiagram']\").complete && "
                         "document.querySelector(\"img[usemap='#cdDiagram']\").naturalWidth > 0")
                    .toBool());
    waitForPainting();
    saveScreenshot(sheet, "web-pages-sheet");

    // A second after opening, the options panel stands beside the window.
    ASSERT_TRUE(TestSupport::waitUntil([this] { return sheet->optionsPanel() && sheet->optionsPanel()->isVisible(); },
                                       "the options panel"));
    PublishAsHtml_Options* panel = sheet->optionsPanel();
    saveScreenshot(panel, "web-pages-options");

    // Generate, living people included: the warning first (I agree), then the pages of htmlKinship levels.
    prompts.clear();
    prompts.answer(0);
    sheet->generateButton()->click();
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].text, LocalizedString("WebExportDisclaimerTitle"));
    EXPECT_FALSE(sheet->optionsPanel()); // closed before a full run
    EXPECT_TRUE(sheet->generalMessage().startsWith(LocalizedString("GeneratedForKinship")));
    const QString working = sheet->generator().directory();
    ASSERT_TRUE(TestSupport::waitUntil([this] { return sheet->previewLoaded(); }, "the generated page"));

    // Close, Save, Continue: the folder is moved into the Reports folder under the database's name.
    prompts.clear();
    prompts.answer(0); // Save
    prompts.answer(1); // Continue (not the browser)
    sheet->closeButton()->click();
    QApplication::processEvents();
    EXPECT_FALSE(sheet && sheet->isVisible());
    EXPECT_EQ(savedFolders(), QStringList {"Family_Tree_WebPages_1"});
    EXPECT_EQ(UserDefaults::standard().stringForKey("mostRecentWebPagesFolder"), "Family_Tree_WebPages_1");
    EXPECT_TRUE(QFileInfo(data + "/Reports/Family_Tree_WebPages_1/index.html").isFile());
    EXPECT_FALSE(QFileInfo::exists(working));
    EXPECT_FALSE(doc->hasAttachedSheet());
}

TEST_F(WebPagesWindow, APreviewThatHadToShowLivingPeopleCannotBeSaved)
{
    // The focal person's whole first circle is living: the preview shows them all, against the options.
    openSheet([](FTMoc& moc) {
        FTPerson* focal = moc.focalPerson();
        QList<FTPerson*> circle = {focal};
        circle += focal->parentsOfType(0xF) + focal->spouses() + focal->childrenOfType(0xF);
        for (FTPerson* p : circle) {
            p->birth()->setYear(1990);
            p->birth()->setDate("1990");
            if (FTEvent* death = p->death()) {
                death->setYear(0);
                death->setDate(QString());
            }
        }
    });
    EXPECT_TRUE(sheet->generalMessage().contains(LocalizedString("WebPreviewMsg")));
    EXPECT_TRUE(UserDefaults::standard().boolForKey("htmlExcludeLivingPeople")); // the options stay as they were

    prompts.clear();
    prompts.answer(0); // Save
    sheet->closeButton()->click();
    QApplication::processEvents();
    EXPECT_TRUE(texts().contains(LocalizedString("PreviewShowsExcludedPeople")));
    EXPECT_TRUE(sheet && sheet->isVisible()); // the window and its folder stay
    EXPECT_TRUE(savedFolders().isEmpty());
    EXPECT_TRUE(QFileInfo::exists(sheet->generator().directory()));
}

TEST_F(WebPagesWindow, OptionsEditTheUserDefaultsAndRegenerateOnlyWhenAsked)
{
    openSheet();
    sheet->displayOptions();
    PublishAsHtml_Options* panel = sheet->optionsPanel();
    ASSERT_TRUE(panel);
    int previews = 0;
    QObject::connect(sheet, &PublishAsHtmlSheet::previewShown, [&] { ++previews; });

    // Every option the pages follow has its control.
    for (const char* key : {"htmlIncludeContextDiagram", "htmlTabularContextDiagram", "htmlCdDiagramWidth",
                            "htmlCdDiagramGenerations", "htmlColourGradient", "htmlCopyMediaFiles",
                            "htmlDefaultFontFace", "htmlBgColour", "htmlKinship", "htmlYearsSinceDeath",
                            "htmlOneColumnIndexForiPhone", "htmlIncludeNotesForPictures"})
        EXPECT_TRUE(panel->controlFor(key)) << key;

    auto* tabular = qobject_cast<QCheckBox*>(panel->controlFor("htmlTabularContextDiagram"));
    ASSERT_TRUE(tabular);
    UserDefaults::standard().setBool("htmlAutoRegenerate", false);
    tabular->click();
    EXPECT_TRUE(UserDefaults::standard().boolForKey("htmlTabularContextDiagram"));
    QApplication::processEvents();
    EXPECT_EQ(previews, 0);
    panel->previewButton()->click();
    ASSERT_TRUE(TestSupport::waitUntil([&] { return previews == 1; }, "the preview"));
    EXPECT_EQ(evaluate("document.querySelectorAll(\"img[usemap='#cdDiagram']\").length").toInt(), 0);

    UserDefaults::standard().setBool("htmlAutoRegenerate", true);
    tabular->click();
    ASSERT_TRUE(TestSupport::waitUntil([&] { return previews == 2; }, "the preview after a change"));

    // The small-screen set, shown by the controls, then the standard set back.
    panel->smallScreenButton()->click();
    EXPECT_EQ(qobject_cast<QSpinBox*>(panel->controlFor("htmlCdDiagramWidth"))->value(), 480);
    EXPECT_EQ(UserDefaults::standard().integerForKey("htmlCdDiagramGenerations"), 1);
    EXPECT_EQ(UserDefaults::standard().colorForKey("htmlBgColour"), QColor(255, 255, 255));
    EXPECT_TRUE(qobject_cast<QCheckBox*>(panel->controlFor("htmlOneColumnIndexForiPhone"))->isChecked());
    panel->standardButton()->click();
    EXPECT_EQ(qobject_cast<QSpinBox*>(panel->controlFor("htmlCdDiagramWidth"))->value(), 800);
    EXPECT_EQ(UserDefaults::standard().colorForKey("htmlBgColour"), QColor(255, 255, 240));
    EXPECT_TRUE(UserDefaults::standard().boolForKey("htmlDepersonalizeLivingPeople"));
}
} // namespace
