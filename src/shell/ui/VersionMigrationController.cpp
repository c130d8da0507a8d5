#include "shell/ui/VersionMigrationController.h"

#include "shell/DisplayMsg.h"
#include "shell/Utils.h"
#include "shell/UtilsFunctions.h"

#include "model/FTMoc.h"

#include "platform/Localizer.h"
#include "platform/Prompts.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QThread>
#include <QVBoxLayout>

#include <algorithm>

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

QLineEdit* nameField(const QString& objectName)
{
    auto* field = new QLineEdit;
    field->setObjectName(objectName);
    field->setReadOnly(true);
    field->setFocusPolicy(Qt::ClickFocus);
    return field;
}

QLabel* wrappingLabel(const QString& objectName)
{
    auto* label = new QLabel;
    label->setObjectName(objectName);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

bool samePath(const QString& a, const QString& b)
{
    const QFileInfo x(a), y(b);
    const QString cx = x.canonicalFilePath(), cy = y.canonicalFilePath();
    return !cx.isEmpty() ? cx == cy : x.absoluteFilePath() == y.absoluteFilePath();
}
}

VersionMigrationController::VersionMigrationController(const QString& path, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("VersionMigration"));
    setWindowTitle(L("MigrateTitle"));
    setWindowModality(Qt::ApplicationModal);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, PanelColour());
    setPalette(palette);
    setAutoFillBackground(true);
    setMinimumWidth(600);

    auto* intro = wrappingLabel(QStringLiteral("intro"));
    intro->setText(L("MigrateIntro"));

    m_tv = new QTableWidget(0, 2);
    m_tv->setObjectName(QStringLiteral("tv"));
    m_tv->setHorizontalHeaderLabels({L("MigrateColumnFile"), L("MigrateColumnVersion")});
    m_tv->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_tv->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Fixed);
    int formatWidth = m_tv->fontMetrics().horizontalAdvance(L("MigrateColumnVersion"));
    for (const char* key : {"FormatCurrent", "FormatOlder", "FormatUnknown"})
        formatWidth = std::max(formatWidth, m_tv->fontMetrics().horizontalAdvance(L(key)));
    m_tv->setColumnWidth(1, formatWidth + 4 * m_tv->fontMetrics().averageCharWidth());
    m_tv->horizontalHeader()->setHighlightSections(false);
    m_tv->verticalHeader()->hide();
    m_tv->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_tv->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tv->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tv->setShowGrid(false);
    m_tv->setAlternatingRowColors(true);
    m_tv->setMinimumHeight(140);
    connect(m_tv, &QTableWidget::itemSelectionChanged, this, [this] { chooseRow(); });

    m_findButton = new QPushButton(L("MigrateFind"));
    m_findButton->setObjectName(QStringLiteral("findButton"));
    m_findButton->setAutoDefault(false);
    connect(m_findButton, &QPushButton::clicked, this, [this] { findModel(); });

    m_oldName = nameField(QStringLiteral("oldStoreName"));
    m_oldVersion = nameField(QStringLiteral("oldMomVersion"));
    m_newName = nameField(QStringLiteral("newStoreName"));
    m_newVersion = nameField(QStringLiteral("newMomVersion"));
    for (QLineEdit* version : {m_oldVersion, m_newVersion})
        // Room for the longest format name inside the field's frame and margins.
        version->setFixedWidth(formatWidth + 6 * m_tv->fontMetrics().averageCharWidth());

    m_progressIndicator = new QProgressBar;
    m_progressIndicator->setObjectName(QStringLiteral("progressIndicator"));
    m_progressIndicator->setRange(0, 100);
    m_progressIndicator->setValue(0);
    m_elapsedSecsTextField = new QLabel;
    m_elapsedSecsTextField->setObjectName(QStringLiteral("elapsedSecsTextField"));
    m_progressMessageTextField = wrappingLabel(QStringLiteral("progressMessageTextField"));
    m_progressMessageTextField->setMinimumHeight(2 * m_progressMessageTextField->fontMetrics().lineSpacing());

    m_migrateButton = new QPushButton(L("MigrateConvert"));
    m_migrateButton->setObjectName(QStringLiteral("migrateButton"));
    m_migrateButton->setDefault(true);
    connect(m_migrateButton, &QPushButton::clicked, this, [this] { migrate(); });
    m_exitButton = new QPushButton(L("Exit"));
    m_exitButton->setObjectName(QStringLiteral("exitButton"));
    connect(m_exitButton, &QPushButton::clicked, this, [this] { exit(); });

    auto* listHeader = new QHBoxLayout;
    listHeader->addWidget(new QLabel(L("MigrateOldFiles")), 1);
    listHeader->addWidget(m_findButton);

    auto* names = new QGridLayout;
    names->addWidget(new QLabel(L("MigrateOldDatabase")), 0, 0);
    names->addWidget(m_oldName, 0, 1);
    names->addWidget(m_oldVersion, 0, 2);
    names->addWidget(new QLabel(L("MigrateNewDatabase")), 1, 0);
    names->addWidget(m_newName, 1, 1);
    names->addWidget(m_newVersion, 1, 2);
    names->addWidget(new QLabel(L("MigrateProgress")), 2, 0);
    names->addWidget(m_progressIndicator, 2, 1, 1, 2);
    names->addWidget(new QLabel(L("MigrateElapsed")), 3, 0);
    names->addWidget(m_elapsedSecsTextField, 3, 1, 1, 2);
    names->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_migrateButton);
    buttons->addWidget(m_exitButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addLayout(listHeader);
    layout->addWidget(m_tv, 1);
    layout->addLayout(names);
    layout->addWidget(m_progressMessageTextField);
    layout->addLayout(buttons);

    m_migrateButton->setEnabled(false);
    findOldModels();
    if (!path.isEmpty())
        selectOldStorePath(path);
    else if (m_tv->rowCount() > 0)
        m_tv->selectRow(0);
}

