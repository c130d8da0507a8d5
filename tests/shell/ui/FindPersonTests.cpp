// The toolbar's find-person search in a database's main window: typing, the kinds menu, the floating result list,
// choosing a person, sorting by a column, hiding and showing the list again, and how it looks.
#include "ApplicationFixture.h"
#include "Screenshot.h"

#include "shell/ui/FamilyDiagramPane.h"
#include "shell/ui/FindPersonSearchField.h"
#include "shell/ui/ToolbarController.h"

#include "model/FTEvent.h"
#include "model/FTMocUndoManager.h"
#include "model/FTModelDefaults.h"
#include "model/FTPerson.h"

#include <QApplication>
#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QTableView>
#include <QToolBar>

#include <gmock/gmock.h>

using ::testing::ElementsAre;

namespace {

class FindPerson : public ApplicationFixture {
protected:
    void SetUp() override
    {
        ApplicationFixture::SetUp();
        start();
        doc = app->openDocumentWithContentsOfURL(makeDatabase(data + "/Royal.RezUdu", 20));
        ASSERT_NE(doc, nullptr) << texts().join("\n").toStdString();
        moc = doc->moc();
        // The queen, made by hand in a database of made-up families.
        moc->undoManager()->disableUndoRegistration();
        victoria = FTPerson::initInMoc(moc, "Alexandrina Victoria", "F");
        victoria->setTitle("Queen");
        victoria->setValueForKeyPath("birth.place", "Kensington Palace, London");
        victoria->setValueForKeyPath("birth.year", 1819);
        victoria->setValueForKeyPath("death.year", 1901);
        moc->undoManager()->enableUndoRegistration();
        ASSERT_TRUE(moc->saveMoc());
        toolbar = doc->toolbarController();
        field = toolbar->findPersonSearchField();
        window = doc->dovurWindow();
        window->show();
        window->activateWindow();
        QApplication::setActiveWindow(window);
        QCoreApplication::processEvents();
    }

    void type(QWidget* widget, const QString& text)
    {
        for (QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(widget, &press);
        }
    }
    void key(QWidget* widget, int k)
    {
        QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier);
        QApplication::sendEvent(widget, &press);
    }
    void click(QWidget* widget, QPoint at)
    {
        QMouseEvent press(
            QEvent::MouseButtonPress, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &press);
        QMouseEvent release(
            QEvent::MouseButtonRelease, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &release);
    }
    // Types into the field as the user does and presses Return.
    void searchFor(const QString& text)
    {
        field->setFocus();
        field->selectAll();
        key(field, Qt::Key_Delete);
        type(field, text);
        key(field, Qt::Key_Return);
    }
    QTableView* list() const { return toolbar->foundPeople(); }
    QString cell(int row, int column) const { return list()->model()->index(row, column).data().toString(); }
    void clickRow(int row) { click(list()->viewport(), list()->visualRect(list()->model()->index(row, 1)).center()); }
    void clickHeader(int section)
    {
        QHeaderView* header = list()->horizontalHeader();
        click(header->viewport(), QPoint(header->sectionViewportPosition(section) + 5, header->height() / 2));
    }
    QAction* kindItem(const QString& title) const
    {
        for (QAction* item : toolbar->searchMenu()->actions())
            if (item->text() == title)
                return item;
        return nullptr;
    }
    QString itemLabel() const
    {
        return toolbar->itemView(ToolbarController::kFindPerson)->findChild<QLabel*>()->text();
    }

    DOvurDocument* doc = nullptr;
    FTMoc* moc = nullptr;
    FTPerson* victoria = nullptr;
    ToolbarController* toolbar = nullptr;
    FindPersonSearchField* field = nullptr;
    QMainWindow* window = nullptr;
};

