// The GEDCOM export sheet with its options and submission window, the exports of a person's relatives and the
// dynasties report, each from its menu command.
#include "GedcomWindowFixture.h"

#include "gedcom/ExportPersonPlusAllRels.h"
#include "gedcom/ExportPersonPlusGenerations.h"
#include "gedcom/ExportToGedcom.h"
#include "gedcom/GedcomExportOptions.h"
#include "gedcom/ui/ExportPersonPlusAllRelsController.h"
#include "gedcom/ui/ExportPersonPlusAncestorsController.h"
#include "gedcom/ui/ExportPersonPlusDescendantsController.h"
#include "gedcom/ui/ExportToGedcomController.h"
#include "gedcom/ui/GedcomMenuActions.h"
#include "gedcom/ui/LdsSubmissionDialog.h"

#include "shell/MenuRules.h"
#include "shell/RtfWriter.h"
#include "shell/Utils.h"

#include "WorkspaceFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>

#include <gmock/gmock.h>

using ::testing::HasSubstr;

namespace {

class ExportWindows : public GedcomWindowFixture {
protected:
    void SetUp() override
    {
        GedcomWindowFixture::SetUp();
        start();
        doc = openDatabase(makeFamilyDatabase("Family"));
        ASSERT_TRUE(doc);
        prompts.clear();
    }

    // The sheet of type T on `window`, visible; null when none.
    template <class T> static T* sheetOn(QWidget* window)
    {
        for (T* sheet : window->findChildren<T*>(Qt::FindDirectChildrenOnly))
            if (sheet->isVisible())
                return sheet;
        return nullptr;
    }

    static QStringList rows(const QListWidget* list)
    {
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out << list->item(i)->text();
        return out;
    }

    static QStringList names(const QStringList& rows)
    {
        QStringList out;
        for (const QString& row : rows)
            out << row.section(' ', 0, 0);
        out.sort();
        return out;
    }

    DOvurDocument* doc = nullptr;
};

TEST_F(ExportWindows, TheSheetWritesTheFileItsOptionsAskFor)
{
    GedcomMenuActions::exportToGedcomFile();
    auto* sheet = sheetOn<ExportToGedcomController>(doc->dovurWindow());
    ASSERT_TRUE(sheet);
    EXPECT_TRUE(sheet->isModal());
    EXPECT_TRUE(doc->hasAttachedSheet());
    EXPECT_FALSE(sheet->exporter().selectiveExport());
    EXPECT_EQ(sheet->exporter().setOfPeopleToExport().size(), 13);
    EXPECT_EQ(sheet->modelField()->text(), "Family");
    EXPECT_EQ(sheet->filenameField()->text(), data + "/Family.GED");
    EXPECT_TRUE(sheet->generateButton()->isEnabled());
    EXPECT_FALSE(sheet->showMeButton()->isEnabled());
    // The first-run values.
    EXPECT_TRUE(sheet->optionBox("geIncludeCustomTags")->isChecked());
    EXPECT_FALSE(sheet->optionBox("geIndentGedcomLines")->isChecked());
    EXPECT_EQ(sheet->recentlyDeadYearsField()->value(), 50);

    // The user's choices are stored as they are made.
    sheet->optionBox("geIndentGedcomLines")->setChecked(true);
    sheet->depersonalizeOptionMenu()->setCurrentIndex(2);
    sheet->recentlyDeadYearsField()->setValue(70);
    EXPECT_TRUE(UserDefaults::standard().boolForKey("geIndentGedcomLines"));
    EXPECT_EQ(UserDefaults::standard().integerForKey("geDepersonalizeOption"), 2);
    EXPECT_EQ(UserDefaults::standard().integerForKey("geRecentlyDeadYears"), 70);
    screenshot(sheet, "export-sheet");

    // A file of that name is never replaced: the run takes the next free one.
    QFile taken(data + "/Family.GED");
    ASSERT_TRUE(taken.open(QIODevice::WriteOnly));
    taken.write("mine");
    taken.close();
    sheet->generateButton()->click();
    EXPECT_EQ(sheet->gedcomFilename(), data + "/Family_1.GED");
    EXPECT_EQ(sheet->filenameField()->text(), data + "/Family_1.GED");
    EXPECT_EQ(sheet->progressIndicator()->value(), 100);
    EXPECT_THAT(sheet->messageLabel()->text().toStdString(), HasSubstr("seconds to generate GEDCOM file"));
    EXPECT_FALSE(sheet->generateButton()->isEnabled());
    EXPECT_TRUE(sheet->showMeButton()->isEnabled());
    EXPECT_TRUE(sheet->exitButton()->isEnabled());
    ASSERT_TRUE(taken.open(QIODevice::ReadOnly));
    EXPECT_EQ(taken.readAll(), "mine");

    const QStringList lines = gedcomLines(data + "/Family_1.GED");
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines.first(), "0 HEAD");
    EXPECT_EQ(lines.last(), "0 TRLR");
    EXPECT_TRUE(lines[1].startsWith("   1 SOUR ")) << lines.mid(0, 12).join("\n").toStdString();
    EXPECT_EQ(names(namesInGedcom(data + "/Family_1.GED")).size(), 13);
    screenshot(sheet, "export-sheet-after");

