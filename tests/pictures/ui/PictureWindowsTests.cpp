// The picture-file windows: the import sheet with its drop box and thumbnail build, the export sheet, the move of
// an older database's thumbnails, and the picture steps that follow a GEDCOM import and a whole-database export;
// and the crop shape chosen in the preferences reaching an open picture editor.

#include "../../diagrams/ui/InputEvents.h"
#include "../../gedcom/ui/GedcomWindowFixture.h"
#include "../PictureTestFiles.h"

#include "pictures/ui/ExportPictureFiles.h"
#include "pictures/ui/ImportPictureFiles.h"
#include "pictures/ui/MoveThumbnails.h"
#include "pictures/ui/PicEdit.h"
#include "pictures/ui/PictureController.h"
#include "pictures/ui/PicturesDropBox.h"
#include "pictures/ui/PicturesMenuActions.h"

#include "gedcom/ExportToGedcom.h"
#include "gedcom/ImportGedcomThread.h"
#include "gedcom/ui/ExportToGedcomController.h"
#include "gedcom/ui/GedcomMenuActions.h"
#include "gedcom/ui/ImportGedcom.h"

#include "shell/ui/PreferencesController.h"

#include "model/FTOriginalPicture.h"
#include "model/FTPicture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QUrl>

#include <gmock/gmock.h>

using ::testing::HasSubstr;

namespace {
class PictureWindows : public GedcomWindowFixture {
protected:
    void SetUp() override
    {
        GedcomWindowFixture::SetUp();
        PicturesMenuActions::install();
        UserDefaults::standard().setBool("alwaysCopyToPicturesFolder", true);
    }
    void TearDown() override
    {
        ImportGedcom::setFilePanel({});
        EXPECT_TRUE(ImportGedcomThread::waitForImport(TestSupport::kHungRunMilliseconds)) << "the import hung";
        PicturesMenuActions::uninstall();
        GedcomWindowFixture::TearDown();
    }

    template <class T> static T* sheetOn(QWidget* window)
    {
        for (T* sheet : window->findChildren<T*>(Qt::FindDirectChildrenOnly))
            if (sheet->isVisible())
                return sheet;
        return nullptr;
    }

    QString writeFile(const QString& relative, const QByteArray& contents)
    {
        return writeTestFile(dir.path() + "/" + relative, contents);
    }
    QString image(const QString& relative, const QColor& colour = Qt::darkCyan)
    {
        QImage img(120, 80, QImage::Format_RGB32);
        img.fill(colour);
        const QString path = dir.path() + "/" + relative;
        QDir().mkpath(QFileInfo(path).path());
        EXPECT_TRUE(img.save(path));
        return path;
    }
    static QStringList rows(const QListWidget* list)
    {
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out << list->item(i)->text();
        return out;
    }
};
}

