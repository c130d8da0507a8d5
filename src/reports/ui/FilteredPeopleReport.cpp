#include "reports/ui/FilteredPeopleReport.h"

#include "reports/ListingReport.h"
#include "reports/ui/PanelSheet.h"
#include "reports/ui/PeopleListModel.h"

#include "shell/RtfWriter.h"
#include "shell/ui/WindowProgress.h"

#include "platform/Localizer.h"
#include "platform/Prompts.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {
const auto L = ListingReport::label;
}

FilteredPeopleReport::FilteredPeopleReport(FTMoc* moc, QWidget* parent)
    : QDialog(parent)
    , m_report(moc)
{
    setUpPanelSheet(this, L("FilteredReportTitle"));

    // Text filters on the left, the year ranges on the right.
    auto* texts = new QFormLayout;
    auto* years = new QFormLayout;
    for (int f = 0; f < FilteredPeople::FieldCount; ++f) {
        const auto field = FilteredPeople::Field(f);
        auto* edit = new QLineEdit;
        edit->setObjectName(FilteredPeople::fieldKey(field));
        edit->setClearButtonEnabled(true);
        connect(edit, &QLineEdit::editingFinished, this, &FilteredPeopleReport::refilter);
        const bool year = field >= FilteredPeople::BirthYearBefore && field <= FilteredPeople::DeathYearAfter;
        if (year)
            edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("00000000")));
        (year ? years : texts)->addRow(LocalizedString(FilteredPeople::fieldKey(field)), edit);
        m_fields[f] = edit;
    }
    auto* filters = new QHBoxLayout;
    filters->addLayout(texts, 2);
    filters->addSpacing(16);
    filters->addLayout(years, 1);

    m_oneLine = new QCheckBox(L("FilteredOneLine"));
    m_oneLine->setObjectName(QStringLiteral("oneLinePerPerson"));
    connect(m_oneLine, &QCheckBox::toggled, this, [this](bool on) { m_report.oneLinePerPerson = on; });
    m_count = new QLabel;
    m_count->setObjectName(QStringLiteral("count"));
    auto* above = new QHBoxLayout;
    above->addWidget(m_oneLine);
    above->addStretch();
    above->addWidget(m_count);

    m_model = new PeopleListModel(this);
    m_table = new QTableView;
    m_table->setObjectName(QStringLiteral("tv"));
    m_table->setModel(m_model);
    m_table->setSelectionMode(QAbstractItemView::NoSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 4);
    m_table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_table->horizontalHeader()->resizeSection(1, 180);
    m_table->horizontalHeader()->resizeSection(2, 180);
    m_table->setMinimumHeight(240);

    m_progress = newSheetProgressBar();
    m_message = new QLabel;
    m_message->setObjectName(QStringLiteral("progressMessage"));
    m_message->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_close = new QPushButton(L("Close"));
    m_close->setObjectName(QStringLiteral("closeButton"));
    m_close->setAutoDefault(false);
    m_generate = new QPushButton(L("GenerateReport"));
    m_generate->setObjectName(QStringLiteral("generateButton"));
    m_generate->setAutoDefault(false);
    connect(m_close, &QPushButton::clicked, this, [this] { done(0); });
    connect(m_generate, &QPushButton::clicked, this, &FilteredPeopleReport::generate);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_progress, 1);
    buttons->addWidget(m_close);
    buttons->addWidget(m_generate);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addLayout(above);
    layout->addWidget(m_table, 1);
    layout->addWidget(m_message);
    layout->addLayout(buttons);
    resize(760, 620);
    refilter();
}

void FilteredPeopleReport::refilter()
{
    for (int f = 0; f < FilteredPeople::FieldCount; ++f)
        m_report.filters[f] = m_fields[f]->text().trimmed();
    m_model->setPeople(m_report.people());
    m_count->setText(L("FilteredPeopleCount").arg(m_model->rowCount()));
}

void FilteredPeopleReport::generate()
{
    // A filter still being typed counts.
    refilter();
    const QList<FTPerson*>& people = m_model->people();
    const int pages = FilteredPeople::estimatedPages(people.size(), m_report.oneLinePerPerson);
    if (pages > 100) {
        const QString text = QStringLiteral("%1 %2 %3 %4 %5.")
                                 .arg(L("FilteredAlert1"))
                                 .arg(people.size())
                                 .arg(L("FilteredAlert2"))
                                 .arg(pages)
                                 .arg(L("pages"));
        if (Prompts::current().chooseWithTitle(L("FilteredReportTitle"), text, {}, { L("Continue"), L("Cancel") }) != 0)
            return;
    }
    RtfWriter writer;
    writer.setFileType(QStringLiteral("rtf"));
    WindowProgress progress(nullptr, m_progress);
    m_generate->setEnabled(false);
    const bool written = m_report.generate(writer, people, &progress);
    m_generate->setEnabled(true);
    if (!written)
        return;
    m_message->setText(writer.savedMessage());
    m_message->setToolTip(writer.savedMessage());
    writer.handOver();
}
