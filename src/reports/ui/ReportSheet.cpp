#include "reports/ui/ReportSheet.h"

#include "reports/ui/PanelSheet.h"

#include "reports/ReportFileType.h"
#include "reports/ui/ApplicationsComboBox.h"

#include "shell/RtfWriter.h"
#include "shell/Utils.h"
#include "shell/ui/ReportHandOver.h"
#include "shell/ui/WindowProgress.h"

#include "platform/Localizer.h"
#include "platform/UserDefaults.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}
UserDefaults& defaults()
{
    return UserDefaults::standard();
}
}

ReportSheet::ReportSheet(const QString& title, QWidget* parent)
    : QDialog(parent)
{
    setUpPanelSheet(this, title);

    m_reportTitle = new QLabel(title);
    m_reportTitle->setObjectName(QStringLiteral("reportTitle"));
    QFont bold = m_reportTitle->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    m_reportTitle->setFont(bold);

    auto* optionsBox = new QGroupBox(L("ReportOptions"));
    optionsBox->setObjectName(QStringLiteral("options"));
    m_options = new QGridLayout(optionsBox);
    m_options->setHorizontalSpacing(24);

    m_numGenerations = new QSpinBox;
    m_numGenerations->setObjectName(QStringLiteral("numGenerationsTextField"));
    m_numGenerations->setRange(0, 999);
    m_numGenerations->setAccelerated(true);
    connect(m_numGenerations, &QSpinBox::valueChanged, this, [this](int value) {
        if (m_setGenerations)
            m_setGenerations(value);
    });
    m_numGenerationsLabel = new QLabel(L("ReportGenerations"));
    m_numGenerationsLabel->setObjectName(QStringLiteral("numGenerationsLabel"));

    m_rtf = new QRadioButton(L("ReportFileTypeRtf"));
    m_rtf->setObjectName(QStringLiteral("fileTypeRtf"));
    m_rtfd = new QRadioButton(L("ReportFileTypeRtfd"));
    m_rtfd->setObjectName(QStringLiteral("fileTypeRtfd"));
    auto* types = new QButtonGroup(this);
    types->addButton(m_rtf);
    types->addButton(m_rtfd);
    (defaults().stringForKey(QStringLiteral("rtfFileType")) == QLatin1String("rtfd") ? m_rtfd : m_rtf)
        ->setChecked(true);
    connect(types, &QButtonGroup::buttonClicked, this, [this](QAbstractButton* button) {
        setFileType(button == m_rtfd ? QStringLiteral("rtfd") : QStringLiteral("rtf"));
    });
    auto* typeRow = new QHBoxLayout;
    typeRow->addWidget(m_rtf);
    typeRow->addWidget(m_rtfd);
    typeRow->addStretch();

    // The desktop's default first, then each application that opens RTF files, by name.
    m_rtfApps = new QComboBox;
    m_rtfApps->setObjectName(QStringLiteral("rtfAppsComboBox"));
    fillApplicationsComboBox(m_rtfApps, L("DefaultRtfApplication"), Utils::rtfApplications(), defaults().stringForKey(QStringLiteral("rtfApplication")));
    connect(m_rtfApps, &QComboBox::activated, this, [this](int index) { chooseApplication(index); });

    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    form->addRow(m_numGenerationsLabel, m_numGenerations);
    form->addRow(L("ReportFileType"), typeRow);
    form->addRow(L("ReportWordProcessor"), m_rtfApps);

    m_progressMessage = new QLabel(L("FormatAdvice"));
    m_progressMessage->setObjectName(QStringLiteral("progressMessage"));
    m_progressMessage->setWordWrap(true);
    m_progressMessage->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_progressMessage->setMinimumHeight(m_progressMessage->fontMetrics().lineSpacing() * 3);
    m_progressMessage->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    m_counter = new QLabel;
    m_counter->setObjectName(QStringLiteral("counter"));
    m_exitButton = new QPushButton(L("Close"));
    m_exitButton->setObjectName(QStringLiteral("exitButton"));
    m_exitButton->setAutoDefault(false);
    m_generateButton = new QPushButton(L("Generate"));
    m_generateButton->setObjectName(QStringLiteral("generateButton"));
    m_generateButton->setDefault(true);
    connect(m_exitButton, &QPushButton::clicked, this, [this] { closeSheet(); });
    connect(m_generateButton, &QPushButton::clicked, this, [this] { generate(); });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_counter, 1);
    buttons->addWidget(m_exitButton);
    buttons->addWidget(m_generateButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_reportTitle);
    layout->addWidget(optionsBox);
    layout->addLayout(form);
    layout->addWidget(m_progressMessage);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetMinimumSize);
}

