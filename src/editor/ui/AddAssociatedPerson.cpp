#include "editor/ui/AddAssociatedPerson.h"

#include "editor/AssociatedPeople.h"
#include "editor/ui/PersonFieldSet.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"

#include "platform/Localizer.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

AddAssociatedPerson::AddAssociatedPerson(FTMoc* moc, QWidget* parent)
    : RelationshipDialog(parent)
    , m_moc(moc)
{
    setObjectName(QStringLiteral("AddAssociatedPerson"));
    setWindowTitle(LocalizedString("AddAssociated"));
    FTPerson* focal = moc ? moc->focalPerson() : nullptr;
    auto* heading = new QLabel(QStringLiteral("%1 %2").arg(LocalizedString("AddAssociatedTitle"),
                                                           focal ? focal->nameWithBirthAndDeathYears() : QString()));
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    heading->setWordWrap(true);

    m_name = new QLineEdit;
    m_name->setObjectName(QStringLiteral("name"));
    m_name->setMinimumWidth(300);
    m_gender = new QLineEdit(LocalizedString("MaleShort"));
    m_gender->setObjectName(QStringLiteral("gender"));
    m_gender->setMaxLength(8);
    m_gender->setFixedWidth(m_gender->fontMetrics().horizontalAdvance(QStringLiteral("MMM")) + 16);
    m_description = new QLineEdit;
    m_description->setObjectName(QStringLiteral("associationDescription"));
    m_notes = new QPlainTextEdit;
    m_notes->setObjectName(QStringLiteral("notes"));
    m_notes->setTabChangesFocus(true);
    m_notes->setMinimumHeight(70);
    for (QWidget* field : std::initializer_list<QWidget*>{m_name, m_gender, m_description, m_notes}) {
        QFont f = field->font();
        f.setPointSize(12);
        field->setFont(f);
    }

    auto* grid = new QGridLayout;
    grid->addWidget(PersonFieldSet::fieldLabel(LocalizedString("SelfName")), 0, 0);
    grid->addWidget(m_name, 0, 1, 1, 2);
    grid->addWidget(PersonFieldSet::fieldLabel(LocalizedString("SelfGender")), 1, 0);
    grid->addWidget(m_gender, 1, 1);
    grid->addWidget(new QLabel(LocalizedString("AssociationGenderHint")), 1, 2);
    grid->addWidget(PersonFieldSet::fieldLabel(LocalizedString("AssociationRelationship")), 2, 0);
    grid->addWidget(m_description, 2, 1, 1, 2);
    grid->addWidget(PersonFieldSet::fieldLabel(LocalizedString("AssociationNotes")), 3, 0, Qt::AlignTop | Qt::AlignRight);
    grid->addWidget(m_notes, 3, 1, 1, 2);
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
    layout->addLayout(grid, 1);
    layout->addLayout(buttons);
}

void AddAssociatedPerson::save()
{
    if (m_person)
        return;
    m_person = AssociatedPeople::addAssociatedPerson(m_moc, m_name->text(), m_gender->text(), m_description->text(),
                                                     m_notes->toPlainText());
    if (m_person)
        done(0);
}

void AddAssociatedPerson::cancel()
{
    done(0);
}
