#include "editor/ui/AddUnconnectedPersonController.h"

#include "editor/UnconnectedPersonEntry.h"
#include "editor/ui/PersonFieldSet.h"

#include "platform/Localizer.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

AddUnconnectedPersonController::AddUnconnectedPersonController(FTMoc* moc, QWidget* parent)
    : RelationshipDialog(parent)
    , m_moc(moc)
{
    setObjectName(QStringLiteral("AddUnconnectedPerson"));
    setWindowTitle(LocalizedString("AddUnconnected"));

    auto* heading = new QLabel(LocalizedString("AddUnconnectedTitle"));
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    m_name = new QLineEdit;
    m_name->setObjectName(QStringLiteral("name"));
    m_name->setMinimumWidth(280);
    m_gender = new QLineEdit(LocalizedString("MaleShort"));
    m_gender->setObjectName(QStringLiteral("gender"));
    m_gender->setMaxLength(8);
    m_gender->setFixedWidth(m_gender->fontMetrics().horizontalAdvance(QStringLiteral("MMM")) + 16);
    auto* grid = new QGridLayout;
    grid->addWidget(PersonFieldSet::fieldLabel(LocalizedString("SelfName")), 0, 0);
    grid->addWidget(m_name, 0, 1, 1, 2);
    grid->addWidget(PersonFieldSet::fieldLabel(LocalizedString("SelfGender")), 1, 0);
    grid->addWidget(m_gender, 1, 1);
    grid->addWidget(new QLabel(LocalizedString("AddUnconnectedGenderHint")), 1, 2);
    grid->setColumnStretch(2, 1);

    QPushButton* cancel = makeButton("", "Cancel", QStringLiteral("cancelButton"), [this] { this->cancel(); });
    QPushButton* ok = makeButton("", "Add", QStringLiteral("saveButton"), [this] { save(); });
    ok->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancel);
    buttons->addWidget(ok);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addLayout(buttons);
}

void AddUnconnectedPersonController::save()
{
    if (m_person)
        return;
    m_person = UnconnectedPersonEntry::create(m_moc, m_name->text(), m_gender->text());
    if (m_person)
        done(0);
}

void AddUnconnectedPersonController::cancel()
{
    done(0);
}
