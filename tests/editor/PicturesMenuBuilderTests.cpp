// The pictures page's context menus: the menu of a picture with its "Open With" list and where-used section, and
// the menu of the empty space.

#include "PersonPicturesFixture.h"
#include "WorkspaceFixture.h"

#include "editor/PicturesMenuBuilder.h"

#include "model/FTSource.h"

#include "platform/store/Key.h"

#include <QImage>

namespace {

class PicturesMenuTest : public PersonPicturesFixture {
protected:
    static QStringList titles(const PicturesMenu& menu)
    {
        QStringList out;
        for (const PicturesMenuItem& item : menu)
            out << (item.isSeparator ? QStringLiteral("-") : item.title);
        return out;
    }
    static const PicturesMenuItem* titled(const PicturesMenu& menu, const QString& start)
    {
        for (const PicturesMenuItem& item : menu)
            if (!item.isSeparator && item.title.startsWith(start))
                return &item;
        return nullptr;
    }
    FTPicture* pictureOfFile(FTPerson* owner, const QString& title, const QString& filename)
    {
        FTPicture* p = picture(owner, title);
        p->setString(Key("filename"), filename);
        return p;
    }
};

TEST_F(PicturesMenuTest, APicturesMenuListsItsCommandsInOrder)
{
    FTPicture* first = picture(ann, "Placeholder");
    FTPicture* scan = pictureOfFile(ann, "Letter", "/scans/letter.pdf");
    list.setPerson(ann);

    const PicturesMenu menu = PicturesMenuBuilder::pictureMenu(scan, list.pictures(), ann);
    EXPECT_EQ(titles(menu), QStringList({"Open With", "-", "Edit Title, Date, Notes, Cropping... (Ctrl+Click)",
                                "Remove Picture", "Make Default", "Transcribe Picture...", "-",
                                "Add Reference to a Source...", "-", "Copy to Clipboard - Original Image",
                                "Copy to Clipboard - Thumbnail Image", "-", "People linked to the same file name: (1)",
                                "   Ann Lee..."}));
    EXPECT_EQ(titled(menu, "Remove")->keyEquivalent, QKeySequence(Qt::Key_Delete));
    EXPECT_FALSE(titled(menu, "Transcribe")->isEnabled()); // a PDF
    for (const PicturesMenuItem& item : menu) {
        if (!item.isSeparator && item.action != PicturesMenuItem::Action::None
            && item.action != PicturesMenuItem::Action::DoNothing) {
            EXPECT_EQ(item.picture, scan) << item.title.toStdString();
        }
    }

    // The first picture, without a file: no "Open With" or "Make Default"; it can be transcribed; nobody else
    // uses its file.
    FTSource* source = FTSource::initInMoc(moc.get());
    source->setType("Book");
    moc->setActiveSource(source);
    const PicturesMenu firstMenu = PicturesMenuBuilder::pictureMenu(first, list.pictures(), ann);
    EXPECT_EQ(titles(firstMenu).first(), "Edit Title, Date, Notes, Cropping... (Ctrl+Click)");
    EXPECT_EQ(titled(firstMenu, "Make Default"), nullptr);
    EXPECT_TRUE(titled(firstMenu, "Transcribe")->isEnabled());
    EXPECT_EQ(titled(firstMenu, "Add Reference")->title,
        QStringLiteral("Add Reference to Source No. %1 (Book)").arg(source->numericId()));
    EXPECT_EQ(titles(firstMenu).last(), "People linked to the same file name: (0)");
    EXPECT_FALSE(firstMenu.back().isEnabled());
}

TEST_F(PicturesMenuTest, TheWhereUsedSectionNamesEachOtherPersonOnce)
{
    // Three pictures of one file, two of them Bob's; Ann's own entry is marked.
    FTPerson* bob = person("Bob Lee", M());
    FTPicture* mine = pictureOfFile(ann, "Farm", "/photos/farm.jpg");
    pictureOfFile(bob, "Farm", "/photos/farm.jpg");
    pictureOfFile(bob, "Farm again", "/photos/farm.jpg");
    pictureOfFile(bob, "Other", "/photos/other.jpg");
    list.setPerson(ann);
    const PicturesMenu menu = PicturesMenuBuilder::pictureMenu(mine, list.pictures(), ann);
    const QStringList all = titles(menu);
    EXPECT_EQ(all.mid(all.indexOf("People linked to the same file name: (3)")),
        QStringList({"People linked to the same file name: (3)", "   Ann Lee...", "   Bob Lee..."}));
    const PicturesMenuItem* own = titled(menu, "   Ann Lee");
    EXPECT_EQ(own->colour, QColor(Qt::red));
    ASSERT_TRUE(own->font);
    EXPECT_EQ(own->font->family(), "Arial");
    EXPECT_EQ(own->font->pointSize(), 13);
    const PicturesMenuItem* other = titled(menu, "   Bob Lee");
    EXPECT_FALSE(other->colour.isValid());
    EXPECT_EQ(other->picture->owner(), bob);
    EXPECT_EQ(other->action, PicturesMenuItem::Action::SelectPersonOrPictureEdit);
    EXPECT_TRUE(titled(menu, "People linked")->isEnabled());
}

TEST_F(PicturesMenuTest, TheEmptySpaceMenuCountsTheClipboardsPictures)
{
    struct Case {
        int count, offered;
        QString paste;
        bool pasteEnabled, sortsEnabled;
    };
    const Case cases[] = {
        {0, 0, "Paste Images", false, false},
        {1, 1, "Paste 1 Image from Clipboard", true, false},
        {2, 3, "Paste 3 Images from Clipboard", true, true},
    };
    for (const Case& c : cases) {
        const PicturesMenu menu = PicturesMenuBuilder::emptySpaceMenu(c.count, c.offered);
        EXPECT_EQ(titles(menu), QStringList({"Add Picture...", c.paste, "Sort all by Date / Title",
                                    "Sort all by Title / Date", "Remove all Duplicates"}));
        EXPECT_TRUE(menu[0].isEnabled());
        EXPECT_EQ(menu[1].isEnabled(), c.pasteEnabled);
        for (size_t i = 2; i < menu.size(); ++i)
            EXPECT_EQ(menu[i].isEnabled(), c.sortsEnabled) << c.count;
    }
}

TEST_F(PicturesMenuTest, OpenWithListsTheApplicationsByNameTheDefaultFirst)
{
    WorkspaceFixture workspace(dir.path(), "image/png");
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::gray);
    const QString file = dir.path() + "/farm.png";
    ASSERT_TRUE(image.save(file));
    FTPicture* p = pictureOfFile(ann, "Farm", file);
    const PicturesMenu menu = PicturesMenuBuilder::openWithMenu(p);
    EXPECT_EQ(titles(menu), QStringList({"Test Editor", "-", "Sub App", "Test Viewer"}));
    EXPECT_EQ(menu[0].application, "editor.desktop");
    EXPECT_EQ(menu[0].action, PicturesMenuItem::Action::OpenPictureWith);
    EXPECT_EQ(menu[0].picture, p);
    // A file that is gone has no applications.
    QFile::remove(file);
    EXPECT_TRUE(PicturesMenuBuilder::openWithMenu(p).empty());
}

} // namespace
