// The windows that read sources from another database file: copying sources (a sheet on the main window) and
// merging one source's fields (modal), each with the choice of the other database, on two small databases.

#include "SourcesWindowFixture.h"

#include "sources/ui/CloneSources.h"
#include "sources/ui/MergeSourcesFromAnotherDatabase.h"
#include "sources/ui/OtherDatabaseChooser.h"

#include "model/FTMocUndoManager.h"

#include "platform/Localizer.h"

#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QTableView>

#include <gmock/gmock.h>

using ::testing::ElementsAre;

namespace {
QString L(const char* key)
{
    return LocalizedString(key);
}
}

class OtherDatabaseWindows : public SourcesWindowFixture {
protected:
    // A database file with these sources, closed again.
    QString otherDatabase(const QString& path, std::initializer_list<Fields> sources)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.close();
        std::unique_ptr<FTMoc> other = FTMoc::initForStoreURL(path, true);
        EXPECT_NE(other, nullptr);
        for (const Fields& fields : sources) {
            FTSource* s = FTSource::initInMoc(other.get());
            for (const auto& [key, value] : fields)
                s->setValueForKey(key, QString::fromUtf8(value));
        }
        EXPECT_TRUE(other->saveMoc());
        return path;
    }
    QString oldDatabase(const QString& path)
    {
        otherDatabase(path, {});
        std::unique_ptr<FTMoc> old = FTMoc::initForStoreURL(path, true);
        old->setMetadataValue(FTMoc::kMomKey, "DOvurV5");
        EXPECT_TRUE(old->save());
        return path;
    }
    QStringList comboItems(OtherDatabaseChooser* chooser) const
    {
        QStringList items;
        for (int i = 0; i < chooser->comboBox()->count(); ++i)
            items << chooser->comboBox()->itemText(i);
        return items;
    }
    static void choose(OtherDatabaseChooser* chooser, const QString& name)
    {
        const int index = chooser->comboBox()->findText(name);
        ASSERT_GE(index, 0) << name.toStdString();
        Q_EMIT chooser->comboBox()->activated(index);
    }
    static void selectTitles(QTableView* table, SourceListModel* list, const QStringList& titles)
    {
        QItemSelection selection;
        for (int row = 0; row < list->rowCount(); ++row)
            if (titles.contains(list->sourceAt(row)->title()))
                selection.select(list->index(row, 0), list->index(row, SourceListModel::ColumnCount - 1));
        table->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    }
};

TEST_F(OtherDatabaseWindows, CloneSourcesCopiesTheChosenSourcesOnce)
{
    source(1, { { "title", "Parish register" } });
    moc->saveMoc();
    otherDatabase(data + "/Other.RezUdu",
        { { { "type", "Census" }, { "title", "1881 census of Kew" }, { "author", "GRO" } },
            { { "type", "Will" }, { "title", "Will of John Brown" } }, { { "title", "Directory of Kew" } } });
    oldDatabase(data + "/Old.RezUdu");

    SourcesMenuActions::cloneSourcesFromAnotherDatabase();
    auto* sheet = doc->dovurWindow()->findChild<CloneSources*>();
    ASSERT_NE(sheet, nullptr);
    ASSERT_TRUE(sheet->isVisible());
    OtherDatabaseChooser* chooser = sheet->chooser();
    // Neither the open database nor one of another version is offered.
    EXPECT_THAT(comboItems(chooser), ElementsAre(L("SelectADb"), "Other.RezUdu"));
    EXPECT_EQ(chooser->comboBox()->palette().color(QPalette::ButtonText), QColor(Qt::red));
    choose(chooser, L("SelectADb"));
    EXPECT_EQ(sheet->sourceMoc(), nullptr);

    prompts.clear();
    sheet->cloneSelectedSources();
    EXPECT_THAT(texts(), ElementsAre(L("SelectSources")));

    choose(chooser, "Other.RezUdu");
    ASSERT_NE(sheet->sourceMoc(), nullptr);
    EXPECT_EQ(chooser->comboBox()->palette().color(QPalette::ButtonText), QColor(Qt::black));
    ASSERT_EQ(sheet->sourcesArrayController()->rowCount(), 3);
    selectTitles(sheet->tv(), sheet->sourcesArrayController(), { "1881 census of Kew", "Will of John Brown" });
    saveScreenshot(sheet, "CloneSources");

    prompts.clear();
    sheet->findChild<QPushButton*>("cloneSelectedSources")->click();
    EXPECT_THAT(texts(), ElementsAre("2 " + L("Source") + L("hasPlural") + " " + L("CopiedSources3")));
    EXPECT_EQ(moc->count<FTSource>(), 3);
    EXPECT_TRUE(moc->hasChanges()); // the window saves nothing
    prompts.clear();
    sheet->cloneSelectedSources();
    EXPECT_THAT(texts(),
        ElementsAre("0 " + L("CopiedSources1") + "\n\n2 " + L("CopiedSources2") + L("wasPlural") + " " + L("ignored")
            + ".\n\n"));
    EXPECT_EQ(moc->count<FTSource>(), 3);

    // The other database closes with the sheet, and was never written.
    sheet->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    std::unique_ptr<FTMoc> again = FTMoc::initForStoreURL(data + "/Other.RezUdu", true);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->count<FTSource>(), 3);
}