TEST_F(FindPerson, TypingVictoriaListsHerAndChoosingHerMakesHerFocal)
{
    FTPerson* before = moc->modelDefaults()->focalPerson();
    ASSERT_NE(before, victoria);
    searchFor("Victoria");
    ASSERT_NE(list(), nullptr);
    EXPECT_TRUE(list()->isVisible());
    ASSERT_EQ(list()->model()->rowCount(), 1);
    EXPECT_EQ(cell(0, 0), QString::number(victoria->numericId()));
    // (The family name is shown in capitals, as the application's defaults ask.)
    const QString name = victoria->name();
    ASSERT_EQ(name, "Alexandrina VICTORIA");
    EXPECT_EQ(cell(0, 1), name + " (1819 - 1901), Queen");
    EXPECT_EQ(cell(0, 2), "1819");
    EXPECT_EQ(list()->model()->headerData(1, Qt::Horizontal).toString(), "Found in Names and Titles");

    // Over the top right of the window's content, eight rows high for a short list.
    const QRect content = window->centralWidget()->geometry();
    EXPECT_EQ(list()->width(), 450);
    EXPECT_EQ(list()->y(), content.top());
    EXPECT_EQ(list()->geometry().right(), content.right() + 1);
    EXPECT_EQ(list()->height(), 8 * list()->verticalHeader()->defaultSectionSize());

    clickRow(0);
    EXPECT_FALSE(list()->isVisible());
    EXPECT_TRUE(list()->selectionModel()->selectedRows().isEmpty());
    EXPECT_EQ(moc->modelDefaults()->focalPerson(), victoria);
    EXPECT_EQ(moc->undoManager()->actionName(), "Focus on " + name + " (1819 - 1901)");
    EXPECT_THAT(toolbar->history().people(), ElementsAre(victoria, before));
    EXPECT_EQ(toolbar->focalPeopleComboBox()->currentText(), name + " (1819)");
    // The hidden list does not keep the keyboard, and the field does not open it again by itself.
    EXPECT_FALSE(list()->hasFocus());
    QCoreApplication::processEvents();
    EXPECT_FALSE(list()->isVisible());

    // One step to undo.
    moc->undoManager()->closeOpenGroups();
    prompts.answer(0);
    doc->undo();
    EXPECT_EQ(moc->modelDefaults()->focalPerson(), before);

    // Choosing the person already in focus leaves no step to undo.
    moc->setFocalPerson(victoria);
    moc->undoManager()->closeOpenGroups();
    const int steps = moc->undoManager()->undoCount();
    searchFor("alexandrina");
    clickRow(0);
    EXPECT_FALSE(list()->isVisible());
    moc->undoManager()->closeOpenGroups();
    EXPECT_EQ(moc->undoManager()->undoCount(), steps);
}

TEST_F(FindPerson, TheKindsMenuRelabelsTheFieldAndSearchesAgain)
{
    QStringList titles;
    for (QAction* item : toolbar->searchMenu()->actions())
        titles << (item->isSeparator() ? "-" : item->text());
    EXPECT_EQ(titles,
        (QStringList { "Names", "Names and Titles", "Notes", "Comments", "Place of Birth", "Place of Death",
            "Year of Birth", "Year of Death", "Cause of Death", "Year of Marriage", "Marriage Notes",
            "Personal Event Notes", "ID Number", "Reference Number", "Unconnected People", "-",
            "Advanced Search..." }));
    EXPECT_FALSE(toolbar->searchMenu()->actions().last()->isEnabled());
    EXPECT_TRUE(kindItem("Names and Titles")->isChecked());
    EXPECT_EQ(itemLabel(), "Find in Names and Titles");
    EXPECT_EQ(field->placeholderText(), "Find in Names and Titles");

    // Nothing found: one row that says so, which cannot be chosen.
    searchFor("kensington");
    ASSERT_EQ(list()->model()->rowCount(), 1);
    EXPECT_EQ(cell(0, 0), "");
    EXPECT_EQ(cell(0, 1), "No Names and Titles found for \"kensington\"");
    FTPerson* focal = moc->modelDefaults()->focalPerson();
    clickRow(0);
    EXPECT_TRUE(list()->isVisible());
    EXPECT_EQ(moc->modelDefaults()->focalPerson(), focal);

    // Another kind searches the same text at once.
    kindItem("Place of Birth")->trigger();
    EXPECT_TRUE(kindItem("Place of Birth")->isChecked());
    EXPECT_FALSE(kindItem("Names and Titles")->isChecked());
    EXPECT_EQ(itemLabel(), "Find in Place of Birth");
    EXPECT_EQ(field->placeholderText(), "Find in Place of Birth");
    EXPECT_EQ(UserDefaults::standard().stringForKey("currentSearchMenuOption"), "Place of Birth");
    ASSERT_EQ(list()->model()->rowCount(), 1);
    EXPECT_EQ(cell(0, 1), victoria->name() + " (1819 - 1901), born Kensington Palace, London");
    EXPECT_EQ(list()->model()->headerData(1, Qt::Horizontal).toString(), "Found in Place of Birth");
}