TEST_F(PictureWindows, TheImportSheetListsWhatIsMissingAndLinksWhatIsDropped)
{
    start();
    DOvurDocument* doc = openDatabase(makeFamilyDatabase("Family"));
    ASSERT_TRUE(doc);
    FTMoc* moc = doc->moc();
    FTPerson* fay = moc->focalPerson();
    for (const char* name : { "/old/KinloomData/Pictures/Wedding 1950.jpg", "/old/scans/Baptism.png",
             "/old/scans/Baptism.png", "/old/letters/Letter to Mary.pdf" })
        missingPicture(*moc, fay, name);
    // Already in the pictures folder: matched as the sheet opens.
    const QString inPlace = image("KinloomData/Pictures/Portrait.png");
    missingPicture(*moc, fay, "/old/KinloomData/Portrait.png")->setOriginalFilename("/old/Portrait.png");
    ASSERT_TRUE(moc->saveMoc());
    prompts.clear();

    PicturesMenuActions::importPictures();
    auto* sheet = sheetOn<ImportPictureFiles>(doc->dovurWindow());
    ASSERT_TRUE(sheet);
    EXPECT_TRUE(doc->hasAttachedSheet());
    ASSERT_TRUE(waitFor([&] { return sheet->printListButton()->isEnabled(); }));
    EXPECT_EQ(rows(sheet->filenamesList()),
        (QStringList { "/old/letters/Letter to Mary.pdf", "/old/scans/Baptism.png", data + "/Pictures/Wedding 1950.jpg" }));
    EXPECT_THAT(sheet->messageField()->text().toStdString(), HasSubstr("4 pictures are still missing, with 3 different"));
    screenshot(sheet, "import-pictures-sheet");

    // A drop of a folder links what it holds; the drop box takes it.
    const QString folder = dir.path() + "/found";
    image("found/baptism.PNG", Qt::darkRed);
    writeFile("found/notes.xls", "x");
    QMimeData drop;
    drop.setUrls({ QUrl::fromLocalFile(folder) });
    EXPECT_TRUE(sheet->dropBox()->accepts(drop));
    QMimeData nothing;
    nothing.setUrls({ QUrl::fromLocalFile(dir.path() + "/found/notes.xls") });
    EXPECT_FALSE(sheet->dropBox()->accepts(nothing));
    sheet->dropBox()->copyMissingPicsFromPasteboard(drop);
    EXPECT_EQ(rows(sheet->filenamesList()),
        (QStringList { "/old/letters/Letter to Mary.pdf", data + "/Pictures/Wedding 1950.jpg" }));
    EXPECT_TRUE(QFileInfo::exists(data + "/Pictures/baptism.PNG"));

    // The list opens in the desktop's application; the folder in the file manager.
    QStringList opened;
    sheet->openInDesktop = [&](const QString& path) { opened << path; };
    sheet->printListButton()->click();
    sheet->finderButton()->click();
    EXPECT_EQ(opened, (QStringList { data + "/MissingPictures.txt", data + "/Pictures" }));

    // Three linked pictures have files but no thumbnails: closing asks, "Don't Close" stays.
    prompts.clear();
    prompts.answer(1);
    sheet->closeButton()->click();
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].text, "There are 3 pictures without thumbnails. Close anyway? \"Prebuild Thumbnails\" makes them.");
    EXPECT_TRUE(sheet->isVisible());

    // The build asks first, then makes them, with Stop in place of Close while it runs.
    prompts.clear();
    prompts.answer(0);
    QString closeTitleWhileBuilding;
    sheet->progressIndicator()->connect(sheet->progressIndicator(), &QProgressBar::valueChanged, sheet,
        [&] { closeTitleWhileBuilding = sheet->closeButton()->text(); });
    sheet->prebuildThumbnailsButton()->click();
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_THAT(prompts.records[0].text.toStdString(), HasSubstr("Prebuild 3 Thumbnails."));
    EXPECT_EQ(closeTitleWhileBuilding, "Stop");
    EXPECT_EQ(sheet->closeButton()->text(), "Close");
    EXPECT_THAT(sheet->messageField()->text().toStdString(), HasSubstr("3 of 3 thumbnails created"));
    screenshot(sheet, "import-pictures-sheet-after");
    EXPECT_EQ(moc->count<FTOriginalPicture>(), 3);
    Q_UNUSED(inPlace);

    prompts.clear();
    sheet->closeButton()->click();
    EXPECT_TRUE(prompts.records.isEmpty());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(sheetOn<ImportPictureFiles>(doc->dovurWindow()));
    EXPECT_FALSE(moc->hasChanges());
}

TEST_F(PictureWindows, AGedcomLoadIsFollowedByTheImportSheetOnTheNewDatabase)
{
    start();
    const QString ged = writeFile("in/Pictured.ged",
        "0 HEAD\r\n1 CHAR UTF-8\r\n1 GEDC\r\n2 VERS 5.5\r\n0 @I1@ INDI\r\n1 NAME Ann /Lee/\r\n1 SEX F\r\n"
        "1 OBJE\r\n2 FILE /far/away/ann.jpg\r\n2 FORM jpg\r\n2 TITL Ann\r\n0 TRLR\r\n");
    ImportGedcom::setFilePanel([ged](QWidget*) { return ged; });
    whenShown<ImportGedcom>([](ImportGedcom* d) { return d->importFinishedHeard(); },
        [](ImportGedcom* d) { d->exitButton()->click(); });
    GedcomMenuActions::loadGedcomFile();
    ASSERT_EQ(documents().size(), 1);
    DOvurDocument* doc = documents().first();
    auto* sheet = sheetOn<ImportPictureFiles>(doc->dovurWindow());
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->moc(), doc->moc());
    ASSERT_TRUE(waitFor([&] { return sheet->printListButton()->isEnabled(); }));
    EXPECT_EQ(rows(sheet->filenamesList()), QStringList { "/far/away/ann.jpg" });
    screenshot(sheet, "import-pictures-after-gedcom-load");
    sheet->closeButton()->click();
}