TEST_F(OtherDatabaseWindows, BrowsingRefusesTheOpenDatabaseAndFilesOfNoDatabase)
{
    const QString elsewhere = otherDatabase(dir.path() + "/elsewhere/Cousins.RezUdu", { { { "title", "Bible" } } });
    QFile text(data + "/Notes.RezUdu");
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a database");
    text.close();

    SourcesMenuActions::cloneSourcesFromAnotherDatabase();
    auto* sheet = doc->dovurWindow()->findChild<CloneSources*>();
    ASSERT_NE(sheet, nullptr);
    OtherDatabaseChooser* chooser = sheet->chooser();

    // The open-file panel, as the user sees it, on the open database's own file.
    chooser->browse();
    auto* panel = sheet->findChild<QFileDialog*>("browsePanel");
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(QDir(panel->directory()).absolutePath(), QDir(data).absolutePath());
    prompts.clear();
    panel->selectFile(moc->databaseURL());
    QMetaObject::invokeMethod(panel, "accept"); // the Open button
    EXPECT_THAT(texts(), ElementsAre(L("SameDbSelected")));
    EXPECT_EQ(sheet->sourceMoc(), nullptr);
    EXPECT_EQ(chooser->comboBox()->currentText(), L("SelectADb"));

    prompts.clear();
    chooser->browseDidEnd(data + "/Notes.RezUdu");
    ASSERT_EQ(texts().size(), 1);
    EXPECT_TRUE(texts()[0].startsWith(data + "/Notes.RezUdu\n\n" + L("UnkDbModel")));
    EXPECT_EQ(sheet->sourceMoc(), nullptr);

    prompts.clear();
    chooser->browseDidEnd(elsewhere);
    EXPECT_TRUE(texts().isEmpty());
    EXPECT_EQ(chooser->directory(), QFileInfo(elsewhere).absolutePath());
    EXPECT_EQ(chooser->comboBox()->currentText(), "Cousins.RezUdu");
    ASSERT_NE(sheet->sourceMoc(), nullptr);
    EXPECT_EQ(sheet->sourcesArrayController()->rowCount(), 1);
    EXPECT_EQ(moc->count<FTSource>(), 0); // the open database is as it was
    sheet->close();
}

