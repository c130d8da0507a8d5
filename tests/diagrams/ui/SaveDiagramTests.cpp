// Saving the family diagram from a database's main window, as a PDF file of the whole window or a JPEG picture of
// the diagram, and the toolbar items that save it, colour it and choose its font.
#include "../../shell/ui/ApplicationFixture.h"

#include "Screenshot.h"
#include "WithoutPermissionOverride.h"
#include "WorkspaceFixture.h"

#include "diagrams/DiagramFileName.h"
#include "diagrams/ui/CdDiagram.h"
#include "diagrams/ui/DiagramColours.h"
#include "diagrams/ui/FamilyDiagramSetup.h"
#include "diagrams/ui/SaveDiagramToFile.h"

#include "shell/SystemFlags.h"
#include "shell/Utils.h"
#include "shell/ui/PersonEditorPane.h"
#include "shell/ui/ToolbarController.h"

#include "model/FTPerson.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QProcess>
#include <QStatusBar>
#include <QThread>
#include <QTimer>
#include <QToolButton>

namespace {

// The lower pane, recording what the save asks of it.
class RecordingEditor : public PersonEditorPane {
public:
    void prepareForPrinting() override { ++prepared; }
    int prepared = 0;
    bool paintedWhilePrinting = false;

protected:
    void paintEvent(QPaintEvent*) override { paintedWhilePrinting |= gPrinting; }
};

class SaveDiagram : public ApplicationFixture {
protected:
    void SetUp() override
    {
        ApplicationFixture::SetUp();
        installFamilyDiagram();
        DOvurDocument::setPersonEditorFactory([this](DOvurDocument&) { return editor = new RecordingEditor; });
        start();
        doc = app->openDocumentWithContentsOfURL(makeDatabase(data + "/Family.RezUdu", 30));
        ASSERT_TRUE(doc) << texts().join("\n").toStdString();
        doc->dovurWindow()->show();
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        focal = doc->moc()->focalPerson();
        ASSERT_TRUE(focal);
        reports = data + "/Reports";
        prompts.clear();
    }
    void TearDown() override
    {
        SaveDiagramToFile::setFilePanel({});
        ApplicationFixture::TearDown();
        uninstallFamilyDiagram();
        DOvurDocument::setPersonEditorFactory({});
    }
    // A name from an imported file, written as it came.
    void nameFocalPerson(const QString& name) { focal->setPrimitiveValue(Key("name"), name); }
    // Whether the workspace started an application (within a short wait).
    static bool launchedAnything(const WorkspaceFixture& ws)
    {
        QThread::msleep(300);
        return QFile::exists(ws.record);
    }