TEST_F(PictureWindows, AGedcomLoadWithoutPictureLinksOpensNoImportSheet)
{
    start();
    const QString ged = writeFile("in/Plain.ged",
        "0 HEAD\r\n1 CHAR UTF-8\r\n1 GEDC\r\n2 VERS 5.5\r\n0 @I1@ INDI\r\n1 NAME Ann /Lee/\r\n1 SEX F\r\n"
        "1 BIRT\r\n2 DATE 1850\r\n0 TRLR\r\n");
    ImportGedcom::setFilePanel([ged](QWidget*) { return ged; });
    whenShown<ImportGedcom>([](ImportGedcom* d) { return d->importFinishedHeard(); },
        [](ImportGedcom* d) { d->exitButton()->click(); });
    GedcomMenuActions::loadGedcomFile();
    ASSERT_EQ(documents().size(), 1);
    QCoreApplication::processEvents();
    EXPECT_FALSE(sheetOn<ImportPictureFiles>(documents().first()->dovurWindow()));
}

TEST_F(PictureWindows, AWholeDatabaseExportWithPicturesIsFollowedByTheExportSheet)
{
    start();
    DOvurDocument* doc = openDatabase(makeFamilyDatabase("Family"));
    ASSERT_TRUE(doc);
    FTMoc* moc = doc->moc();
    FTPicture* portrait = FTPicture::initInMoc(moc, image("albums/portrait.png"), moc->focalPerson());
    ASSERT_TRUE(portrait);
    FTPerson* fred = moc->fetchFirst<FTPerson>([](const FTPerson* p) { return p->name().startsWith("Fred"); });
    FTPicture::initInMoc(moc, image("albums/fred.png", Qt::darkYellow), fred);
    ASSERT_TRUE(moc->saveMoc());
    prompts.clear();

    GedcomMenuActions::exportToGedcomFile();
    auto* gedcomSheet = sheetOn<ExportToGedcomController>(doc->dovurWindow());
    ASSERT_TRUE(gedcomSheet);
    gedcomSheet->generateButton()->click();
    EXPECT_EQ(gedcomSheet->exporter().exportedPicturesArray().size(), 2);
    gedcomSheet->exitButton()->click();
    ASSERT_TRUE(waitFor([&] { return sheetOn<ExportPictureFiles>(doc->dovurWindow()) != nullptr; }));
    auto* sheet = sheetOn<ExportPictureFiles>(doc->dovurWindow());
    EXPECT_EQ(sheet->tableView()->rowCount(), 2);
    EXPECT_EQ(sheet->requiredDiskSpaceLabel()->text(), "") << "no space is reckoned for a given list";
    EXPECT_TRUE(sheet->exportButton()->isEnabled());
    screenshot(sheet, "export-pictures-sheet-after-gedcom");

    sheet->exportButton()->click();
    EXPECT_TRUE(QFileInfo::exists(data + "/Family_Exported Pictures/portrait.png"));
    EXPECT_TRUE(QFileInfo::exists(data + "/Family_Exported Pictures/fred.png"));
    EXPECT_THAT(texts().join("\n").toStdString(), HasSubstr("2 picture files copied to:"));
    EXPECT_FALSE(sheet->isVisible());
}

TEST_F(PictureWindows, TheExportMenuCommandOffersEveryPictureFileWithTheSpaceItTakes)
{
    start();
    DOvurDocument* doc = openDatabase(makeFamilyDatabase("Family"));
    ASSERT_TRUE(doc);
    FTMoc* moc = doc->moc();
    const QString shared = image("albums/together.png");
    FTPicture::initInMoc(moc, shared, moc->focalPerson())->setDefaultThumbnailImage();
    for (FTPerson* p : moc->fetch<FTPerson>())
        if (p->name().section(' ', -1).compare("Other", Qt::CaseInsensitive) == 0)
            FTPicture::initInMoc(moc, image("albums/" + p->name() + ".png"), p)->setDefaultThumbnailImage();
    ASSERT_TRUE(moc->saveMoc());
    prompts.clear();

    PicturesMenuActions::exportPictures();
    auto* sheet = sheetOn<ExportPictureFiles>(doc->dovurWindow());
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->windowTitle(), "Pictures to export from Family");
    EXPECT_EQ(sheet->tableView()->rowCount(), 4);
    EXPECT_EQ(sheet->tableView()->item(0, 0)->text(), data + "/Pictures");
    EXPECT_EQ(sheet->tableView()->item(0, 1)->text(), "Bea OTHER.png");
    EXPECT_TRUE(sheet->requiredDiskSpaceLabel()->text().startsWith("Required Disk Space = "));
    EXPECT_TRUE(sheet->availableDiskSpaceLabel()->text().startsWith("Available Disk Space = "));
    EXPECT_TRUE(sheet->exportButton()->isEnabled());
    EXPECT_TRUE(texts().isEmpty()) << texts().join("\n").toStdString();
    // The folder, where there is room, and the file names are read whole.
    QTableWidget* table = sheet->tableView();
    for (int column : { 0, 1 })
        EXPECT_GT(table->columnWidth(column), table->fontMetrics().horizontalAdvance(table->item(0, column)->text()))
            << column;
    screenshot(sheet, "export-pictures-sheet");

    sheet->thumbnailsOnlyBox()->setChecked(true);
    EXPECT_TRUE(sheet->exporter().exportThumbnailsOnly);
    sheet->exportButton()->click();
    EXPECT_EQ(QDir(data + "/Family_Exported Thumbnails").entryList(QDir::Files).size(), 4);
    EXPECT_FALSE(sheet->isVisible());
}

