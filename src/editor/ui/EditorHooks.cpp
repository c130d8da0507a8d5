#include "editor/ui/EditorHooks.h"

#include "editor/ui/PlaceField.h"

#include "shell/ui/ThemeIcon.h"

#include "model/FTPerson.h"
#include "model/FTPicture.h"

#include "platform/Localizer.h"
#include "platform/Prompts.h"

#include <QLabel>
#include <QVBoxLayout>

namespace {
// The default picture without the pictures subsystem: its thumbnail, or an empty frame.
class ThumbnailPictureView : public DefaultPictureView {
public:
    explicit ThumbnailPictureView(QWidget* parent)
        : DefaultPictureView(parent)
        , m_label(new QLabel(this))
    {
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(m_label);
        m_label->setAlignment(Qt::AlignCenter);
        m_label->setFrameShape(QFrame::StyledPanel);
        m_label->setFixedSize(104, 104);
    }
    void setPerson(FTPerson* person) override
    {
        FTPicture* picture = person ? person->defaultPicture() : nullptr;
        const QImage image = picture ? picture->thumbnailImage() : QImage();
        if (image.isNull())
            m_label->setPixmap(themeIcon(QStringLiteral("avatar-default")).pixmap(64, 64));
        else
            m_label->setPixmap(
                QPixmap::fromImage(image.scaled(100, 100, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    }

private:
    QLabel* m_label;
};
}

DefaultPictureView::DefaultPictureView(QWidget* parent)
    : QWidget(parent)
{
}

EditorHooks& EditorHooks::shared()
{
    static EditorHooks hooks;
    return hooks;
}

void EditorHooks::notAvailable(const char* windowKey)
{
    Prompts::current().message(
        LocalizedString(QStringLiteral("WindowNotAvailableYet")).arg(LocalizedString(QString::fromLatin1(windowKey))));
}

DefaultPictureView* EditorHooks::makeDefaultPictureView(QWidget* parent)
{
    if (shared().defaultPictureView)
        if (DefaultPictureView* view = shared().defaultPictureView(parent))
            return view;
    return new ThumbnailPictureView(parent);
}

PlaceField* EditorHooks::makePlaceField(QWidget* parent)
{
    if (shared().placeField)
        if (PlaceField* field = shared().placeField(parent))
            return field;
    return new PlaceLineEdit(parent);
}
