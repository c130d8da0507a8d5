#include "reports/ui/DataValidationReport.h"

#include "reports/ListingReport.h"
#include "reports/ui/PanelSheet.h"

#include "editor/ui/NotesDialog.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"

#include "shell/DisplayMsg.h"
#include "shell/RtfWriter.h"
#include "shell/Utils.h"
#include "shell/ui/WindowProgress.h"

#include "platform/Localizer.h"

#include <QAbstractTableModel>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {
const auto L = ListingReport::label;
}

// The findings: the person with years, and the reason.
class InconsistencyTableModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setRows(const QList<Inconsistency>& rows)
    {
        beginResetModel();
        m_rows = rows;
        endResetModel();
    }
    const QList<Inconsistency>& rows() const { return m_rows; }
    // The notes may have changed what a row shows.
    void refresh()
    {
        if (!m_rows.isEmpty())
            Q_EMIT dataChanged(index(0, 0), index(int(m_rows.size()) - 1, 1));
    }

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(m_rows.size()); }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : 2; }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || index.row() >= m_rows.size() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
            return {};
        const Inconsistency& row = m_rows[index.row()];
        if (index.column() == 1)
            return row.reason();
        const FTPerson* p = row.person();
        return p && !p->isDeleted() ? p->nameWithBirthAndDeathYears() : QString();
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return QAbstractTableModel::headerData(section, orientation, role);
        return section == 0 ? L("Person") : L("Reason");
    }

private:
    QList<Inconsistency> m_rows;
};

DataValidationReport::DataValidationReport(FTMoc* moc, QWidget* parent)
    : QDialog(parent)
    , m_moc(moc)
    , m_checks(moc)
{
    setUpPanelSheet(this, L("DataValidationTitle"));
    auto* help = new QLabel(L("DataValidationHelp"));
    help->setWordWrap(true);

    auto* boxes = new QGridLayout;
    const char* keys[] = { "CheckBirthDates", "CheckDeathDates", "CheckParentChildRelationships",
        "CheckUnconnectedPeople", "CheckMarriageDates", "CheckPeopleWithNoDates" };
    for (int i = 0; i < 6; ++i) {
        auto* box = new QCheckBox(L(keys[i]));
        box->setObjectName(QString::fromLatin1(keys[i]));
        box->setChecked(true);
        boxes->addWidget(box, i % 3, i / 3);
        m_boxes << box;
    }
    m_check = new QPushButton(QIcon::fromTheme(QStringLiteral("system-run")), L("RunChecks"));
    m_check->setObjectName(QStringLiteral("checkButton"));
    m_check->setDefault(true);
    boxes->addWidget(m_check, 0, 2, Qt::AlignRight | Qt::AlignTop);
    boxes->setColumnStretch(1, 1);

    m_model = new InconsistencyTableModel(this);
    m_table = new QTableView;
    m_table->setObjectName(QStringLiteral("tv"));
    m_table->setModel(m_model);
    setUpPeopleTable(m_table);
    m_table->setWordWrap(false);
    m_table->horizontalHeader()->resizeSection(0, 260);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setMinimumHeight(280);
    connect(m_table, &QTableView::doubleClicked, this, [this] { promoteToFocalPerson(); });

    m_count = new QLabel;
    m_progress = newSheetProgressBar();
    m_progress->setMaximumWidth(220);
    m_notes = new QPushButton(QIcon::fromTheme(QStringLiteral("accessories-text-editor")), L("EditNotesButton"));
    m_notes->setObjectName(QStringLiteral("notesButton"));
    m_focal = new QPushButton(L("MakeFocalPerson"));
    m_focal->setObjectName(QStringLiteral("focalButton"));
    m_report = new QPushButton(QIcon::fromTheme(QStringLiteral("document-print")), L("GenerateReport"));
    m_report->setObjectName(QStringLiteral("reportButton"));
    m_close = new QPushButton(L("Close"));
    m_close->setObjectName(QStringLiteral("closeButton"));
    for (QPushButton* b : { m_notes, m_focal, m_report, m_close })
        b->setAutoDefault(false);
    connect(m_check, &QPushButton::clicked, this, &DataValidationReport::generateReport);
    connect(m_notes, &QPushButton::clicked, this, &DataValidationReport::editNotes);
    connect(m_focal, &QPushButton::clicked, this, &DataValidationReport::promoteToFocalPerson);
    connect(m_report, &QPushButton::clicked, this, &DataValidationReport::printReport);
    connect(m_close, &QPushButton::clicked, this, [this] { done(0); });

    auto* status = new QHBoxLayout;
    status->addWidget(m_count, 1);
    status->addWidget(m_progress);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_notes);
    buttons->addWidget(m_focal);
    buttons->addStretch(1);
    buttons->addWidget(m_close);
    buttons->addWidget(m_report);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(help);
    layout->addLayout(boxes);
    layout->addWidget(m_table, 1);
    layout->addLayout(status);
    layout->addLayout(buttons);
    resize(760, 560);
}

DataValidationReport::~DataValidationReport() = default;

QList<Inconsistency> DataValidationReport::rows() const
{
    return m_model->rows();
}

void DataValidationReport::generateReport()
{
    m_checks.checkBirthDates = m_boxes[0]->isChecked();
    m_checks.checkDeathDates = m_boxes[1]->isChecked();
    m_checks.checkParentChildRelationships = m_boxes[2]->isChecked();
    m_checks.checkUnconnectedPeople = m_boxes[3]->isChecked();
    m_checks.checkMarriageDates = m_boxes[4]->isChecked();
    m_checks.peopleWithNoBirthAndDeathDates = m_boxes[5]->isChecked();
    WindowProgress progress(nullptr, m_progress);
    m_model->setRows(DataValidation::sorted(m_checks.run(&progress)));
    m_progress->setValue(0);
    m_count->setText(QStringLiteral("%1 %2").arg(L("InconsistenciesFound")).arg(m_model->rowCount()));
}

int DataValidationReport::selectedRow() const
{
    const QModelIndexList rows = m_table->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void DataValidationReport::editNotes()
{
    const int row = selectedRow();
    if (row < 0) {
        DisplayMsg(L("SelectPersonTryAgain"));
        return;
    }
    FTPerson* person = m_model->rows()[row].person();
    if (!person || person->isDeleted())
        return;
    NotesDialog dialog;
    dialog.setOwner(person, QStringLiteral("1"), false);
    dialog.present(NotesWindow::Modal, this);
    m_model->refresh();
}

void DataValidationReport::promoteToFocalPerson()
{
    const int row = selectedRow();
    if (row < 0) {
        DisplayMsg(L("SelectPersonTryAgain"));
        return;
    }
    if (FTPerson* person = m_model->rows()[row].person(); person && !person->isDeleted())
        m_moc->setFocalPerson(person);
}

void DataValidationReport::printReport()
{
    const QList<Inconsistency> rows = m_model->rows();
    if (rows.isEmpty()) {
        DisplayMsg(QStringLiteral("Nothing to print."));
        return;
    }
    const bool details = Utils::displayYesNoQuery(L("IncludeBDM"), L("IncludeBDMYes"), L("IncludeBDMNo"));
    RtfWriter writer;
    WindowProgress progress(nullptr, m_progress);
    if (m_checks.generate(writer, rows, details, &progress))
        writer.handOver();
}
