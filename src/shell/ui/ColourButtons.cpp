#include "shell/ui/ColourButtons.h"

#include "platform/UserDefaults.h"

#include <QColorDialog>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

QIcon ColourButtons::swatch(const QColor& colour)
{
    QPixmap pixmap(36, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QColor(0, 0, 0, 110));
    painter.setBrush(colour.isValid() ? colour : QColor(Qt::white));
    painter.drawRoundedRect(QRectF(0.5, 0.5, 35, 15), 3, 3);
    return QIcon(pixmap);
}

QPushButton* ColourButtons::makeButton(QWidget* parent)
{
    auto* button = new QPushButton(parent);
    button->setIconSize(QSize(36, 16));
    button->setFixedWidth(64);
    return button;
}

void ColourButtons::chooseColour(QWidget* parent, const QString& key, std::function<void(const QColor&)> chosen)
{
    auto* dialog = new QColorDialog(UserDefaults::standard().colorForKey(key), parent);
    dialog->setObjectName(QStringLiteral("colourDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(dialog, &QColorDialog::colorSelected, parent, std::move(chosen));
    dialog->open();
}
