// The repair windows: the integrity-check sheet from the File menu, the event-type index sheet that an older
// database brings up at its first save, and the hand-over that ends every report window.
#include "ApplicationFixture.h"
#include "Screenshot.h"
#include "WorkspaceFixture.h"

#include "shell/DatabaseIntegrityChecks.h"
#include "shell/RtfWriter.h"
#include "shell/Utils.h"
#include "shell/ui/CheckDatabaseIntegrity.h"
#include "shell/ui/CreateEventTypeIndex.h"
#include "shell/ui/ReportHandOver.h"

#include "model/FTEvent.h"
#include "model/FTEventType.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTimer>
#include <QVBoxLayout>

#include <gmock/gmock.h>

#include <functional>
#include <utility>

using ::testing::HasSubstr;

namespace {

QString L(const char* key) { return LocalizedString(QString::fromLatin1(key)); }

// Scripted alerts that let a test act once while a check is still running (its alerts come in the middle of it).
struct PromptsDuringRun : ScriptedPrompts {
    std::function<void()> during;
    void message(const QString& text, const QString& info = {}) override
    {
        // Taken out first: what it does may bring the next alert.
        if (const std::function<void()> act = std::exchange(during, nullptr))
            act();
        ScriptedPrompts::message(text, info);
    }
};

bool waitFor(const std::function<bool()>& done)
{
    return TestSupport::waitUntil(done, "the window");
}

class RepairWindows : public ApplicationFixture {
protected:
    template <class T> static T* sheetOn(DOvurDocument* doc)
    {
        for (T* sheet : doc->dovurWindow()->findChildren<T*>(Qt::FindDirectChildrenOnly))
            if (sheet->isVisible())
                return sheet;
        return nullptr;
    }

    // A database whose first save is still to come, with three events that lost their type: tagged "CEN", tagged
    // with the census type's name, and tagged with a tag no type has.
    QString databaseWithUntypedEvents(const QString& name)
    {
        const QString path = makeDatabase(data + "/" + name);
        auto moc = FTMoc::initForStoreURL(path, true);
        EXPECT_TRUE(moc);
        QVariantMap metadata = moc->metadata();
        metadata.remove("EventTypeIndexCreated");
        moc->setMetadata(metadata);
        const QList<FTEvent*> events = moc->fetch<FTEvent>();
        const QStringList tags { "CEN", moc->eventTypeForEventGedcomCode("CENS")->name(), "ZZZ" };
        for (int i = 0; i < 3; ++i) {
            events[i]->setEventType(nullptr);
            events[i]->setPrimitiveValue(Key("subtype"), tags[i]);
        }
        EXPECT_TRUE(moc->save());
        return path;
    }
    static QList<FTEvent*> untyped(FTMoc* moc)
    {
        return moc->fetch<FTEvent>([](const FTEvent* e) { return e->eventType() == nullptr; });
    }
    // An edit, saved: the database's first save.
    void firstSave(DOvurDocument* doc)
    {
        doc->moc()->focalPerson()->setNotes(QStringLiteral("Edit %1").arg(++edits));
        doc->moc()->saveMoc();
    }
    int edits = 0;
};

TEST_F(RepairWindows, TheIntegritySheetRunsOneCheckAtATimeAndShowsItsReport)
{
    const QString path = copySampleDatabase(data);
    ASSERT_TRUE(QFileInfo(path).isFile());
    QString child, parent;
    {
        // One loop: a child made the natural parent of its own natural parent.
        auto moc = FTMoc::initForStoreURL(path, true);
        ASSERT_TRUE(moc);
        FTPcRel* link = moc->fetchFirst<FTPcRel>(
            [](const FTPcRel* l) { return l->intPcRelType() == FTPcRel::kNatural && l->parent() && l->child(); });
        ASSERT_TRUE(link);
        FTPcRel* back = FTPcRel::initInMoc(moc.get());
        back->setParent(link->child());
        back->setChild(link->parent());
        back->setPcRelType(FTPcRel::kNatural);
        ASSERT_TRUE(moc->saveMoc());
        child = link->parent()->nameWithBirthAndDeathYears();
        parent = link->child()->nameWithBirthAndDeathYears();
    }
    PromptsDuringRun alerts;
    Prompts::install(&alerts);
    start();
    DOvurDocument* doc = app->openDocumentWithContentsOfURL(path);
    ASSERT_TRUE(doc);

    QAction* item = nullptr;
    for (QAction* menu : doc->dovurWindow()->menuBar()->actions())
        if (menu->menu() && menu->text() == "File")
            for (QAction* a : menu->menu()->actions())
                if (a->text() == "Check Database Integrity...")
                    item = a;
    ASSERT_TRUE(item);
    item->trigger();
    auto* sheet = sheetOn<CheckDatabaseIntegrity>(doc);
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->windowModality(), Qt::WindowModal);
    ASSERT_EQ(sheet->rowButtons().size(), 8);
    EXPECT_EQ(sheet->selectedRow(), 0);

