#include "reports/ui/DatabaseChangesReport.h"

#include "reports/ListingReport.h"
#include "reports/ui/PanelSheet.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"

#include "shell/DisplayMsg.h"
#include "shell/Utils.h"
#include "shell/ui/WindowProgress.h"

#include <QAbstractTableModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace {
const auto L = ListingReport::label;

// The size of the last sheet closed, for the next one while the program runs.
QSize g_prevSize;
}

// The people changed: name with years, and the moment of the latest change.
class ChangedPeopleModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setPeople(const QList<FTPerson*>& people)
    {
        beginResetModel();
        m_people = people;
        endResetModel();
    }
    const QList<FTPerson*>& people() const { return m_people; }

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(m_people.size()); }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : 2; }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || index.row() >= m_people.size() || role != Qt::DisplayRole)
            return {};
        const FTPerson* p = m_people[index.row()];
        if (p->isDeleted())
            return {};
        if (index.column() == 0)
            return p->nameWithBirthAndDeathYears();
        return QLocale().toString(p->latestChangeDate().toLocalTime(), QLocale::ShortFormat);
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return QAbstractTableModel::headerData(section, orientation, role);
        return section == 0 ? L("Name") : L("LatestChange");
    }

private:
    QList<FTPerson*> m_people;
};

DatabaseChangesReport::DatabaseChangesReport(FTMoc* moc, QWidget* parent)
    : QDialog(parent)
    , m_moc(moc)
    , m_changes(moc)
{
    setUpPanelSheet(this, L("DatabaseChangesTitle"));

    m_days = new QSpinBox;
    m_days->setObjectName(QStringLiteral("daysLimit"));
    m_days->setRange(1, 36500);
    m_days->setValue(1);
    m_days->setKeyboardTracking(false);
    connect(m_days, &QSpinBox::valueChanged, this, [this] { loadPeople(); });
    auto* days = new QHBoxLayout;
    days->addWidget(new QLabel(L("ChangesInTheLast")));
    days->addWidget(m_days);
    days->addWidget(new QLabel(L("DaysLabel")));
    days->addStretch(1);

    m_model = new ChangedPeopleModel(this);
    m_table = new QTableView;
    m_table->setObjectName(QStringLiteral("tv"));
    m_table->setModel(m_model);
    setUpPeopleTable(m_table);
    m_table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_table->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    connect(m_table, &QTableView::doubleClicked, this, [this] { promoteToFocalPerson(); });

    m_count = new QLabel;
    m_progress = newSheetProgressBar();
    m_progress->setMaximumWidth(220);
    m_focal = new QPushButton(L("MakeFocalPerson"));
    m_focal->setObjectName(QStringLiteral("focalButton"));
    m_generate = new QPushButton(QIcon::fromTheme(QStringLiteral("document-save")), L("GenerateReport"));
    m_generate->setObjectName(QStringLiteral("generateButton"));
    m_close = new QPushButton(L("Close"));
    m_close->setObjectName(QStringLiteral("closeButton"));
    for (QPushButton* b : { m_focal, m_generate, m_close })
        b->setAutoDefault(false);
    connect(m_focal, &QPushButton::clicked, this, &DatabaseChangesReport::promoteToFocalPerson);
    connect(m_generate, &QPushButton::clicked, this, &DatabaseChangesReport::generateReport);
    connect(m_close, &QPushButton::clicked, this, [this] { done(0); });

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("loadTimer"));
    m_timer->setSingleShot(true);
    m_timer->setInterval(1000);
    connect(m_timer, &QTimer::timeout, this, &DatabaseChangesReport::loadPeople);

    auto* status = new QHBoxLayout;
    status->addWidget(m_count, 1);
    status->addWidget(m_progress);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_focal);
    buttons->addStretch(1);
    buttons->addWidget(m_close);
    buttons->addWidget(m_generate);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(days);
    layout->addWidget(m_table, 1);
    layout->addLayout(status);
    layout->addLayout(buttons);
    resize(g_prevSize.width() > 100 ? g_prevSize : QSize(560, 480));
}

DatabaseChangesReport::~DatabaseChangesReport() = default;

void DatabaseChangesReport::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_loadedOnce) {
        m_loadedOnce = true;
        m_timer->start();
    }
}

QDateTime DatabaseChangesReport::now() const
{
    return m_now.isValid() ? m_now : QDateTime::currentDateTime();
}

QList<FTPerson*> DatabaseChangesReport::people() const
{
    return m_model->people();
}

void DatabaseChangesReport::loadPeople()
{
    m_timer->stop();
    m_progress->setRange(0, 0);
    m_progress->repaint();
    m_model->setPeople(m_changes.changedWithin(m_days->value(), now()));
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_count->setText(QStringLiteral("%1 %2").arg(L("ChangedPeople")).arg(m_model->rowCount()));
    if (m_model->rowCount() == 0)
        DisplayMsg(DatabaseChanges::noChangesMessage(m_days->value()));
}

void DatabaseChangesReport::generateReport()
{
    // A number still being typed counts.
    m_days->interpretText();
    WindowProgress progress(nullptr, m_progress);
    QString path;
    if (m_changes.writeReport(m_model->people(), m_days->value(), now(), &path, &progress))
        Utils::displayFile(path, QString());
}

void DatabaseChangesReport::promoteToFocalPerson()
{
    const QModelIndexList rows = m_table->selectionModel()->selectedRows();
    if (rows.isEmpty()) {
        DisplayMsg(L("SelectPersonTryAgain"));
        return;
    }
    if (FTPerson* p = m_model->people().value(rows.first().row()); p && !p->isDeleted())
        m_moc->setFocalPerson(p);
}

void DatabaseChangesReport::done(int result)
{
    g_prevSize = size();
    QDialog::done(result);
}
