#include "shell/ui/CheckDatabaseIntegrity.h"

#include "shell/DatabaseIntegrityChecks.h"
#include "shell/DisplayMsg.h"
#include "shell/Utils.h"
#include "shell/UtilsFunctions.h"
#include "shell/ui/ThemeIcon.h"
#include "shell/ui/WindowProgress.h"

#include "model/FTMoc.h"

#include "platform/Localizer.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

CheckDatabaseIntegrity::CheckDatabaseIntegrity(FTMoc* moc, QWidget* parent)
    : QDialog(parent)
    , m_moc(moc)
{
    setObjectName(QStringLiteral("DatabaseIntegrityChecks"));
    setWindowTitle(LocalizedString("DbIntegrityTitle"));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, PanelColour());
    setPalette(palette);
    setAutoFillBackground(true);
    resize(820, 500);

    auto* checks = new QGroupBox(LocalizedString("DbIntegrityChecks"));
    auto* checksLayout = new QVBoxLayout(checks);
    m_buttonMatrix = new QButtonGroup(this);
    for (int row = 0; row < DatabaseIntegrityChecks::kRowCount; ++row) {
        auto* button = new QRadioButton(DatabaseIntegrityChecks::rowTitle(row));
        button->setObjectName(QStringLiteral("row%1").arg(row));
        m_buttonMatrix->addButton(button, row);
        checksLayout->addWidget(button);
        m_rows << button;
    }
    checksLayout->addStretch(1);
    m_rows.first()->setChecked(true);

    auto* reportLabel = new QLabel(LocalizedString("DbIntegrityReport"));
    m_reportView = new QPlainTextEdit;
    m_reportView->setObjectName(QStringLiteral("reportMessage"));
    m_reportView->setReadOnly(true);
    m_reportView->setMinimumWidth(380);
    reportLabel->setBuddy(m_reportView);
    auto* reportColumn = new QVBoxLayout;
    reportColumn->addWidget(reportLabel);
    reportColumn->addWidget(m_reportView, 1);

    auto* columns = new QHBoxLayout;
    columns->addWidget(checks);
    columns->addLayout(reportColumn, 1);

    m_progressMessage = new QLabel;
    m_progressMessage->setObjectName(QStringLiteral("progressMessage"));
    m_progressIndicator = new QProgressBar;
    m_progressIndicator->setObjectName(QStringLiteral("progressIndicator"));
    m_progressIndicator->setRange(0, 100);
    m_progressIndicator->setValue(0);
    m_progressIndicator->setTextVisible(false);

    m_helpButton = new QPushButton(themeIcon(QStringLiteral("help-browser")), LocalizedString("DbIntegrityHelpButton"));
    m_helpButton->setObjectName(QStringLiteral("helpButton"));
    m_showReportButton
        = new QPushButton(themeIcon(QStringLiteral("document-open")), LocalizedString("DbIntegrityShowReport"));
    m_showReportButton->setObjectName(QStringLiteral("showReportButton"));
    m_closeButton = new QPushButton(LocalizedString("Close"));
    m_closeButton->setObjectName(QStringLiteral("closeButton"));
    m_executeButton = new QPushButton(LocalizedString("DbIntegrityExecute"));
    m_executeButton->setObjectName(QStringLiteral("executeButton"));
    for (QPushButton* button : {m_helpButton, m_showReportButton, m_closeButton})
        button->setAutoDefault(false);
    m_executeButton->setDefault(true);
    connect(m_executeButton, &QPushButton::clicked, this, [this] { execute(); });
    connect(m_closeButton, &QPushButton::clicked, this, [this] { closeSheet(); });
    connect(m_helpButton, &QPushButton::clicked, this, [this] { help(); });
    connect(m_showReportButton, &QPushButton::clicked, this, [this] { showMe(); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_helpButton);
    buttons->addWidget(m_showReportButton);
    buttons->addStretch(1);
    buttons->addWidget(m_closeButton);
    buttons->addWidget(m_executeButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addWidget(m_progressMessage);
    layout->addWidget(m_progressIndicator);
    layout->addLayout(buttons);
}

int CheckDatabaseIntegrity::selectedRow() const { return m_buttonMatrix->checkedId(); }

void CheckDatabaseIntegrity::selectRow(int row)
{
    if (QAbstractButton* button = m_buttonMatrix->button(row))
        button->setChecked(true);
}

void CheckDatabaseIntegrity::setReportMessage(const QString& report)
{
    m_reportMessage = report;
    m_reportView->setPlainText(report);
}

void CheckDatabaseIntegrity::setButtonsEnabled(bool enabled)
{
    for (QPushButton* button : {m_executeButton, m_closeButton, m_helpButton, m_showReportButton}) {
        button->setEnabled(enabled);
        button->repaint();
    }
    for (QRadioButton* row : std::as_const(m_rows))
        row->setEnabled(enabled);
}

void CheckDatabaseIntegrity::execute()
{
    if (m_running || !m_moc)
        return;
    m_running = true;
    setButtonsEnabled(false);
    try {
        WindowProgress progress(m_progressMessage, m_progressIndicator);
        DatabaseIntegrityChecks checks(*m_moc, &progress);
        setReportMessage(checks.execute(selectedRow()));
    } catch (...) {
        Utils::reportCurrentException(__FILE__, __LINE__, QStringLiteral("execute"));
    }
    // Clicks made while the check ran are delivered now, to buttons that still wait, and go no further.
    const QPointer<CheckDatabaseIntegrity> self(this);
    QCoreApplication::processEvents();
    if (!self)
        return;
    m_running = false;
    setButtonsEnabled(true);
}

void CheckDatabaseIntegrity::closeSheet()
{
    if (m_running)
        return;
    if (m_moc)
        m_moc->saveMoc();
    done(0);
}

void CheckDatabaseIntegrity::reject() { closeSheet(); }

void CheckDatabaseIntegrity::help()
{
    DisplayMsg(LocalizedHelpString("DbIntegrityHelp"));
}

void CheckDatabaseIntegrity::showMe()
{
    DatabaseIntegrityChecks::showReport(m_reportMessage);
}