TEST_F(FindPerson, ClickingAColumnHeaderSorts)
{
    kindItem("Names")->trigger();
    searchFor(" "); // no word: everyone
    const int rows = list()->model()->rowCount();
    ASSERT_EQ(rows, 21);
    auto ids = [&] {
        QList<int> out;
        for (int row = 0; row < rows; ++row)
            out << cell(row, 0).toInt();
        return out;
    };
    clickHeader(0);
    QList<int> ascending = ids();
    EXPECT_TRUE(std::is_sorted(ascending.begin(), ascending.end()));
    EXPECT_TRUE(list()->horizontalHeader()->isSortIndicatorShown());
    EXPECT_EQ(list()->horizontalHeader()->sortIndicatorOrder(), Qt::AscendingOrder);
    clickHeader(0);
    QList<int> descending = ids();
    EXPECT_TRUE(std::is_sorted(descending.rbegin(), descending.rend()));
    EXPECT_EQ(list()->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);

    clickHeader(2);
    QList<int> years;
    for (int row = 0; row < rows; ++row)
        years << cell(row, 2).toInt();
    EXPECT_TRUE(std::is_sorted(years.begin(), years.end()));
    EXPECT_TRUE(list()->isVisible());

    // A new search shows its own order, without a sort mark.
    searchFor("alexandrina");
    EXPECT_FALSE(list()->horizontalHeader()->isSortIndicatorShown());
}

TEST_F(FindPerson, TheListHidesWhenTheUserWorksElsewhereAndComesBackInTheField)
{
    searchFor("alexandrina");
    ASSERT_TRUE(list()->isVisible());
    doc->pcd()->setFocus();
    EXPECT_FALSE(list()->isVisible());
    field->setFocus(); // clicking into the field shows the last results again
    EXPECT_TRUE(list()->isVisible());
    EXPECT_EQ(list()->model()->rowCount(), 1);
    key(field, Qt::Key_Escape);
    EXPECT_FALSE(list()->isVisible());

    // A click into the field, which still has the keyboard, shows them again; a changed name shows at once.
    ASSERT_TRUE(field->hasFocus());
    click(field, QPoint(20, field->height() / 2));
    ASSERT_TRUE(list()->isVisible());
    victoria->setName("Alexandrina Regina");
    EXPECT_TRUE(cell(0, 1).startsWith(victoria->name() + " (1819 - 1901)")) << cell(0, 1).toStdString();

    // A person deleted leaves the list; after an undo the list is checked when it is next shown.
    doc->pcd()->setFocus();
    NotificationCenter::defaultCenter().post("PersonToBeDeleted", victoria, moc);
    EXPECT_EQ(toolbar->search().rowCount(), 0);

    searchFor("alexandrina");
    ASSERT_EQ(toolbar->search().rowCount(), 1);
    doc->pcd()->setFocus();
    moc->deleteObject(victoria);
    toolbar->validateArrays();
    field->setFocus();
    EXPECT_EQ(list()->model()->rowCount(), 0);

    // The list follows the font size.
    toolbar->changeFontSize(14);
    EXPECT_EQ(list()->font().pointSize(), QApplication::font().pointSize() + 3);
}

TEST_F(FindPerson, TheMainWindowWithTheListOpenLooksRight)
{
    kindItem("Names")->trigger();
    searchFor(" ");
    ASSERT_TRUE(list()->isVisible());
    ASSERT_EQ(list()->model()->rowCount(), 21);
    QCoreApplication::processEvents();
    const QImage image = window->grab().toImage();
    ASSERT_TRUE(image.save(dir.path() + "/find-person.png"));
    if (const QByteArray keep = qgetenv("KINLOOM_SCREENSHOT_DIR"); !keep.isEmpty())
        image.save(QString::fromLocal8Bit(keep) + "/find-person.png");
    // The list is drawn over the window: text in many colours where the empty diagram is one flat colour.
    const QRect area = list()->geometry().intersected(image.rect());
    ASSERT_FALSE(area.isEmpty());
    QSet<QRgb> colours;
    for (int y = area.top(); y < area.bottom(); y += 2)
        for (int x = area.left(); x < area.right(); x += 2)
            colours.insert(image.pixel(x, y));
    EXPECT_GT(colours.size(), 10);
    // The list lies below the toolbar and ends inside the window.
    EXPECT_GE(list()->y(), window->findChild<QToolBar*>("KinloomToolbar")->geometry().bottom());
    EXPECT_LE(list()->geometry().bottom(), window->height());
}

// ID numbers show whole however high the database has counted, at any text size of the list.
TEST_F(FindPerson, TheIdColumnShowsWholeNumbers)
{
    moc->modelDefaults()->setMaxPersonId(123456);
    victoria->setNumericId(123456);
    kindItem("Names")->trigger();
    searchFor(" ");
    ASSERT_TRUE(list()->isVisible());
    for (int size : {11, 16}) {
        toolbar->setFoundPeopleFontSize(size);
        const QFontMetrics metrics(list()->font());
        EXPECT_GT(list()->columnWidth(0), metrics.horizontalAdvance("123456") + 4) << size;
        EXPECT_GT(list()->columnWidth(2), metrics.horizontalAdvance("1819") + 4) << size;
        // The name column keeps the rest.
        EXPECT_GT(list()->columnWidth(1), list()->columnWidth(0) * 2) << size;
    }
    saveScreenshot(window, "find-person-whole-ids");
}

}
