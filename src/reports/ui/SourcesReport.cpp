#include "reports/ui/SourcesReport.h"

#include "reports/ListingReport.h"
#include "reports/ui/PanelSheet.h"
#include "reports/ui/ApplicationsComboBox.h"

#include "shell/RtfWriter.h"
#include "shell/Utils.h"
#include "shell/ui/ReportHandOver.h"
#include "shell/ui/WindowProgress.h"

#include "platform/Localizer.h"
#include "platform/UserDefaults.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
const auto L = ListingReport::label;
}

SourcesReport::SourcesReport(FTMoc* moc, QWidget* parent)
    : QDialog(parent)
    , m_listing(moc)
{
    setUpPanelSheet(this, L("SourcesReportFilename"));

    m_rtf = new QRadioButton(L("SourcesFormatRtf"));
    m_rtf->setObjectName(QStringLiteral("richTextFormat"));
    m_csv = new QRadioButton(L("SourcesFormatCsv"));
    m_csv->setObjectName(QStringLiteral("csvFormat"));
    m_rtf->setChecked(true);
    auto* formats = new QButtonGroup(this);
    formats->addButton(m_rtf);
    formats->addButton(m_csv);
    auto* formatColumn = new QVBoxLayout;
    formatColumn->addWidget(m_rtf);
    formatColumn->addWidget(m_csv);

    m_sortByType = new QCheckBox(L("SourcesSortByType"));
    m_sortByType->setObjectName(QStringLiteral("sortByType"));
    m_oneLine = new QCheckBox(L("SourcesOneLine"));
    m_oneLine->setObjectName(QStringLiteral("oneLinePerSource"));
    m_references = new QCheckBox(L("SourcesIncludeReferences"));
    m_references->setObjectName(QStringLiteral("includeReferences"));
    m_references->setChecked(true);
    auto* options = new QVBoxLayout;
    options->addWidget(m_sortByType);
    options->addWidget(m_oneLine);
    options->addWidget(m_references);

    m_applications = new QComboBox;
    m_applications->setObjectName(QStringLiteral("applicationsComboBox"));
    connect(formats, &QButtonGroup::buttonClicked, this, [this] {
        // The layout choices mean nothing to a CSV file.
        m_oneLine->setEnabled(m_rtf->isChecked());
        m_references->setEnabled(m_rtf->isChecked());
        loadApplicationsArray();
    });

    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    form->addRow(L("SourcesFormat"), formatColumn);
    form->addRow(L("ReportOptions"), options);
    form->addRow(L("SourcesOpenWith"), m_applications);

    m_message = new QLabel;
    m_message->setObjectName(QStringLiteral("progressMessage"));
    m_message->setWordWrap(true);
    m_message->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_message->setMinimumHeight(m_message->fontMetrics().lineSpacing() * 2);
    m_counter = new QLabel;
    m_counter->setObjectName(QStringLiteral("counter"));
    m_exit = new QPushButton(L("Close"));
    m_exit->setObjectName(QStringLiteral("exitButton"));
    m_exit->setAutoDefault(false);
    m_generate = new QPushButton(L("Generate"));
    m_generate->setObjectName(QStringLiteral("generateButton"));
    m_generate->setDefault(true);
    connect(m_exit, &QPushButton::clicked, this, [this] { done(0); });
    connect(m_generate, &QPushButton::clicked, this, &SourcesReport::generate);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_counter, 1);
    buttons->addWidget(m_exit);
    buttons->addWidget(m_generate);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_message);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetMinimumSize);
    loadApplicationsArray();
}

QString SourcesReport::applicationKey() const
{
    return m_rtf->isChecked() ? QStringLiteral("rtfApplication") : QStringLiteral("csvApplication");
}

void SourcesReport::loadApplicationsArray()
{
    const bool rtf = m_rtf->isChecked();
    fillApplicationsComboBox(m_applications, L(rtf ? "DefaultRtfApplication" : "DefaultCsvApplication"),
        rtf ? Utils::rtfApplications() : Utils::csvApplications(),
        UserDefaults::standard().stringForKey(applicationKey()));
}

void SourcesReport::generate()
{
    if (!m_generate->isEnabled())
        return;
    m_listing.richTextFormat = m_rtf->isChecked();
    m_listing.sortByType = m_sortByType->isChecked();
    m_listing.oneLinePerSource = m_oneLine->isChecked();
    m_listing.includeReferences = m_references->isChecked();
    m_generate->setEnabled(false);
    m_exit->setText(L("Exit"));
    m_exit->setEnabled(false);

    RtfWriter writer;
    WindowProgress progress(m_counter, nullptr);
    const bool written = m_listing.generate(writer, &progress);
    m_exit->setEnabled(true);
    if (!written) {
        // Told why (no sources, or no file); the user may change something and try again.
        m_generate->setEnabled(true);
        return;
    }
    writer.setOpeningApplication(m_applications->currentData().toString());
    handOverReport(this, m_message, writer);
}

void SourcesReport::done(int result)
{
    UserDefaults::standard().setString(applicationKey(), m_applications->currentData().toString());
    QDialog::done(result);
}