TEST_F(PictureWindows, TheMoveWindowMovesOnceShownAndClosesWhenDone)
{
    start();
    DOvurDocument* doc = openDatabase(makeFamilyDatabase("Family"));
    ASSERT_TRUE(doc);
    FTMoc* moc = doc->moc();
    QList<FTPicture*> old;
    for (int i = 0; i < 120; ++i) {
        FTPicture* p = missingPicture(*moc, moc->focalPerson(), QString("/old/%1.jpg").arg(i));
        p->setThumbNailImageData("old thumbnail");
        old << p;
    }
    ASSERT_TRUE(moc->saveMoc());

    MoveThumbnails window(*moc, old);
    window.show();
    ASSERT_TRUE(waitFor([&] { return window.moved(); }));
    EXPECT_TRUE(window.closeButton()->isEnabled());
    EXPECT_EQ(window.progressMessage()->text(), "All thumbnails have been moved.");
    screenshot(&window, "move-thumbnails");
    window.closeButton()->click();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(moc->count<FTOriginalPicture>(), 120);
    EXPECT_FALSE(moc->hasChanges());
}

// The editor reads the shape at each drag, so a shape picked while it is open holds the next box drawn.
TEST_F(PictureWindows, AShapePickedInThePreferencesHoldsTheNextCropDrawnInAnOpenEditor)
{
    start();
    DOvurDocument* doc = openDatabase(makeFamilyDatabase("Family"));
    ASSERT_TRUE(doc);
    FTMoc* moc = doc->moc();
    QImage img(400, 300, QImage::Format_RGB32);
    img.fill(Qt::darkCyan);
    const QString path = dir.path() + "/wedding.png";
    ASSERT_TRUE(img.save(path));
    FTPicture* picture = FTPicture::initInMoc(moc, path, moc->focalPerson());
    ASSERT_TRUE(moc->saveMoc());

    auto editor = std::make_unique<PictureController>(moc->focalPerson(), picture);
    editor->resize(980, 640);
    editor->show();
    QCoreApplication::processEvents();
    PicEdit* view = editor->picEdit();
    ASSERT_GE(view->scale(), 0.5); // the picture reaches 200 × 150 points: every drag below stays inside
    auto drawBox = [&](QPointF from, QPointF to) {
        InputEvents::mouse(view, QEvent::MouseButtonPress, from);
        InputEvents::mouse(view, QEvent::MouseMove, to);
        InputEvents::mouse(view, QEvent::MouseButtonRelease, to);
        return view->rclDragBox();
    };
    EXPECT_EQ(drawBox({10, 10}, {50, 20}), QRectF(10, 10, 40, 10)); // as cropped: any shape

    PreferencesController* preferences = PreferencesController::setUserPreferences(doc);
    ASSERT_NE(preferences, nullptr);
    QComboBox* shape = preferences->croppingMode();
    auto pick = [&](const char* key) {
        const int index = shape->findText(LocalizedString(key));
        ASSERT_GE(index, 0) << key;
        shape->setCurrentIndex(index);
        Q_EMIT shape->activated(index);
    };
    // Each box starts clear of the one before, so that the press draws a new box rather than moving the old one.
    pick("Portrait6x4");
    EXPECT_EQ(drawBox({70, 10}, {110, 20}), QRectF(70, 10, 40, 60));
    pick("Square");
    EXPECT_EQ(drawBox({130, 10}, {170, 20}), QRectF(130, 10, 40, 40));
    pick("AsCropped");
    EXPECT_EQ(drawBox({10, 90}, {50, 100}), QRectF(10, 90, 40, 10));

    editor.reset();
    delete PreferencesController::shared();
}
