#include "editor/PicturesMenuBuilder.h"

#include "editor/PersonPictures.h"

#include "shell/Utils.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/FTPicture.h"
#include "model/FTSource.h"
#include "model/UtilsPics.h"

#include "platform/Workspace.h"

namespace {
PicturesMenuItem item(const QString& title, PicturesMenuItem::Action action, FTPicture* picture = nullptr,
    const char* iconName = nullptr)
{
    PicturesMenuItem it;
    it.title = title;
    it.action = action;
    it.picture = picture;
    it.iconName = QString::fromLatin1(iconName);
    return it;
}
}

PicturesMenu PicturesMenuBuilder::pictureMenu(
    FTPicture* picture, const QList<FTPicture*>& pictures, FTPerson* pagePerson)
{
    using A = PicturesMenuItem::Action;
    PicturesMenu menu;
    if (!picture)
        return menu;
    if (!picture->filename().isEmpty()) {
        PicturesMenuItem openWith = item(QStringLiteral("Open With"), A::None, picture, "document-open");
        openWith.submenu = openWithMenu(picture);
        menu.push_back(openWith);
        menu.push_back(PicturesMenuItem::separator());
    }
    menu.push_back(item(QStringLiteral("Edit Title, Date, Notes, Cropping... (Ctrl+Click)"), A::PictureEdit, picture, "document-properties"));
    PicturesMenuItem remove = item(QStringLiteral("Remove Picture"), A::PictureRemove, picture, "list-remove");
    remove.keyEquivalent = QKeySequence(Qt::Key_Delete);
    menu.push_back(remove);
    if (!pictures.isEmpty() && pictures.first() != picture)
        menu.push_back(item(QStringLiteral("Make Default"), A::PictureMakeDefault, picture, "starred"));
    PicturesMenuItem transcribe = item(QStringLiteral("Transcribe Picture..."), A::PictureTranscribe, picture, "accessories-text-editor");
    transcribe.enabled = PersonPictures::canTranscribeFromMenu(picture);
    menu.push_back(transcribe);
    menu.push_back(PicturesMenuItem::separator());

    const FTMoc* moc = picture->moc();
    const FTSource* active = moc ? moc->activeSource() : nullptr;
    const QString type = active && !active->type().isEmpty() ? QStringLiteral(" (%1)").arg(active->type()) : QString();
    // Without an active source the item names no number: choosing it offers to pick one.
    menu.push_back(item(active ? QStringLiteral("Add Reference to Source No. %1%2").arg(QString::number(active->numericId()), type)
                               : QStringLiteral("Add Reference to a Source..."),
        A::AttachPictureToActiveSource, picture));
    menu.push_back(PicturesMenuItem::separator());
    menu.push_back(item(QStringLiteral("Copy to Clipboard - Original Image"), A::CopyOriginalImage, picture, "edit-copy"));
    menu.push_back(item(QStringLiteral("Copy to Clipboard - Thumbnail Image"), A::CopyThumbNailImage, picture, "edit-copy"));
    addWhereUsed(menu, picture, pagePerson);
    return menu;
}

PicturesMenu PicturesMenuBuilder::emptySpaceMenu(int count, int imagesOnClipboard)
{
    using A = PicturesMenuItem::Action;
    PicturesMenu menu;
    menu.push_back(item(QStringLiteral("Add Picture..."), A::PictureAdd, nullptr, "list-add"));
    PicturesMenuItem paste = item(QStringLiteral("Paste Images"), A::Paste, nullptr, "edit-paste");
    if (imagesOnClipboard > 0)
        paste.title = QStringLiteral("Paste %1 Image%2 from Clipboard")
                          .arg(imagesOnClipboard)
                          .arg(imagesOnClipboard > 1 ? QStringLiteral("s") : QString());
    else
        paste.enabled = false;
    menu.push_back(paste);
    const struct {
        const char* title;
        A action;
    } twoOrMore[] = {
        {"Sort all by Date / Title", A::SortByDate},
        {"Sort all by Title / Date", A::SortByTitle},
        {"Remove all Duplicates", A::RemoveDuplicates},
    };
    for (const auto& c : twoOrMore) {
        PicturesMenuItem it = item(QString::fromLatin1(c.title), c.action);
        it.enabled = count >= 2;
        menu.push_back(it);
    }
    return menu;
}

PicturesMenu PicturesMenuBuilder::openWithMenu(FTPicture* picture)
{
    PicturesMenu menu;
    if (!picture || picture->filename().isEmpty())
        return menu;
    // A link in the pictures folder stands for its target, which has the real extension.
    const QStringList ids = Utils::applicationsThatOpenFile(UtilsPics::resolveAliasedPath(picture->filename()));
    for (const QString& id : ids) {
        const auto app = Workspace::shared().application(id);
        PicturesMenuItem it = item(app && !app->name.isEmpty() ? app->name : id,
            PicturesMenuItem::Action::OpenPictureWith, picture);
        it.application = id;
        menu.push_back(it);
        if (menu.size() == 1)
            menu.push_back(PicturesMenuItem::separator());
    }
    return menu;
}

void PicturesMenuBuilder::addWhereUsed(PicturesMenu& menu, FTPicture* picture, FTPerson* pagePerson)
{
    const QList<FTPicture*> users = UtilsPics::referencesToPicture(picture);
    menu.push_back(PicturesMenuItem::separator());
    menu.push_back(item(QStringLiteral("People linked to the same file name: (%1)").arg(users.size()),
        users.isEmpty() ? PicturesMenuItem::Action::None : PicturesMenuItem::Action::DoNothing));
    for (qsizetype i = 0; i < users.size(); ++i) {
        FTPerson* owner = users[i]->owner();
        if (!owner || (i > 0 && users[i - 1]->owner() == owner))
            continue;
        PicturesMenuItem it = item(QStringLiteral("   %1...").arg(owner->nameWithBirthAndDeathYears()),
            PicturesMenuItem::Action::SelectPersonOrPictureEdit, users[i]);
        if (owner == pagePerson) {
            it.font = QFont(QStringLiteral("Arial"), 13);
            it.colour = QColor(Qt::red);
        }
        menu.push_back(it);
    }
}
