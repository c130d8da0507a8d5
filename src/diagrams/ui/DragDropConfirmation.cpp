#include "diagrams/ui/DragDropConfirmation.h"

#include "shell/UtilsFunctions.h"
#include "shell/ui/ThemeIcon.h"

#include "platform/Localizer.h"
#include "platform/Prompts.h"
#include "platform/UserDefaults.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace {
const QString kSuppress = QStringLiteral("suppressDragDropConfirmation");
}

DragDropConfirmation::DragDropConfirmation(const QString& message, QWidget* parent)
    : QDialog(parent)
    , m_message(message)
{
    setObjectName(QStringLiteral("DropPictureConfirmation"));
    setWindowTitle(Prompts::kAlertTitle);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, PanelColour());
    setPalette(palette);
    setAutoFillBackground(true);

    auto* icon = new QLabel;
    icon->setPixmap(themeIcon(QStringLiteral("image-x-generic")).pixmap(48, 48));
    icon->setAlignment(Qt::AlignTop);
    m_messageLabel = new QLabel(message);
    m_messageLabel->setObjectName(QStringLiteral("message"));
    m_messageLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont bigger = m_messageLabel->font();
    bigger.setPointSizeF(bigger.pointSizeF() * 1.15);
    m_messageLabel->setFont(bigger);
    m_messageLabel->setMinimumWidth(260);
    m_suppress = new QCheckBox(LocalizedString(QStringLiteral("SuppressDropConfirmation")));
    m_suppress->setChecked(UserDefaults::standard().boolForKey(kSuppress));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    buttons->button(QDialogButtonBox::Ok)->setText(LocalizedString(QStringLiteral("OK")));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(18, 18, 18, 14);
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(12);
    grid->addWidget(icon, 0, 0, 2, 1);
    grid->addWidget(m_messageLabel, 0, 1);
    grid->addWidget(m_suppress, 1, 1);
    grid->addWidget(buttons, 2, 0, 1, 2);
    setFixedSize(sizeHint());
}

void DragDropConfirmation::done(int result)
{
    // However the window closes.
    UserDefaults::standard().setBool(kSuppress, m_suppress->isChecked());
    QDialog::done(result);
}