    sheet->exitButton()->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(sheetOn<ExportToGedcomController>(doc->dovurWindow()));
    EXPECT_FALSE(doc->hasAttachedSheet());
}

TEST_F(ExportWindows, RestoreBringsBackTheFirstValuesAndLivingPeopleFollowTheRecentlyDead)
{
    GedcomMenuActions::exportToGedcomFile();
    auto* sheet = sheetOn<ExportToGedcomController>(doc->dovurWindow());
    ASSERT_TRUE(sheet);
    for (const char* key : { "geIncludeLivingPeople", "geIncludeRecentlyDead", "geIncludeCustomTags" })
        sheet->optionBox(key)->setChecked(false);
    for (const char* key : { "geDepersonalizeLivingPeople", "geIndentGedcomLines" })
        sheet->optionBox(key)->setChecked(true);
    sheet->recentlyDeadYearsField()->setValue(10);
    sheet->depersonalizeOptionMenu()->setCurrentIndex(1);

    // Holding back the recently dead holds back the living too, whatever the living box says.
    sheet->optionBox("geIncludeLivingPeople")->setChecked(true);
    EXPECT_FALSE(GedcomExportOptions::fromUserDefaults().includeLivingPeople);

    sheet->restoreButton()->click();
    const QVariantMap& restore = GedcomExportOptions::restoreValues();
    for (auto it = restore.begin(); it != restore.end(); ++it) {
        SCOPED_TRACE(it.key().toStdString());
        EXPECT_EQ(UserDefaults::standard().objectForKey(it.key()).toString(), it.value().toString());
        if (QCheckBox* box = sheet->optionBox(it.key()))
            EXPECT_EQ(box->isChecked(), it.value().toBool());
    }
    EXPECT_EQ(sheet->recentlyDeadYearsField()->value(), 50);
    EXPECT_EQ(sheet->depersonalizeOptionMenu()->currentIndex(), 0);
    sheet->exitButton()->click();
}

TEST_F(ExportWindows, TheSubmissionWindowKeepsItsElevenTexts)
{
    LdsSubmissionDialog dialog;
    QStringList keys = GedcomExportOptions::submitterKeys() + GedcomExportOptions::submissionKeys();
    ASSERT_EQ(keys.size(), 11);
    for (const QString& key : keys) {
        EXPECT_TRUE(UserDefaults::standard().contains(key)) << key.toStdString();
        EXPECT_EQ(UserDefaults::standard().stringForKey(key), "");
        ASSERT_TRUE(dialog.field(key)) << key.toStdString();
    }
    dialog.field("LdsSubmitterName")->setText("Ann Archivist");
    dialog.field("LdsSubmissionTemple")->setText("LONDO");
    dialog.show();
    // The fields of both groups line up.
    for (const QString& key : keys)
        EXPECT_EQ(dialog.field(key)->mapTo(&dialog, QPoint()).x(),
            dialog.field(keys.first())->mapTo(&dialog, QPoint()).x()) << key.toStdString();
    screenshot(&dialog, "submission-dialog");
    dialog.accept();
    EXPECT_EQ(UserDefaults::standard().stringForKey("LdsSubmitterName"), "Ann Archivist");
    EXPECT_EQ(UserDefaults::standard().stringForKey("LdsSubmissionTemple"), "LONDO");

    // The export writes them.
    ExportToGedcom exporter(doc->moc());
    exporter.setOutputFolder(dir.path());
    ASSERT_TRUE(exporter.generateGedcomFile());
    const QStringList lines = gedcomLines(exporter.gedcomFilename());
    EXPECT_TRUE(lines.contains("1 NAME Ann Archivist"));
    EXPECT_TRUE(lines.contains("1 TEMP LONDO"));

    dialog.helpForLdsSubmitter();
    dialog.helpForLdsSubmission();
    ASSERT_EQ(prompts.records.size(), 2);
    EXPECT_EQ(prompts.records[0].text, LocalizedHelpString("helpForLdsSubmitterTitle"));
    EXPECT_EQ(prompts.records[1].info, LocalizedHelpString("helpForLdsSubmission"));
}

