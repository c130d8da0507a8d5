// A user who only looks never changes the database. The whole program runs on a copy of the sample database (the
// royal families of Europe): people are chosen on the family diagram and from the toolbar's list of focal people,
// every page of the person editor is shown and tabbed through, and every window that shows a person, a couple or
// the sources is opened and closed untouched. Afterwards no record has changed but the focal and selected person,
// no undo step touches anything else, and the file closes as it was.
#include "../../shell/ui/ApplicationFixture.h"

#include "pictures/ui/PictureController.h"
#include "pictures/ui/PicturesMenuActions.h"

#include "sources/SourceHooks.h"
#include "sources/ui/ActiveSourceSelect.h"
#include "sources/ui/ReviewSourceReferences.h"
#include "sources/ui/SelectASourceDialog.h"
#include "sources/ui/SourceCitingSetup.h"
#include "sources/ui/SourcesMenuActions.h"
#include "sources/CitationSheetModel.h"

#include "editor/ui/EditorHooks.h"
#include "editor/ui/InfoAreaController.h"
#include "editor/ui/InfoArea_Family2.h"
#include "editor/ui/InfoArea_Self.h"
#include "editor/ui/NotesWindow.h"
#include "editor/ui/PersonEditorSetup.h"
#include "editor/FamilyCouple.h"

#include "diagrams/CdPerson.h"
#include "diagrams/DiagramHooks.h"
#include "diagrams/ui/CdDiagram.h"
#include "diagrams/ui/FamilyDiagramSetup.h"
#include "diagrams/ui/HierarchyDiagram.h"
#include "diagrams/ui/HierarchyDiagramSetup.h"

#include "shell/ui/PreferencesController.h"
#include "shell/ui/ToolbarController.h"

#include "model/FTEvent.h"
#include "model/FTModelDefaults.h"
#include "model/FTMocUndoManager.h"
#include "model/FTPerson.h"
#include "model/FTOriginalPicture.h"
#include "model/FTPicture.h"
#include "model/FTSpouseRel.h"

#include "platform/store/StoreSchema.h"

#include <QComboBox>
#include <QMainWindow>
#include <QCryptographicHash>
#include <QDialog>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QTabWidget>
#include <QTimer>

#include <sqlite3.h>

#include <functional>

