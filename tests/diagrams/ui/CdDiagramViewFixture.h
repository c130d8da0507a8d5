#pragma once

#include "../DiagramFixture.h"

#include "diagrams/ui/CdDiagram.h"

#include "model/FTMocUndoManager.h"

#include "platform/NotificationCenter.h"
#include "platform/UserDefaults.h"

#include <QApplication>

#include <memory>

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
