#include "gedcom/ui/ExportPersonPlusAllRelsController.h"

#include "gedcom/ExportPersonPlusAllRels.h"
#include "gedcom/ExportToGedcom.h"
#include "gedcom/ui/ExportToGedcomController.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"

#include "shell/ui/ReportHandOver.h"
#include "shell/UtilsFunctions.h"

#include "platform/Localizer.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

ExportPersonPlusAllRelsController::ExportPersonPlusAllRelsController(
    FTMoc* moc, FTPerson* focalPerson, const QString& nibName, QWidget* parent)
    : QDialog(parent)
    , m_search(std::make_unique<ExportPersonPlusAllRels>(moc, focalPerson, nibName))
{
    const bool report = nibName == ExportPersonPlusAllRels::kDynastiesReport;
    setObjectName(nibName);
    setWindowTitle(
        LocalizedString(report ? QStringLiteral("DynastiesReportTitle") : QStringLiteral("ExportAllRelsTitle")));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, PanelColour());
    setPalette(palette);
    setAutoFillBackground(true);
    resize(640, 480);

    auto table = [](const QString& name) {
        auto* list = new QListWidget;
        list->setObjectName(name);
        list->setSelectionMode(QAbstractItemView::NoSelection);
        list->setFocusPolicy(Qt::NoFocus);
        list->setUniformItemSizes(true);
        QFont font = list->font();
        font.setPointSize(11);
        list->setFont(font);
        return list;
    };
    m_tv1 = table(QStringLiteral("tv1"));
    m_tv2 = table(QStringLiteral("tv2"));
    m_numRelated = new QLabel;
    m_numRelated->setObjectName(QStringLiteral("numRelatedTextField"));
    m_numUnrelated = new QLabel;
    m_numUnrelated->setObjectName(QStringLiteral("numUnrelatedTextField"));

    auto* intro = new QLabel(
        LocalizedString(report ? QStringLiteral("DynastiesReportInfo") : QStringLiteral("ExportAllRelsInfo"))
            .arg(focalPerson ? focalPerson->nameWithBirthAndDeathYears() : QString()));
    intro->setWordWrap(true);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(LocalizedString(QStringLiteral("PeopleRelatedToFocalPerson"))), 0, 0);
    grid->addWidget(new QLabel(LocalizedString(QStringLiteral("PeopleNotRelatedToFocalPerson"))), 0, 1);
    grid->addWidget(m_tv1, 1, 0);
    grid->addWidget(m_tv2, 1, 1);
    grid->addWidget(m_numRelated, 2, 0);
    grid->addWidget(m_numUnrelated, 2, 1);

    m_progress = new QProgressBar;
    m_progress->setObjectName(QStringLiteral("progressIndicator"));
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);
    m_progressMessage = new QLabel;
    m_progressMessage->setObjectName(QStringLiteral("progressMessage"));
    m_progressMessage->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_progressMessage->setVisible(report);

    m_closeButton = new QPushButton(LocalizedString(QStringLiteral("Close")));
    m_closeButton->setObjectName(QStringLiteral("closeButton"));
    m_closeButton->setAutoDefault(false);
    m_generateButton = new QPushButton(LocalizedString(QStringLiteral("Generate")));
    m_generateButton->setObjectName(QStringLiteral("generateButton"));
    m_generateButton->setDefault(true);
    connect(m_closeButton, &QPushButton::clicked, this, [this] { closeSheet(); });
    connect(m_generateButton, &QPushButton::clicked, this, [this] { generate(); });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_progress, 1);
    buttons->addWidget(m_closeButton);
    buttons->addWidget(m_generateButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addLayout(grid, 1);
    layout->addWidget(m_progressMessage);
    layout->addLayout(buttons);

    m_search->progressChanged = [this](int percent) {
        m_progress->setValue(qBound(0, percent, 100));
        m_progress->repaint();
    };
    // Nothing to generate before the search has run.
    m_generateButton->setEnabled(false);
    m_startTimer = new QTimer(this);
    m_startTimer->setSingleShot(true);
    m_startTimer->setInterval(1000);
    connect(m_startTimer, &QTimer::timeout, this, [this] { startThread(); });
}

ExportPersonPlusAllRelsController::~ExportPersonPlusAllRelsController()
{
    m_search->progressChanged = nullptr;
}

void ExportPersonPlusAllRelsController::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_searched && !m_startTimer->isActive())
        m_startTimer->start();
}

void ExportPersonPlusAllRelsController::startThread()
{
    m_startTimer->stop();
    if (m_busy)
        return;
    m_busy = true;
    m_generateButton->setEnabled(false);
    m_closeButton->setEnabled(false);
    m_generateButton->repaint();
    m_closeButton->repaint();
    m_search->createArrays();
    m_searched = true;
    m_progress->setValue(0);
    refreshDialog();
    m_busy = false;
    m_generateButton->setEnabled(true);
    m_closeButton->setEnabled(true);
}

void ExportPersonPlusAllRelsController::refreshDialog()
{
    m_tv1->clear();
    for (const FTPerson* person : m_search->relatedPeopleArray())
        m_tv1->addItem(ExportPersonPlusAllRels::rowText(person));
    m_tv2->clear();
    for (const FTPerson* person : m_search->unrelatedPeopleArray())
        m_tv2->addItem(ExportPersonPlusAllRels::rowText(person));
    m_numRelated->setText(QString::number(m_search->relatedPeopleSet().size()));
    m_numUnrelated->setText(QString::number(m_search->numUnrelated()));
}

void ExportPersonPlusAllRelsController::generate()
{
    if (!m_searched || m_busy)
        return;
    if (m_search->nibName() == ExportPersonPlusAllRels::kExportPersonPlusAllRels) {
        ExportToGedcomController::beginSheet(new ExportToGedcomController(m_search->generateToGedcom()), this);
        return;
    }
    if (m_search->nibName() != ExportPersonPlusAllRels::kDynastiesReport)
        return;
    m_busy = true;
    m_generateButton->setEnabled(false);
    m_closeButton->setEnabled(false);
    m_search->moc()->saveMoc();
    const QString path = m_search->writeDynastiesReport();
    m_progress->setValue(path.isEmpty() ? 0 : 100);
    m_busy = false;
    m_closeButton->setEnabled(true);
    // A report that could not be written may be tried again; a written one is not written twice.
    m_generateButton->setEnabled(path.isEmpty());
    if (!path.isEmpty())
        handOverReport(this, m_progressMessage, *m_search->reportWriter());
}

void ExportPersonPlusAllRelsController::closeSheet()
{
    if (m_busy)
        return;
    m_startTimer->stop();
    hide();
    done(0);
}

void ExportPersonPlusAllRelsController::reject()
{
    closeSheet();
}
