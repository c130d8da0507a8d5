// The family group sheet, the personal timeline and On This Day in the running program: opened from their menu
// items and from the person editor, shown, used and closed.
#include "ReportSheetsFixture.h"

#include "reports/OnThisDaySearch.h"
#include "reports/ui/FamilyGroupSheetDialog.h"
#include "reports/ui/OnThisDay.h"
#include "reports/ui/PersonalTimeline.h"
#include "reports/ui/PersonalTimelineView.h"
#include "reports/ui/ReportsMenuActions.h"

#include "editor/ui/EditorPage.h"
#include "editor/ui/InfoAreaController.h"

#include "model/Dates.h"
#include "model/FTEvent.h"
#include "model/FTPcRel.h"
#include "model/FTSpouseRel.h"
#include "model/ModelFlags.h"

#include "shell/Utils.h"

#include "WorkspaceFixture.h"

#include <QCheckBox>
#include <QDate>
#include <QDir>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTextEdit>
#include <QTextTable>
#include <QTimer>
#include <QToolButton>

#include <gmock/gmock.h>

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

class ReportWindows : public ReportSheetsFixture {
protected:
    void SetUp() override
    {
        ReportSheetsFixture::SetUp();
        if (HasFatalFailure())
            return;
        FTMoc* moc = doc->moc();
        ann = newPerson(moc, "Ann Root", LocalizedString("FemaleShort"), "12 May 1951", "Leeds");
        hal = newPerson(moc, "Hal Hart", LocalizedString("MaleShort"), "3 Feb 1949", "York");
        auto* couple = FTSpouseRel::initInMoc(moc);
        couple->addPartnersObject(ann);
        couple->addPartnersObject(hal);
        couple->setValueForKeyPath("marriage.date", "20 Jun 1975");
        couple->setValueForKeyPath("marriage.place", "York");
        ivy = newPerson(moc, "Ivy Hart", LocalizedString("FemaleShort"), "9 Sep 1976", "York");
        for (FTPerson* parent : {ann, hal}) {
            FTPcRel* link = FTPcRel::initInMoc(moc);
            link->setParent(parent);
            link->setChild(ivy);
            link->setPcRelType(FTPcRel::kNatural);
        }
        ann->setValueForKeyPath("death.date", "1 Feb 2003");
        ann->setTitle("Teacher");
        select(ann);
        ASSERT_TRUE(moc->saveMoc());
        prompts.clear();
    }

    FTPerson *ann = nullptr, *hal = nullptr, *ivy = nullptr;
};

TEST_F(ReportWindows, TheFamilyGroupSheetIsEditedInItsCellsAndSavedAsRtf)
{
    WorkspaceFixture apps(dir.path(), "text/rtf");
    QPointer<FamilyGroupSheetDialog> window = ReportsMenuActions::generateFamilyGroupSheet();
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isModal());
    EXPECT_EQ(window->windowTitle(), "Family Group Sheet for Ann ROOT (1951 - 2003)");
    QTextEdit* text = window->textView();
    EXPECT_THAT(text->toPlainText().toStdString(), HasSubstr("Daughter: Ivy HART"));
    saveScreenshot(window, "family-group-sheet");

    // Typing inside a cell changes it; the key that would reach the cell's end is refused.
    QTextTable* table = nullptr;
    for (QTextFrame* frame : text->document()->rootFrame()->childFrames())
        if ((table = qobject_cast<QTextTable*>(frame)))
            break;
    ASSERT_TRUE(table);
    QTextCursor c(text->document());
    c.setPosition(table->cellAt(0, 1).firstPosition());
    text->setTextCursor(c);
    type(text, "Dr ");
    EXPECT_THAT(text->toPlainText().toStdString(), HasSubstr("Dr Name: Ann ROOT"));
    const QString before = text->toPlainText();
    c.setPosition(table->cellAt(0, 1).lastPosition());
    text->setTextCursor(c);
    key(text, Qt::Key_X, "x");
    key(text, Qt::Key_Delete);
    EXPECT_EQ(text->toPlainText(), before);
    // A selection dragged into the next row stops at the end of its cell.
    c.setPosition(table->cellAt(0, 1).firstPosition());
    c.setPosition(table->cellAt(1, 1).firstPosition() + 2, QTextCursor::KeepAnchor);
    text->setTextCursor(c);
    EXPECT_EQ(text->textCursor().selectionEnd(), table->cellAt(0, 1).lastPosition());

    // An option rebuilds the sheet from the database: the edit is gone.
    window->optionBox(&FamilyGroupSheet::Options::showTitleOccupation)->setChecked(false);
    EXPECT_THAT(text->toPlainText().toStdString(), Not(HasSubstr("Dr Name")));
    EXPECT_THAT(text->toPlainText().toStdString(), Not(HasSubstr("Teacher")));
    window->optionBox(&FamilyGroupSheet::Options::showBirthDatesOfLiving)->setChecked(false);
    EXPECT_THAT(text->toPlainText().toStdString(), HasSubstr("Born: Living person"));

    // A sheet that cannot be written is reported and the window stays.
    const QString reports = Utils::reportsDirectory();
    QFile::setPermissions(reports, QFile::ReadOwner | QFile::ExeOwner);
    const bool readOnly = !QFile(reports + "/probe").open(QIODevice::WriteOnly);
    if (readOnly) {
        window->saveButton()->click();
        EXPECT_EQ(prompts.records.size(), 1u);
        EXPECT_TRUE(window && window->isVisible());
        EXPECT_TRUE(apps.launched().isEmpty());
    }
    QFile::setPermissions(reports, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile::remove(reports + "/probe");
    prompts.clear();

    window->saveButton()->click();
    const QString path = reports + "/Ann ROOT (1951 - 2003).rtf";
    ASSERT_TRUE(QFileInfo::exists(path)) << QDir(reports).entryList().join(", ").toStdString();
    EXPECT_EQ(apps.launched(), (QStringList{"--editor", path}));
    EXPECT_TRUE(prompts.records.isEmpty()) << texts().join("\n").toStdString();
    QApplication::processEvents();
    EXPECT_FALSE(window) << "the window closes once its sheet is saved";

    // The two kept options carry over to the next sheet; the others start afresh.
    window = ReportsMenuActions::generateFamilyGroupSheet();
    ASSERT_TRUE(window);
    EXPECT_FALSE(window->options().showBirthDatesOfLiving);
    EXPECT_TRUE(window->options().showTitleOccupation);
    window->optionBox(&FamilyGroupSheet::Options::showBirthDatesOfLiving)->setChecked(true);
    window->close();
    EXPECT_FALSE(doc->moc()->hasChanges());
}

