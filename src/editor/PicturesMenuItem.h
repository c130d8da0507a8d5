#pragma once

#include <QColor>
#include <QFont>
#include <QKeySequence>
#include <QString>

#include <optional>
#include <vector>

class FTPicture;

struct PicturesMenuItem;
using PicturesMenu = std::vector<PicturesMenuItem>;

// One entry of the pictures page's context menu, built afresh for every secondary click. The page turns a menu
// into a QMenu and runs the chosen item's command on its picture.
struct PicturesMenuItem {
    enum class Action {
        None,
        // Informs only: enabled, does nothing.
        DoNothing,
        // Of a picture (the item's picture).
        OpenPictureWith,
        PictureEdit,
        PictureRemove,
        PictureMakeDefault,
        PictureTranscribe,
        AttachPictureToActiveSource,
        CopyOriginalImage,
        CopyThumbNailImage,
        SelectPersonOrPictureEdit,
        // Of the empty space.
        PictureAdd,
        Paste,
        SortByDate,
        SortByTitle,
        RemoveDuplicates,
    };

    static PicturesMenuItem separator()
    {
        PicturesMenuItem item;
        item.isSeparator = true;
        return item;
    }

    bool isSeparator = false;
    QString title;
    Action action = Action::None;
    bool enabled = true;
    FTPicture* picture = nullptr;
    // OpenPictureWith: the application's desktop-file id.
    QString application;
    QKeySequence keyEquivalent;
    // A freedesktop icon name, or empty.
    QString iconName;
    // The entry's own font and colour (the where-used entry of the page's own person); else the menu's.
    std::optional<QFont> font;
    QColor colour;
    PicturesMenu submenu;

    // An item without a command and without a submenu, or one disabled by its rule, shows disabled.
    bool isEnabled() const { return !isSeparator && enabled && (action != Action::None || !submenu.empty()); }
};