    // While the check runs every button waits, and a second run cannot start.
    bool executeEnabled = true, closeEnabled = true;
    alerts.during = [&] {
        executeEnabled = sheet->executeButton()->isEnabled();
        closeEnabled = sheet->closeButton()->isEnabled();
        sheet->executeButton()->click();
        sheet->execute();
        sheet->closeSheet();
    };
    sheet->rowButtons()[DatabaseIntegrityChecks::RecursionCheckAll]->click();
    sheet->executeButton()->click();
    EXPECT_FALSE(executeEnabled);
    EXPECT_FALSE(closeEnabled);
    EXPECT_EQ(alerts.records.size(), 1) << "one run, one loop";
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_TRUE(sheet->executeButton()->isEnabled());
    const QString report = sheet->reportMessage();
    EXPECT_EQ(sheet->reportView()->toPlainText(), report);
    // One line, for one of the loop's two links.
    const QStringList lines = report.split('\n');
    ASSERT_EQ(lines.size(), 7) << report.toStdString();
    EXPECT_EQ(lines[0], L("RecursionCheckAll"));
    const QRegularExpression line(QStringLiteral("^%1 = (.+) \\(ID = \\d+\\), %2 = (.+) \\(ID = \\d+\\)$")
                                      .arg(L("Child"), L("Parent")));
    const QRegularExpressionMatch match = line.match(lines[4]);
    ASSERT_TRUE(match.hasMatch()) << lines[4].toStdString();
    EXPECT_EQ(QSet<QString>({ match.captured(1), match.captured(2) }), QSet<QString>({ child, parent }));
    EXPECT_EQ(lines[6], L("SaveComplete"));
    EXPECT_EQ(sheet->progressIndicator()->value(), 0);
    saveScreenshot(sheet, "check-database-integrity");

    WorkspaceFixture apps(dir.path(), "text/plain");
    sheet->showReportButton()->click();
    const QString file = DatabaseIntegrityChecks::reportFilePath();
    EXPECT_EQ(apps.launched(), (QStringList { "--editor", file }));
    QFile written(file);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), QByteArray("\xEF\xBB\xBF") + report.toUtf8());

    alerts.clear();
    sheet->helpButton()->click();
    ASSERT_EQ(alerts.records.size(), 1);
    EXPECT_EQ(alerts.records[0].text, LocalizedHelpString("DbIntegrityHelp"));

    doc->moc()->focalPerson()->setNotes("Edited while the sheet was up.");
    sheet->closeButton()->click();
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_FALSE(doc->moc()->hasChanges()) << "closing saves";
    Prompts::install(&prompts);
}

