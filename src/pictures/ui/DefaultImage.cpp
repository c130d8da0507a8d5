#include "pictures/ui/DefaultImage.h"

#include "pictures/ui/PictureController.h"

#include "shell/ui/ThemeIcon.h"

#include "model/FTPerson.h"
#include "model/FTPicture.h"
#include "model/UtilsPics.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QVBoxLayout>

DefaultImage::DefaultImage(QWidget* parent)
    : DefaultPictureView(parent)
    , m_label(new QLabel(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_label);
    m_label->setAlignment(Qt::AlignCenter);
    m_label->setFrameShape(QFrame::StyledPanel);
    m_label->setFixedSize(UtilsPics::kThumbnailSize + 4, UtilsPics::kThumbnailSize + 4);
}

void DefaultImage::setPerson(FTPerson* person)
{
    m_person = person;
    display();
}

void DefaultImage::display()
{
    FTPicture* picture = m_person ? m_person->defaultPicture() : nullptr;
    const QImage image = picture ? picture->thumbnailImage() : QImage();
    m_showsImage = !image.isNull();
    if (m_showsImage) {
        m_label->setPixmap(QPixmap::fromImage(image.scaled(
            UtilsPics::kThumbnailSize, UtilsPics::kThumbnailSize, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
        setCursor(Qt::PointingHandCursor);
    } else {
        m_label->setPixmap(themeIcon(QStringLiteral("avatar-default")).pixmap(64, 64));
        unsetCursor();
    }
}

void DefaultImage::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_showsImage || !m_person || !m_person->defaultPicture())
        return;
    QPointer<DefaultImage> self(this);
    PictureController::beginSheet(window(), m_person, m_person->defaultPicture(), [self](FTPicture*, bool) {
        if (self)
            self->display();
    });
}
