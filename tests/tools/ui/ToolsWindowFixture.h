#pragma once

// The running application with one open database (synthetic people with places, occupations and family names) and
// the tools' menu items, for the database-wide editors' sheets.

#include "../../shell/ui/ApplicationFixture.h"
#include "Screenshot.h"

#include "tools/ui/ToolsMenuActions.h"

#include "model/FTEvent.h"
#include "model/FTPerson.h"

#include "platform/NotificationCenter.h"
#include "platform/UserDefaults.h"

#include <QApplication>
#include <QMainWindow>

class ToolsWindowFixture : public ApplicationFixture {
protected:
    void SetUp() override
    {
        ApplicationFixture::SetUp();
        start();
        ToolsMenuActions::registerMenuItems(*app);
        ToolsMenuActions::install();
        // Names as written, not with the family name in capitals.
        UserDefaults::standard().setBool("uppercaseFamilyName", false);
        doc = app->openDocumentWithContentsOfURL(makeDatabase(data + "/Tools.RezUdu", 40));
        ASSERT_NE(doc, nullptr) << texts().join("\n").toStdString();
        moc = doc->moc();
        NotificationCenter::defaultCenter().addObserver(
            "RefreshAllViews", nullptr, [this](const Notification&) { ++refreshes; }, this);
        prompts.clear();
    }
    void TearDown() override
    {
        NotificationCenter::defaultCenter().removeObserversOf(this);
        ApplicationFixture::TearDown();
    }

    // The sheet of that kind open on the main window; null when none is.
    template <class T> T* sheet() const
    {
        for (T* s : doc->dovurWindow()->findChildren<T*>())
            if (s->isVisible())
                return s;
        return nullptr;
    }
    static QString L(const char* key) { return LocalizedString(QString::fromLatin1(key)); }
    // Lets queued work run (an edit's rename starts once the edit has closed).
    static void settleEvents()
    {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    }

    DOvurDocument* doc = nullptr;
    FTMoc* moc = nullptr;
    int refreshes = 0;
};
