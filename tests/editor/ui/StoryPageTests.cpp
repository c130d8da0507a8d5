// The story page in a database's main window: typing and storing, generating, the options sheet and the copy
// for a word processor.
#include "EditorFixture.h"
#include "WorkspaceFixture.h"

#include "editor/StoryOptions.h"
#include "editor/ui/InfoArea_Story.h"
#include "editor/ui/StoryGenerationOptions.h"
#include "editor/ui/StoryTextEdit.h"

#include "model/FTEvent.h"
#include "model/FTMocUndoManager.h"
#include "model/FTPcRel.h"
#include "model/FTPicture.h"
#include "model/FTSpouseRel.h"
#include "model/FTStory.h"

#include "platform/Localizer.h"
#include "platform/store/Key.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextImageFormat>

#include <gmock/gmock.h>

using ::testing::HasSubstr;

namespace {

class StoryPage : public EditorFixture {
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        UserDefaults::standard().setInteger("previousTabViewIndex", 0);
        UserDefaults::standard().setBool("uppercaseFamilyName", false);
        doc = open("Family.RezUdu");
        ASSERT_NE(doc, nullptr);
        moc = doc->moc();
        editor = editorOf(doc);
        page = qobject_cast<InfoArea_Story*>(editor->page("pStory"));
        ASSERT_NE(page, nullptr);
        page->setClock([] { return QDateTime(QDate(2025, 2, 3), QTime(14, 5)); });

        john = FTPerson::initInMoc(moc, "John Smith", "M");
        john->setValueForKeyPath("birth.date", "5 Jan 1900");
        john->setValueForKeyPath("birth.place", "Leeds");
        john->setValueForKeyPath("death.date", "1970");
        FTPerson* mary = FTPerson::initInMoc(moc, "Mary Jones", "F");
        john->addSpouseRel(mary)->setValueForKeyPath("marriage.date", "1925");
        FTPerson* tom = john->addChild("Tom Smith", "M", FTPcRel::kNatural);
        tom->setValueForKeyPath("birth.date", "1926");
        for (FTPerson* p : {john, mary, tom})
            picture(p);
        moc->undoManager()->closeOpenGroups();
        select(john);
        ASSERT_TRUE(editor->choosePage("pStory"));
    }
    void picture(FTPerson* p)
    {
        QImage image(90, 120, QImage::Format_RGB32);
        image.fill(p->isMale() ? QColor(70, 110, 160) : QColor(170, 90, 110));
        FTPicture* picture = FTPicture::initInMoc(moc, "", p);
        picture->setThumbnailImage(image);
        p->setDefaultPicture(picture);
    }
    void type(const QString& text)
    {
        page->tv()->setFocus();
        for (QChar c : text)
            key(page->tv(), c == ' ' ? Qt::Key_Space : 0, QString(c));
    }
    QString storyLabel() const { return editor->pTabView()->tabText(editor->controller().indexOf("pStory")); }
    static QString stored(const FTPerson* p) { return p->story() ? p->story()->attributedString() : QString(); }

    DOvurDocument* doc = nullptr;
    FTMoc* moc = nullptr;
    InfoAreaController* editor = nullptr;
    InfoArea_Story* page = nullptr;
    FTPerson* john = nullptr;
};

TEST_F(StoryPage, TypedTextMakesTheStoryAndAnEmptiedStoryIsDeleted)
{
    EXPECT_EQ(page->tv()->toPlainText(), "");
    EXPECT_EQ(storyLabel(), LocalizedString("Story"));
    type("Born in Leeds.");
    EXPECT_EQ(page->changes(), 14);
    // Leaving the page ends the edit: the first text makes the story record.
    ASSERT_TRUE(editor->choosePage("pSelf"));
    ASSERT_NE(john->story(), nullptr);
    EXPECT_THAT(stored(john).toStdString(), HasSubstr("Born in Leeds."));
    EXPECT_EQ(storyLabel(), LocalizedString("Story") + "*");

    ASSERT_TRUE(editor->choosePage("pStory"));
    EXPECT_EQ(page->tv()->toPlainText(), "Born in Leeds.");
    page->tv()->selectAll();
    key(page->tv(), Qt::Key_Backspace);
    ASSERT_TRUE(editor->choosePage("pSelf"));
    EXPECT_EQ(john->story(), nullptr);
    EXPECT_EQ(moc->count<FTStory>(), 0);
    EXPECT_EQ(storyLabel(), LocalizedString("Story"));

    // What is typed belongs to the person it was typed for, even when another is chosen straight away.
    ASSERT_TRUE(editor->choosePage("pStory"));
    type("About John.");
    FTPerson* mary = john->spouses().first();
    select(mary);
    EXPECT_THAT(stored(john).toStdString(), HasSubstr("About John."));
    EXPECT_EQ(mary->story(), nullptr);
    EXPECT_EQ(page->tv()->toPlainText(), "");
}

