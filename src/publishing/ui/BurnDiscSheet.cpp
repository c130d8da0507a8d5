#include "publishing/ui/BurnDiscSheet.h"

#include "publishing/DiscBurner.h"

#include "shell/DisplayMsg.h"
#include "shell/UtilsFunctions.h"
#include "shell/ui/AppController.h"

#include "platform/Localizer.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

void setBurning(bool on)
{
    if (AppController* app = AppController::shared())
        app->bBurning = on;
}
}

BurnDiscSheet::BurnDiscSheet(const QString& folder, const QStringList& drives, QWidget* parent)
    : QDialog(parent)
    , m_folder(folder)
    , m_blocksRequired(DiscBurner::blocksRequired(folder))
    , m_burner(new DiscBurner(this))
{
    setObjectName(QStringLiteral("BurnDiscSheet"));
    setWindowTitle(L("BurnTitle"));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, PanelColour());
    setPalette(palette);
    setAutoFillBackground(true);
    resize(520, 220);

    auto* folderLabel = new QLabel(QDir::toNativeSeparators(folder));
    folderLabel->setWordWrap(true);
    m_drives = new QComboBox;
    m_drives->setObjectName(QStringLiteral("drives"));
    m_drives->addItems(drives);
    auto* size = new QLabel(QLocale().formattedDataSize(qint64(m_blocksRequired) * 2048));
    size->setObjectName(QStringLiteral("size"));
    auto* form = new QFormLayout;
    form->addRow(L("BurnFolderLabel"), folderLabel);
    form->addRow(L("BurnDriveLabel"), m_drives);
    form->addRow(L("BurnSizeLabel"), size);

    m_bar = new QProgressBar;
    m_bar->setObjectName(QStringLiteral("progress"));
    m_bar->setRange(0, 1000);
    m_bar->setValue(0);
    m_status = new QLabel;
    m_status->setObjectName(QStringLiteral("status"));
    m_status->setWordWrap(true);

    auto* buttons = new QDialogButtonBox;
    m_cancel = buttons->addButton(QDialogButtonBox::Cancel);
    m_cancel->setText(L("Cancel"));
    m_burn = buttons->addButton(L("BurnButton"), QDialogButtonBox::AcceptRole);
    m_burn->setDefault(true);
    connect(m_burn, &QPushButton::clicked, this, [this] { burn(); });
    connect(m_cancel, &QPushButton::clicked, this, &BurnDiscSheet::reject);

    connect(m_burner, &DiscBurner::progress, this, [this](double percent, const QString& status) {
        m_bar->setValue(int(percent * 10));
        if (!status.isEmpty())
            m_status->setText(status);
    });
    connect(m_burner, &DiscBurner::finished, this, &BurnDiscSheet::finished);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_bar);
    layout->addWidget(m_status);
    layout->addStretch(1);
    layout->addWidget(buttons);
}

BurnDiscSheet::~BurnDiscSheet()
{
    if (isBurning())
        setBurning(false);
}

bool BurnDiscSheet::isBurning() const
{
    return m_burner->isRunning();
}

QString BurnDiscSheet::statusText() const
{
    return m_status->text();
}

void BurnDiscSheet::burn()
{
    if (isBurning())
        return;
    const QString drive = m_drives->currentText();
    m_status->setText(L("BurnChecking"));
    m_burn->setEnabled(false);
    QString error;
    const qint64 free = DiscBurner::freeBlocks(drive, &error);
    if (free < 0 || quint64(free) < m_blocksRequired) {
        // The medium is refused; another disc may be inserted and Burn pressed again.
        m_status->setText(free < 0 ? L("NoMediumInDrive") : L("InsufficientDisk"));
        m_burn->setEnabled(true);
        return;
    }
    setBurning(true);
    m_drives->setEnabled(false);
    m_status->setText(L("BurnWriting"));
    m_burner->start(m_folder, drive);
}

void BurnDiscSheet::finished(bool ok, const QString& error)
{
    setBurning(false);
    if (ok)
        DisplayMsg(L("BurnCdSuccess"));
    else
        DisplayMsg(QStringLiteral("%1 = %2").arg(L("BurnCdProcessError"), error));
    Q_EMIT burnFinished(ok);
    QDialog::accept();
}

void BurnDiscSheet::reject()
{
    // While writing, Cancel (and Escape) stop the writing; the sheet closes when it has stopped.
    if (isBurning()) {
        m_burner->cancel();
        return;
    }
    QDialog::reject();
}