TEST_F(OtherDatabaseWindows, MergeSourcesFollowsTheTitleAndMergesTheFieldsAsOneUndo)
{
    FTSource* register1 = source(3, { { "type", "Register" }, { "title", "Parish Register of St Anne" } });
    source(4, { { "title", "Will of John Brown" } });
    source(6, { { "title", "Directory of Kew" }, { "author", "Kelly" } });
    moc->saveMoc();
    otherDatabase(data + "/Other.RezUdu",
        { { { "type", "Parish register" }, { "title", "PARISH register of St Anne" }, { "author", "Vicar" },
              { "location", "County record office" } },
            { { "title", "Letters" } }, { { "title", "Directory of Kew" }, { "author", "Kelly" } } });

    bool ran = false;
    QTimer::singleShot(0, [&] {
        auto* window = qobject_cast<MergeSourcesFromAnotherDatabase*>(QApplication::activeModalWidget());
        if (!window) {
            ADD_FAILURE() << "no merge window";
            return;
        }
        ran = true;
        struct Close {
            MergeSourcesFromAnotherDatabase* w;
            ~Close() { w->close(); }
        } closeAtEnd { window };
        OtherDatabaseChooser* chooser = window->chooser();
        EXPECT_EQ(window->message(), L("SourceAndTargetSame"));
        // The open database's own file, chosen by browsing, is refused.
        prompts.clear();
        chooser->browseDidEnd(moc->databaseURL());
        EXPECT_THAT(texts(), ElementsAre(L("SameDbSelected")));

        choose(chooser, "Other.RezUdu");
        ASSERT_NE(window->moc1(), nullptr);
        SourceListModel* side1 = window->m1SourcesArrayController();
        ASSERT_EQ(side1->rowCount(), 3);
        EXPECT_EQ(side1->sourceAt(0)->title(), "Directory of Kew"); // by title

        // Letter case aside, the titles match.
        selectTitles(window->tv1(), side1, { "PARISH register of St Anne" });
        EXPECT_EQ(window->m2Source(), register1);
        EXPECT_THAT(window->findMatchForM1Source(), ElementsAre(1));
        for (const QString& key : { "numericId", "type", "title", "author", "location" })
            EXPECT_EQ(window->fieldColour(key), QColor(Qt::blue)) << key.toStdString();
        EXPECT_EQ(window->fieldColour("date"), QColor(Qt::black));
        EXPECT_EQ(window->message(), "5 " + L("field") + L("isPlural") + " " + L("different") + ".");
        // The type is read whole.
        QTableView* tv1 = window->tv1();
        EXPECT_GT(tv1->columnWidth(SourceListModel::TypeColumn),
            tv1->fontMetrics().horizontalAdvance("Parish register") + 6);
        saveScreenshot(window, "MergeSourcesFromAnotherDatabase");

        prompts.clear();
        window->findChild<QPushButton*>("mergeTheSelectedSource")->click();
        EXPECT_THAT(texts(), ElementsAre("4 " + L("field") + L("wasPlural") + " " + L("merged")));
        EXPECT_EQ(register1->title(), "PARISH register of St Anne");
        EXPECT_EQ(register1->author(), "Vicar");
        EXPECT_EQ(register1->numericId(), 3);
        EXPECT_EQ(window->message(), "1 " + L("field") + L("is") + " " + L("different") + ".");
        moc->undoManager()->undo();
        EXPECT_EQ(register1->type(), "Register");
        EXPECT_EQ(register1->title(), "Parish Register of St Anne");
        EXPECT_TRUE(register1->isNil(Key("author")));
        EXPECT_TRUE(register1->isNil(Key("location")));

        // No source of that title here: side 2 is cleared and the merge asks for a target.
        selectTitles(window->tv1(), side1, { "Letters" });
        EXPECT_EQ(window->m2Source(), nullptr);
        EXPECT_TRUE(window->tv2()->selectionModel()->selectedRows().isEmpty());
        prompts.clear();
        window->mergeTheSelectedSource();
        EXPECT_THAT(texts(), ElementsAre(L("MergeSrcTryAgain1") + " " + L("TargetDb") + " " + L("MergeSrcTryAgain2")));
    });
    SourcesMenuActions::mergeSourcesFromAnotherDatabase();
    EXPECT_TRUE(ran);
    // Closed with the window: the other database may be opened again at once.
    EXPECT_NE(FTMoc::initForStoreURL(data + "/Other.RezUdu", true), nullptr);
}