VersionMigrationController::~VersionMigrationController()
{
    // Not while the worker still needs its files: the program is ending, and the conversion finishes first.
    if (m_thread)
        m_thread->wait();
}

QString VersionMigrationController::runModal(const QString& path, QWidget* parent)
{
    VersionMigrationController controller(path, parent);
    if (controller.exec() == kConverted && !controller.newStorePath().isEmpty())
        return controller.newStorePath();
    return {};
}

void VersionMigrationController::findOldModels()
{
    m_oldFiles = DataMigrator::findOldModels(Utils::KinloomDataDirectory());
    const QSignalBlocker quiet(m_tv);
    m_tv->clearSelection();
    m_tv->setRowCount(int(m_oldFiles.size()));
    for (int row = 0; row < int(m_oldFiles.size()); ++row) {
        const DataMigrator::OldFile& file = m_oldFiles[row];
        auto* name = new QTableWidgetItem(file.filename);
        name->setToolTip(QDir::toNativeSeparators(file.path));
        m_tv->setItem(row, 0, name);
        auto* format = new QTableWidgetItem(formatName(file.version));
        format->setToolTip(file.version);
        m_tv->setItem(row, 1, format);
    }
    // Nothing listed is chosen by being listed, not even the row that was current before.
    m_tv->selectionModel()->clear();
    if (m_oldFiles.isEmpty() && !m_running && m_progressMessage.isEmpty())
        m_progressMessageTextField->setText(L("MigrateNoOldFiles"));
}

void VersionMigrationController::selectOldStorePath(const QString& path)
{
    for (int row = 0; row < int(m_oldFiles.size()); ++row) {
        if (samePath(m_oldFiles[row].path, path)) {
            if (m_tv->currentRow() == row && m_tv->selectionModel()->isRowSelected(row, {}))
                setOldStorePath(m_oldFiles[row].path);
            else
                m_tv->selectRow(row);
            return;
        }
    }
    {
        const QSignalBlocker quiet(m_tv);
        m_tv->clearSelection();
    }
    setOldStorePath(path);
}

void VersionMigrationController::chooseRow()
{
    const QList<QTableWidgetSelectionRange> ranges = m_tv->selectedRanges();
    if (ranges.isEmpty() || m_running)
        return;
    const int row = ranges.first().topRow();
    if (row >= 0 && row < int(m_oldFiles.size()))
        setOldStorePath(m_oldFiles[row].path);
}

void VersionMigrationController::setOldStorePath(const QString& path)
{
    if (m_running)
        return;
    m_oldStorePath = QFileInfo(path).absoluteFilePath();
    m_oldStoreName.clear();
    m_oldMomVersion.clear();
    m_newMomVersion.clear();
    m_newStorePath.clear();
    m_newStoreName.clear();
    m_migrateButton->setEnabled(false);
    // A new choice starts afresh: what an earlier conversion reached says nothing of this one.
    m_progress = 0;
    m_elapsedTime = 0;
    m_progressMessage.clear();
    m_progressIndicator->setValue(0);
    m_elapsedSecsTextField->clear();
    m_progressMessageTextField->clear();

    const QString refusal = DataMigrator::checkOldStore(m_oldStorePath, false, &m_oldMomVersion);
    if (!refusal.isEmpty()) {
        showNames();
        DisplayMsg(refusal);
        return;
    }
    m_oldStoreName = QFileInfo(m_oldStorePath).completeBaseName();
    const QString newPath = CreateUniquePathNameForNewModel(m_oldStoreName, QStringLiteral("SQL"));
    if (!newPath.isEmpty()) {
        m_newStorePath = newPath;
        m_newStoreName = QFileInfo(newPath).completeBaseName();
        m_migrateButton->setEnabled(true);
    } else {
        DisplayMsg(L("UnableToCreateDb"));
    }
    m_newMomVersion = FTMoc::kCurrentModelVersion;
    showNames();
}

QString VersionMigrationController::formatName(const QString& momVersion)
{
    const int number = DataMigrator::momVersionNumber(momVersion);
    if (number == DataMigrator::momVersionNumber(FTMoc::kCurrentModelVersion))
        return L("FormatCurrent");
    return number > 0 ? L("FormatOlder") : L("FormatUnknown");
}

