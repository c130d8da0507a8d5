#pragma once

#include "pictures/ui/PictureMetadata.h"

#include "pictures/PictureEditing.h"

#include <QDialog>
#include <QList>
#include <QPointer>
#include <QRect>

#include <functional>
#include <memory>

class FTManagedObject;
class FTPicture;
class PicEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;
class QSlider;
class QTableWidget;

// The picture editor: one picture of a person or a source, as a sheet. The picture in the crop view (zoom, turn,
// crop), its adjusted preview, title, date and notes, the seven display adjustments, its place among the owner's
// pictures with the next and previous buttons, the other pictures that use the same file (their crops drawn in
// yellow when selected), its citations, its file's metadata, and finding another file for it. Without a picture
// the first file chosen, pasted or dropped makes one. The sheet ends with 1 when the picture changed.
//
//   PictureController::beginSheet(window, person, picture, [](FTPicture* p, bool changed) { ... });
class PictureController : public QDialog {
    Q_OBJECT
public:
    PictureController(FTManagedObject* owner, FTPicture* picture, QWidget* parent = nullptr);
    ~PictureController() override;

    // Opens the editor as a sheet on `window`; `didEnd` runs when it has ended, with the picture (null when none
    // was added) and whether it changed. The editor deletes itself afterwards.
    static PictureController* beginSheet(QWidget* window, FTManagedObject* owner, FTPicture* picture,
        std::function<void(FTPicture* picture, bool changed)> didEnd = {});

    PictureEditing& editing() { return *m_editing; }
    FTPicture* picture() const { return m_editing->picture(); }
    FTManagedObject* owner() const { return m_editing->owner(); }
    PicEdit* picEdit() const { return m_picEdit; }
    // The other references the user selected in their table.
    QList<FTPicture*> selectedOtherReferences() const;

    // The crop view's changes: each step of a drag shows the preview, the last (`final`) stores it too.
    void setRclCrop(const QRectF& crop, bool final = true);
    // A file for the picture (chosen, pasted or dropped); false when it was refused.
    bool setFilename(const QString& path, const QString& title = {}, const QString& date = {},
        const QString& notes = {});

    // The actions of the window's buttons.
    void closeEditor();
    void nextPicture();
    void previousPicture();
    void rotateOriginalImage(const QString& buttonTitle);
    void cropAll();
    void setDefaultEnhancements();
    void findPicture();
    void displaySourceReferences();
    void displayMetadata();
    void displayOtherReferences();
    void invokePhotoApplication();
    void displayHelpAboutCopy();
    void helpForOtherReferences();
    // Ends editing in the fields: the title and notes are written, a changed date is checked.
    void endEditing();

    PictureMetadata* metadataWindow() const { return m_metadata; }
    // The content size of the last editor closed in this run (empty at start).
    static QRect rememberedContentRect();
    static void setRememberedContentRect(const QRect& rect);

public Q_SLOTS:
    void reject() override;

private:
    void buildWindow();
    void showPicture();
    void showPreview(const QImage& preview);
    void showAdjustments();
    void adjustmentChanged(int index, int value, bool final);
    void commitDate();
    void retitleSourceReferences();

    std::unique_ptr<PictureEditing> m_editing;
    PicEdit* m_picEdit = nullptr;
    QScrollArea* m_scroll = nullptr;
    QLabel* m_thumbnailView = nullptr;
    QLabel* m_ownersName = nullptr;
    QLabel* m_pictureSize = nullptr;
    QLabel* m_pictureNo = nullptr;
    QLineEdit* m_title = nullptr;
    QLineEdit* m_date = nullptr;
    QPlainTextEdit* m_notes = nullptr;
    QList<QSlider*> m_adjustments;
    QSlider* m_zoom = nullptr;
    QTableWidget* m_otherReferences = nullptr;
    QPushButton* m_nextButton = nullptr;
    QPushButton* m_previousButton = nullptr;
    QPushButton* m_sourceRefsButton = nullptr;
    QPushButton* m_defaults = nullptr;
    QList<QPushButton*> m_imageButtons;
    QPointer<PictureMetadata> m_metadata;
};
