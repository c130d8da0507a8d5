// kinloom-bench-app-editor [PEOPLE] [FILE]
// Opens a synthetic family database of PEOPLE people (default 100,000) in its main window on the offscreen platform
// with the person editor, shows the editor on the person with the most events and relatives, and then, for each
// page of the editor: shows that page five times (show_<page>_ms, the median time from choosing its tab until the
// pane has drawn) and changes the selected person 20 times while it is shown (switch_<page>_ms, the median time
// from the change until the pane has drawn). Then it gives a person 500 events with notes (every fifth of several
// lines) and times the events page: events_show_ms (switching to that person with the page shown: the list built,
// every row measured, the pane drawn), events_type_ms (one character typed into a notes cell until drawn) and
// events_resize_ms (the notes column resized: every row measured again, drawn). Last it gives another person 300
// pictures with thumbnails and times the pictures page shown for that person, its list read, laid out and its
// visible part painted with the thumbnails read from the file (pictures_ms, the median of ten). Then it adds a man
// with 1,200 wives, the first of them (the focal person) with 1,200 children by him, and times his family page
// shown: spouses chosen, children listed and measured, the pane drawn (family_page_ms, the median of nine); then
// his relatives page with every group switched on, and that of one of the children (relatives_patriarch_ms,
// relatives_child_ms, the median of nine each; relatives_ms the slower); last the descendants page of the person
// with the most descendants, built and opened four generations down and drawn (descendants_ms, the median of nine).
// First of all it gives a person notes of 100 MB (as a database from another program or an old import may hold
// them) and shows that person on the Self page and then on the Notes page: the peak resident memory of the whole
// program meanwhile (huge_notes_show_peak_mb, the database included) and the time until both have drawn
// (huge_notes_show_ms); the notes are emptied again before the other figures.
// Prints "name: value" lines: people, the two huge-notes figures, each page's two figures, the three events figures,
// pictures_ms, family_page_ms, the relatives and descendants figures and peak_mb. The database is kept
// at FILE when given (and measured in a copy), otherwise written to a temporary folder and removed.
#include "AppBenchSupport.h"
#include "BenchSupport.h"
#include "diagrams/ui/FamilyDiagramSetup.h"
#include "editor/EventsTableLayout.h"
#include "editor/ui/HierarchyTreeModel.h"
#include "editor/ui/InfoAreaController.h"
#include "editor/ui/InfoArea_Events.h"
#include "editor/ui/InfoArea_Events_TableView.h"
#include "editor/ui/InfoArea_Family2.h"
#include "editor/ui/InfoArea_Hierarchy.h"
#include "editor/ui/InfoArea_Relatives.h"
#include "editor/ui/LargeTextView.h"
#include "editor/ui/NotesTextEdit.h"
#include "editor/ui/PersonEditorSetup.h"
#include "shell/ui/DOvurApplication.h"
#include "shell/ui/DOvurDocument.h"
#include "shell/ui/DocumentController.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTMocUndoManager.h"
#include "model/FTModelDefaults.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"
#include "model/FTPicture.h"

#include "platform/Prompts.h"
#include "platform/ScriptedPrompts.h"
#include "platform/UserDefaults.h"
#include "platform/store/Key.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QMainWindow>
#include <QSet>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
// Until the pane has drawn: pending layout first, then a paint of the whole pane.
void drawn(QWidget* pane)
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    pane->repaint();
}
}