void VersionMigrationController::showNames()
{
    m_oldName->setText(m_oldStoreName.isEmpty() ? QFileInfo(m_oldStorePath).fileName() : m_oldStoreName);
    m_oldName->setToolTip(QDir::toNativeSeparators(m_oldStorePath));
    m_oldVersion->setText(m_oldMomVersion.isEmpty() ? QString() : formatName(m_oldMomVersion));
    m_newName->setText(m_newStoreName);
    m_newName->setToolTip(QDir::toNativeSeparators(m_newStorePath));
    m_newVersion->setText(m_newMomVersion.isEmpty() ? QString() : formatName(m_newMomVersion));
}

void VersionMigrationController::findModel()
{
    if (m_running || m_openPanel)
        return;
    const QString title = QStringLiteral("%1 %2 %3").arg(L("Open"), Prompts::kAlertTitle, L("Database"));
    auto* panel = new QFileDialog(this, title, Utils::KinloomDataDirectory(),
                                  QStringLiteral("%1 (*.RezUdu *.rezudu *.REZUDU)").arg(L("Database")));
    panel->setObjectName(QStringLiteral("findModelOpenPanel"));
    panel->setFileMode(QFileDialog::ExistingFile);
    panel->setAcceptMode(QFileDialog::AcceptOpen);
    QPalette colours = panel->palette();
    colours.setColor(QPalette::Window, PanelColour());
    panel->setPalette(colours);
    panel->setAttribute(Qt::WA_DeleteOnClose);
    m_openPanel = panel;
    connect(panel, &QFileDialog::finished, this, [this, panel](int code) {
        const QStringList chosen = panel->selectedFiles();
        if (code == QDialog::Accepted && !chosen.isEmpty())
            findModelOpenPanelDidEnd(chosen.first());
    });
    panel->setWindowModality(Qt::WindowModal);
    panel->open();
}

void VersionMigrationController::findModelOpenPanelDidEnd(const QString& path)
{
    const QString refusal = DataMigrator::checkOldStore(path, true);
    if (!refusal.isEmpty()) {
        DisplayMsg(refusal);
        return;
    }
    {
        const QSignalBlocker quiet(m_tv);
        m_tv->clearSelection();
    }
    setOldStorePath(path);
}

bool VersionMigrationController::migrate()
{
    if (m_running || m_oldStorePath.isEmpty() || m_newStorePath.isEmpty())
        return false;
    m_outcome = {};
    m_progress = 0;
    m_elapsedTime = 0;
    m_progressIndicator->setValue(0);
    m_elapsedSecsTextField->clear();
    setRunning(true);
    m_thread = DataMigrator::start(
        std::make_unique<DataMigrator>(m_oldStorePath, m_newStorePath), this,
        [this](const DataMigrationReport& r) { setProgress(r.progress, r.elapsed, r.message); },
        [this](const DataMigrationOutcome& outcome) { migrationEnded(outcome); });
    return true;
}

void VersionMigrationController::setRunning(bool running)
{
    m_running = running;
    m_migrateButton->setEnabled(!running && !m_newStorePath.isEmpty() && m_progress < 100);
    m_findButton->setEnabled(!running);
    m_exitButton->setEnabled(!running);
    m_tv->setEnabled(!running);
}

void VersionMigrationController::setProgress(float progress, double elapsed, const QString& message)
{
    if (progress > 0) {
        m_progress = int(progress);
        m_progressIndicator->setValue(m_progress);
    }
    if (!message.isEmpty()) {
        m_progressMessage = message;
        m_progressMessageTextField->setText(message);
    }
    if (elapsed > 0) {
        m_elapsedTime = elapsed;
        m_elapsedSecsTextField->setText(L("MigrateSeconds").arg(QLocale().toString(elapsed, 'f', 1)));
    }
    Q_EMIT progressReported(m_progress);
}

void VersionMigrationController::migrationEnded(const DataMigrationOutcome& outcome)
{
    m_outcome = outcome;
    m_thread = nullptr;
    setRunning(false);
    // The old file has its new name: it is no longer one to convert.
    findOldModels();
    if (outcome.succeeded) {
        m_exitButton->setDefault(true);
        m_exitButton->setFocus();
    } else {
        m_progressMessage = outcome.failure;
        m_progressMessageTextField->setText(outcome.failure);
        DisplayMsg(outcome.failure);
    }
    Q_EMIT migrationFinished(outcome.succeeded);
}

void VersionMigrationController::exit()
{
    close();
}

int VersionMigrationController::closeCode() const
{
    return m_progress >= 100 ? kConverted : 0;
}

void VersionMigrationController::reject()
{
    if (m_running)
        return;
    done(closeCode());
}

void VersionMigrationController::closeEvent(QCloseEvent* event)
{
    if (m_running) {
        event->ignore();
        return;
    }
    event->accept();
    done(closeCode());
}
