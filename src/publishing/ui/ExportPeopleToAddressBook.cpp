#include "publishing/ui/ExportPeopleToAddressBook.h"

#include "publishing/AddressBookExport.h"

#include "model/FTPerson.h"

#include "shell/DisplayMsg.h"
#include "shell/Utils.h"
#include "shell/UtilsFunctions.h"
#include "shell/ui/ThemeIcon.h"

#include "platform/Localizer.h"
#include "platform/Prompts.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}
}

ExportPeopleToAddressBook::ExportPeopleToAddressBook(FTMoc* moc, QWidget* parent)
    : QDialog(parent)
    , m_moc(moc)
{
    setObjectName(QStringLiteral("ExportToAddressBook"));
    setWindowTitle(L("vCardWindowTitle"));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, PanelColour());
    setPalette(palette);
    setAutoFillBackground(true);
    resize(760, 520);

    m_peopleList = new QListWidget;
    m_peopleList->setObjectName(QStringLiteral("people"));
    m_peopleList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_peopleList->setAlternatingRowColors(true);
    m_peopleList->setUniformItemSizes(true);
    connect(m_peopleList, &QListWidget::itemSelectionChanged, this, [this] { updateSelectionCount(); });
    m_selectionCount = new QLabel;
    m_selectionCount->setObjectName(QStringLiteral("selectionCount"));
    auto* peopleLabel = new QLabel(L("vCardPeople"));
    peopleLabel->setWordWrap(true);
    auto* peopleColumn = new QVBoxLayout;
    peopleColumn->addWidget(peopleLabel);
    peopleColumn->addWidget(m_peopleList, 1);
    peopleColumn->addWidget(m_selectionCount);

    m_groupsList = new QListWidget;
    m_groupsList->setObjectName(QStringLiteral("abTv"));
    m_groupsList->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(m_groupsList, &QListWidget::itemSelectionChanged, this, [this] {
        if (const QList<QListWidgetItem*> chosen = m_groupsList->selectedItems(); !chosen.isEmpty())
            m_abName->setText(chosen.first()->text());
    });
    m_abName = new QLineEdit;
    m_abName->setObjectName(QStringLiteral("abName"));
    auto* groupsColumn = new QVBoxLayout;
    groupsColumn->addWidget(new QLabel(L("vCardGroups")));
    groupsColumn->addWidget(m_groupsList, 1);
    auto* nameForm = new QFormLayout;
    nameForm->addRow(L("vCardGroupName"), m_abName);
    groupsColumn->addLayout(nameForm);

    auto* lists = new QHBoxLayout;
    lists->addLayout(peopleColumn, 3);
    lists->addLayout(groupsColumn, 2);

    m_closeButton = new QPushButton(L("Close"));
    m_closeButton->setObjectName(QStringLiteral("closeButton"));
    m_closeButton->setAutoDefault(false);
    connect(m_closeButton, &QPushButton::clicked, this, [this] { done(0); });
    m_exportButton = new QPushButton(themeIcon(QStringLiteral("x-office-address-book")), L("Export"));
    m_exportButton->setObjectName(QStringLiteral("exportButton"));
    m_exportButton->setDefault(true);
    connect(m_exportButton, &QPushButton::clicked, this, [this] { exportSelectedPeople(); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_closeButton);
    buttons->addWidget(m_exportButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists, 1);
    layout->addLayout(buttons);

    showExistingAddressBookGroups();
    m_people = AddressBookExport(moc).createPeopleArray();
    for (const FTPerson* p : m_people)
        m_peopleList->addItem(p->nameWithBirthAndDeathYears());
    updateSelectionCount();
}

QList<FTPerson*> ExportPeopleToAddressBook::selectedPeople() const
{
    QList<FTPerson*> out;
    for (int row = 0; row < m_peopleList->count(); ++row)
        if (m_peopleList->item(row)->isSelected())
            out << m_people.value(row);
    return out;
}

void ExportPeopleToAddressBook::selectPeople(const QList<FTPerson*>& people)
{
    for (int row = 0; row < m_peopleList->count(); ++row)
        m_peopleList->item(row)->setSelected(people.contains(m_people.value(row)));
}

void ExportPeopleToAddressBook::updateSelectionCount()
{
    m_selectionCount->setText(
        L("vCardSelected").arg(QString::number(selectedPeople().size()), QString::number(m_people.size())));
}

void ExportPeopleToAddressBook::showExistingAddressBookGroups()
{
    const QSignalBlocker quiet(m_groupsList);
    m_groupsList->clear();
    m_groupsList->addItems(AddressBookExport::existingGroups());
}

void ExportPeopleToAddressBook::exportSelectedPeople()
{
    const QString group = AddressBookExport::groupName(m_abName->text());
    m_abName->setText(group);
    if (!AddressBookExport::isGroupNameLongEnough(group)) {
        DisplayMsg(L("AddrBookGroupName"));
        return;
    }
    if (AddressBookExport::groupExists(group)) {
        const int answer = Prompts::current().chooseWithTitle(
            LocalizedHelpString(QStringLiteral("helpForExportAddressBookTitle")),
            LocalizedHelpString(QStringLiteral("helpForExportAddressBookMsg")),
            LocalizedHelpString(QStringLiteral("helpForExportAddressBookInfo")), {L("Cancel"), L("Continue")});
        if (answer != 1)
            return;
    }
    m_closeButton->setEnabled(false);
    m_exportButton->setEnabled(false);
    const QList<FTPerson*> people = selectedPeople();
    const QString path = AddressBookExport::exportToGroup(people, group);
    if (!path.isEmpty()) {
        DisplayMsg(QStringLiteral("%1 %2 %3").arg(QString::number(people.size()), L("AddrBookCompletionMsg"), group));
        Utils::displayFile(path, QString());
        showExistingAddressBookGroups();
    }
    m_closeButton->setEnabled(true);
    m_exportButton->setEnabled(true);
}
