#include "platform/Workspace.h"

#include "TestSupport.h"
#include "WorkspaceFixture.h"

#include <QFile>
#include <QUrl>

#include <gtest/gtest.h>

namespace {
std::string s(const QString& q) { return q.toStdString(); }

QString makeRtf(const QString& dir, const QString& name)
{
    const QString path = dir + "/" + name;
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write("{\\rtf1\\ansi Hello}");
    return path;
}

QString rtfType()
{
    const QString probe = makeRtf(TestSupport::tempRoot(), "probe.rtf");
    return Workspace::shared().mimeTypeForFile(probe);
}
}

TEST(Workspace, ReadsDesktopEntries)
{
    WorkspaceFixture fx(TestSupport::tempRoot(), rtfType());
    auto editor = Workspace::shared().application("editor.desktop");
    ASSERT_TRUE(editor.has_value());
    EXPECT_EQ(editor->name, "Test Editor") << "the unlocalised name, from the main group only";
    EXPECT_EQ(editor->exec, "\"" + fx.script + "\" --editor %F");
    EXPECT_EQ(editor->mimeTypes, (QStringList{rtfType(), "text/plain"}));

    EXPECT_EQ(Workspace::shared().application("viewer")->id, "viewer.desktop");
    EXPECT_EQ(Workspace::shared().application("test VIEWER")->id, "viewer.desktop") << "by name";
    EXPECT_EQ(Workspace::shared().application("kde-sub.desktop")->name, "Sub App");
    for (const char* none : {"hidden.desktop", "tryexec.desktop", "link.desktop", "nothing", ""})
        EXPECT_FALSE(Workspace::shared().application(none).has_value()) << none;
}

TEST(Workspace, ApplicationsForAFileTypeInPreferenceOrder)
{
    const QString type = rtfType();
    ASSERT_FALSE(type.isEmpty());
    WorkspaceFixture fx(TestSupport::tempRoot(), type);
    const QString file = makeRtf(fx.path(), "Report.rtf");
    EXPECT_EQ(Workspace::shared().applicationsForFile(file),
              (QStringList{"editor.desktop", "viewer.desktop", "kde-sub.desktop", "plain.desktop"}));
    EXPECT_EQ(Workspace::shared().defaultApplicationForFile(file), "editor.desktop");
    EXPECT_TRUE(Workspace::shared().applicationsForFile(fx.path() + "/missing.rtf").isEmpty());
}

TEST(Workspace, CommandLinesFromExecFieldCodes)
{
    Workspace::Application app;
    app.id = "t.desktop";
    app.name = "Tester";
    app.icon = "tester-icon";
    app.path = "/apps/t.desktop";
    const QString a = "/tmp/a b.rtf", b = "/tmp/c.rtf";
    const QString urlA = "file:///tmp/a%20b.rtf";
    struct Case {
        const char* exec;
        QStringList files;
        QList<QStringList> lines;
    } cases[] = {
        {"edit %f", {a}, {{"edit", a}}},
        {"edit %F", {a, b}, {{"edit", a, b}}},
        {"edit %f", {a, b}, {{"edit", a}, {"edit", b}}},
        {"edit %u", {a}, {{"edit", urlA}}},
        {"edit %U --x", {a, b}, {{"edit", urlA, "file:///tmp/c.rtf", "--x"}}},
        {"edit", {a}, {{"edit", a}}},
        {"edit --file=%f", {a}, {{"edit", "--file=" + a}}},
        {"edit %i --name=%c %k 100%% %d %D %n %N %v %m %F", {a},
         {{"edit", "--icon", "tester-icon", "--name=Tester", "/apps/t.desktop", "100%", a}}},
        {"\"/opt/My App/run\" \"say \\\"hi\\\" \\$HOME \\\\ \\`x\\`\" %F", {a},
         {{"/opt/My App/run", "say \"hi\" $HOME \\ `x`", a}}},
        {"edit %f", {}, {{"edit"}}},
    };
    for (const Case& c : cases) {
        app.exec = c.exec;
        QString error;
        EXPECT_EQ(Workspace::commandLines(app, c.files, &error), c.lines) << c.exec;
        EXPECT_TRUE(error.isEmpty()) << c.exec;
    }
    // A place in the file goes to the applications that take addresses; the others get the file alone.
    for (const auto& [exec, line] : {std::pair<const char*, QStringList>{"browse %u", {"browse", urlA + "#start_here"}},
                                     {"browse %U", {"browse", urlA + "#start_here"}},
                                     {"edit %F", {"edit", a}}}) {
        app.exec = exec;
        EXPECT_EQ(Workspace::commandLines(app, {a}, nullptr, "start_here"), QList<QStringList>{line}) << exec;
    }
    for (const char* bad : {"\"unclosed %f", "", "  %f"}) {
        app.exec = bad;
        QString error;
        EXPECT_TRUE(Workspace::commandLines(app, {a}, &error).isEmpty()) << bad;
        EXPECT_FALSE(error.isEmpty()) << bad;
    }
}

TEST(Workspace, OpensFilesInTheChosenOrTheDefaultApplication)
{
    WorkspaceFixture fx(TestSupport::tempRoot(), rtfType());
    const QString file = makeRtf(fx.path(), "My Report.rtf");
    QString error;
    ASSERT_TRUE(Workspace::shared().openFile(file, "viewer.desktop", &error)) << s(error);
    EXPECT_EQ(fx.launched(), (QStringList{"--viewer", QString::fromUtf8(QUrl::fromLocalFile(file).toEncoded())}));
    ASSERT_TRUE(Workspace::shared().openFile(file, &error)) << s(error);
    EXPECT_EQ(fx.launched(), (QStringList{"--editor", file}));
    ASSERT_TRUE(Workspace::shared().openFile(file, fx.script, &error)) << "a program by path";
    EXPECT_EQ(fx.launched(), QStringList{file});

    EXPECT_FALSE(Workspace::shared().openFile(file, "no-such-app.desktop", &error));
    EXPECT_EQ(error, "There is no application called no-such-app.desktop");
    EXPECT_FALSE(Workspace::shared().openFile(fx.path() + "/gone.rtf", "viewer.desktop", &error));
    EXPECT_TRUE(error.startsWith("There is no file"));
}
