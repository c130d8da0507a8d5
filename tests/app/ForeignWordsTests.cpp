// Words that belong to another platform never reach the user: not in any string table, not in the title or the
// texts of any window the menus open, not in any alert. The search reads every table and walks every menu item
// of the running program, so windows and texts that land later are searched too.

#include "app/InstallApplication.h"

#include "platform/AppPaths.h"
#include "platform/Prompts.h"
#include "platform/Workspace.h"

#include "../shell/ui/ApplicationFixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QRegularExpression>
#include <QSet>
#include <QTabBar>
#include <QTimer>

#include <gtest/gtest.h>

namespace {
const QRegularExpression kForeignWords(QStringLiteral("Vovadid|iMac|Photos|rtfd"));

// Answers every alert as Escape would (the last button, mostly Cancel) and keeps its title and texts.
class RecordingPrompts : public Prompts {
public:
    QStringList seen;
    void message(const QString& text, const QString& info) override { seen << kAlertTitle << text << info; }
    void messageAsSheet(QObject*, const QString& text) override { seen << kAlertTitle << text; }
    void showMe(const QString& windowTitle, const QString& text) override { seen << windowTitle << text; }
    int choose(const QString& text, const QString& info, const QStringList& buttons) override
    {
        return chooseWithTitle(kAlertTitle, text, info, buttons);
    }
    int chooseWithTitle(const QString& windowTitle, const QString& text, const QString& info,
                        const QStringList& buttons) override
    {
        seen << windowTitle << text << info << buttons;
        return int(buttons.size()) - 1;
    }
    int chooseWithEscape(const QString& windowTitle, const QString& text, const QString& info,
                         const QStringList& buttons, int escapeButton) override
    {
        seen << windowTitle << text << info << buttons;
        return escapeButton >= 0 ? escapeButton : int(buttons.size()) - 1;
    }
};

// The title and every text a window shows: labels, buttons, group boxes, tabs, fields' hints, tool tips, menus.
QStringList textsOf(QWidget* window)
{
    QStringList out {window->windowTitle(), window->toolTip()};
    for (QWidget* w : window->findChildren<QWidget*>()) {
        out << w->toolTip() << w->windowTitle();
        if (auto* label = qobject_cast<QLabel*>(w))
            out << label->text();
        else if (auto* button = qobject_cast<QAbstractButton*>(w))
            out << button->text();
        else if (auto* box = qobject_cast<QGroupBox*>(w))
            out << box->title();
        else if (auto* line = qobject_cast<QLineEdit*>(w))
            out << line->placeholderText();
        else if (auto* tabs = qobject_cast<QTabBar*>(w))
            for (int i = 0; i < tabs->count(); ++i)
                out << tabs->tabText(i) << tabs->tabToolTip(i);
    }
    for (QAction* a : window->findChildren<QAction*>())
        out << a->text() << a->toolTip();
    return out;
}

QList<QAction*> menuItems(QMenuBar* bar)
{
    QList<QAction*> items;
    std::function<void(QMenu*)> walk = [&](QMenu* menu) {
        Q_EMIT menu->aboutToShow(); // menus that fill themselves as they open
        for (QAction* a : menu->actions()) {
            if (a->menu())
                walk(a->menu());
            else if (!a->isSeparator())
                items << a;
        }
    };
    for (QAction* top : bar->actions())
        if (top->menu())
            walk(top->menu());
    return items;
}

class ForeignWords : public ApplicationFixture {
protected:
    void SetUp() override
    {
        ApplicationFixture::SetUp();
        Prompts::install(&recorder);
        // Nothing is handed to another program: no application is known, and the desktop's opener does nothing.
        QDir().mkpath(dir.path() + "/empty/applications");
        QDir().mkpath(dir.path() + "/bin");
        QFile opener(dir.path() + "/bin/xdg-open");
        ASSERT_TRUE(opener.open(QIODevice::WriteOnly));
        opener.write("#!/bin/sh\nexit 0\n");
        opener.close();
        opener.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
        savedPath = qgetenv("PATH");
        qputenv("PATH", (dir.path() + "/bin:").toUtf8() + savedPath);
        Workspace::shared().setSearchPaths({dir.path() + "/empty"}, {dir.path() + "/empty"});
    }
    void TearDown() override
    {
        Workspace::shared().setSearchPaths({}, {});
        qputenv("PATH", savedPath);
        ApplicationFixture::TearDown();
    }

    // Where a text holds one of the words: "<where>: <text>".
    void search(const QString& where, const QStringList& texts)
    {
        for (const QString& t : texts)
            if (t.contains(kForeignWords))
                found << where + ": " + t;
    }

    RecordingPrompts recorder;
    QStringList found;
    QByteArray savedPath;
};
}

TEST_F(ForeignWords, NoStringTableHoldsThem)
{
    const QDir tables(savedSupport);
    const QStringList files = tables.entryList({"*.strings"}, QDir::Files);
    ASSERT_FALSE(files.isEmpty()) << savedSupport.toStdString();
    for (const QString& name : files) {
        QFile file(tables.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        int line = 0;
        for (const QByteArray& text : file.readAll().split('\n')) {
            ++line;
            search(QStringLiteral("%1:%2").arg(name).arg(line), {QString::fromUtf8(text)});
        }
    }
    EXPECT_TRUE(found.isEmpty()) << found.join('\n').toStdString();
}

// Every menu item of a database's window, chosen in turn: the windows it opens (modal ones are read and closed
// as they appear), the alerts it raises and the texts of the main window itself.
TEST_F(ForeignWords, NoWindowOrAlertTheMenusOpenShowsThem)
{
    AppController controller;
    installApplication(controller);
    ASSERT_TRUE(controller.awakeFromNib());
    DOvurDocument* doc = controller.openDocumentWithContentsOfURL(copySampleDatabase(data));
    ASSERT_TRUE(doc);
    QPointer<QMainWindow> window = doc->dovurWindow();
    window->show();
    QApplication::processEvents();
    search("main window", textsOf(window));

    // Items that end the program, close the database or reach outside this machine.
    const QSet<QString> left {"Quit Kinloom", "Close", "Close Window", "Discussion Forums",
                              "Frequently Asked Questions", "Download Latest Release..."};
    QString current;
    QTimer closer;
    closer.setInterval(20);
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
        if (QWidget* modal = QApplication::activeModalWidget()) {
            search(current + " > " + modal->windowTitle(), textsOf(modal));
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->reject();
            else
                modal->close();
        }
    });
    closer.start();

    QStringList walked;
    for (QAction* item : menuItems(window->menuBar())) {
        const QString text = item->text().remove('&');
        if (left.contains(text) || !item->isEnabled())
            continue;
        current = text;
        walked << text;
        const QWidgetList windows = QApplication::topLevelWidgets();
        const QSet<QWidget*> before(windows.cbegin(), windows.cend());
        recorder.seen.clear();
        item->trigger();
        QApplication::processEvents();
        search(text + " (alerts)", recorder.seen);
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w == window || !w->isVisible() || w->inherits("QMenu"))
                continue;
            search(text + " > " + w->windowTitle(), textsOf(w));
            if (!before.contains(w))
                w->close();
        }
        QApplication::processEvents();
        if (!DocumentController::shared().documents().contains(doc))
            break;
    }
    closer.stop();
    EXPECT_GT(walked.size(), 40) << walked.join(", ").toStdString();
    EXPECT_TRUE(found.isEmpty()) << found.join('\n').toStdString();
}
