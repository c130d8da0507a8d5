// The Window menu's page stepping and the Help menu's guide and web pages.
#include "shell/ui/AppController.h"

#include "shell/Utils.h"
#include "shell/ui/DOvurDocument.h"
#include "shell/ui/DocumentController.h"
#include "shell/ui/PersonEditorPane.h"

#include "platform/AppPaths.h"
#include "platform/Localizer.h"
#include "platform/Prompts.h"
#include "platform/Workspace.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace {
const QString kWebSite = QStringLiteral("https://kinloom.org");

PersonEditorPane* frontEditor()
{
    DOvurDocument* doc = DocumentController::shared().currentDocument();
    return doc && doc->dovurWindow() ? doc->pInfoArea() : nullptr;
}

void openWebPage(const QString& address)
{
    const auto tell = [address] {
        Prompts::current().message(LocalizedString(QStringLiteral("WebPageNotOpened")).arg(address));
    };
    if (!Workspace::shared().openUrl(QUrl(address), tell))
        tell();
}
}

void AppController::selectNextTabViewItem()
{
    if (PersonEditorPane* editor = frontEditor())
        editor->selectNextTabViewItem();
}

void AppController::selectPreviousTabViewItem()
{
    if (PersonEditorPane* editor = frontEditor())
        editor->selectPreviousTabViewItem();
}

QString AppController::helpBookPath()
{
    return QDir(AppPaths::sharedSupportDirectory()).absoluteFilePath(QStringLiteral("help/index.html"));
}

void AppController::showHelp()
{
    const QString index = helpBookPath();
    if (!QFileInfo::exists(index)) {
        Prompts::current().message(
            LocalizedString(QStringLiteral("HelpBookMissing")).arg(QDir::toNativeSeparators(QFileInfo(index).path())));
        return;
    }
    Utils::displayFile(index, QString(), QStringLiteral("start_here"),
                       LocalizedString(QStringLiteral("HelpBookNotOpened")));
}

void AppController::kinloomForum()
{
    openWebPage(kWebSite + QStringLiteral("/forums"));
}

void AppController::frequentlyAskedQuestions()
{
    openWebPage(kWebSite + QStringLiteral("/forums/viewforum.php?f=4"));
}