    DOvurDocument* doc = nullptr;
    RecordingEditor* editor = nullptr;
    FTPerson* focal = nullptr;
    QString reports;
};

TEST_F(SaveDiagram, FullWindowWritesAPdfOfTheWindowAndOpensIt)
{
    WorkspaceFixture ws(dir.path(), "application/pdf");
    nameFocalPerson("Anne/Marie Smith");
    prompts.answer(0);
    SaveDiagramToFile::saveDiagramToFile(*doc);

    ASSERT_FALSE(prompts.records.isEmpty());
    EXPECT_EQ(prompts.records.first().text, "Full Window or Diagram Only?");
    EXPECT_EQ(prompts.records.first().buttons, (QStringList {"Full Window", "Diagram Only", "Cancel"}));
    const QString path = reports + "/" + DiagramFileName::baseName(focal) + ".PDF";
    EXPECT_TRUE(path.contains("Anne|Marie Smith"));
    ASSERT_TRUE(QFile::exists(path)) << texts().join("\n").toStdString();
    EXPECT_EQ(QDir(reports).entryList(QDir::Files), (QStringList {QFileInfo(path).fileName()}));
    EXPECT_EQ(ws.launched(), (QStringList {"--editor", path}));
    // The person editor was asked to show its page from the top, and drawn with the printing flag up.
    EXPECT_EQ(editor->prepared, 1);
    EXPECT_TRUE(editor->paintedWhilePrinting);
    EXPECT_FALSE(gPrinting);

    // The page is the window with its margin: rendered at the window's resolution, pixel for pixel.
    const QString png = dir.path() + "/full-window";
    const int dpi = doc->dovurWindow()->logicalDpiX();
    ASSERT_EQ(QProcess::execute("pdftoppm", {"-png", "-singlefile", "-r", QString::number(dpi), path, png}), 0);
    const QImage page(png + ".png");
    ASSERT_FALSE(page.isNull());
    const QSize window = doc->dovurWindow()->size();
    EXPECT_NEAR(page.width(), window.width() + 50, 2);
    EXPECT_NEAR(page.height(), window.height() + 70, 2);
    // White margins around the window's own colours.
    EXPECT_EQ(page.pixelColor(5, 5), QColor(Qt::white));
    const QImage shown = doc->dovurWindow()->grab().toImage();
    EXPECT_EQ(page.pixelColor(25 + window.width() / 2, 35 + window.height() / 4),
              shown.pixelColor(window.width() / 2, window.height() / 4));
    saveScreenshotImage(page, "diagram-full-window-pdf");
}

TEST_F(SaveDiagram, DiagramOnlyWritesAJpegOfTheDiagramWhereTheUserChooses)
{
    WorkspaceFixture ws(dir.path(), "image/jpeg");
    nameFocalPerson("../Up and Away");
    QString proposed;
    QSize previewed;
    SaveDiagramToFile::setFilePanel([&](const QString& path, const QImage& picture) {
        proposed = path;
        previewed = picture.size();
        return path;
    });
    prompts.answer(1);
    // The status line that tells where the file went takes its room from the diagram afterwards.
    const QSize shown = doc->pcd()->size();
    SaveDiagramToFile::saveDiagramToFile(*doc);

    EXPECT_EQ(proposed, reports + "/" + DiagramFileName::baseName(focal) + ".JPG");
    EXPECT_EQ(QFileInfo(proposed).absolutePath(), reports);
    const QImage written(proposed, "JPG");
    ASSERT_FALSE(written.isNull()) << texts().join("\n").toStdString();
    EXPECT_EQ(written.size(), shown);
    EXPECT_EQ(previewed, shown);
    // The first application that opens it.
    EXPECT_EQ(ws.launched().value(0), "--editor");
    // The window says where the file went.
    auto* line = doc->dovurWindow()->findChild<QStatusBar*>("savedNotice");
    ASSERT_NE(line, nullptr);
    EXPECT_TRUE(line->isVisible());
    EXPECT_EQ(line->currentMessage(), "The diagram was saved as " + QDir::toNativeSeparators(proposed));
    QCoreApplication::processEvents();
    saveScreenshot(doc->dovurWindow(), "diagram-saved-notice");
    line->clearMessage();
    EXPECT_FALSE(line->isVisible());

    // A name chosen without the extension gets it; Cancel writes nothing.
    SaveDiagramToFile::setFilePanel([&](const QString&, const QImage&) { return dir.path() + "/mine"; });
    EXPECT_EQ(SaveDiagramToFile::saveDiagramOnly(*doc), dir.path() + "/mine.JPG");
    EXPECT_TRUE(QFile::exists(dir.path() + "/mine.JPG"));
    ws.launched();
    SaveDiagramToFile::setFilePanel([&](const QString&, const QImage&) { return QString(); });
    EXPECT_EQ(SaveDiagramToFile::saveDiagramOnly(*doc), QString());
    EXPECT_FALSE(launchedAnything(ws));
    EXPECT_EQ(texts(), QStringList {"Full Window or Diagram Only?"});

    // Another extension typed: the name written is the one asked about, and Cancel leaves an earlier file alone.
    const QString earlier = dir.path() + "/Smith.png.JPG";
    {
        QFile f(earlier);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("earlier");
    }
    SaveDiagramToFile::setFilePanel([&](const QString&, const QImage&) { return dir.path() + "/Smith.png"; });
    prompts.clear();
    prompts.answer(1);
    EXPECT_EQ(SaveDiagramToFile::saveDiagramOnly(*doc), QString());
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].text, "\"Smith.png.JPG\" already exists. Do you want to replace it?");
    EXPECT_EQ(prompts.records[0].buttons, (QStringList {"Replace", "Cancel"}));
    {
        QFile f(earlier);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), "earlier");
    }
    EXPECT_FALSE(QFile::exists(dir.path() + "/Smith.png"));
    prompts.answer(0);
    EXPECT_EQ(SaveDiagramToFile::saveDiagramOnly(*doc), earlier);
    EXPECT_FALSE(QImage(earlier, "JPG").isNull());
}

