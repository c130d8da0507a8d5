#include "editor/ui/AddAssociatedPerson.h"

#include "editor/AssociatedPeople.h"
#include "editor/ui/PersonFieldSet.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"

#include "platform/Localizer.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace {
QString headingFor(FTMoc* moc)
{
    FTPerson* focal = moc ? moc->focalPerson() : nullptr;
    return QStringLiteral("%1 %2").arg(LocalizedString("AddAssociatedTitle"),
                                       focal ? focal->nameWithBirthAndDeathYears() : QString());
}
}

AddAssociatedPerson::AddAssociatedPerson(FTMoc* moc, QWidget* parent)
    : AddPersonSheet(moc, headingFor(moc), 300, LocalizedString("AssociationGenderHint"), parent)
{
    setObjectName(QStringLiteral("AddAssociatedPerson"));
    setWindowTitle(LocalizedString("AddAssociated"));
    heading()->setWordWrap(true);

    m_description = new QLineEdit;
    m_description->setObjectName(QStringLiteral("associationDescription"));
    m_notes = new QPlainTextEdit;
    m_notes->setObjectName(QStringLiteral("notes"));
    m_notes->setTabChangesFocus(true);
    m_notes->setMinimumHeight(70);
    for (QWidget* field : std::initializer_list<QWidget*>{nameField(), genderField(), m_description, m_notes}) {
        QFont f = field->font();
        f.setPointSize(12);
        field->setFont(f);
    }

    grid()->addWidget(PersonFieldSet::fieldLabel(LocalizedString("AssociationRelationship")), 2, 0);
    grid()->addWidget(m_description, 2, 1, 1, 2);
    grid()->addWidget(PersonFieldSet::fieldLabel(LocalizedString("AssociationNotes")), 3, 0, Qt::AlignTop | Qt::AlignRight);
    grid()->addWidget(m_notes, 3, 1, 1, 2);
    layOut(true);
}

FTPerson* AddAssociatedPerson::createPerson()
{
    return AssociatedPeople::addAssociatedPerson(moc(), nameField()->text(), genderField()->text(),
                                                 m_description->text(), m_notes->toPlainText());
}