int main(int argc, char** argv)
{
    // The events and pictures figures add records to people: the database is a copy (AppBenchSupport.h).
    AppBench<DOvurApplication> bench(argc, argv);
    auto& [sandbox, app, prompts, path] = bench;
    if (path.isEmpty())
        return 1;
    installFamilyDiagram();
    installPersonEditor();

    DOvurDocument* doc = DocumentController::shared().openDocumentWithContentsOfURL(path, true);
    if (!doc) {
        for (const auto& r : prompts.records)
            std::fprintf(stderr, "%s\n", qPrintable(r.text));
        return 1;
    }
    auto* editor = qobject_cast<InfoAreaController*>(doc->pInfoArea());
    if (!editor) {
        std::fprintf(stderr, "no person editor\n");
        return 1;
    }
    doc->dovurWindow()->grab();
    QCoreApplication::processEvents();

    FTMoc* moc = doc->moc();
    const QList<FTPerson*> all = moc->fetch<FTPerson>();
    FTPerson* busiest = busiestPerson(all);
    moc->modelDefaults()->setSelectedPerson(busiest);
    drawn(editor);

    std::printf("people: %lld\n", static_cast<long long>(all.size()));
    QTabWidget* tabs = editor->pTabView();
    QElapsedTimer timer;
    double peakBeforeHugeNotes = 0;

    // A person with notes of 100 MB in lines of some 80 characters, written as a raw value (as an import or another
    // program leaves it: no undo step holds a second copy), shown on the Self page and then on the Notes page.
    {
        FTPerson* noted = all[all.size() / 5];
        {
            QString huge;
            huge.reserve(100 * 1000 * 1000);
            for (int i = 0; huge.size() < 100 * 1000 * 1000; ++i)
                huge += QStringLiteral("Line %1 of the diary kept by the family, copied out word for word.\n").arg(i);
            noted->setPrimitiveValue(Key("notes"), huge);
        }
        moc->saveMoc();
        editor->choosePage(QStringLiteral("pSelf"));
        drawn(editor);
        QCoreApplication::processEvents();
        peakBeforeHugeNotes = peakResidentMegabytes();
        if (!resetPeakResidentMemory()) {
            std::fprintf(stderr, "the peak memory cannot be measured here\n");
            return 1;
        }
        timer.start();
        moc->modelDefaults()->setSelectedPerson(noted);
        drawn(editor);
        editor->choosePage(QStringLiteral("pNotes"));
        drawn(editor);
        QCoreApplication::processEvents();
        const double shownMs = timer.nsecsElapsed() / 1e6;
        const double peak = peakResidentMegabytes();
        auto* notesBox = editor->page(QStringLiteral("pNotes"))->findChild<NotesTextEdit*>(QStringLiteral("notesTextView"));
        const QString visible = !notesBox ? QString()
            : notesBox->largeTextView()   ? notesBox->largeTextView()->row(notesBox->largeTextView()->firstVisibleRow())
                                          : notesBox->document()->firstBlock().text();
        if (!visible.startsWith(QStringLiteral("Line 0 of the diary"))) {
            std::fprintf(stderr, "the huge notes are not shown\n");
            return 1;
        }
        std::printf("huge_notes_show_ms: %.2f\n", shownMs);
        std::printf("huge_notes_show_peak_mb: %.1f\n", peak);
        editor->choosePage(QStringLiteral("pSelf"));
        moc->modelDefaults()->setSelectedPerson(busiest);
        drawn(editor);
        noted->setPrimitiveValue(Key("notes"), QString());
        moc->saveMoc();
    }
    for (int page = 0; page < tabs->count(); ++page) {
        const QString id = editor->controller().identifierAt(page);
        const QString name = id.mid(1).toLower();
        std::vector<double> shows;
        for (int i = 0; i < 5; ++i) {
            editor->chooseTab(page == 0 ? 1 : 0);
            moc->modelDefaults()->setSelectedPerson(busiest);
            drawn(editor);
            timer.start();
            editor->chooseTab(page);
            drawn(editor);
            shows.push_back(timer.nsecsElapsed() / 1e6);
        }
        std::vector<double> switches;
        for (int i = 1; i <= 20; ++i) {
            FTPerson* next = i % 2 ? all[qsizetype(i) * all.size() / 21] : busiest;
            timer.start();
            moc->modelDefaults()->setSelectedPerson(next);
            drawn(editor);
            switches.push_back(timer.nsecsElapsed() / 1e6);
        }
        std::printf("show_%s_ms: %.2f\n", qPrintable(name), median(shows));
        std::printf("switch_%s_ms: %.2f\n", qPrintable(name), median(switches));
    }
    // The events page over a person with 500 events.
    FTPerson* eventful = all[all.size() / 2];
    FTPerson* other = all[all.size() / 3];
    const char* const tags[] = {"CENS", "RESI", "OCCU", "EDUC", "RELI", "EVEN", "GRAD", "PROP"};
    moc->undoManager()->disableUndoRegistration();
    for (int i = 0; i < 500; ++i) {
        FTEvent* e = FTEvent::initInMoc(moc, FTEvent::OtherPersonalEvent, eventful, tags[i % 8]);
        e->setDate(QString::number(1850 + i % 150));
        e->setPlace(QStringLiteral("Parish %1, Leeds, Yorkshire").arg(i % 40));
        QString notes = QStringLiteral("Noted in the register of the parish, entry %1, in the hand of the curate.").arg(i);
        if (i % 5 == 0)
            notes += QStringLiteral("\nA second line about the witnesses present.\nA third line with the source of "
                                    "the entry and a remark on its condition, long enough to wrap in the column.");
        e->setNotes(notes);
    }
    moc->undoManager()->enableUndoRegistration();
    moc->saveMoc();
    editor->choosePage(QStringLiteral("pEvents"));
    auto* page = qobject_cast<InfoArea_Events*>(editor->page(QStringLiteral("pEvents")));
    if (!page) {
        std::fprintf(stderr, "no events page\n");
        return 1;
    }
    InfoArea_Events_TableView* table = page->tableView();
    std::vector<double> shows;
    for (int i = 0; i < 9; ++i) {
        moc->modelDefaults()->setSelectedPerson(other);
        drawn(editor);
        timer.start();
        moc->modelDefaults()->setSelectedPerson(eventful);
        drawn(editor);
        shows.push_back(timer.nsecsElapsed() / 1e6);
    }
    if (page->refreshEventsArray() || table->model()->rowCount() < 500) {
        std::fprintf(stderr, "the events list was not built before drawing\n");
        return 1;
    }
    std::vector<double> typing;
    table->editColumn(EventsTableLayout::Notes, 10);
    QWidget* notes = table->currentEditor();
    for (int i = 0; i < 30 && notes; ++i) {
        timer.start();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        QApplication::sendEvent(notes, &press);
        drawn(editor);
        typing.push_back(timer.nsecsElapsed() / 1e6);
    }
    table->abandonEditing();
    std::vector<double> resizes;
    const int notesWidth = table->columnWidth(EventsTableLayout::Notes);
    for (int i = 1; i <= 10; ++i) {
        timer.start();
        table->setColumnWidth(EventsTableLayout::Notes, notesWidth + (i % 2 ? 40 : 0));
        drawn(editor);
        resizes.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::printf("events_rows: %d\n", table->model()->rowCount());
    std::printf("events_show_ms: %.2f\n", median(shows));
    std::printf("events_type_ms: %.2f\n", median(typing));
    std::printf("events_resize_ms: %.2f\n", median(resizes));

    // The pictures page of a person with 300 pictures.
    FTPerson* collector = all[all.size() / 4];
    for (int i = 0; i < 300; ++i) {
        FTPicture* picture = FTPicture::initInMoc(moc, QString(), collector);
        picture->setName(QStringLiteral("Picture %1 of the family collection").arg(i + 1));
        QImage thumbnail(100, 60 + i % 40, QImage::Format_RGB32);
        thumbnail.fill(QColor::fromHsv(i * 37 % 360, 120, 200));
        picture->setThumbnailImage(thumbnail);
    }
    moc->saveMoc();
    const int picturesTab = editor->controller().indexOf(QStringLiteral("pPictures"));
    std::vector<double> pictureShows;
    for (int i = 0; picturesTab >= 0 && i < 10; ++i) {
        editor->chooseTab(0);
        moc->modelDefaults()->setSelectedPerson(collector);
        doc->faultUnusedRegisteredObjects();
        drawn(editor);
        timer.start();
        editor->chooseTab(picturesTab);
        // The page reads its list once the events queued by the change have run (only the page's own: the rest
        // of the window's pending work is not the page's).
        QCoreApplication::sendPostedEvents(editor->page(QStringLiteral("pPictures")), QEvent::MetaCall);
        drawn(editor);
        pictureShows.push_back(timer.nsecsElapsed() / 1e6);
    }
    if (!pictureShows.empty())
        std::printf("pictures_ms: %.2f\n", median(pictureShows));

    // The family page of a man with 1,200 wives (no marriage dated), the first of whom has 1,200 children by him.
    FTPerson* patriarch = FTPerson::initInMoc(moc, QStringLiteral("Abraham Manywives"), QStringLiteral("M"));
    patriarch->setValueForKeyPath(QStringLiteral("birth.date"), QStringLiteral("1700"));
    moc->undoManager()->disableUndoRegistration();
    QList<FTPerson*> wives;
    for (int i = 0; i < 1200; ++i) {
        FTPerson* wife = patriarch->addSpouse(QStringLiteral("Wife%1 Manywives").arg(i), QStringLiteral("F"));
        wife->setValueForKeyPath(QStringLiteral("birth.date"), QString::number(1700 + i % 30));
        wives << wife;
    }
    for (int i = 0; i < 1200; ++i) {
        FTPerson* child = patriarch->addChild(QStringLiteral("Child%1 Manywives").arg(i), i % 2 ? QStringLiteral("F")
                                                                                               : QStringLiteral("M"),
                                              FTPcRel::kNatural);
        wives.first()->attachChild(child, FTPcRel::kNatural, false, nullptr);
        child->setValueForKeyPath(QStringLiteral("birth.date"), QString::number(1720 + i % 40));
        if (i % 7 == 0)
            child->setValueForKeyPath(QStringLiteral("death.notes"), QStringLiteral("Died young.\nBuried beside "
                                                                                    "the chapel with two brothers."));
    }
    moc->undoManager()->enableUndoRegistration();
    moc->saveMoc();
    moc->setFocalPerson(wives.first());
    editor->choosePage(QStringLiteral("pFamily2"));
    auto* family = qobject_cast<InfoArea_Family2*>(editor->page(QStringLiteral("pFamily2")));
    std::vector<double> familyShows;
    for (int i = 0; family && i < 9; ++i) {
        moc->modelDefaults()->setSelectedPerson(other);
        drawn(editor);
        timer.start();
        moc->modelDefaults()->setSelectedPerson(patriarch);
        drawn(editor);
        familyShows.push_back(timer.nsecsElapsed() / 1e6);
    }
    if (!family || family->refreshArrayPending() || family->numChildren() != 1200 || family->wife() != wives.first()) {
        std::fprintf(stderr, "the family page did not show the large family\n");
        return 1;
    }
    std::printf("family_page_ms: %.2f\n", median(familyShows));

    // The relatives page with every group switched on, for the man with 1,200 wives and 1,200 children and for
    // one of those children (1,199 siblings).
    for (const char* key : {"includeGrandParents", "includeInLaws", "includeChildren", "includeSiblings",
                            "includeGrandChildren", "includeGreatGrandChildren", "includeAuntsAndUncles",
                            "includeCousins", "includeNephewsAndNieces"})
        UserDefaults::standard().setBool(QString::fromLatin1(key), true);
    editor->choosePage(QStringLiteral("pRelatives"));
    auto* relatives = qobject_cast<InfoArea_Relatives*>(editor->page(QStringLiteral("pRelatives")));
    FTPerson* manyChildrenChild = patriarch->children().value(600)->child();
    const auto relativesShown = [&](FTPerson* person, long atLeast) {
        std::vector<double> shows;
        for (int i = 0; relatives && i < 9; ++i) {
            moc->modelDefaults()->setSelectedPerson(other);
            drawn(editor);
            timer.start();
            moc->modelDefaults()->setSelectedPerson(person);
            drawn(editor);
            shows.push_back(timer.nsecsElapsed() / 1e6);
        }
        if (!relatives || relatives->refreshArrayPending() || relatives->numRelatives() < atLeast) {
            std::fprintf(stderr, "the relatives page did not show the large family\n");
            std::exit(1);
        }
        return median(shows);
    };
    const double relativesOfPatriarch = relativesShown(patriarch, 2401);
    const double relativesOfChild = relativesShown(manyChildrenChild, 1201);
    std::printf("relatives_patriarch_ms: %.2f\n", relativesOfPatriarch);
    std::printf("relatives_child_ms: %.2f\n", relativesOfChild);
    std::printf("relatives_ms: %.2f\n", std::max(relativesOfPatriarch, relativesOfChild));

    // The descendants page of the person with the most descendants (always someone without parents: everybody's
    // descendants are among those of his parents), the tree opened four generations down and drawn.
    FTPerson* founder = nullptr;
    qsizetype most = -1;
    for (FTPerson* p : moc->fetch<FTPerson>()) {
        if (!p->parents().isEmpty() || p->children().isEmpty())
            continue;
        QSet<const FTPerson*> seen;
        QList<FTPerson*> pending{p};
        while (!pending.isEmpty())
            for (const FTPcRel* link : pending.takeLast()->children())
                if (FTPerson* child = link->child(); child && !seen.contains(child)) {
                    seen.insert(child);
                    pending << child;
                }
        if (seen.size() > most) {
            most = seen.size();
            founder = p;
        }
    }
    editor->choosePage(QStringLiteral("pDescendants"));
    auto* descendants = qobject_cast<InfoArea_Hierarchy*>(editor->page(QStringLiteral("pDescendants")));
    std::vector<double> descendantShows;
    for (int i = 0; descendants && founder && i < 9; ++i) {
        moc->modelDefaults()->setSelectedPerson(other);
        drawn(editor);
        timer.start();
        moc->modelDefaults()->setSelectedPerson(founder);
        drawn(editor);
        descendantShows.push_back(timer.nsecsElapsed() / 1e6);
    }
    if (!descendants || descendants->selectedPerson() != founder
        || descendants->hierarchyModel()->rowCount(descendants->hierarchyModel()->rootIndex()) == 0) {
        std::fprintf(stderr, "the descendants page did not show the largest family\n");
        return 1;
    }
    std::printf("descendants_people: %lld\n", static_cast<long long>(most));
    std::printf("descendants_ms: %.2f\n", median(descendantShows));
    // The peak of the whole run: the figure before the huge notes reset it counts too.
    std::printf("peak_mb: %.1f\n", std::max(peakBeforeHugeNotes, peakResidentMegabytes()));

    DocumentController::shared().closeAllDocuments();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Prompts::install(nullptr);
    return 0;
}
