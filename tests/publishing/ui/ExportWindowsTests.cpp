// The File menu's two exports as the user runs them: the calendar window and the contact-cards window, each run
// modally on the open database, writing into the reports folder and handing the file to the desktop.

#include "../../gedcom/ui/GedcomWindowFixture.h"
#include "WorkspaceFixture.h"

#include "publishing/AddressBookExport.h"
#include "publishing/ui/ExportBirthdaysTo_iCal.h"
#include "publishing/ui/ExportPeopleToAddressBook.h"
#include "publishing/ui/PublishingMenuActions.h"

#include "model/FTEvent.h"

#include "shell/Utils.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTextEdit>

namespace {
class ExportWindows : public GedcomWindowFixture {
protected:
    void SetUp() override
    {
        GedcomWindowFixture::SetUp();
        start();
        doc = openDatabase(makeFamilyDatabase("Family"));
        ASSERT_TRUE(doc);
        moc = doc->moc();
        const int thisYear = QDate::currentDate().year();
        // Everybody born in the last sixty years, on the first of a month; nobody has died.
        int month = 1;
        for (FTPerson* p : moc->fetch<FTPerson>()) {
            p->setValueForKeyPath("birth.date", QString("1 %1 %2").arg(QLocale::c().monthName(month, QLocale::ShortFormat)).arg(thisYear - 20 - month));
            month = month % 12 + 1;
        }
        moc->saveMoc();
    }
    QStringList reports() const { return QDir(Utils::reportsDirectory()).entryList(QDir::Files, QDir::Name); }

    DOvurDocument* doc = nullptr;
    FTMoc* moc = nullptr;
};
}

TEST_F(ExportWindows, TheCalendarWindowCountsWhomItCoversAndHandsTheFileOver)
{
    WorkspaceFixture desktop(TestSupport::tempRoot(), "text/calendar");
    const int everybody = moc->fetch<FTPerson>().size();
    bool ran = false;
    whenShown<ExportBirthdaysTo_iCal>([](ExportBirthdaysTo_iCal*) { return true; }, [&](ExportBirthdaysTo_iCal* w) {
        ran = true;
        EXPECT_EQ(w->numPeopleField()->text(), QString::number(everybody));
        EXPECT_EQ(w->textView()->toPlainText(), LocalizedString("ExportAllToCalendar"));
        // One step from Fay: her parents, foster and step parents, husband and son.
        w->kinshipField()->setValue(1);
        EXPECT_EQ(w->numPeopleField()->text(), QString::number(moc->focalPerson()->peopleInKinship(1).size()));
        EXPECT_TRUE(w->textView()->toPlainText().contains("\"" + moc->focalPerson()->name() + "\""));
        w->displayAlarmCheckBox()->setChecked(true);
        screenshot(w, "publishing-ical-window");

        w->goButton()->click();
        ASSERT_EQ(reports().size(), 1);
        const QString path = Utils::reportsDirectory() + "/" + reports().first();
        EXPECT_EQ(reports().first(), "Family_" + LocalizedString("CalendarFilename") + ".ics");
        EXPECT_EQ(texts().last(), LocalizedString("OutputInFilename") + ": " + path);
        EXPECT_EQ(desktop.launched(), QStringList({"--editor", path}));
        EXPECT_TRUE(w->textView()->toPlainText().endsWith(w->exporter().statistics()));
        EXPECT_EQ(w->exporter().numAlarms, w->exporter().numBirths);
        EXPECT_TRUE(w->goButton()->isEnabled());
        screenshot(w, "publishing-ical-window-done");

        // An e-mail alarm with no address to send it to writes nothing.
        w->emailAlarmCheckBox()->setChecked(true);
        w->emailAddressField()->clear();
        w->goButton()->click();
        EXPECT_EQ(texts().last(), LocalizedString("iCalEmailWarn"));
        EXPECT_EQ(reports().size(), 1);
        w->exitButton()->click();
    });
    PublishingMenuActions::exportBirthDaysToICal();
    EXPECT_TRUE(ran);
}

TEST_F(ExportWindows, TheContactsWindowMakesAGroupAndAddsToItOnlyWhenAsked)
{
    WorkspaceFixture desktop(TestSupport::tempRoot(), "text/vcard");
    FTPerson* fay = moc->focalPerson();
    FTPerson* kit = nullptr;
    for (FTPerson* p : moc->fetch<FTPerson>())
        if (p->name().startsWith("Kit"))
            kit = p;
    ASSERT_TRUE(kit);
    bool ran = false;
    whenShown<ExportPeopleToAddressBook>([](ExportPeopleToAddressBook*) { return true; }, [&](ExportPeopleToAddressBook* w) {
        ran = true;
        EXPECT_EQ(w->people().size(), moc->fetch<FTPerson>().size());
        w->selectPeople({kit, fay});
        EXPECT_EQ(w->selectedPeople(), QList<FTPerson*>({fay, kit})); // in the list's order, by name

        w->groupNameField()->setText("  Famil ");
        w->exportButton()->click();
        EXPECT_EQ(texts().last(), LocalizedString("AddrBookGroupName"));
        EXPECT_EQ(w->groupNameField()->text(), "Famil");
        EXPECT_TRUE(reports().isEmpty());

        w->groupNameField()->setText("Family");
        w->exportButton()->click();
        const QString path = AddressBookExport::groupFilePath("Family");
        EXPECT_EQ(texts().last(), "2 " + LocalizedString("AddrBookCompletionMsg") + " Family");
        EXPECT_EQ(desktop.launched(), QStringList({"--editor", path}));
        ASSERT_EQ(w->groupsList()->count(), 1);
        EXPECT_EQ(w->groupsList()->item(0)->text(), "Family");
        const QByteArray first = TestSupport::readFile(path);
        EXPECT_EQ(first.count("BEGIN:VCARD"), 2);

        // Into the same group: only after the question, and then after the cards already there.
        w->groupNameField()->clear();
        w->groupsList()->item(0)->setSelected(true);
        EXPECT_EQ(w->groupNameField()->text(), "Family");
        w->selectPeople({kit});
        prompts.answer(0); // Cancel
        w->exportButton()->click();
        EXPECT_EQ(prompts.records.last().text, LocalizedHelpString("helpForExportAddressBookMsg"));
        EXPECT_EQ(TestSupport::readFile(path), first);
        prompts.answer(1); // Continue
        w->exportButton()->click();
        EXPECT_TRUE(TestSupport::readFile(path).startsWith(first));
        EXPECT_EQ(TestSupport::readFile(path).count("BEGIN:VCARD"), 3);
        desktop.launched();
        screenshot(w, "publishing-vcard-window");
        w->closeButton()->click();
    });
    PublishingMenuActions::exportPeopleToAddressBook();
    EXPECT_TRUE(ran);
}