ReportSheet::~ReportSheet() = default;

QString ReportSheet::fileType() const
{
    return m_rtfd->isChecked() ? QStringLiteral("rtfd") : QStringLiteral("rtf");
}

void ReportSheet::setFileType(const QString& type)
{
    const bool rtfd = type == QLatin1String("rtfd");
    (rtfd ? m_rtfd : m_rtf)->setChecked(true);
    defaults().setString(QStringLiteral("rtfFileType"), rtfd ? QStringLiteral("rtfd") : QStringLiteral("rtf"));
}

void ReportSheet::chooseApplication(int index)
{
    defaults().setString(QStringLiteral("rtfApplication"), m_rtfApps->itemData(index).toString());
    // No word processor here reads RTFD folders.
    setFileType(QStringLiteral("rtf"));
}

QCheckBox* ReportSheet::addOption(const QString& name, bool checked, std::function<void(bool)> set)
{
    const QString titleKey = QStringLiteral("ReportOption_") + name;
    auto* box = new QCheckBox(LocalizedString(titleKey));
    box->setObjectName(name);
    box->setChecked(checked);
    connect(box, &QCheckBox::toggled, this, [set = std::move(set)](bool on) { set(on); });
    const int n = m_options->count();
    const int rows = 7;
    m_options->addWidget(box, n % rows, n / rows);
    return box;
}

QCheckBox* ReportSheet::option(const QString& name) const
{
    return findChild<QCheckBox*>(name);
}

void ReportSheet::setGenerations(int value, std::function<void(int)> set)
{
    m_setGenerations = nullptr;
    m_numGenerations->setValue(value);
    m_setGenerations = std::move(set);
}

void ReportSheet::setGenerationsShown(bool shown)
{
    m_numGenerations->setVisible(shown);
    m_numGenerationsLabel->setVisible(shown);
}

void ReportSheet::generate()
{
    if (m_busy || !m_generateButton->isEnabled())
        return;
    // A number being typed counts.
    m_numGenerations->interpretText();
    if (!ReportFileType::validateFileType(fileType(), includesPictures()))
        return;
    m_busy = true;
    m_generateButton->setEnabled(false);
    m_exitButton->setText(L("Exit"));
    m_exitButton->setEnabled(false);
    m_generateButton->repaint();
    m_exitButton->repaint();

    RtfWriter writer;
    writer.setFileType(fileType());
    WindowProgress progress(m_counter, nullptr);
    const bool written = writeReport(writer, &progress);
    m_busy = false;
    m_exitButton->setEnabled(true);
    if (!written) {
        // The writer has said why; the user may change something and try again.
        m_generateButton->setEnabled(true);
        return;
    }
    handOverReport(this, m_progressMessage, writer);
}

void ReportSheet::closeSheet()
{
    if (m_busy)
        return;
    if (!m_closed) {
        m_closed = true;
        sheetClosing();
    }
    hide();
    done(0);
}

void ReportSheet::reject()
{
    closeSheet();
}

void ReportSheet::closeEvent(QCloseEvent* event)
{
    // Not while the report is being written; otherwise as Exit (QDialog's close rejects).
    if (m_busy) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}
