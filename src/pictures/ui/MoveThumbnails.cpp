#include "pictures/ui/MoveThumbnails.h"

#include "pictures/ui/PictureWindowParts.h"

#include "shell/ui/ThemeIcon.h"

#include "platform/Localizer.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

MoveThumbnails::MoveThumbnails(FTMoc& moc, const QList<FTPicture*>& pictures, QWidget* parent)
    : QDialog(parent)
    , m_mover(moc, pictures)
{
    setObjectName(QStringLiteral("MoveThumbnails"));
    preparePictureWindow(this, LocalizedString(QStringLiteral("MoveThumbnailsTitle")));

    auto* icon = new QLabel;
    icon->setPixmap(themeIcon(QStringLiteral("image-x-generic")).pixmap(48, 48));
    icon->setAlignment(Qt::AlignTop);
    auto* title = new QLabel(LocalizedString(QStringLiteral("MoveThumbnailsTitle")));
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    auto* info = new QLabel(LocalizedString(QStringLiteral("MoveThumbnailsInfo")));
    info->setWordWrap(true);
    m_message = new QLabel(QString());
    m_message->setObjectName(QStringLiteral("progressMessage"));
    m_progress = new QProgressBar;
    m_progress->setRange(0, int(std::max<qsizetype>(1, m_mover.picsArrayCount())));
    m_progress->setValue(0);
    m_progress->setTextVisible(false);
    m_closeButton = new QPushButton(themeIcon(QStringLiteral("window-close")), LocalizedString(QStringLiteral("Close")));
    m_closeButton->setObjectName(QStringLiteral("closeButton"));
    m_closeButton->setDefault(true);
    connect(m_closeButton, &QPushButton::clicked, this, [this] { reject(); });

    auto* texts = new QVBoxLayout;
    texts->addWidget(title);
    texts->addWidget(info);
    texts->addSpacing(6);
    texts->addWidget(m_progress);
    texts->addWidget(m_message);
    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addLayout(texts, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
    setMinimumWidth(440);

    m_mover.messageChanged = [this](const QString& text) {
        m_message->setText(text);
        m_message->repaint();
    };
    m_mover.progressChanged = [this](int done) {
        m_progress->setValue(done);
        m_progress->repaint();
    };
}

void MoveThumbnails::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_firstTime)
        return;
    m_firstTime = false;
    QTimer::singleShot(0, this, [this] { moveAllThumbnails(); });
}

void MoveThumbnails::moveAllThumbnails()
{
    if (m_moved || m_running)
        return;
    m_running = true;
    m_closeButton->setEnabled(false);
    m_mover.moveAllThumbnails();
    m_running = false;
    m_moved = true;
    m_closeButton->setEnabled(true);
}

void MoveThumbnails::reject()
{
    if (m_running)
        return;
    hide();
    done(0);
}

void MoveThumbnails::run(FTMoc& moc, const QList<FTPicture*>& pictures)
{
    MoveThumbnails window(moc, pictures);
    window.exec();
    // Closed before it began (no window system to show it): the move still happens.
    window.moveAllThumbnails();
}