TEST_F(ExportWindows, AFileThatCannotBeMadeLeavesOnlyExit)
{
    GedcomMenuActions::exportToGedcomFile();
    auto* sheet = sheetOn<ExportToGedcomController>(doc->dovurWindow());
    ASSERT_TRUE(sheet);
    const QString blocker = dir.path() + "/blocker";
    QFile f(blocker);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    sheet->exporter().setOutputFolder(blocker + "/out");
    EXPECT_FALSE(sheet->generateButton()->isHidden());
    sheet->generateButton()->click();
    EXPECT_FALSE(prompts.records.isEmpty());
    EXPECT_FALSE(sheet->generateButton()->isEnabled());
    EXPECT_FALSE(sheet->showMeButton()->isEnabled());
    EXPECT_TRUE(sheet->exitButton()->isEnabled());
    EXPECT_EQ(sheet->messageLabel()->text(), LocalizedString("ExportGedNotWritten"));
    sheet->exitButton()->click();
    EXPECT_FALSE(sheet->isVisible());
}

TEST_F(ExportWindows, AncestorsAndDescendantsShowTheirOutlineAndExportTheirPeople)
{
    GedcomMenuActions::exportFocalPersonPlusAncestorsToGedcomFile();
    auto* ancestors = sheetOn<ExportPersonPlusAncestorsController>(doc->dovurWindow());
    ASSERT_TRUE(ancestors);
    // Natural, foster and adopted parents; not the step father.
    EXPECT_EQ(ancestors->countTextField()->text(), "5");
    EXPECT_EQ(ancestors->outline()->topLevelItemCount(), 1);
    EXPECT_THAT(ancestors->outline()->topLevelItem(0)->text(0).toStdString(), HasSubstr("Fay"));
    EXPECT_EQ(ancestors->outline()->topLevelItem(0)->childCount(), 3);
    screenshot(ancestors, "export-ancestors");
    // One generation: the parents show as leaves, the export holds only the focal person.
    ancestors->generationsField()->setValue(1);
    EXPECT_EQ(ancestors->numGenerations(), 1);
    EXPECT_EQ(ancestors->countTextField()->text(), "4");
    ancestors->generationsField()->setValue(100);
    EXPECT_EQ(ancestors->countTextField()->text(), "5");

    ancestors->generateButton()->click();
    EXPECT_TRUE(ancestors->generateButton()->isHidden());
    auto* sheet = sheetOn<ExportToGedcomController>(ancestors);
    ASSERT_TRUE(sheet);
    EXPECT_TRUE(sheet->exporter().selectiveExport());
    sheet->generateButton()->click();
    const QStringList written = namesInGedcom(sheet->gedcomFilename());
    EXPECT_EQ(names(written), (QStringList { "Fay", "Flo", "Fred", "Gus", "Mary" }))
        << written.join(", ").toStdString();
    sheet->exitButton()->click();
    ancestors->closeButton()->click();
    EXPECT_FALSE(ancestors->isVisible());

    GedcomMenuActions::exportFocalPersonPlusDescendantsToGedcomFile();
    auto* descendants = sheetOn<ExportPersonPlusDescendantsController>(doc->dovurWindow());
    ASSERT_TRUE(descendants);
    EXPECT_EQ(descendants->countTextField()->text(), "2");
    descendants->generationsField()->setValue(1);
    descendants->generateButton()->click();
    sheet = sheetOn<ExportToGedcomController>(descendants);
    ASSERT_TRUE(sheet);
    sheet->generateButton()->click();
    // One generation: the focal person with her husband.
    EXPECT_EQ(names(namesInGedcom(sheet->gedcomFilename())), (QStringList { "Fay", "Hal" }));
    sheet->exitButton()->click();
    descendants->closeButton()->click();
}

