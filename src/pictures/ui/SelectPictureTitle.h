#pragma once

#include <QDialog>
#include <QStringList>

class FTPerson;
class FTPicture;
class QButtonGroup;

// The title of a picture just made for a person from one dragged or pasted onto the person, chosen among a few
// (PictureTitleChoices), run modally; the new picture also takes the dragged picture's date and notes. Closing
// the window, by its button or its frame, keeps the choice.
//
//   SelectPictureTitle::run(dragged, added, person, window);
class SelectPictureTitle : public QDialog {
    Q_OBJECT
public:
    SelectPictureTitle(FTPicture* draggedPicture, FTPicture* newPicture, FTPerson* dropPerson, QWidget* parent = nullptr);

    static void run(FTPicture* draggedPicture, FTPicture* newPicture, FTPerson* dropPerson, QWidget* parent = nullptr);

    QStringList choices() const { return m_choices; }
    QButtonGroup* buttonMatrix() const { return m_buttonMatrix; }

public Q_SLOTS:
    void done(int result) override;

private:
    FTPicture* m_draggedPicture;
    FTPicture* m_newPicture;
    FTPerson* m_dropPerson;
    QStringList m_choices;
    QButtonGroup* m_buttonMatrix;
};
