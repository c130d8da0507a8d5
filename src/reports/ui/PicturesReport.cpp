#include "reports/ui/PicturesReport.h"

#include "reports/ListingReport.h"
#include "reports/ui/PanelSheet.h"

#include "shell/RtfWriter.h"
#include "shell/ui/WindowProgress.h"

#include "platform/Localizer.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
const auto L = ListingReport::label;
}

PicturesReport::PicturesReport(FTMoc* moc, QWidget* parent)
    : QDialog(parent)
    , m_listing(moc)
{
    setUpPanelSheet(this, L("PicturesReportTitle"));

    auto* box = new QGroupBox(L("PicturesOrder"));
    auto* column = new QVBoxLayout(box);
    m_order = new QButtonGroup(this);
    const char* const keys[] = { "PicturesByOwner", "PicturesByFamilyName", "PicturesByFileName", "PicturesByTitle" };
    for (int i = 0; i < 4; ++i) {
        auto* button = new QRadioButton(L(keys[i]));
        button->setChecked(i == 0);
        m_order->addButton(button, i);
        column->addWidget(button);
    }

    m_message = new QLabel;
    m_message->setObjectName(QStringLiteral("message"));
    m_progress = newSheetProgressBar();
    m_close = new QPushButton(L("Close"));
    m_close->setObjectName(QStringLiteral("closeButton"));
    m_close->setAutoDefault(false);
    m_generate = new QPushButton(L("Generate"));
    m_generate->setObjectName(QStringLiteral("generateButton"));
    m_generate->setDefault(true);
    connect(m_close, &QPushButton::clicked, this, [this] { done(0); });
    connect(m_generate, &QPushButton::clicked, this, &PicturesReport::generateReport);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_close);
    buttons->addWidget(m_generate);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addWidget(m_message);
    layout->addWidget(m_progress);
    layout->addLayout(buttons);
    setMinimumWidth(380);
}

void PicturesReport::generateReport()
{
    m_listing.order = m_order->checkedId();
    RtfWriter writer;
    WindowProgress progress(m_message, m_progress);
    m_generate->setEnabled(false);
    const bool written = m_listing.generate(writer, &progress);
    m_generate->setEnabled(true);
    // A report that could not be made stays here to be tried again; the writer has said why.
    if (!written)
        return;
    writer.handOver();
    done(0);
}
