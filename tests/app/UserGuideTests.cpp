// The user guide that Help opens: its pages, links and pictures ship with the program, and its pictures are grabbed
// from the program itself, wired as it starts, over the sample database. The guide's pictures in
// resources/help/images are these grabs ("guide-<name>" here, "<name>.png" there): run with KINLOOM_SCREENSHOT_DIR
// set to take them again when a window changes.
#include "app/InstallApplication.h"

#include "diagrams/DiagramHooks.h"
#include "diagrams/ui/HierarchyDiagram.h"
#include "editor/ui/InfoAreaController.h"
#include "gedcom/ui/ImportGedcom.h"
#include "sources/ui/SourcesAddModDel.h"
#include "sources/ui/SourcesMenuActions.h"

#include "shell/ui/AppController.h"
#include "shell/ui/PreferencesController.h"

#include "model/FTEvent.h"
#include "model/FTModelDefaults.h"
#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/FTPicture.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"

#include "../shell/ui/ApplicationFixture.h"
#include "Screenshot.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLinearGradient>
#include <QMainWindow>
#include <QPainter>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

namespace {

// The guide as the program finds it: in the shared support folder beside the executable.
QString guideFolder()
{
    return QCoreApplication::applicationDirPath() + "/../share/kinloom/help";
}

QString read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

QSet<QString> idsIn(const QString& html)
{
    QSet<QString> ids;
    static const QRegularExpression id(R"re(\bid="([^"]+)")re");
    for (auto m = id.globalMatch(html); m.hasNext();)
        ids << m.next().captured(1);
    return ids;
}

}

TEST(UserGuide, ItsPagesLinksAndPicturesShipWithTheProgram)
{
    const QDir folder(guideFolder());
    const QString index = read(folder.filePath("index.html"));
    ASSERT_FALSE(index.isEmpty()) << folder.absolutePath().toStdString();
    EXPECT_TRUE(idsIn(index).contains("start_here")) << "Help opens the guide at this anchor";

    const QStringList topics = {"index.html",  "diagram.html", "editor.html", "sources.html",
                                "pictures.html", "gedcom.html", "charts.html", "preferences.html"};
    static const QRegularExpression link(R"re(\bhref="([^"#:]*)(?:#([^"]*))?")re");
    static const QRegularExpression picture(R"re(<img src="([^"]+)")re");
    for (const QString& name : topics) {
        SCOPED_TRACE(name.toStdString());
        const QString html = read(folder.filePath(name));
        ASSERT_FALSE(html.isEmpty());
        // Every page leads to every other.
        for (const QString& other : topics)
            EXPECT_TRUE(html.contains("href=\"" + other + "\"")) << other.toStdString();
        for (auto m = link.globalMatch(html); m.hasNext();) {
            const auto found = m.next();
            const QString target = found.captured(1).isEmpty() ? name : found.captured(1);
            ASSERT_TRUE(folder.exists(target)) << target.toStdString();
            if (!found.captured(2).isEmpty())
                EXPECT_TRUE(idsIn(read(folder.filePath(target))).contains(found.captured(2)))
                    << target.toStdString() << "#" << found.captured(2).toStdString();
        }
        int pictures = 0;
        for (auto m = picture.globalMatch(html); m.hasNext(); ++pictures) {
            const QString src = m.next().captured(1);
            const QImage image(folder.filePath(src));
            EXPECT_FALSE(image.isNull()) << src.toStdString();
            // Small enough to read beside the text without scrolling sideways.
            EXPECT_LE(image.width(), 1100) << src.toStdString();
        }
        EXPECT_GE(pictures, 1) << "each page shows what it describes";
    }
}

namespace {

// The program as main() wires it, over a copy of the sample database.
class UserGuidePictures : public ApplicationFixture {
protected:
    void SetUp() override
    {
        ApplicationFixture::SetUp();
        app = std::make_unique<AppController>();
        installApplication(*app);
        ASSERT_TRUE(app->awakeFromNib());
        doc = app->openDocumentWithContentsOfURL(copySampleDatabase(data));
        ASSERT_NE(doc, nullptr) << texts().join("\n").toStdString();
        moc = doc->moc();
        doc->dovurWindow()->resize(1000, 680);
        doc->dovurWindow()->show();
        doc->dovurWindow()->activateWindow();
        victoria = moc->findPeopleWithName("Victoria Hanover*").value(0);
        ASSERT_NE(victoria, nullptr);
        moc->modelDefaults()->setFocalPerson(victoria);
        moc->modelDefaults()->setSelectedPerson(victoria);
        settle();
    }
    void TearDown() override
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != doc->dovurWindow() && w->isVisible())
                w->close();
        ApplicationFixture::TearDown();
    }
    static void settle()
    {
        for (int i = 0; i < 4; ++i)
            QApplication::processEvents();
    }
    template <class W> static W* shown()
    {
        for (QWidget* w : QApplication::allWidgets())
            if (auto* found = qobject_cast<W*>(w); found && found->isVisible())
                return found;
        return nullptr;
    }
    // A portrait for the pictures page: a file painted here, as a user's scan would be.
    QString portrait() const
    {
        QImage image(360, 460, QImage::Format_RGB32);
        QPainter p(&image);
        QLinearGradient sky(0, 0, 0, 460);
        sky.setColorAt(0, QColor(226, 214, 190));
        sky.setColorAt(1, QColor(150, 120, 90));
        p.fillRect(image.rect(), sky);
        p.setBrush(QColor(70, 50, 40));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QRectF(120, 90, 120, 150));
        p.drawRoundedRect(QRectF(70, 250, 220, 230), 60, 60);
        p.end();
        const QString path = dir.path() + "/portrait.jpg";
        image.save(path);
        return path;
    }
    // A scanned page of a register: ruled lines of writing.
    QString registerPage() const
    {
        QImage image(600, 440, QImage::Format_RGB32);
        image.fill(QColor(238, 230, 208));
        QPainter p(&image);
        p.setPen(QPen(QColor(120, 110, 95), 1));
        for (int y = 60; y < 420; y += 30)
            p.drawLine(30, y, 570, y);
        p.setPen(QPen(QColor(60, 50, 70), 3));
        for (int y = 52, row = 0; y < 410; y += 30, ++row)
            p.drawLine(40 + (row % 3) * 12, y, 300 + (row * 53) % 250, y);
        p.end();
        const QString path = dir.path() + "/Marriage register.jpg";
        image.save(path);
        return path;
    }

    DOvurDocument* doc = nullptr;
    FTMoc* moc = nullptr;
    FTPerson* victoria = nullptr;
};

}

