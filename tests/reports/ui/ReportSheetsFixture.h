#pragma once

// The running program with a database open and the Reports menu's commands in place, for the report sheets' tests.
#include "../../editor/ui/EditorFixture.h"

#include "reports/ui/ReportsMenuActions.h"

#include <QDir>

class ReportSheetsFixture : public EditorFixture {
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        ReportsMenuActions::registerMenuItems(*app);
        ReportsMenuActions::install();
        doc = open("Family.RezUdu");
        ASSERT_TRUE(doc);
        doc->dovurWindow()->resize(1000, 760);
        prompts.clear();
    }
    void TearDown() override
    {
        ReportsMenuActions::openPanel() = savedPanel;
        ReportsMenuActions::uninstall();
        EditorFixture::TearDown();
    }

    // The visible sheet of type T on the main window; null when none.
    template <class T> T* sheet() const
    {
        for (T* s : doc->dovurWindow()->findChildren<T*>())
            if (s->isVisible())
                return s;
        return nullptr;
    }

    static QStringList filesIn(const QString& folder)
    {
        return QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    }

    DOvurDocument* doc = nullptr;
    ReportsMenuActions::OpenPanel savedPanel = ReportsMenuActions::openPanel();
};