TEST_F(ReportWindows, TheTimelineOpensFromTheEventsPageAndKeepsItsSize)
{
    InfoAreaController* editor = editorOf(doc);
    ASSERT_TRUE(editor->choosePage("pEvents"));
    select(ann);
    QApplication::processEvents();
    EditorPage* events = editor->page("pEvents");
    ASSERT_TRUE(events);
    auto* button = events->findChild<QToolButton*>("timelineButton");
    ASSERT_TRUE(button);
    QSize shown;
    QTimer::singleShot(0, [&] {
        PersonalTimeline* timeline = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* t = qobject_cast<PersonalTimeline*>(w); t && t->isVisible())
                timeline = t;
        ASSERT_TRUE(timeline);
        EXPECT_TRUE(timeline->isModal());
        EXPECT_EQ(timeline->windowTitle(), "Timeline of Ann ROOT (1951 - 2003)");
        EXPECT_EQ(timeline->timelineView()->person(), ann);
        saveScreenshot(timeline, "personal-timeline");
        timeline->resize(800, 500);
        shown = timeline->size();
        timeline->close();
    });
    button->click();
    EXPECT_EQ(shown, QSize(800, 500));
    EXPECT_TRUE(prompts.records.isEmpty()) << texts().join("\n").toStdString();

    PersonalTimeline again(ann);
    EXPECT_EQ(again.size(), shown) << "the next timeline opens at the size the last one closed at";
}

TEST_F(ReportWindows, OnThisDayListsTodaysEventsAndLeavesDatesGregorian)
{
    const QDate today = QDate::currentDate();
    auto* e = FTEvent::initInMoc(doc->moc(), FTEvent::OtherPersonalEvent, ivy, "GRAD");
    e->setDate(Dates::dateStringFor(0, today.day(), today.month(), 1998));
    e->setPlace("Leeds");
    auto* f = FTEvent::initInMoc(doc->moc(), FTEvent::OtherPersonalEvent, hal, "RESI");
    f->setDate(Dates::dateStringFor(0, today.day(), today.month(), 1960));
    const QString gregorian = e->date();
    // An event of 1998 on the Hebrew day and month of today.
    const QString target = OnThisDaySearch::hebrewTarget(today.day(), today.month(), today.year());
    QDate sameHebrewDay(1998, 1, 1);
    while (sameHebrewDay.year() == 1998 && !Dates::hebrewDateFor(sameHebrewDay).startsWith(target + " "))
        sameHebrewDay = sameHebrewDay.addDays(1);
    ASSERT_EQ(sameHebrewDay.year(), 1998) << target.toStdString();
    auto* h = FTEvent::initInMoc(doc->moc(), FTEvent::OtherPersonalEvent, ann, "RESI");
    h->setDate(Dates::dateStringFor(0, sameHebrewDay.day(), sameHebrewDay.month(), 1998));
    ASSERT_TRUE(doc->moc()->saveMoc());

    whenModal([&](QDialog* dialog) {
        auto* window = qobject_cast<OnThisDay*>(dialog);
        ASSERT_TRUE(window);
        EXPECT_EQ(window->dayOfMonth(), today.day());
        EXPECT_EQ(window->monthOfYear(), today.month());
        ASSERT_GE(window->eventsArray().size(), 2);
        EXPECT_EQ(window->eventsArray().first(), e) << "newest first";
        window->dateColumnClicked();
        EXPECT_EQ(window->eventsArray().last(), e);
        saveScreenshot(window, "on-this-day");

        window->setHebrewCalendar(true);
        EXPECT_TRUE(gHebrewDates);
        EXPECT_TRUE(window->eventsArray().contains(h));
        EXPECT_NE(e->date(), gregorian) << "every date reads Hebrew";
        saveScreenshot(window, "on-this-day-hebrew");
        window->setDayOfMonth(0);
        EXPECT_EQ(prompts.records.size(), 1u) << "a whole month has no Hebrew search";
        EXPECT_TRUE(window->eventsArray().contains(h)) << "the list stays as it was";
        window->reject();  // Escape
    });
    ReportsMenuActions::onThisDay();
    EXPECT_FALSE(gHebrewDates);
    EXPECT_EQ(e->date(), gregorian);
    EXPECT_FALSE(doc->moc()->hasChanges()) << "On This Day only reads";
}

}