TEST_F(UserGuidePictures, TheWindowsTheGuideShows)
{
    auto* editor = qobject_cast<InfoAreaController*>(doc->pInfoArea());
    ASSERT_NE(editor, nullptr);
    ASSERT_TRUE(editor->choosePage("pSelf"));
    settle();
    saveScreenshot(doc->dovurWindow(), "guide-main-window");

    ASSERT_TRUE(editor->choosePage("pEvents"));
    settle();
    saveScreenshot(doc->pInfoArea(), "guide-editor-events");

    ASSERT_NE(FTPicture::initInMoc(moc, portrait(), victoria), nullptr);
    ASSERT_NE(FTPicture::initInMoc(moc, registerPage(), victoria), nullptr);
    ASSERT_TRUE(editor->choosePage("pPictures"));
    settle();
    saveScreenshot(doc->pInfoArea(), "guide-pictures-page");
    ASSERT_TRUE(editor->choosePage("pSelf"));

    // Two sources, one of them cited for the queen's birth.
    FTSource* register_ = FTSource::initInMoc(moc);
    register_->setValueForKey("type", QStringLiteral("Parish Register"));
    register_->setValueForKey("title", QStringLiteral("Registers of Kensington Palace chapel"));
    register_->setValueForKey("author", QStringLiteral("Chapel Royal"));
    FTSource* census = FTSource::initInMoc(moc);
    census->setValueForKey("type", QStringLiteral("Census"));
    census->setValueForKey("title", QStringLiteral("1851 census of Westminster"));
    if (victoria->birth())
        FTSourceRel::initInMoc(moc, register_, victoria->birth(), QStringLiteral("Birth"));
    SourcesMenuActions::sourcesAddModDel(moc, register_);
    settle();
    auto* sources = shown<SourcesAddModDel>();
    ASSERT_NE(sources, nullptr);
    saveScreenshot(sources, "guide-sources-window");
    sources->close();

    // The sample GEDCOM file read into a new database, as File > Import Gedcom... does.
    const QString ged = savedSupport + "/royal92.ged";
    ImportGedcom::setFilePanel([ged](QWidget*) { return ged; });
    {
        ImportGedcom import(doc->dovurWindow());
        import.show();
        const QDeadlineTimer limit(TestSupport::kHungRunMilliseconds);
        while (!import.importFinishedHeard() && !limit.hasExpired())
            QApplication::processEvents(QEventLoop::AllEvents, 50);
        ImportGedcom::setFilePanel({});
        ASSERT_TRUE(import.importSucceeded()) << import.failureReason().toStdString();
        settle();
        saveScreenshot(&import, "guide-gedcom-import");
    }

    DiagramHooks::shared().hierarchyDiagram(victoria, true);
    settle();
    auto* chart = shown<HierarchyDiagram>();
    ASSERT_NE(chart, nullptr);
    chart->resize(900, 600);
    settle();
    saveScreenshot(chart, "guide-ancestors-chart");
    chart->close();

    PreferencesController* preferences = PreferencesController::setUserPreferences(doc);
    ASSERT_NE(preferences, nullptr);
    // The page of switches, the one with most to say.
    preferences->tabs()->setCurrentIndex(2);
    settle();
    saveScreenshot(preferences->window(), "guide-preferences");
    preferences->window()->close();
}
