#include "gedcom/ui/ImportGedcom.h"

#include "gedcom/GedcomImportLog.h"
#include "gedcom/ImportGedcomOutcome.h"
#include "gedcom/ImportGedcomThread.h"

#include "shell/DisplayMsg.h"
#include "shell/Utils.h"
#include "shell/UtilsFunctions.h"

#include "platform/FTLog.h"
#include "platform/Localizer.h"
#include "platform/Prompts.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {
ImportGedcom::FilePanel& filePanel()
{
    static ImportGedcom::FilePanel panel;
    return panel;
}

QString defaultFilePanel(QWidget* parent)
{
    return QFileDialog::getOpenFileName(parent, LocalizedString(QStringLiteral("ImportGedTitle")), QString(),
        QStringLiteral("GEDCOM files (*.ged *.GED *.Ged *.uged *.UGED);;All files (*)"));
}

QLabel* wrappingLabel(const QString& objectName)
{
    auto* label = new QLabel;
    label->setObjectName(objectName);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QLineEdit* readOnlyField(const QString& objectName)
{
    auto* field = new QLineEdit;
    field->setObjectName(objectName);
    field->setReadOnly(true);
    field->setFocusPolicy(Qt::ClickFocus);
    return field;
}

QProgressBar* progressBar(const QString& objectName)
{
    auto* bar = new QProgressBar;
    bar->setObjectName(objectName);
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setTextVisible(false);
    return bar;
}
}

void ImportGedcom::setFilePanel(FilePanel panel)
{
    filePanel() = std::move(panel);
}

QString ImportGedcom::runFilePanel(QWidget* parent)
{
    return filePanel() ? filePanel()(parent) : defaultFilePanel(parent);
}

ImportGedcom::ImportGedcom(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("ImportFromGedcom"));
    setWindowTitle(LocalizedString(QStringLiteral("ImportGedTitle")));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, PanelColour());
    setPalette(palette);
    setAutoFillBackground(true);
    setMinimumWidth(560);

    m_filenameField = readOnlyField(QStringLiteral("filenameTextField"));
    m_modelField = readOnlyField(QStringLiteral("model"));
    m_numLines = wrappingLabel(QStringLiteral("numLinesInGedcomFile"));
    m_gedcomSourceInfo = wrappingLabel(QStringLiteral("gedcomSourceInfo"));
    m_gedcomSourceInfo->setFrameShape(QFrame::StyledPanel);
    m_gedcomSourceInfo->setMinimumHeight(64);
    m_gedcomSourceInfo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_gedcomSourceInfo->setMargin(4);
    m_message = wrappingLabel(QStringLiteral("message"));
    m_message->setMinimumHeight(40);
    m_message->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_elapsedTime = wrappingLabel(QStringLiteral("elapsedTimeMessage"));
    m_progress1 = progressBar(QStringLiteral("progressIndicator1"));
    m_progress2 = progressBar(QStringLiteral("progressIndicator2"));

    m_showMeButton = new QPushButton(LocalizedString(QStringLiteral("ShowMe")));
    m_showMeButton->setObjectName(QStringLiteral("showMeButton"));
    m_showMeButton->setAutoDefault(false);
    m_exitButton = new QPushButton(LocalizedString(QStringLiteral("Exit")));
    m_exitButton->setObjectName(QStringLiteral("exitButton"));
    connect(m_showMeButton, &QPushButton::clicked, this, [this] { showMe(); });
    connect(m_exitButton, &QPushButton::clicked, this, [this] { closeDialog(); });

    auto* form = new QFormLayout;
    form->addRow(LocalizedString(QStringLiteral("ImportGedFileLabel")), m_filenameField);
    form->addRow(LocalizedString(QStringLiteral("ImportGedDatabaseLabel")), m_modelField);

    auto* bars = new QFormLayout;
    bars->addRow(LocalizedString(QStringLiteral("ImportGedOverallProgress")), m_progress1);
    bars->addRow(LocalizedString(QStringLiteral("ImportGedStepProgress")), m_progress2);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_showMeButton);
    buttons->addStretch(1);
    buttons->addWidget(m_exitButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_numLines);
    layout->addWidget(m_gedcomSourceInfo);
    layout->addWidget(m_message);
    layout->addLayout(bars);
    layout->addWidget(m_elapsedTime);
    layout->addLayout(buttons);

    // The state of a window that has not been given a file yet.
    m_message->setText(QStringLiteral(" "));
    m_showMeButton->setEnabled(false);
}

ImportGedcom::~ImportGedcom()
{
    // The worker cannot be stopped half-way: it finishes its database without this window, which hears nothing
    // more (the window cannot be closed while it runs, so this happens only when the program ends).
    if (m_running) {
        FTLog(QStringLiteral("The import window waits for the running import to finish."));
        ImportGedcomThread::forgetListener(this);
        ImportGedcomThread::waitForImport();
    }
}

void ImportGedcom::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_askedForFile)
        return;
    m_askedForFile = true;
    // After the window is on screen, so that the panel opens over it.
    QTimer::singleShot(0, this, [this] { getFilename(); });
}

