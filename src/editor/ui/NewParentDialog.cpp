#include "editor/ui/NewParentDialog.h"

#include "editor/ui/PersonFieldSet.h"

#include "model/FTPerson.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

NewParentDialog::NewParentDialog(FTMoc* moc, PcRelTypesTable::Shows shows, PcRelCleanup::Message message, QWidget* parent)
    : RelationshipDialog(parent)
    , m_moc(moc)
    , m_cleanup(message)
    , m_fields(new PersonFieldSet(this))
{
    m_grid = new QGridLayout;
    m_grid->setHorizontalSpacing(6);
    m_grid->setVerticalSpacing(4);
    m_fields->addNameAndLifeRows(m_grid);

    m_tableViewLabel = new QLabel;
    m_tableViewLabel->setObjectName(QStringLiteral("tableViewLabel"));
    m_tableViewLabel->setWordWrap(true);
    QFont bold = m_tableViewLabel->font();
    bold.setBold(true);
    m_tableViewLabel->setFont(bold);
    m_tv = new PcRelTypesTable(shows, m_cleanup);
    m_tv->setObjectName(QStringLiteral("tv"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(makeCloseButton());
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(m_grid);
    layout->addSpacing(8);
    layout->addWidget(m_tableViewLabel);
    layout->addWidget(m_tv, 1);
    layout->addLayout(buttons);
    resize(600, 420);
}

void NewParentDialog::showParent(FTPerson* parent, const QList<FTPcRel*>& links)
{
    m_fields->setPerson(parent);
    m_tv->setLinks(links);
}

bool NewParentDialog::windowShouldClose()
{
    // A refused edit does not keep the dialog open: it is dropped, the stored value kept.
    m_fields->finishEditing();
    if (FTPerson* parent = m_fields->person())
        m_cleanup.deleteUnwantedLinks(parent->childRels());
    return true;
}
