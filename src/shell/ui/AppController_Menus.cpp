#include "shell/ui/AppController.h"

#include "shell/MenuRules.h"
#include "shell/RecentDocuments.h"
#include "shell/ui/AppControllerPrivate.h"
#include "shell/ui/DOvurDocument.h"
#include "shell/ui/DocumentController.h"
#include "shell/ui/ThemeIcon.h"
#include "shell/ui/VersionMigrationController.h"

#include "platform/Prompts.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QKeySequence>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QUrl>
#include <QWidget>

namespace {
const QString kTerminateAction = QStringLiteral("terminate");

// The item goes before `before`, or at the end without one.
QAction* addItem(QMenu* menu, const QString& title, std::function<void()> action, const QKeySequence& shortcut = {},
                 const char* icon = nullptr, QAction* before = nullptr)
{
    auto* item = new QAction(title, menu);
    menu->insertAction(before, item);
    if (icon)
        item->setIcon(themeIcon(QString::fromLatin1(icon)));
    if (!shortcut.isEmpty())
        item->setShortcut(shortcut);
    QObject::connect(item, &QAction::triggered, item, [action = std::move(action)] {
        if (action)
            action();
    });
    return item;
}

// The text fields' own editing commands, sent to whichever widget has the keyboard.
void sendToFocusWidget(const char* member)
{
    if (QWidget* focus = QApplication::focusWidget())
        QMetaObject::invokeMethod(focus, member);
}

QString plainTitle(const QAction* action)
{
    QString title = action->text();
    title.remove(QLatin1Char('&'));
    return title;
}
}

void AppController::addMenuItem(const QString& menu, const QString& title, std::function<void()> action,
                                const QString& shortcut)
{
    d->menuItems.push_back({menu, title, std::move(action), shortcut});
}

void AppController::validateMenu(const QList<QAction*>& actions) const
{
    DOvurDocument* doc = DocumentController::shared().currentDocument();
    const bool sheet = doc && doc->hasAttachedSheet();
    for (QAction* action : actions) {
        if (action->isSeparator())
            continue;
        action->setEnabled(MenuRules::isMenuItemEnabled(
            plainTitle(action), action->objectName() == kTerminateAction, bBurning, doc != nullptr, sheet));
    }
}