void ImportGedcom::getFilename()
{
    if (m_started)
        return;
    const QString path = runFilePanel(this);
    if (path.isEmpty())
        return;
    if (!setFileName(path)) {
        DisplayMsg(QStringLiteral("The file\n\n%1\n\ncannot be found.").arg(path));
        return;
    }
    importGedcomFile();
}

bool ImportGedcom::setFileName(const QString& path)
{
    if (m_started)
        return false;
    const QFileInfo info(path);
    m_gedcomFilename = info.absoluteFilePath();
    m_filenameField->setText(m_gedcomFilename);
    if (!info.exists())
        return false;
    const QString database = CreateUniquePathNameForNewModel(info.completeBaseName(), QStringLiteral("SQL"));
    if (database.isEmpty())
        return false;
    m_databaseFilename = database;
    m_modelName = QFileInfo(database).completeBaseName();
    m_modelField->setText(m_modelName);
    return true;
}

bool ImportGedcom::importGedcomFile()
{
    if (m_started || m_gedcomFilename.isEmpty() || m_databaseFilename.isEmpty())
        return false;
    ImportGedcomThread::Request request;
    request.gedcomFilename = m_gedcomFilename;
    request.databaseFilename = m_databaseFilename;
    request.tempFolder = Utils::tempDirectory();
    m_importSucceeded = false;
    m_failureReason.clear();
    m_finished = false;
    m_running = true;
    if (!ImportGedcomThread::startImport(request, this)) {
        m_running = false;
        DisplayMsg(LocalizedString(QStringLiteral("ImportGedRunning")));
        return false;
    }
    m_started = true;
    m_clock.start();
    m_gedcomSourceInfo->clear();
    m_elapsedTime->clear();
    m_numLines->clear();
    m_progress1->setValue(0);
    m_progress2->setValue(0);
    m_showMeButton->setEnabled(false);
    m_exitButton->setEnabled(false);
    return true;
}

// ---- What the worker reports ---------------------------------------------------------------------------------------

void ImportGedcom::setDialogMessage(const QString& text)
{
    m_message->setText(text);
}
void ImportGedcom::setGedcomSourceInfo(const QString& text)
{
    m_gedcomSourceInfo->setText(text);
}
void ImportGedcom::setNumLinesInGedcomFile(const QString& text)
{
    m_numLines->setText(text);
}

void ImportGedcom::setOverallProgress(double percent, const QString& elapsedTimeMessage)
{
    m_progress1->setValue(qBound(0, int(percent + 0.5), 100));
    m_elapsedTime->setText(elapsedTimeMessage);
}

void ImportGedcom::setCurrentProgress(double percent)
{
    m_progress2->setValue(qBound(0, int(percent + 0.5), 100));
}

void ImportGedcom::showMessage(const QString& text)
{
    DisplayMsg(text);
}

void ImportGedcom::importFinished(const ImportGedcomOutcome& outcome)
{
    m_running = false;
    m_finished = true;
    m_logFiles = outcome.logFiles;
    m_importSucceeded = outcome.succeeded;
    m_exitButton->setEnabled(true);
    m_exitButton->setDefault(true);
    m_exitButton->setFocus();
    m_showMeButton->setEnabled(!m_logFiles.isEmpty());
    if (outcome.succeeded) {
        m_exitButton->setText(LocalizedString(QStringLiteral("Continue")));
        DisplayMsg(LocalizedString(QStringLiteral("ImportGedSuccess")));
    } else {
        m_failureReason = outcome.message;
        forgetFailedDatabase();
    }
}

// ---- Logs and closing ----------------------------------------------------------------------------------------------

QStringList ImportGedcom::logFiles() const
{
    // The worker writes the logs under fixed names beside the new database; only the files present count.
    QStringList present;
    for (const QString& path : m_logFiles)
        if (QFileInfo::exists(path))
            present << path;
    return present;
}

void ImportGedcom::showMe()
{
    for (const QString& path : logFiles())
        Utils::displayFile(path, QString());
}

void ImportGedcom::forgetFailedDatabase()
{
    // The worker has removed the file it made, and only that: a file at this path that it did not make (another
    // program's, made just before the worker's create-only open) is not the import's to delete.
    m_databaseFilename.clear();
}

void ImportGedcom::closeDialog()
{
    if (m_running)
        return;
    if (m_importSucceeded) {
        DisplayMsg(LocalizedString(QStringLiteral("ImportGedMsg")));
    } else {
        // Only an import that was tried can have failed: leaving after a cancelled panel says nothing.
        if (m_started)
            Prompts::current().message(LocalizedString(QStringLiteral("ImportGedFailed")), m_failureReason);
        forgetFailedDatabase();
    }
    hide();
    Utils::sleep(50);
    done(m_importSucceeded ? QDialog::Accepted : QDialog::Rejected);
}

void ImportGedcom::reject()
{
    // Escape and the window's close box end the window like the exit button, never while the worker runs.
    closeDialog();
}

void ImportGedcom::closeEvent(QCloseEvent* event)
{
    if (m_running) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}
