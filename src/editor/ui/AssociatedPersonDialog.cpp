#include "editor/ui/AssociatedPersonDialog.h"

#include "editor/AssociatedPeople.h"
#include "editor/ui/PersonFieldSet.h"

#include "model/FTAssociation.h"
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

AssociatedPersonDialog::AssociatedPersonDialog(FTPerson* first, FTPerson* second, QWidget* parent)
    : AssociatedPersonDialog(AssociatedPeople::associationBetween(first, second), parent)
{
}

AssociatedPersonDialog::AssociatedPersonDialog(FTAssociation* association, QWidget* parent)
    : RelationshipDialog(parent)
    , m_moc(association ? association->moc() : nullptr)
    , m_association(association && !association->isDeleted() ? association : nullptr)
{
    setObjectName(QStringLiteral("AssociatedPersonDialog"));
    setWindowTitle(LocalizedString("AssociatedPersonTitle"));
    if (!m_association)
        return;
    // One label, so that the words sit at their natural spacing between the two names.
    const auto name = [](const FTPerson* p) { return p ? p->nameWithBirthAndDeathYears().toHtmlEscaped() : QString(); };
    auto* heading = new QLabel(QStringLiteral("<b>%1</b> %2 <b>%3</b>")
                                   .arg(name(m_association->toPerson()), LocalizedString("AssociationIs").toHtmlEscaped(),
                                        name(m_association->fromPerson())));
    heading->setTextFormat(Qt::RichText);
    heading->setWordWrap(true);

    QFont font;
    font.setPointSize(12);
    m_relationship = new QLineEdit(m_association->fromRelationship());
    m_relationship->setObjectName(QStringLiteral("fromRelationship"));
    m_relationship->setFont(font);
    m_relationship->setMinimumWidth(320);
    m_notes = new QPlainTextEdit(m_association->notes());
    m_notes->setObjectName(QStringLiteral("notes"));
    m_notes->setFont(font);
    m_notes->setTabChangesFocus(true);
    auto* grid = new QGridLayout;
    grid->addWidget(PersonFieldSet::fieldLabel(LocalizedString("AssociationRelationship")), 0, 0);
    grid->addWidget(m_relationship, 0, 1);
    grid->addWidget(PersonFieldSet::fieldLabel(LocalizedString("AssociationNotes")), 1, 0, Qt::AlignTop | Qt::AlignRight);
    grid->addWidget(m_notes, 1, 1);

    QPushButton* remove = makeButton("edit-delete", "DeleteAssociation", QStringLiteral("deleteAssociation"),
                                     [this] { deleteAssociation(); });
    QPushButton* close = makeCloseButton();
    close->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(remove);
    buttons->addStretch();
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addLayout(grid, 1);
    layout->addLayout(buttons);
    resize(520, 280);
}

int AssociatedPersonDialog::run()
{
    if (!m_association)
        return QDialog::Rejected;
    return RelationshipDialog::run();
}

bool AssociatedPersonDialog::windowShouldClose()
{
    // The fields are written as they stand, only when they changed, under the database's undo.
    if (m_association && !m_deleted && !m_association->isDeleted()) {
        const QString relationship = m_relationship->text().trimmed();
        if (relationship != m_association->fromRelationship())
            m_association->setFromRelationship(relationship);
        const QString notes = m_notes->toPlainText().trimmed();
        if (notes != m_association->notes())
            m_association->setNotes(notes);
    }
    return true;
}

void AssociatedPersonDialog::deleteAssociation()
{
    if (!m_association || m_deleted)
        return;
    m_deleted = true;
    AssociatedPeople::deleteAssociation(m_association);
    m_association = nullptr;
    done(QDialog::Accepted);
}