// Brother and sister marrying, generation after generation: each person is reached along twice as many lines
// as the one before. The outline expands each person once, at the nearest generation, so it stays small.
TEST_F(ExportWindows, AnInbredPedigreeShowsEachPersonsParentsOnce)
{
    const int generations = 30;
    const QString path = data + "/Ladder.RezUdu";
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::NewOnly));
        file.close();
        std::unique_ptr<FTMoc> moc = FTMoc::initForStoreURL(path, true);
        ASSERT_TRUE(moc);
        FTPerson* father = FTPerson::initInMoc(moc.get(), "Adam Ladder", "M");
        FTPerson* mother = FTPerson::initInMoc(moc.get(), "Eve Ladder", "F");
        for (int g = 1; g <= generations; ++g) {
            FTPerson* son = FTPerson::initInMoc(moc.get(), QString("Son%1 Ladder").arg(g), "M");
            FTPerson* daughter = FTPerson::initInMoc(moc.get(), QString("Daughter%1 Ladder").arg(g), "F");
            for (FTPerson* child : { son, daughter })
                for (FTPerson* parent : { father, mother }) {
                    FTPcRel* l = FTPcRel::initInMoc(moc.get());
                    l->setParent(parent);
                    l->setChild(child);
                    l->setPcRelType(FTPcRel::kNatural);
                }
            father = son;
            mother = daughter;
        }
        moc->setFocalPerson(father);
        ASSERT_TRUE(moc->saveMoc());
    }
    doc = openDatabase(path);
    ASSERT_TRUE(doc);
    GedcomMenuActions::exportFocalPersonPlusAncestorsToGedcomFile();
    auto* ancestors = sheetOn<ExportPersonPlusAncestorsController>(doc->dovurWindow());
    ASSERT_TRUE(ancestors);
    // The focal person, then per generation its two people, one expanded and one a repeat of each parent.
    EXPECT_EQ(ancestors->countTextField()->text(), QString::number(1 + 2 + 4 * (generations - 1)));
    // Three generations: the grandparents are expanded once each (their parents as leaves), repeated once.
    ancestors->setNumGenerations(3);
    EXPECT_EQ(ancestors->countTextField()->text(), "11");
    ancestors->generateButton()->click();
    auto* sheet = sheetOn<ExportToGedcomController>(ancestors);
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->exporter().setOfPeopleToExport().size(), 5);
    sheet->exitButton()->click();
    ancestors->closeButton()->click();
}

TEST_F(ExportWindows, AllRelativesSearchFillsBothTablesAndExportsTheConnectedPeople)
{
    GedcomMenuActions::exportFocalPersonPlusAllRelsToGedcomFile();
    auto* window = sheetOn<ExportPersonPlusAllRelsController>(doc->dovurWindow());
    ASSERT_TRUE(window);
    EXPECT_FALSE(window->generateButton()->isEnabled()) << "nothing to export before the search";
    // The search starts by itself shortly after the window shows.
    ASSERT_TRUE(waitFor([&] { return window->searched(); }, "the relatives search"));
    EXPECT_TRUE(window->generateButton()->isEnabled());
    EXPECT_EQ(window->numRelatedTextField()->text(), "9");
    EXPECT_EQ(window->numUnrelatedTextField()->text(), "4");
    EXPECT_EQ(names(rows(window->relatedTable())),
        (QStringList { "Fay", "Flo", "Fred", "Gus", "Hal", "Kit", "Mary", "Sid", "Wyn" }));
    const QStringList unrelated = rows(window->unrelatedTable());
    ASSERT_EQ(unrelated.size(), 5) << unrelated.join("|").toStdString();
    EXPECT_EQ(unrelated.count("-----------------------------------"), 1);
    screenshot(window, "export-all-relatives");

    window->generateButton()->click();
    auto* sheet = sheetOn<ExportToGedcomController>(window);
    ASSERT_TRUE(sheet);
    sheet->generateButton()->click();
    EXPECT_EQ(names(namesInGedcom(sheet->gedcomFilename())),
        (QStringList { "Fay", "Flo", "Fred", "Gus", "Hal", "Kit", "Mary", "Sid", "Wyn" }));
    sheet->exitButton()->click();
    window->closeButton()->click();
    EXPECT_FALSE(window->isVisible());
}