QMenuBar* AppController::createMainMenu(QWidget* window)
{
    auto* bar = new QMenuBar(window);
    QList<QMenu*> menus;
    auto newMenu = [&](const QString& title) {
        QMenu* menu = bar->addMenu(title);
        menu->setObjectName(title);
        menus << menu;
        return menu;
    };

    QMenu* file = newMenu(QStringLiteral("File"));
    addItem(file, QStringLiteral("New..."), [this] { newDocument(); }, QKeySequence::New, "document-new");
    addItem(file, QStringLiteral("Open..."), [this] { openDocument(); }, QKeySequence::Open, "document-open");
    QMenu* recent = file->addMenu(themeIcon(QStringLiteral("document-open-recent")), QStringLiteral("Open Recent"));
    QObject::connect(recent, &QMenu::aboutToShow, recent, [this, recent] {
        recent->clear();
        for (const QString& path : RecentDocuments::paths())
            addItem(recent, QFileInfo(path).fileName(), [this, path] { openDocumentWithContentsOfURL(path); })
                ->setToolTip(path);
        recent->addSeparator();
        addItem(recent, QStringLiteral("Clear Menu"), [] { RecentDocuments::clear(); });
    });
    addItem(file, QStringLiteral("Migrate Old Database..."), [this] {
        const QString converted = VersionMigrationController::runModal({});
        if (!converted.isEmpty())
            openDocumentWithContentsOfURL(converted);
    });
    file->addSeparator();
    addItem(file, QStringLiteral("Close"), [this] { closeCurrentDocument(); }, QKeySequence::Close, "window-close");
    addItem(file, QStringLiteral("Save"), [this] { saveData(); }, QKeySequence::Save, "document-save");
    addItem(file, QStringLiteral("Backup Current Database..."), [this] { backupCurrentDatabase(); });
    addItem(file, QStringLiteral("Check Database Integrity..."), [this] { checkDatabaseIntegrity(); });
    addItem(file, QStringLiteral("Gedcom Load Information..."), [this] { metadataFromGedcomLoad(); });
    addItem(file, QStringLiteral("Move Data Directory..."), [this] { moveDataDirectory(); });
    // The other subsystems' File items (import, export) come here, above printing and quitting.
    QAction* printGroup = file->addSeparator();
    addItem(file, QStringLiteral("Print..."), [this] { printDocument(); }, QKeySequence::Print, "document-print");
    file->addSeparator();
    addItem(file, QStringLiteral("Quit Kinloom"), [this] { terminate(); }, QKeySequence::Quit, "application-exit")
        ->setObjectName(kTerminateAction);

    QMenu* edit = newMenu(QStringLiteral("Edit"));
    addItem(edit, QStringLiteral("Undo"), [this] { undo(); }, QKeySequence::Undo, "edit-undo");
    addItem(edit, QStringLiteral("Redo"), [this] { redo(); }, QKeySequence::Redo, "edit-redo");
    edit->addSeparator();
    addItem(edit, QStringLiteral("Cut"), [] { sendToFocusWidget("cut"); }, QKeySequence::Cut, "edit-cut");
    addItem(edit, QStringLiteral("Copy"), [] { sendToFocusWidget("copy"); }, QKeySequence::Copy, "edit-copy");
    addItem(edit, QStringLiteral("Paste"), [] { sendToFocusWidget("paste"); }, QKeySequence::Paste, "edit-paste");
    addItem(edit, QStringLiteral("Select All"), [] { sendToFocusWidget("selectAll"); }, QKeySequence::SelectAll,
            "edit-select-all");

    QMenu* people = newMenu(QStringLiteral("People"));
    addItem(people, QStringLiteral("Promote to Focal Person"), [this] { promoteToFocalPerson(); });
    people->addSeparator();
    for (const QString& as : {QStringLiteral("Child"), QStringLiteral("Parent"), QStringLiteral("Spouse")})
        addItem(people, QStringLiteral("Attach Existing Person as %1...").arg(as), [] { attachingPersonAdvice(); });
    people->addSeparator();
    addItem(people, QStringLiteral("Delete Person"), [] { deletePerson(); });
    addItem(people, QStringLiteral("Disconnect Person..."), [] { disconnectPerson(); });

    // The person editor's pages: Ctrl with the arrows, since the arrows alone move the caret in a field.
    QMenu* windowMenu = newMenu(QStringLiteral("Window"));
    addItem(windowMenu, QStringLiteral("Next TabView Pane"), [] { selectNextTabViewItem(); },
            QKeySequence(Qt::CTRL | Qt::Key_Right), "go-next");
    addItem(windowMenu, QStringLiteral("Previous TabView Pane"), [] { selectPreviousTabViewItem(); },
            QKeySequence(Qt::CTRL | Qt::Key_Left), "go-previous");

    QMenu* help = newMenu(QStringLiteral("Help"));
    addItem(help, QStringLiteral("Kinloom Help"), [] { showHelp(); }, QKeySequence::HelpContents, "help-contents");
    addItem(
        help, QStringLiteral("About Kinloom"),
        [] {
            Prompts::current().message(QStringLiteral("Kinloom %1").arg(QCoreApplication::applicationVersion()),
                                       QStringLiteral("A family history program."));
        },
        {}, "help-about");
    addItem(help, QStringLiteral("Discussion Forums"), [] { kinloomForum(); });
    addItem(help, QStringLiteral("Frequently Asked Questions"), [] { frequentlyAskedQuestions(); });
    help->addSeparator();
    addItem(help, QStringLiteral("Download Latest Release..."), [] { downloadLatestRelease(); }, {},
            "system-software-update");

    // The items of the other subsystems: in a menu of this controller, a group of their own after its items
    // (in File, before printing and quitting); other menus are made before Help.
    QMap<QMenu*, QAction*> insertBefore {{file, printGroup}};
    QSet<QMenu*> ownMenus(menus.begin(), menus.end());
    for (const MenuItem& item : d->menuItems) {
        QMenu* menu = nullptr;
        for (QMenu* m : menus)
            if (m->objectName() == item.menu)
                menu = m;
        if (!menu) {
            menu = new QMenu(item.menu, bar);
            menu->setObjectName(item.menu);
            // Other subsystems' menus come before Window and Help, which close the bar as usual.
            bar->insertMenu(windowMenu->menuAction(), menu);
            menus << menu;
        }
        QAction* before = insertBefore.value(menu);
        if (ownMenus.remove(menu))
            menu->insertSeparator(before);
        addItem(menu, item.title, item.action, QKeySequence(item.shortcut), nullptr, before);
    }

    for (QMenu* menu : menus) {
        validateMenu(menu->actions());
        QObject::connect(menu, &QMenu::aboutToShow, menu, [this, menu] { validateMenu(menu->actions()); });
    }
    return bar;
}