// The save dialog shows its file list and name field whole, the picture small below them.
TEST_F(SaveDiagram, TheSaveDialogKeepsItsListAndNameWholeWithThePictureBelow)
{
    bool looked = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        QCoreApplication::processEvents();
        auto* preview = dialog->findChild<QLabel*>("preview");
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        auto* list = dialog->findChild<QWidget*>("listView");
        ASSERT_TRUE(preview && name && list);
        saveScreenshot(dialog, "save-diagram-jpeg-dialog");
        const auto rectIn = [dialog](QWidget* w) { return QRect(w->mapTo(dialog, QPoint()), w->size()); };
        EXPECT_GE(name->width(), name->sizeHint().width());
        EXPECT_GE(list->width(), 300);
        EXPECT_GT(rectIn(preview).top(), rectIn(name).bottom());
        EXPECT_LE(preview->pixmap().width(), 240);
        EXPECT_TRUE(dialog->rect().contains(rectIn(preview)));
        looked = true;
        dialog->reject();
    });
    EXPECT_EQ(SaveDiagramToFile::saveDiagramOnly(*doc), QString());
    EXPECT_TRUE(looked);
}

TEST_F(SaveDiagram, AFileThatCannotBeWrittenIsReportedAndNothingIsOpened)
{
    WorkspaceFixture ws(dir.path(), "application/pdf");
    const QString jpeg = reports + "/chosen.JPG";
    SaveDiagramToFile::setFilePanel([&](const QString&, const QImage&) { return jpeg; });
    QDir().mkpath(reports);
    QFile::setPermissions(reports, QFile::ReadOwner | QFile::ExeOwner);
    {
        WithoutPermissionOverride asAUser;
        EXPECT_EQ(SaveDiagramToFile::saveFullWindow(*doc), QString());
        EXPECT_EQ(SaveDiagramToFile::saveDiagramOnly(*doc), QString());
    }
    QFile::setPermissions(reports, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    ASSERT_EQ(prompts.records.size(), 2);
    const QString pdf = reports + "/" + DiagramFileName::baseName(focal) + ".PDF";
    for (const auto& [record, path] : {std::pair {prompts.records[0], pdf}, std::pair {prompts.records[1], jpeg}}) {
        EXPECT_EQ(record.text, "Failed to save the diagram");
        EXPECT_TRUE(record.info.startsWith(path + "\n\n")) << record.info.toStdString();
        EXPECT_GT(record.info.size(), path.size() + 2);
    }
    EXPECT_TRUE(QDir(reports).entryList(QDir::Files).isEmpty());
    EXPECT_FALSE(launchedAnything(ws));
    EXPECT_FALSE(gPrinting);
}

TEST_F(SaveDiagram, TheToolbarSavesColoursAndChoosesTheFont)
{
    ToolbarController* toolbar = doc->toolbarController();
    for (const QString& item : {ToolbarController::kPrint, ToolbarController::kShowColours, ToolbarController::kShowFonts})
        ASSERT_TRUE(toolbar->itemView(item)) << item.toStdString();

    prompts.answer(2); // Cancel
    ToolbarController::itemHandler(ToolbarController::kPrint)(*doc);
    EXPECT_EQ(texts(), QStringList {"Full Window or Diagram Only?"});
    EXPECT_FALSE(QDir(reports).exists() && !QDir(reports).entryList(QDir::Files).isEmpty());

    // Each window runs modally: the test works in it once it shows.
    auto whenShown = [](auto* type, std::function<void(QWidget*)> fn) {
        using T = std::remove_pointer_t<decltype(type)>;
        auto* timer = new QTimer;
        timer->setInterval(20);
        QObject::connect(timer, &QTimer::timeout, [timer, fn] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (qobject_cast<T*>(w) && w->isVisible()) {
                    timer->stop();
                    timer->deleteLater();
                    fn(w);
                    return;
                }
        });
        timer->start();
    };
    bool colours = false;
    whenShown(static_cast<DiagramColours*>(nullptr), [&](QWidget* w) {
        colours = w->parentWidget() == doc->dovurWindow();
        static_cast<DiagramColours*>(w)->accept();
    });
    ToolbarController::itemHandler(ToolbarController::kShowColours)(*doc);
    EXPECT_TRUE(colours);

    QFont chosen(QStringLiteral("Liberation Serif"));
    chosen.setPointSizeF(14);
    whenShown(static_cast<QFontDialog*>(nullptr), [&](QWidget* w) {
        auto* dialog = static_cast<QFontDialog*>(w);
        dialog->setCurrentFont(chosen);
        dialog->accept();
    });
    ToolbarController::itemHandler(ToolbarController::kShowFonts)(*doc);
    const QFont stored = UserDefaults::standard().fontForKey("cdFont");
    EXPECT_EQ(stored.family(), chosen.family());
    EXPECT_DOUBLE_EQ(stored.pointSizeF(), 14);
}

} // namespace