namespace {

QByteArray fileHash(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

// Every row of every table, as text: what the file holds, whatever its pages look like.
QStringList contents(const QString& path)
{
    QStringList out;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return {QStringLiteral("cannot open")};
    }
    QStringList tables;
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name", -1, &st, nullptr);
    while (sqlite3_step(st) == SQLITE_ROW)
        tables << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    for (const QString& table : tables) {
        const QByteArray sql = QStringLiteral("SELECT * FROM \"%1\" ORDER BY rowid").arg(table).toUtf8();
        if (sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr) != SQLITE_OK)
            continue;
        while (sqlite3_step(st) == SQLITE_ROW) {
            QStringList row{table};
            for (int c = 0; c < sqlite3_column_count(st); ++c) {
                const auto* bytes = static_cast<const char*>(sqlite3_column_blob(st, c));
                const QByteArray value(bytes, sqlite3_column_bytes(st, c));
                const bool text = sqlite3_column_type(st, c) != SQLITE_BLOB && value.size() <= 80;
                row << QStringLiteral("%1=%2").arg(QString::fromUtf8(sqlite3_column_name(st, c)),
                                                   text ? QString::fromUtf8(value)
                                                        : QString::fromLatin1(QCryptographicHash::hash(
                                                              value, QCryptographicHash::Md5).toHex()));
            }
            out << row.join(QLatin1Char(' '));
        }
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return out;
}

class LookingOnly : public ApplicationFixture {
protected:
    void SetUp() override
    {
        ApplicationFixture::SetUp();
        savedEditorHooks = EditorHooks::shared();
        savedSourceHooks = SourceHooks::shared();
        savedDiagramHooks = DiagramHooks::shared();
        for (const QString& item : items())
            savedItems << ToolbarController::itemHandler(item);
        // Installed as the program installs them.
        installFamilyDiagram();
        installPersonEditor();
        installRelationshipDialogs();
        start();
        PicturesMenuActions::registerMenuItems(*app);
        PicturesMenuActions::install();
        SourcesMenuActions::registerMenuItems(*app);
        registerPersonEditorMenuItems(*app);
        installSourceCiting();
        PreferencesController::install(*app);
        installHierarchyDiagram(*app);
    }
    void TearDown() override
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* dialog = qobject_cast<QDialog*>(w); dialog && dialog->isVisible())
                dialog->reject();
        if (PreferencesController* prefs = PreferencesController::shared())
            prefs->close();
        ApplicationFixture::TearDown();
        removeSourceCiting();
        SourcesMenuActions::removeObservers();
        PicturesMenuActions::uninstall();
        uninstallRelationshipDialogs();
        uninstallFamilyDiagram();
        DOvurDocument::setPaneFactories({});
        InfoAreaController::removePageFactories();
        EditorHooks::shared() = savedEditorHooks;
        SourceHooks::shared() = savedSourceHooks;
        DiagramHooks::shared() = savedDiagramHooks;
        for (int i = 0; i < items().size(); ++i)
            ToolbarController::setItemHandler(items()[i], savedItems[i]);
        CitationSheetModel::forgetLastSheets();
        SelectASourceDialog::setRememberedSize({});
        ActiveSourceSelect::setPrevSize({});
        ReviewSourceReferences::setPrevSize({});
        HierarchyDiagram::setPrevFrameRect({});
        PictureController::setRememberedContentRect({});
    }
    static QStringList items()
    {
        return {ToolbarController::kPreferences, ToolbarController::kAncestors, ToolbarController::kDescendants};
    }

    static void key(QWidget* w, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QKeyEvent press(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, key, modifiers);
        QApplication::sendEvent(w, &release);
    }
    // Tab through the fields of a window from its first one, typing nothing.
    static void tabThrough(QWidget* window, int presses = 14)
    {
        window->activateWindow();
        QApplication::processEvents();
        if (QWidget* first = window->nextInFocusChain(); first && first != window)
            first->setFocus(Qt::TabFocusReason);
        for (int i = 0; i < presses; ++i) {
            QWidget* focus = QApplication::focusWidget();
            if (!focus || focus->window() != window)
                break;
            key(focus, Qt::Key_Tab);
            QApplication::processEvents();
        }
    }
    // Runs `open`; whatever modal window it runs is tabbed through and cancelled as soon as it shows.
    static void openAndCancel(const std::function<void()>& open)
    {
        QTimer timer;
        timer.setInterval(20);
        QObject::connect(&timer, &QTimer::timeout, [] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()); dialog && dialog->isVisible()) {
                tabThrough(dialog, 6);
                dialog->reject();
            }
        });
        timer.start();
        open();
        QApplication::processEvents();
        timer.stop();
    }
    // Closes the visible windows of type T, after tabbing through them.
    template <class T> static int closeAll()
    {
        int n = 0;
        QList<QPointer<T>> shown;
        for (QWidget* w : QApplication::allWidgets())
            if (auto* t = qobject_cast<T*>(w); t && t->isVisible())
                shown << t;
        for (const QPointer<T>& t : shown) {
            if (!t)
                continue;
            tabThrough(t, 6);
            t->close();
            ++n;
        }
        QApplication::processEvents();
        return n;
    }
    // The centre of the person's box on the diagram; null when the diagram does not show them.
    QPointF boxOf(FTPerson* person) const
    {
        for (const auto& box : diagram->cdLayout().cdPersonsArray())
            if (box->person() == person)
                return box->rclBox().center();
        return {};
    }
    void click(const QPointF& at, bool twice)
    {
        auto send = [this, at](QEvent::Type type) {
            QMouseEvent e(type, at, diagram->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(diagram, &e);
        };
        send(QEvent::MouseButtonPress);
        send(QEvent::MouseButtonRelease);
        if (twice) {
            send(QEvent::MouseButtonDblClick);
            send(QEvent::MouseButtonRelease);
        }
        QApplication::processEvents();
    }

    // Every page of the editor for the selected person, tabbed through; the notes windows of the self and family
    // pages and the family dialog opened and closed.
    void lookAtSelectedPerson()
    {
        QTabWidget* tabs = editor->pTabView();
        for (int i = 0; i < tabs->count(); ++i) {
            ASSERT_TRUE(editor->chooseTab(i)) << i;
            QApplication::processEvents();
            tabThrough(doc->dovurWindow(), 10);
        }
        ASSERT_TRUE(editor->choosePage("pSelf"));
        InfoArea_Self* self = editor->pSelf();
        for (int tag : {int(InfoArea_Self::BirthNotesButton), int(InfoArea_Self::DeathNotesButton)}) {
            self->editNotes(tag);
            QApplication::processEvents();
            notesWindowsClosed += closeAll<NotesWindow>();
        }
        ASSERT_TRUE(editor->choosePage("pFamily2"));
        QApplication::processEvents();
        auto* family = qobject_cast<InfoArea_Family2*>(editor->page("pFamily2"));
        ASSERT_TRUE(family);
        family->ensureDisplay();
        for (int tag : {FamilyCouple::HusbandNotesButton, FamilyCouple::HusbandBirthNotesButton,
                        FamilyCouple::WifeNotesButton, FamilyCouple::WifeDeathNotesButton,
                        FamilyCouple::MarriageNotesButton}) {
            family->editNotes(tag);
            QApplication::processEvents();
            notesWindowsClosed += closeAll<NotesWindow>();
        }
        if (family->husband() && family->wife()) {
            openAndCancel([family] { family->displayFamilyPanel(); });
            familyDialogs += 1 + closeAll<QDialog>();
        }
    }

    EditorHooks savedEditorHooks;
    SourceHooks savedSourceHooks;
    DiagramHooks savedDiagramHooks;
    QList<ToolbarController::ItemHandler> savedItems;
    DOvurDocument* doc = nullptr;
    CdDiagram* diagram = nullptr;
    InfoAreaController* editor = nullptr;
    int notesWindowsClosed = 0;
    int familyDialogs = 0;
};

