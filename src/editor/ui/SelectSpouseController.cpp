#include "editor/ui/SelectSpouseController.h"

#include "model/FTPerson.h"

#include "platform/Localizer.h"
#include "platform/Prompts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

SelectSpouseController::SelectSpouseController(FTPerson* person, QWidget* parent)
    : RelationshipDialog(parent)
    , m_person(person)
{
    setObjectName(QStringLiteral("SelectSpouse"));
    setWindowTitle(QStringLiteral("%1 %2").arg(LocalizedString("SelectSpouseFor"), person ? person->name() : QString()));
    auto* caption = new QLabel(LocalizedString("SelectSpouseCaption"));
    caption->setWordWrap(true);
    m_spouses = new QListWidget;
    m_spouses->setObjectName(QStringLiteral("tv_spouses"));
    m_spouses->setAlternatingRowColors(true);
    if (person)
        m_choices = person->spouses();
    for (const FTPerson* spouse : std::as_const(m_choices))
        m_spouses->addItem(spouse->nameWithBirthAndDeathYears());
    connect(m_spouses, &QListWidget::itemDoubleClicked, this, [this] { didOK(); });

    QPushButton* ok = makeButton("", "OK", QStringLiteral("okButton"), [this] { didOK(); });
    ok->setDefault(true);
    QPushButton* cancel = makeButton("", "Cancel", QStringLiteral("cancelButton"), [this] { done(QDialog::Rejected); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancel);
    buttons->addWidget(ok);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(caption);
    layout->addWidget(m_spouses, 1);
    layout->addLayout(buttons);
    resize(380, 260);
}

void SelectSpouseController::didOK()
{
    const int row = m_spouses->currentRow();
    if (row < 0 || row >= m_choices.size() || m_spouses->selectedItems().isEmpty()) {
        Prompts::current().message(LocalizedString("SelectSpouseTryAgain"));
        return;
    }
    m_spouse = m_choices[row];
    done(QDialog::Accepted);
}
