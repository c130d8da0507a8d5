#pragma once

// One open database in its main window with the person editor and everything of choosing and citing sources
// installed as the program installs it: the citation sheets, the citations page, the toolbar's menu of sources and
// its active source panel. What these windows keep for the running program is forgotten after each test.

#include "SourcesWindowFixture.h"

#include "sources/CitationSheetModel.h"
#include "sources/CitationTableModel.h"
#include "sources/SourceMenuModel.h"
#include "sources/ui/ActiveSourceSelect.h"
#include "sources/ui/CitationTableView.h"
#include "sources/ui/InfoArea_Sources.h"
#include "sources/ui/PictureSourceReferences.h"
#include "sources/ui/ReviewSourceReferences.h"
#include "sources/ui/SelectASourceButton.h"
#include "sources/ui/SelectASourceDialog.h"
#include "sources/ui/SourceCitingSetup.h"
#include "sources/ui/SourceReferenceDialog.h"

#include "editor/ui/EditorHooks.h"
#include "editor/ui/InfoAreaController.h"
#include "editor/ui/PersonEditorSetup.h"

#include "shell/ui/ToolbarController.h"

#include "sources/WhereUsedModel.h"

#include "model/FTEvent.h"
#include "model/FTMocUndoManager.h"
#include "model/FTSpouseRel.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QTabWidget>
#include <QToolBar>

#include <functional>
#include <ostream>

class CitingFixture : public SourcesWindowFixture {
protected:
    void beforeOpening() override
    {
        savedEditorHooks = EditorHooks::shared();
        SourceMenuModel::setGroupingWarningArmed(false);
        installPersonEditor();
        installSourceCiting();
    }
    void SetUp() override
    {
        // The help table too comes from the real support folder (the fixture then points at an empty one).
        LocalizedHelpString(QStringLiteral("AddSourceRefTo"));
        SourcesWindowFixture::SetUp();
        doc->dovurWindow()->activateWindow();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        NotificationCenter::defaultCenter().removeObserversOf(this);
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* dialog = qobject_cast<QDialog*>(w); dialog && dialog->isVisible())
                dialog->reject();
        SourcesWindowFixture::TearDown();
        removeSourceCiting();
        DOvurDocument::setPaneFactories({});
        InfoAreaController::removePageFactories();
        EditorHooks::shared() = savedEditorHooks;
        CitationSheetModel::forgetLastSheets();
        SelectASourceDialog::setRememberedSize({});
        ActiveSourceSelect::setPrevSize({});
        PictureSourceReferences::setPrevSize({});
        ReviewSourceReferences::setPrevSize({});
        SourceMenuModel::setGroupingWarningArmed(true);
    }

    InfoAreaController* personEditor() const { return qobject_cast<InfoAreaController*>(doc->pInfoArea()); }
    // The citations page, made visible.
    InfoArea_Sources* showPage()
    {
        InfoAreaController* e = personEditor();
        EXPECT_TRUE(e && e->choosePage("pSources"));
        return e ? qobject_cast<InfoArea_Sources*>(e->page("pSources")) : nullptr;
    }
    FTPerson* person(const QString& name, const QString& gender = "F")
    {
        return FTPerson::initInMoc(moc, name, gender);
    }
    void select(FTPerson* p)
    {
        moc->modelDefaults()->setSelectedPerson(p);
        QApplication::processEvents();
    }
    // The visible citation sheets, newest last.
    static QList<SourceReferenceDialog*> sheets()
    {
        QList<SourceReferenceDialog*> out;
        for (QWidget* w : QApplication::allWidgets())
            if (auto* s = qobject_cast<SourceReferenceDialog*>(w); s && s->isVisible())
                out << s;
        return out;
    }
    // The entry titled `title` among the actions of `menu` (a submenu is filled first, as opening it does).
    static QAction* entry(QMenu* menu, const QString& title)
    {
        if (!menu)
            return nullptr;
        Q_EMIT menu->aboutToShow();
        for (QAction* a : menu->actions())
            if (a->text() == title || a->text().section('\t', 0, 0) == title)
                return a;
        return nullptr;
    }
    // Clicks the button as the user does; answers the menu it shows.
    static QMenu* click(SelectASourceButton* button)
    {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(button->rect().center()),
            QPointF(button->mapToGlobal(button->rect().center())), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(button, &press);
        return button->shownMenu();
    }
    // Runs `fn` on the modal window that the next call opens, then `exec`'s answer is whatever `fn` did.
    static void whenModalShows(std::function<void(QWidget*)> fn)
    {
        QTimer::singleShot(0, [fn] { fn(QApplication::activeModalWidget()); });
    }

    EditorHooks savedEditorHooks;
};
