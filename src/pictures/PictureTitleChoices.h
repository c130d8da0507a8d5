#pragma once

#include <QStringList>

class FTPicture;

// The titles offered for a picture just made from one dragged or pasted onto a person, first the one it has:
// the dragged picture's title, the new picture's own title, and the title made from the new picture's file name
// (its folder and extension left out, "_" as blanks). Each once, none empty.
class PictureTitleChoices {
public:
    static QStringList choicesFor(const FTPicture* draggedPicture, const FTPicture* newPicture);
    // "my file" from ".../my_file.jpg".
    static QString titleFromFileName(const QString& path);
};
