#pragma once

// The running application with one open database and the sources windows' hooks, for the sources editor and its
// small windows.

#include "../../shell/ui/ApplicationFixture.h"
#include "Screenshot.h"

#include "sources/SourceHooks.h"
#include "sources/SourceListModel.h"
#include "sources/ui/SourcesAddModDel.h"
#include "sources/ui/SourcesMenuActions.h"

#include "model/FTModelDefaults.h"
#include "model/FTPerson.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"

#include <QApplication>
#include <QItemSelectionModel>
#include <QMainWindow>
#include <QMenu>
#include <QTableView>
#include <QTimer>

#include <functional>
#include <initializer_list>
#include <utility>

class SourcesWindowFixture : public ApplicationFixture {
protected:
    void SetUp() override
    {
        ApplicationFixture::SetUp();
        savedSourceHooks = SourceHooks::shared();
        beforeOpening();
        start();
        SourcesMenuActions::registerMenuItems(*app);
        doc = app->openDocumentWithContentsOfURL(makeDatabase(data + "/Sources.RezUdu", 12));
        ASSERT_NE(doc, nullptr) << texts().join("\n").toStdString();
        moc = doc->moc();
        // Only the sources made by the test.
        for (FTSource* s : moc->fetch<FTSource>())
            moc->deleteObject(s);
        moc->saveMoc();
    }
    void TearDown() override
    {
        SourcesMenuActions::removeObservers();
        SourceHooks::shared() = savedSourceHooks;
        SourcesAddModDel::setSplitViewPercent(0);
        ApplicationFixture::TearDown();
    }

    // Installs what the windows need before the application starts and the database opens.
    virtual void beforeOpening() { }

    using Fields = std::initializer_list<std::pair<const char*, const char*>>;
    FTSource* source(int number, Fields fields = {})
    {
        FTSource* s = FTSource::initInMoc(moc);
        s->setNumericId(number);
        for (const auto& [key, value] : fields)
            s->setValueForKey(key, QString::fromUtf8(value));
        return s;
    }
    QList<FTSourceRel*> cite(FTSource* s, int count, const QString& name = "Mary Brown")
    {
        QList<FTSourceRel*> out;
        for (int i = 1; i <= count; ++i) {
            FTPerson* p = FTPerson::initInMoc(moc, QStringLiteral("%1 %2").arg(name).arg(i), "F");
            FTSourceRel* c = FTSourceRel::initInMoc(moc, s, p, QString());
            c->setReference(QStringLiteral("Folio %1").arg(i));
            out << c;
        }
        return out;
    }

    // Opens the editor as the menu command does; null when it did not open.
    SourcesAddModDel* openEditor(FTSource* show = nullptr)
    {
        SourcesMenuActions::sourcesAddModDel(show);
        return editor();
    }
    SourcesAddModDel* editor() const
    {
        for (SourcesAddModDel* e : doc->dovurWindow()->findChildren<SourcesAddModDel*>())
            if (e->isVisible())
                return e;
        return nullptr;
    }
    static void selectRows(SourcesAddModDel* e, std::initializer_list<FTSource*> sources)
    {
        QItemSelection selection;
        for (FTSource* s : sources) {
            const int row = e->sourcesArrayController()->rowOfSource(s);
            selection.select(e->sourcesArrayController()->index(row, 0), e->sourcesArrayController()->index(row, 5));
        }
        e->tv()->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    }
    // Runs `fn` with the popup menu that opens next (a menu's exec waits for its choice).
    static void whenMenuShows(std::function<void(QMenu*)> fn)
    {
        QTimer::singleShot(0, [fn] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            fn(menu);
            if (menu)
                menu->close();
        });
    }

    SourceHooks savedSourceHooks;
    DOvurDocument* doc = nullptr;
    FTMoc* moc = nullptr;
};