TEST_F(RepairWindows, AnOlderDatabaseLinksItsEventsOnOkAndAsksAgainAfterClose)
{
    const QString older = databaseWithUntypedEvents("Older.RezUdu");
    const QString old = databaseWithUntypedEvents("Old.RezUdu");
    start();

    // Close: nothing changes, and the next opening asks again. The first save here is the one before the
    // integrity-check sheet, which then waits for the user's next try.
    DOvurDocument* doc = app->openDocumentWithContentsOfURL(older);
    ASSERT_TRUE(doc);
    doc->moc()->focalPerson()->setNotes("Edited before the check.");
    app->checkDatabaseIntegrity();
    auto* sheet = sheetOn<CreateEventTypeIndex>(doc);
    ASSERT_TRUE(sheet);
    EXPECT_FALSE(sheetOn<CheckDatabaseIntegrity>(doc)) << "one sheet at a time";
    EXPECT_EQ(sheet->windowModality(), Qt::WindowModal);
    EXPECT_EQ(sheet->estimatedTime(), Utils::timeToText(FTMoc::eventTypeIndexEstimatedSeconds(3)));
    EXPECT_THAT(sheet->estimatedTimeField()->text().toStdString(), HasSubstr(sheet->estimatedTime().toStdString()));
    saveScreenshot(sheet, "create-event-type-index");
    sheet->closeButton()->click();
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_EQ(untyped(doc->moc()).size(), 3);
    NotificationCenter::defaultCenter().flushQueue();
    EXPECT_FALSE(ObjectContext::metadataForStoreAt(older).contains("EventTypeIndexCreated"));
    DocumentController::shared().closeDocument(doc);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    doc = app->openDocumentWithContentsOfURL(older);
    ASSERT_TRUE(doc);
    firstSave(doc);
    sheet = sheetOn<CreateEventTypeIndex>(doc);
    ASSERT_TRUE(sheet) << "asked again";
    sheet->closeButton()->click();
    DocumentController::shared().closeDocument(doc);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // OK: every event gets its type, a tag no type has becomes "EVEN", and the repair is done for good.
    doc = app->openDocumentWithContentsOfURL(old);
    ASSERT_TRUE(doc);
    FTMoc* moc = doc->moc();
    const QList<FTEvent*> events = untyped(moc);
    ASSERT_EQ(events.size(), 3);
    firstSave(doc);
    sheet = sheetOn<CreateEventTypeIndex>(doc);
    ASSERT_TRUE(sheet);
    sheet->okButton()->click();
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_TRUE(untyped(moc).isEmpty());
    EXPECT_EQ(events[0]->subtype(), "CENS");
    EXPECT_EQ(events[0]->eventType(), moc->eventTypeForEventGedcomCode("CENS"));
    EXPECT_EQ(events[1]->eventType(), moc->eventTypeForEventGedcomCode("CENS"));
    EXPECT_EQ(events[2]->subtype(), "EVEN");
    EXPECT_EQ(events[2]->eventType(), moc->eventTypeForEventGedcomCode("EVEN"));
    NotificationCenter::defaultCenter().flushQueue();
    EXPECT_EQ(ObjectContext::metadataForStoreAt(old).value("EventTypeIndexCreated"), true);
    DocumentController::shared().closeDocument(doc);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    doc = app->openDocumentWithContentsOfURL(old);
    ASSERT_TRUE(doc);
    firstSave(doc);
    EXPECT_FALSE(sheetOn<CreateEventTypeIndex>(doc));
    EXPECT_TRUE(untyped(doc->moc()).isEmpty());
}

// A window that counts the closes it is asked for.
class CountingWindow : public QDialog {
public:
    int closes = 0;

protected:
    void closeEvent(QCloseEvent* event) override
    {
        ++closes;
        QDialog::closeEvent(event);
    }
};

TEST_F(RepairWindows, TheReportHandOverNamesTheFileOpensItAndClosesTheWindowLater)
{
    RtfWriter writer;
    writer.setFileType("rtf");
    ASSERT_TRUE(writer.createOutputFileName("Hand Over"));
    ASSERT_TRUE(writer.openOutputFile());
    ASSERT_TRUE(writer.printRTFHeader("A4"));
    ASSERT_TRUE(writer.write("Done.}"));
    ASSERT_TRUE(writer.closeOutputFile());
    WorkspaceFixture apps(dir.path(), "text/rtf");

    CountingWindow window;
    auto* field = new QLabel;
    (new QVBoxLayout(&window))->addWidget(field);
    window.show();
    handOverReport(&window, field, writer);
    EXPECT_EQ(field->toolTip(), writer.savedMessage());
    EXPECT_EQ(field->text(),
        field->fontMetrics().elidedText(writer.savedMessage(), Qt::ElideMiddle, field->contentsRect().width()));
    EXPECT_EQ(apps.launched(), (QStringList { "--editor", writer.rtfFilePath() }));
    auto* timer = window.findChild<QTimer*>("reportCloseTimer");
    ASSERT_TRUE(timer);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), kReportWindowCloseDelayMs);
    EXPECT_TRUE(window.isVisible());
    timer->start(0);
    EXPECT_TRUE(waitFor([&] { return !window.isVisible(); }));
    EXPECT_EQ(window.closes, 1);

    // Closed by the user first: the timer leaves it alone.
    auto timerGone = [&window] {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return !window.findChild<QTimer*>("reportCloseTimer");
    };
    ASSERT_TRUE(timerGone());
    window.show();
    handOverReport(&window, field, writer);
    apps.launched();
    window.close();
    EXPECT_EQ(window.closes, 2);
    timer = window.findChild<QTimer*>("reportCloseTimer");
    ASSERT_TRUE(timer);
    timer->start(0);
    EXPECT_TRUE(waitFor(timerGone));
    EXPECT_EQ(window.closes, 2);

    // Gone first: its timer went with it.
    auto* gone = new QDialog;
    gone->show();
    handOverReport(gone, nullptr, writer);
    apps.launched();
    delete gone;
    QCoreApplication::processEvents();
}

} // namespace
