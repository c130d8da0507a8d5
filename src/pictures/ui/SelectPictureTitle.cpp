#include "pictures/ui/SelectPictureTitle.h"

#include "pictures/PictureTitleChoices.h"

#include "shell/UtilsFunctions.h"
#include "shell/ui/ThemeIcon.h"

#include "model/FTPerson.h"
#include "model/FTPicture.h"

#include "platform/Localizer.h"

#include <QButtonGroup>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

SelectPictureTitle::SelectPictureTitle(
    FTPicture* draggedPicture, FTPicture* newPicture, FTPerson* dropPerson, QWidget* parent)
    : QDialog(parent)
    , m_draggedPicture(draggedPicture)
    , m_newPicture(newPicture)
    , m_dropPerson(dropPerson)
    , m_choices(PictureTitleChoices::choicesFor(draggedPicture, newPicture))
    , m_buttonMatrix(new QButtonGroup(this))
{
    setObjectName(QStringLiteral("SelectPictureTitle"));
    setWindowTitle(LocalizedString(QStringLiteral("SelectPictureTitleWindow")));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, PanelColour());
    setPalette(palette);
    setAutoFillBackground(true);
    if (m_draggedPicture && m_newPicture && m_draggedPicture != m_newPicture) {
        if (m_newPicture->date() != m_draggedPicture->date())
            m_newPicture->setDate(m_draggedPicture->date());
        if (m_newPicture->notes() != m_draggedPicture->notes())
            m_newPicture->setNotes(m_draggedPicture->notes());
    }

    auto* layout = new QVBoxLayout(this);
    auto* prompt = new QLabel(LocalizedString(QStringLiteral("SelectPictureTitlePrompt"))
                                  .arg(dropPerson ? dropPerson->name() : QString()));
    prompt->setWordWrap(true);
    layout->addWidget(prompt);
    for (int i = 0; i < m_choices.size(); ++i) {
        auto* choice = new QRadioButton(m_choices[i]);
        m_buttonMatrix->addButton(choice, i);
        layout->addWidget(choice);
        if (i == 0)
            choice->setChecked(true);
    }
    layout->addSpacing(8);
    auto* ok = new QPushButton(themeIcon(QStringLiteral("dialog-ok")), LocalizedString(QStringLiteral("OK")));
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    layout->addWidget(ok, 0, Qt::AlignRight);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    setMinimumWidth(360);
}

void SelectPictureTitle::run(FTPicture* draggedPicture, FTPicture* newPicture, FTPerson* dropPerson, QWidget* parent)
{
    SelectPictureTitle sheet(draggedPicture, newPicture, dropPerson, parent);
    sheet.exec();
}

void SelectPictureTitle::done(int result)
{
    const int chosen = m_buttonMatrix->checkedId();
    if (m_newPicture && chosen >= 0 && chosen < m_choices.size() && m_choices[chosen] != m_newPicture->name().trimmed())
        m_newPicture->setName(m_choices[chosen]);
    QDialog::done(result);
}
