#pragma once

#include "../DiagramFixture.h"

#include "diagrams/ui/CdDiagram.h"
#include "diagrams/ui/DiagramPopupMenu.h"

#include "model/FTMocUndoManager.h"

#include "platform/NotificationCenter.h"
#include "platform/UserDefaults.h"

#include <QApplication>
#include <QTimer>

#include <functional>
#include <memory>

// Runs `action`, which shows a diagram's context menu; `inMenu` runs while the menu shows and may choose an item
// (the menu is closed after it otherwise). Answers whether a menu showed.
inline bool whileMenuShows(QObject* context, const std::function<void(DiagramPopupMenu*)>& inMenu,
                           const std::function<void()>& action)
{
    bool shown = false;
    QTimer::singleShot(0, context, [&] {
        auto* menu = qobject_cast<DiagramPopupMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        shown = true;
        inMenu(menu);
        if (menu->isVisible())
            menu->close();
    });
    action();
    return shown;
}

// A diagram in a window of its own over the fixture's small family.
class CdDiagramView : public DiagramFixture {
protected:
    void SetUp() override
    {
        DiagramFixture::SetUp();
        moc->undoManager()->enableUndoRegistration();
        UserDefaults::standard().setInteger("maxAncestorLevel", 3);
        makeFamily();
        moc->saveMoc();
        moc->undoManager()->removeAllActions();
        diagram = std::make_unique<CdDiagram>();
        diagram->resize(980, 400);
        diagram->setMoc(moc.get());
        diagram->prepare();
        NotificationCenter::defaultCenter().flushQueue();
        prompts.records.clear();
    }
    void TearDown() override
    {
        diagram.reset();
        QCoreApplication::processEvents();
        DiagramFixture::TearDown();
    }
    QString undoName() const { return moc->undoManager()->undoActionName(); }
    // Shows the diagram as the active window: focus changes and the pointer's hover need one.
    void showActive()
    {
        diagram->show();
        diagram->activateWindow();
        QApplication::setActiveWindow(diagram.get());
        QCoreApplication::processEvents();
    }

    std::unique_ptr<CdDiagram> diagram;
};
