// The add-event buttons' menus and the add-child dialog's events table.
#include "../../shell/ui/ApplicationFixture.h"
#include "Screenshot.h"

#include "editor/AddEventReceiver.h"
#include "editor/ui/AddChildEventsTableView.h"
#include "editor/ui/AddEventButton.h"
#include "editor/ui/AddMarriageEventButton.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QStandardItemModel>
#include <QVBoxLayout>

#include <gmock/gmock.h>

using ::testing::ElementsAre;

namespace {

// A window that adds events, as the add-child and family dialogs do.
class RecordingDialog : public QDialog, public AddEventReceiver {
public:
    void addEventWithType(const QString& tag) override { tags << tag; }
    QStringList tags;
};

class AddEventButtons : public ApplicationFixture {
protected:
    void SetUp() override
    {
        ApplicationFixture::SetUp();
        auto* layout = new QVBoxLayout(&dialog);
        layout->addWidget(eventButton = new AddEventButton);
        layout->addWidget(marriageButton = new AddMarriageEventButton);
        eventButton->setDelegate(&dialog);
        dialog.resize(300, 120);
        dialog.show();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
        ApplicationFixture::TearDown();
    }
    // Presses the button as the mouse does; answers the menu that opened.
    static QMenu* press(QWidget* button, QPoint at = QPoint(8, 8))
    {
        QMouseEvent e(QEvent::MouseButtonPress, at, button->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
        QApplication::sendEvent(button, &e);
        return qobject_cast<QMenu*>(QApplication::activePopupWidget());
    }
    static QAction* item(QMenu* menu, const QString& title)
    {
        for (QAction* a : menu->actions()) {
            if (a->text() == title)
                return a;
            if (a->menu())
                if (QAction* inner = item(a->menu(), title))
                    return inner;
        }
        return nullptr;
    }

    RecordingDialog dialog;
    AddEventButton* eventButton = nullptr;
    AddMarriageEventButton* marriageButton = nullptr;
};

TEST_F(AddEventButtons, TheMenuOpensOnEveryPressAndHandsOnTheTag)
{
    eventButton->setEnabled(false);
    QMenu* menu = press(eventButton);
    ASSERT_NE(menu, nullptr);
    ASSERT_NE(item(menu, "LDS Baptism"), nullptr);
    EXPECT_EQ(menu->actions().last()->text(), LocalizedString("MarriageEvents"));
    saveScreenshot(menu, "editor-add-event-menu");
    item(menu, "LDS Baptism")->trigger();
    menu->close();
    // A bracketed remark after a name is not part of it.
    eventButton->setEventNamesArray({"Baptism (adult)", "SEPARATOR", LocalizedString("None")});
    menu = press(eventButton, QPoint(10, 12));
    // Where the button was pressed.
    EXPECT_EQ(menu->pos(), eventButton->mapToGlobal(QPoint(10, 12)));
    EXPECT_THAT(QStringList({menu->actions()[0]->text(), QString::number(menu->actions()[1]->isSeparator())}),
                ElementsAre("Baptism (adult)", "1"));
    item(menu, "Baptism (adult)")->trigger();
    item(menu, LocalizedString("None"))->trigger();
    item(menu, LocalizedString("MarriageEvents"))->trigger();
    menu->close();
    EXPECT_THAT(dialog.tags, ElementsAre("BAPL", "BAPM", LocalizedString("None")));
    EXPECT_THAT(texts(), ElementsAre(LocalizedString("marriageEventsMisuse")));

    // In the add-child dialog the menu opens at the button's right edge, raised for its length.
    eventButton->setEventNamesArray({"Baptism", "Burial"});
    eventButton->setOpensBesideButton(true);
    menu = press(eventButton);
    const int entries = 4; // two names, a separator and the marriage entry
    EXPECT_EQ(menu->pos(), eventButton->mapToGlobal(QPoint(eventButton->width(), eventButton->height() - 4 * entries)));
    menu->close();
}

TEST_F(AddEventButtons, TheMarriageMenuOpensBesideTheButtonOnlyWhenEnabled)
{
    marriageButton->setEnabled(false);
    EXPECT_EQ(press(marriageButton), nullptr);
    marriageButton->setEnabled(true);
    QMenu* menu = press(marriageButton);
    ASSERT_NE(menu, nullptr);
    const int entries = int(menu->actions().size());
    EXPECT_EQ(entries, 10);
    EXPECT_EQ(menu->pos(),
              marriageButton->mapToGlobal(QPoint(marriageButton->width(), marriageButton->height() - 4 * entries)));
    // The choice goes to the window, which adds events.
    item(menu, "Divorced")->trigger();
    menu->close();
    EXPECT_THAT(dialog.tags, ElementsAre("DIV"));
}

class AddChildEventsTable : public ApplicationFixture {
protected:
    void SetUp() override
    {
        ApplicationFixture::SetUp();
        model.setHorizontalHeaderLabels({"type", "name", "date", "place", "ageAtEvent"});
        for (const char* type : {"Birth", "Baptism", "Death"}) {
            QList<QStandardItem*> row;
            for (const QString& text : {QString(type), QString(), QString("1 Jan 1900"), QString("Leeds"), QString()})
                row << new QStandardItem(text);
            model.appendRow(row);
        }
        table.setModel(&model);
        table.setEventTypeColumn(0);
        table.resize(500, 150);
        table.show();
        QApplication::processEvents();
    }
    void click(int row, int column)
    {
        const QPoint at = table.visualRect(model.index(row, column)).center();
        QMouseEvent press(QEvent::MouseButtonPress, at, table.viewport()->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(table.viewport(), &press);
    }
    static void key(QWidget* w, int k)
    {
        QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier);
        QApplication::sendEvent(w, &press);
    }

    QStandardItemModel model;
    AddChildEventsTableView table;
};

TEST_F(AddChildEventsTable, OneClickEditsAndTheArrowsKeepTheColumn)
{
    // The type column takes clicks as a list does.
    click(0, 0);
    EXPECT_EQ(table.currentEditor(), nullptr);
    click(1, 2);
    auto* date = qobject_cast<QLineEdit*>(table.currentEditor());
    ASSERT_NE(date, nullptr);
    EXPECT_EQ(table.editingIndex(), model.index(1, 2));
    EXPECT_FALSE(date->hasSelectedText());
    EXPECT_EQ(date->cursorPosition(), date->text().size());
    date->setText("2 Feb 1900");
    key(date, Qt::Key_Down);
    EXPECT_EQ(model.item(1, 2)->text(), "2 Feb 1900");
    EXPECT_EQ(table.editingIndex(), model.index(2, 2));
    // The last row keeps the edit; so does the first row going up.
    key(table.currentEditor(), Qt::Key_Down);
    EXPECT_EQ(table.editingIndex(), model.index(2, 2));
    click(0, 3);
    key(table.currentEditor(), Qt::Key_Up);
    EXPECT_EQ(table.editingIndex(), model.index(0, 3));
    saveScreenshot(&table, "editor-add-child-events-table");

    // The columns keep the widths they were given.
    table.setColumnWidth(1, 150);
    table.resize(700, 150);
    QApplication::processEvents();
    EXPECT_EQ(table.columnWidth(1), 150);
}

}