TEST_F(StoryPage, GeneratingTwiceInAppendModeAddsTwoStoriesWithTheirPictures)
{
    UserDefaults::standard().setInteger("soPrependAppendReplace", 1);
    page->changeOptions();
    StoryGenerationOptions* sheet = page->optionsSheet();
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(sheet->windowModality(), Qt::WindowModal);
    sheet->generate();
    sheet->generate();
    // Generating leaves the sheet open.
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(page->tv()->toPlainText().count("The story of John Smith created on Monday 03-Feb-25 at 14:05"), 2);
    EXPECT_EQ(stored(john).count("created on Monday"), 2);
    saveScreenshot(sheet, "editor-story-options");
    sheet->findChild<QPushButton*>("close")->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(page->optionsSheet(), nullptr);

    // The pictures are part of the stored text: read back from the file they are still there.
    ASSERT_TRUE(moc->saveMoc());
    // Through a copy: the open database has one context at a time.
    const QString copy = moc->databaseURL() + "-copy.RezUdu";
    QFile::remove(copy);
    ASSERT_TRUE(QFile::copy(moc->databaseURL(), copy));
    auto again = FTMoc::initForStoreURL(copy, true);
    ASSERT_TRUE(again);
    const FTPerson* reread = again->fetchFirst<FTPerson>(
        [](const FTPerson* p) { return p->name() == QLatin1String("John Smith"); });
    ASSERT_NE(reread, nullptr);
    QTextDocument story;
    story.setHtml(stored(reread));
    int pictures = 0;
    for (QTextBlock b = story.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat()) {
                const QString name = it.fragment().charFormat().toImageFormat().name();
                EXPECT_FALSE(story.resource(QTextDocument::ImageResource, QUrl(name)).value<QImage>().isNull());
                ++pictures;
            }
    EXPECT_EQ(pictures, 6);
    again.reset();

    // And on the page once the person is shown again.
    select(john->spouses().first());
    select(john);
    const QTextBlock row = page->tv()->document()->begin().next().next();
    ASSERT_TRUE(row.begin().fragment().charFormat().isImageFormat());
    page->tv()->verticalScrollBar()->setValue(0);
    saveScreenshot(doc->dovurWindow(), "editor-story-page");
}

TEST_F(StoryPage, TheOptionsSheetKeepsTheRelativesBitsAndTheWordProcessor)
{
    UserDefaults& d = UserDefaults::standard();
    d.setInteger("storyScopeOptions", -1);
    d.setString("soRtfApplication", "writer.desktop");
    d.setBool("soIncludeNotes", false);
    page->changeOptions();
    StoryGenerationOptions* sheet = page->optionsSheet();
    ASSERT_NE(sheet, nullptr);
    for (const StoryOptions::ScopeFlag& f : StoryOptions::scopeFlags())
        EXPECT_TRUE(sheet->flag(f.name)) << f.name;
    EXPECT_FALSE(qobject_cast<QCheckBox*>(sheet->control("soIncludeNotes"))->isChecked());

    sheet->setFlag("bStepRels", false);
    sheet->changeScope();
    EXPECT_EQ(d.integerForKey("storyScopeOptions"), -1 & ~0x2000);

    // Choosing another mode shows on the page; a mode the page does not know leaves the label.
    const QString prepend = page->findChild<QLabel*>("currentMode")->text();
    qobject_cast<QRadioButton*>(sheet->control("modeReplace"))->click();
    EXPECT_EQ(d.integerForKey("soPrependAppendReplace"), 2);
    EXPECT_EQ(page->currentMode(), "Replace");
    const QString replace = page->findChild<QLabel*>("currentMode")->text();
    EXPECT_NE(replace, prepend);
    d.setInteger("soPrependAppendReplace", 3);
    page->displayCurrentMode();
    EXPECT_EQ(page->currentMode(), "Replace");
    EXPECT_EQ(page->findChild<QLabel*>("currentMode")->text(), replace);

    sheet->setDefaults();
    EXPECT_EQ(d.stringForKey("soRtfApplication"), "writer.desktop");
    EXPECT_TRUE(d.boolForKey("soIncludeNotes"));
    EXPECT_EQ(d.integerForKey("storyScopeOptions"), -1);
    EXPECT_EQ(d.integerForKey("soPrependAppendReplace"), 0);
    for (const StoryOptions::ScopeFlag& f : StoryOptions::scopeFlags())
        EXPECT_TRUE(sheet->flag(f.name)) << f.name;
    EXPECT_TRUE(qobject_cast<QCheckBox*>(sheet->control("soIncludeNotes"))->isChecked());
    EXPECT_EQ(page->currentMode(), "Prepend");
    EXPECT_EQ(page->findChild<QLabel*>("currentMode")->text(), prepend);
}

