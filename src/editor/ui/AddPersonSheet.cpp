#include "editor/ui/AddPersonSheet.h"

#include "editor/ui/PersonFieldSet.h"

#include "platform/Localizer.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

AddPersonSheet::AddPersonSheet(FTMoc* moc, const QString& heading, int nameWidth, const QString& genderHint,
                               QWidget* parent)
    : RelationshipDialog(parent)
    , m_moc(moc)
{
    m_heading = new QLabel(heading);
    QFont bold = m_heading->font();
    bold.setBold(true);
    m_heading->setFont(bold);

    m_name = new QLineEdit;
    m_name->setObjectName(QStringLiteral("name"));
    m_name->setMinimumWidth(nameWidth);
    m_gender = new QLineEdit(LocalizedString("MaleShort"));
    m_gender->setObjectName(QStringLiteral("gender"));
    m_gender->setMaxLength(8);
    m_gender->setFixedWidth(m_gender->fontMetrics().horizontalAdvance(QStringLiteral("MMM")) + 16);
    m_grid = new QGridLayout;
    m_grid->addWidget(PersonFieldSet::fieldLabel(LocalizedString("SelfName")), 0, 0);
    m_grid->addWidget(m_name, 0, 1, 1, 2);
    m_grid->addWidget(PersonFieldSet::fieldLabel(LocalizedString("SelfGender")), 1, 0);
    m_grid->addWidget(m_gender, 1, 1);
    m_grid->addWidget(new QLabel(genderHint), 1, 2);
    m_grid->setColumnStretch(2, 1);

    QPushButton* cancel = makeButton("", "Cancel", QStringLiteral("cancelButton"), [this] { this->cancel(); });
    QPushButton* ok = makeButton("", "Add", QStringLiteral("saveButton"), [this] { save(); });
    ok->setDefault(true);
    m_buttons = new QHBoxLayout;
    m_buttons->addStretch();
    m_buttons->addWidget(cancel);
    m_buttons->addWidget(ok);
}

void AddPersonSheet::layOut(bool fieldsGrow)
{
    // Only now do the fields become the sheet's children, so that Tab goes through them in the grid's order
    // before the buttons.
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_heading);
    layout->addLayout(m_grid, fieldsGrow ? 1 : 0);
    if (!fieldsGrow)
        layout->addStretch();
    layout->addLayout(m_buttons);
}

void AddPersonSheet::save()
{
    if (m_person)
        return;
    m_person = createPerson();
    if (m_person)
        done(0);
}

void AddPersonSheet::cancel()
{
    done(0);
}
