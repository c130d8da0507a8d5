#include "merge/ui/MergeIntoSelectedPerson.h"

#include "merge/SelectedPersonCandidates.h"
#include "merge/ui/MergeIntoTheCurrentModel.h"

#include "sources/ui/OtherDatabaseChooser.h"
#include "sources/ui/SourcesWindowHelpers.h"

#include "shell/Utils.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"

#include "platform/FTLog.h"
#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace {
constexpr int kFontSize = 11;

// The file chosen last, for the next window in this run of the program.
QString g_previousDatabase;

QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}
}

QString MergeIntoSelectedPerson::previousDatabase()
{
    return g_previousDatabase;
}

void MergeIntoSelectedPerson::setPreviousDatabase(const QString& fileName)
{
    g_previousDatabase = fileName;
}

MergeIntoSelectedPerson::MergeIntoSelectedPerson(FTMoc* moc, const QString& modelName, FTPerson* person, QWidget* parent)
    : QWidget(parent)
    , m_moc2(moc)
    , m_selectedPerson(person ? person : moc ? moc->selectedPerson() : nullptr)
    , m_m2Filename(QStringLiteral("%1.RezUdu").arg(modelName))
{
    setObjectName(QStringLiteral("MergeIntoSelectedPerson"));
    setWindowTitle(L("MergeIntoSelectedPersonTitle"));
    auto* layout = new QVBoxLayout(this);

    m_chooser = new OtherDatabaseChooser(m_moc2, this, "SelectDb");
    m_chooser->setOffersOlderDatabases(true);
    connect(m_chooser, &OtherDatabaseChooser::databaseChanged, this, [this](FTMoc* other) { otherDatabaseChanged(other); });
    layout->addWidget(m_chooser);

    auto* personRow = new QHBoxLayout;
    personRow->addWidget(new QLabel(L("MergeSelectedPersonLabel")));
    m_personLabel = new QLabel(m_selectedPerson ? m_selectedPerson->nameWithIdBirthAndDeathYears() : QString());
    m_personLabel->setObjectName(QStringLiteral("selectedPerson"));
    QFont bold = m_personLabel->font();
    bold.setBold(true);
    m_personLabel->setFont(bold);
    personRow->addWidget(m_personLabel, 1);
    layout->addLayout(personRow);

    layout->addWidget(new QLabel(L("MergeCandidates")));
    m_peopleModel = new QStandardItemModel(0, 2, this);
    m_peopleModel->setHorizontalHeaderLabels({ L("MergeColumnName"), L("CompareColumnId") });
    m_tvPersons = SourcesWindowHelpers::makeListTable(QStringLiteral("tvPersons"), m_peopleModel, false, kFontSize);
    m_tvPersons->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_tvPersons->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    connect(m_tvPersons, &QTableView::doubleClicked, this, [this] { mergeSelectedPerson(); });
    layout->addWidget(m_tvPersons, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(SourcesWindowHelpers::makeButton(
        QStringLiteral("search"), L("MergeSearch"), [this] { search(); }, QStringLiteral("edit-find")));
    buttons->addStretch(1);
    m_mergeButton = SourcesWindowHelpers::makeButton(
        QStringLiteral("mergeSelectedPerson"), L("MergeSelectedPersonButton"), [this] { mergeSelectedPerson(); },
        QStringLiteral("go-next"));
    buttons->addWidget(m_mergeButton);
    buttons->addWidget(SourcesWindowHelpers::makeCloseButton([this] { close(); }));
    layout->addLayout(buttons);
    SourcesWindowHelpers::usePanelColour(this);
    resize(560, 440);

    // The database chosen last time is opened again, and searched, at once.
    if (!g_previousDatabase.isEmpty() && m_chooser->modelNames().contains(g_previousDatabase))
        m_chooser->setSourceFilename(g_previousDatabase);
}

MergeIntoSelectedPerson::~MergeIntoSelectedPerson()
{
    // The other database's people go before the database itself.
    m_peopleArray.clear();
    m_peopleModel->removeRows(0, m_peopleModel->rowCount());
    m_chooser->closeDatabase();
    FTLog(QStringLiteral("dealloc MergeIntoSelectedPerson"));
}

FTMoc* MergeIntoSelectedPerson::moc1() const
{
    return m_chooser->otherMoc();
}

QString MergeIntoSelectedPerson::m1Filename() const
{
    return moc1() ? QFileInfo(moc1()->databaseURL()).fileName() : QString();
}

void MergeIntoSelectedPerson::otherDatabaseChanged(FTMoc* other)
{
    if (!other) {
        // The database listed is about to go, and its people with it: none of them may stay in the list.
        m_peopleArray.clear();
        showCandidates();
        return;
    }
    g_previousDatabase = m_chooser->chosenName();
    search();
}

void MergeIntoSelectedPerson::search()
{
    // The person may have gone from the open database since the window opened (deleted, or its adding undone).
    FTPerson* selected = m_selectedPerson && !m_selectedPerson->isDeleted() ? m_selectedPerson : nullptr;
    m_peopleArray = moc1() && m_moc2 ? SelectedPersonCandidates::search(moc1(), selected) : QList<FTPerson*>();
    showCandidates();
    const int row = SelectedPersonCandidates::preselected(m_peopleArray, selected);
    if (row >= 0)
        m_tvPersons->selectRow(row);
}

void MergeIntoSelectedPerson::showCandidates()
{
    m_peopleModel->removeRows(0, m_peopleModel->rowCount());
    for (const FTPerson* p : m_peopleArray) {
        auto* id = new QStandardItem(QString::number(p->numericId()));
        id->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_peopleModel->appendRow({ new QStandardItem(p->nameWithBirthAndDeathYears()), id });
    }
}

FTPerson* MergeIntoSelectedPerson::chosenPerson() const
{
    const QModelIndexList rows = m_tvPersons->selectionModel()->selectedRows();
    const int row = rows.isEmpty() ? -1 : rows.first().row();
    return row >= 0 && row < m_peopleArray.size() ? m_peopleArray[row] : nullptr;
}

void MergeIntoSelectedPerson::mergeSelectedPerson()
{
    FTPerson* theirs = chosenPerson();
    if (!theirs || !m_selectedPerson || m_selectedPerson->isDeleted())
        return;
    MergeIntoTheCurrentModel window(theirs, m_selectedPerson, this);
    window.setLabels(L("FromPerson") + m1Filename(), L("ToPerson") + m_m2Filename);
    window.run();
}

void MergeIntoSelectedPerson::closeEvent(QCloseEvent* event)
{
    // Every view of the open documents shows the merged data.
    NotificationCenter::defaultCenter().post(QStringLiteral("RefreshAllViews"));
    QWidget::closeEvent(event);
}
