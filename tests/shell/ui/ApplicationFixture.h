#pragma once

// The running application in a test: a data folder and a shared support folder in a temporary folder, scripted
// alerts and panels, and the application controller started as the program starts it.

#include "TestSupport.h"

#include "shell/ui/AppController.h"
#include "shell/ui/DOvurDocument.h"
#include "shell/ui/DocumentController.h"

#include "model/FTMoc.h"
#include "model/ModelHooks.h"
#include "model/SyntheticDatabase.h"

#include "platform/AppPaths.h"
#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"
#include "platform/ScriptedPrompts.h"
#include "platform/UserDefaults.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

class ApplicationFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        TestSupport::useFreshDefaults();
        Prompts::install(&prompts);
        savedHooks = ModelHooks::shared();
        data = dir.path() + "/KinloomData";
        support = dir.path() + "/share";
        QDir().mkpath(support);
        QDir().mkpath(data);
        UserDefaults::standard().setString("KinloomDataDirectory", data);
        savedHome = qgetenv("HOME");
        LocalizedString("OK"); // the string tables come from the real support folder
        savedSupport = AppPaths::sharedSupportDirectory();
        AppPaths::setSharedSupportDirectory(support);
    }
    void TearDown() override
    {
        app.reset();
        DocumentController::shared().closeAllDocuments();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        NotificationCenter::defaultCenter().flushQueue();
        AppPaths::setSharedSupportDirectory(savedSupport);
        qputenv("HOME", savedHome);
        ModelHooks::shared() = savedHooks;
        Prompts::install(nullptr);
    }

    // Starts the application controller with scripted panels.
    void start()
    {
        app = std::make_unique<AppController>();
        app->panels().openDatabase = [this] {
            ++openPanelRuns;
            return openPanelAnswer;
        };
        app->panels().newDatabase = [this](QString* modelName, QString* personName, QString* gender) {
            if (newDatabaseAnswer.isEmpty())
                return false;
            *modelName = newDatabaseAnswer[0];
            *personName = newDatabaseAnswer[1];
            *gender = newDatabaseAnswer[2];
            return true;
        };
        ASSERT_TRUE(app->awakeFromNib());
    }

    // A user who never ran the program: an empty home folder and no data folder setting.
    void useEmptyHome()
    {
        const QString home = dir.path() + "/home";
        QDir().mkpath(home);
        qputenv("HOME", home.toUtf8());
        UserDefaults::standard().removeObject("KinloomDataDirectory");
        data = home + "/KinloomData";
    }

    QString makeDatabase(const QString& path, int people = 20)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QString error;
        EXPECT_TRUE(SyntheticDatabase::create(path, people, &error)) << error.toStdString();
        return path;
    }

    // A writable copy of the sample database the build made (the royal families), in `folder`; its path.
    QString copySampleDatabase(const QString& folder)
    {
        const QString built = savedSupport + "/Royal92.RezUdu";
        const QString path = folder + "/Royal92.RezUdu";
        EXPECT_TRUE(QFileInfo(built).isFile()) << built.toStdString();
        EXPECT_TRUE(QFile::copy(built, path));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        return path;
    }

    QStringList texts() const
    {
        QStringList out;
        for (const auto& r : prompts.records)
            out << r.text;
        return out;
    }
    QList<DOvurDocument*> documents() const { return DocumentController::shared().documents(); }

    QTemporaryDir dir {TestSupport::tempRoot() + "/app-XXXXXX"};
    QString data, support, savedSupport;
    QByteArray savedHome;
    ScriptedPrompts prompts;
    ModelHooks savedHooks;
    std::unique_ptr<AppController> app;
    QString openPanelAnswer;
    int openPanelRuns = 0;
    QStringList newDatabaseAnswer;
};