TEST_F(StoryPage, ClearingDeletesTheStory)
{
    page->generateStory();
    ASSERT_NE(john->story(), nullptr);
    page->clearStory();
    EXPECT_EQ(page->tv()->toPlainText(), "");
    EXPECT_EQ(john->story(), nullptr);
}

TEST_F(StoryPage, TheTabsMarkFollowsTheTextAtOnceAndUndo)
{
    const QString plain = LocalizedString("Story"), marked = plain + "*";
    // Typing the first letter marks the tab, erasing it unmarks it: nothing stored meanwhile.
    type("B");
    EXPECT_EQ(storyLabel(), marked);
    key(page->tv(), Qt::Key_Backspace);
    EXPECT_EQ(storyLabel(), plain);
    type("Born in Leeds.");
    EXPECT_EQ(storyLabel(), marked);
    EXPECT_EQ(john->story(), nullptr);
    QApplication::processEvents();
    saveScreenshot(doc->dovurWindow(), "editor-story-tab-marked-while-typing");
    ASSERT_TRUE(page->endEditing());
    ASSERT_NE(john->story(), nullptr);
    EXPECT_EQ(storyLabel(), marked);

    // Undoing the new story takes the mark away, redoing it brings the mark back.
    prompts.answer(0);
    doc->undo();
    EXPECT_EQ(john->story(), nullptr);
    EXPECT_EQ(page->tv()->toPlainText(), "");
    EXPECT_EQ(storyLabel(), plain);
    prompts.answer(0);
    doc->redo();
    ASSERT_NE(john->story(), nullptr);
    EXPECT_EQ(storyLabel(), marked);

    // The commands that store at once.
    page->clearStory();
    EXPECT_EQ(storyLabel(), plain);
    page->generateStory();
    EXPECT_EQ(storyLabel(), marked);
    // A text of blanks only is no story.
    page->tv()->selectAll();
    type("   ");
    EXPECT_EQ(storyLabel(), plain);
}

TEST_F(StoryPage, TheCopyForAWordProcessorIsWrittenIntoTheReportsFolderAndOpened)
{
    WorkspaceFixture apps(dir.path(), Workspace::shared().mimeTypeForFile("story.rtf"));
    UserDefaults::standard().setString("soRtfApplication", "");
    john->setPrimitiveValue(Key("name"), "AC/DC Smith"); // a name as an older file may hold it
    page->generateStory();
    page->copyToWordProcessor();
    const QString path = data + "/Reports/Story of AC|DC Smith (1900 - 1970).rtf";
    EXPECT_EQ(apps.launched(), QStringList({"--editor", path}));
    QFile rtf(path);
    ASSERT_TRUE(rtf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(rtf.readAll().contains("\\jpegblip"));
    rtf.close();
    EXPECT_TRUE(texts().isEmpty()) << texts().join("\n").toStdString();

    // A file that cannot be written is reported with its path and reason.
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QDir().mkpath(path));
    page->copyToWordProcessor();
    ASSERT_EQ(texts().size(), 1);
    EXPECT_THAT(texts()[0].toStdString(), HasSubstr(path.toStdString()));
    EXPECT_TRUE(QFileInfo(path).isDir());
}

}