TEST_F(ExportWindows, TheDynastiesReportIsWrittenOnceAndOpened)
{
    WorkspaceFixture apps(dir.path(), "text/rtf");
    GedcomMenuActions::generateDynastiesReport();
    auto* window = sheetOn<ExportPersonPlusAllRelsController>(doc->dovurWindow());
    ASSERT_TRUE(window);
    window->startThread();
    window->generateButton()->click();
    const QString report = Utils::reportsDirectory() + "/Family_DynastiesReport.rtf";
    ASSERT_TRUE(QFileInfo::exists(report));
    EXPECT_EQ(apps.launched(), (QStringList { "--editor", report }));
    EXPECT_FALSE(window->generateButton()->isEnabled());
    EXPECT_TRUE(window->closeButton()->isEnabled());
    // The window names the file, then closes itself a little later.
    ASSERT_TRUE(window->search().reportWriter());
    EXPECT_EQ(window->progressMessage()->toolTip(), window->search().reportWriter()->savedMessage());
    EXPECT_THAT(window->progressMessage()->toolTip().toStdString(), HasSubstr(report.toStdString()));
    EXPECT_LE(window->progressMessage()->sizeHint().width(), window->progressMessage()->width());
    auto* timer = window->findChild<QTimer*>("reportCloseTimer");
    ASSERT_TRUE(timer);
    EXPECT_TRUE(timer->isActive());
    screenshot(window, "dynasties-report-saved");
    QFile f(report);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(f.readAll());
    EXPECT_THAT(text.toStdString(), HasSubstr("People NOT related to the Focal Person"));
    EXPECT_GT(text.indexOf("Una"), 0);
    EXPECT_LT(text.indexOf("Una"), text.indexOf("Fay"));
    QPointer<ExportPersonPlusAllRelsController> open(window);
    timer->start(0);
    EXPECT_TRUE(waitFor([&open] { return !open || !open->isVisible(); }, "the report window closing itself"));
}

TEST_F(ExportWindows, CommandsNeedADatabaseWindowAndTheMenusListThem)
{
    GedcomMenuActions::registerMenuItems(*app);
    QMainWindow* window = doc->dovurWindow();
    std::unique_ptr<QMenuBar> bar(app->createMainMenu(window));
    QStringList titles;
    for (QAction* menu : bar->actions())
        if (menu->menu())
            for (QAction* item : menu->menu()->actions())
                titles << menu->text() + " > " + item->text();
    for (const char* item : { "File > Import Gedcom...", "File > Export to Gedcom File...",
             "File > Export Focal Person plus Ancestors to Gedcom File...",
             "File > Export Focal Person plus Descendants to Gedcom File...",
             "File > Export Focal Person plus All Relatives to Gedcom File...", "Reports > Dynasties Report..." })
        EXPECT_TRUE(titles.contains(item)) << item;
    // The import is the one item that works with no database open.
    EXPECT_TRUE(MenuRules::itemsEnabledWithoutDocument().contains("Import Gedcom..."));

    DocumentController::shared().closeAllDocuments();
    prompts.clear();
    GedcomMenuActions::exportToGedcomFile();
    GedcomMenuActions::exportFocalPersonPlusAncestorsToGedcomFile();
    GedcomMenuActions::exportFocalPersonPlusDescendantsToGedcomFile();
    GedcomMenuActions::exportFocalPersonPlusAllRelsToGedcomFile();
    GedcomMenuActions::generateDynastiesReport();
    EXPECT_TRUE(prompts.records.isEmpty());
    EXPECT_FALSE(visibleWindow<ExportToGedcomController>());
    EXPECT_FALSE(visibleWindow<ExportPersonPlusGenerationsController>());
    EXPECT_FALSE(visibleWindow<ExportPersonPlusAllRelsController>());
}

} // namespace