TEST_F(LookingOnly, AWalkThroughTheSampleDatabaseChangesNothing)
{
    const QString built = savedSupport + "/Royal92.RezUdu";
    ASSERT_TRUE(QFileInfo(built).isFile()) << built.toStdString();
    const QString path = data + "/Royal92.RezUdu";
    ASSERT_TRUE(QFile::copy(built, path));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    // One picture with its thumbnail, as the pictures intake stores it, so that the picture editor has something to
    // show; and the selection that the first opening stores (a freshly imported database has none yet).
    QString pictured;
    {
        auto moc = FTMoc::initForStoreURL(path, false);
        ASSERT_TRUE(moc);
        QImage img(60, 40, QImage::Format_RGB32);
        img.fill(Qt::darkCyan);
        const QString file = dir.path() + "/portrait.png";
        ASSERT_TRUE(img.save(file));
        FTPerson* focal = moc->focalPerson();
        ASSERT_TRUE(focal);
        FTPicture* picture = FTPicture::initInMoc(moc.get(), file, focal);
        ASSERT_TRUE(picture);
        picture->setDefaultThumbnailImage();
        ASSERT_TRUE(picture->originalPicture());
        moc->setSelectedPerson(focal);
        // Notes everywhere the first person shown has a box for them: a box that wrote itself back unasked would
        // show here first.
        focal->setNotes("Reigned long.");
        focal->setComments("Ask the archivist.");
        for (FTEvent* event : {focal->birth(), focal->death()})
            if (event)
                event->setNotes("From the parish register.");
        for (FTSpouseRel* rel : focal->spouseRels())
            if (rel->marriage())
                rel->marriage()->setNotes("Banns read thrice.");
        ASSERT_TRUE(moc->saveMoc());
        pictured = focal->name();
    }
    const QStringList before = contents(path);

    doc = app->openDocumentWithContentsOfURL(path);
    ASSERT_NE(doc, nullptr) << texts().join("\n").toStdString();
    FTMoc* moc = doc->moc();
    diagram = qobject_cast<CdDiagram*>(doc->pcd());
    editor = qobject_cast<InfoAreaController*>(doc->pInfoArea());
    ASSERT_TRUE(diagram && editor);
    doc->dovurWindow()->show();
    doc->dovurWindow()->activateWindow();
    QApplication::processEvents();
    diagram->prepare();
    FTPerson* const firstFocal = moc->focalPerson();
    ASSERT_TRUE(firstFocal);
    EXPECT_FALSE(moc->hasChanges()) << "opening changed the database";
    prompts.clear();

    // The picture editor on the pictured person's picture, closed untouched.
    {
        FTPicture* picture = firstFocal->pictures().isEmpty() ? nullptr : firstFocal->pictures().first();
        ASSERT_TRUE(picture) << pictured.toStdString();
        PictureController* pictureEditor = PictureController::beginSheet(doc->dovurWindow(), firstFocal, picture);
        QApplication::processEvents();
        tabThrough(pictureEditor, 8);
        pictureEditor->closeEditor();
        QApplication::processEvents();
    }

    // A few dozen people: a click selects a box, a double click makes its person focal; every fifth turn goes back
    // through the toolbar's list of focal people.
    QSet<FTPerson*> seen;
    QComboBox* focalList = doc->toolbarController()->focalPeopleComboBox();
    ASSERT_TRUE(focalList);
    for (int turn = 0; turn < 36 && !HasFatalFailure(); ++turn) {
        diagram->prepare();
        QList<FTPerson*> shown;
        for (const auto& box : diagram->cdLayout().cdPersonsArray())
            if (box->person() && !seen.contains(box->person()))
                shown << box->person();
        if (turn % 5 == 4 && focalList->count() > 2) {
            focalList->setCurrentIndex(focalList->count() - 1);
            doc->toolbarController()->comboBoxSelectionDidChange(focalList->count() - 1);
            QApplication::processEvents();
        } else if (!shown.isEmpty()) {
            FTPerson* next = shown[turn % shown.size()];
            const QPointF at = boxOf(next);
            ASSERT_FALSE(at.isNull());
            click(at, turn % 2 == 1);
            EXPECT_EQ(moc->modelDefaults()->selectedPerson(), next) << next->name().toStdString();
        }
        FTPerson* selected = moc->modelDefaults()->selectedPerson();
        ASSERT_TRUE(selected);
        seen.insert(selected);
        lookAtSelectedPerson();
        // Now and then the windows that look at the whole database.
        if (turn % 9 == 0) {
            for (bool ancestors : {true, false}) {
                HierarchyDiagram* h = HierarchyDiagram::invokeHierarchyDiagramFor(*doc, selected, ancestors);
                ASSERT_TRUE(h);
                QApplication::processEvents();
                tabThrough(h, 6);
                h->close();
                QApplication::processEvents();
            }
            PreferencesController* prefs = PreferencesController::setUserPreferences(doc);
            ASSERT_TRUE(prefs);
            for (int i = 0; i < prefs->tabs()->count(); ++i) {
                prefs->tabs()->setCurrentIndex(i);
                tabThrough(prefs, 8);
            }
            prefs->close();
            openAndCancel([] { SourcesMenuActions::sourcesAddModDel(); });
            openAndCancel([] { SourcesMenuActions::activateActiveSource(); });
            openAndCancel([] { SourcesMenuActions::reviewSourceReferences(); });
            closeAll<QDialog>();
        }
    }
    EXPECT_GE(seen.size(), 24);
    EXPECT_GT(notesWindowsClosed, 60);
    EXPECT_GT(familyDialogs, 5);

    // Back to where the walk began, focused as the diagram focuses.
    diagram->setFocalPerson(firstFocal);
    QApplication::processEvents();
    EXPECT_TRUE(doc->endEditing());
    moc->undoManager()->closeOpenGroups();

    // Moving the focus and the selection are the only steps there are to undo; no other record was touched.
    EXPECT_EQ(moc->modelDefaults()->selectedPerson(), firstFocal);
    const QString focusOn = LocalizedString(QStringLiteral("FocusOn")) + ' ';
    const QString select = LocalizedString(QStringLiteral("Select")) + ' ';
    QStringList otherSteps;
    for (const QString& name : static_cast<FTMocUndoManager*>(moc->undoManager())->undoActionsArray())
        if (!name.startsWith(focusOn) && !name.startsWith(select))
            otherSteps << name;
    EXPECT_TRUE(otherSteps.isEmpty()) << otherSteps.join("\n").toStdString();
    QStringList changed;
    for (const auto* entity : moc->schema().entities())
        moc->forEachObject(entity->name(), [&](ManagedObject* o) {
            if ((o->isUpdated() || o->isInserted() || o->isDeleted()) && o != moc->modelDefaults())
                changed << o->entityName();
            return true;
        });
    EXPECT_TRUE(changed.isEmpty()) << changed.join(", ").toStdString();
    EXPECT_TRUE(texts().isEmpty()) << texts().join("\n").toStdString();

    prompts.answer(1); // "Close", should a save be offered
    doc->performClose();
    ASSERT_TRUE(documents().isEmpty()) << texts().join("\n").toStdString();
    // The rows that differ, either way.
    const QStringList after = contents(path);
    QStringList differ;
    for (const QString& row : before)
        if (!after.contains(row))
            differ << "- " + row;
    for (const QString& row : after)
        if (!before.contains(row))
            differ << "+ " + row;
    EXPECT_TRUE(differ.isEmpty()) << differ.mid(0, 40).join("\n").toStdString();
    // The focus moves were stored on the way (a command saves first), which moves the file's change counter. Opened
    // again, looked at without moving the focus and closed, the file is left byte for byte as it was.
    const QByteArray hashAfterWalk = fileHash(path);
    doc = app->openDocumentWithContentsOfURL(path);
    ASSERT_NE(doc, nullptr) << texts().join("\n").toStdString();
    diagram = qobject_cast<CdDiagram*>(doc->pcd());
    editor = qobject_cast<InfoAreaController*>(doc->pInfoArea());
    doc->dovurWindow()->show();
    doc->dovurWindow()->activateWindow();
    QApplication::processEvents();
    lookAtSelectedPerson();
    EXPECT_TRUE(doc->endEditing());
    EXPECT_FALSE(doc->moc()->hasChanges());
    EXPECT_FALSE(doc->moc()->undoManager()->canUndo()) << doc->moc()->undoManager()->undoActionName().toStdString();
    doc->performClose();
    ASSERT_TRUE(documents().isEmpty()) << texts().join("\n").toStdString();
    EXPECT_EQ(fileHash(path), hashAfterWalk);
    EXPECT_EQ(contents(path), before);
}

} // namespace
