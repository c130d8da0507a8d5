#include "editor/ui/RelationshipDialog.h"

#include "shell/UtilsFunctions.h"
#include "shell/ui/ThemeIcon.h"

#include "platform/Localizer.h"

#include <QApplication>
#include <QPushButton>

RelationshipDialog::RelationshipDialog(QWidget* parent)
    : QDialog(parent)
{
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, PanelColour());
    setPalette(palette);
    setAutoFillBackground(true);
    setModal(true);
}

int RelationshipDialog::run()
{
    // Over the front window, so that the dialog opens in front of it and centred on it.
    if (!parentWidget())
        if (QWidget* front = QApplication::activeWindow(); front && front != this)
            setParent(front, windowFlags() | Qt::Dialog);
    return exec();
}

void RelationshipDialog::done(int result)
{
    if (!windowShouldClose())
        return;
    if (m_keptSize)
        *m_keptSize = size();
    QDialog::done(result);
}

void RelationshipDialog::keepSizeIn(QSize* size)
{
    m_keptSize = size;
    if (size && size->isValid() && size->width() > 0)
        resize(*size);
}

QPushButton* RelationshipDialog::makeCloseButton()
{
    return makeButton("", "Close", QStringLiteral("closeButton"), [this] { done(QDialog::Accepted); });
}

QPushButton* RelationshipDialog::makeButton(
    const char* icon, const char* textKey, const QString& objectName, std::function<void()> action)
{
    auto* button = new QPushButton(LocalizedString(QString::fromLatin1(textKey)));
    if (*icon)
        button->setIcon(themeIcon(QString::fromLatin1(icon)));
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [action = std::move(action)] { action(); });
    return button;
}
