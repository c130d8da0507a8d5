#pragma once

// A hierarchy window over a small family with dates, as the user sees it.

#include "../DiagramFixture.h"

#include "diagrams/ui/HdView.h"
#include "diagrams/ui/HierarchyDiagram.h"

#include "shell/FirstRunDefaults.h"

#include "model/Hierarchy.h"

#include <QCoreApplication>

#include <memory>

// Windows over a small family with dates, as the user sees them.
class HierarchyWindow : public DiagramFixture {
protected:
    void SetUp() override
    {
        DiagramFixture::SetUp();
        HierarchyDiagram::setPrevFrameRect({});
        FirstRunDefaults::initialiseHdUserDefaults();
    }
    void TearDown() override
    {
        window.reset();
        QCoreApplication::processEvents();
        DiagramFixture::TearDown();
    }

    // Opens a window on `root` and lets it build its tree.
    void open(FTPerson* root, bool ancestors)
    {
        window = std::make_unique<HierarchyDiagram>(root, ancestors, nullptr);
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window->show();
        settle();
    }
    void settle()
    {
        QCoreApplication::processEvents();
        window->hdView()->prepare();
        QCoreApplication::processEvents();
    }
    HdView* view() const { return window->hdView(); }
    HierarchyDiagramCommands& commands() const { return view()->commands(); }
    Hierarchy* node(const FTPerson* p) const
    {
        return view()->layout().findFirstPerson(p, view()->layout().rootHierarchy());
    }
    QString selectedName() const
    {
        Hierarchy* h = commands().selectedHierarchy();
        return h ? h->person()->name() : QString();
    }
    FTPerson* child(FTPerson* parent, const QString& name, const QString& gender, int born)
    {
        FTPerson* p = person(name, gender, born);
        link(parent, p);
        return p;
    }

    std::unique_ptr<HierarchyDiagram> window;
};
