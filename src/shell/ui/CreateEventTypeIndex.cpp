#include "shell/ui/CreateEventTypeIndex.h"

#include "shell/Utils.h"
#include "shell/UtilsFunctions.h"
#include "shell/ui/DOvurDocument.h"
#include "shell/ui/DocumentController.h"
#include "shell/ui/WindowProgress.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/ModelHooks.h"

#include "platform/Localizer.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

CreateEventTypeIndex::CreateEventTypeIndex(
    FTMoc* moc, const QList<FTEvent*>& events, std::function<void(bool completed)> done, QWidget* parent)
    : QDialog(parent)
    , m_moc(moc)
    , m_events(events)
    , m_done(std::move(done))
    , m_estimatedTime(Utils::timeToText(FTMoc::eventTypeIndexEstimatedSeconds(events.size())))
{
    setObjectName(QStringLiteral("CreateEventTypeIndex"));
    setWindowTitle(LocalizedString("EventTypeIndexTitle"));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, PanelColour());
    setPalette(palette);
    setAutoFillBackground(true);

    auto* info = new QLabel(LocalizedString("EventTypeIndexInfo").arg(QString::number(events.size())));
    info->setWordWrap(true);
    m_estimate = new QLabel(QStringLiteral("%1 %2").arg(LocalizedString("EventTypeIndexEstimate"), m_estimatedTime));
    m_estimate->setObjectName(QStringLiteral("estimatedTime"));
    m_progressIndicator = new QProgressBar;
    m_progressIndicator->setObjectName(QStringLiteral("progressIndicator"));
    m_progressIndicator->setRange(0, 100);
    m_progressIndicator->setValue(0);
    m_progressIndicator->setTextVisible(false);

    m_closeButton = new QPushButton(LocalizedString("Close"));
    m_closeButton->setObjectName(QStringLiteral("closeButton"));
    m_closeButton->setAutoDefault(false);
    m_okButton = new QPushButton(LocalizedString("OK"));
    m_okButton->setObjectName(QStringLiteral("okButton"));
    m_okButton->setDefault(true);
    connect(m_okButton, &QPushButton::clicked, this, [this] { didOK(); });
    connect(m_closeButton, &QPushButton::clicked, this, [this] { closeSheet(); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_closeButton);
    buttons->addWidget(m_okButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(info);
    layout->addWidget(m_estimate);
    layout->addWidget(m_progressIndicator);
    layout->addLayout(buttons);
    setMinimumWidth(460);
    adjustSize();
}

CreateEventTypeIndex::~CreateEventTypeIndex()
{
    // A sheet that goes with its window (the database closed) has linked nothing.
    finish(false);
}

void CreateEventTypeIndex::install()
{
    ModelHooks::shared().createEventTypeIndex
        = [](FTMoc& moc, const QList<FTEvent*>& events, std::function<void(bool)> done) {
              DOvurDocument* owner = nullptr;
              for (DOvurDocument* doc : DocumentController::shared().documents())
                  if (doc->moc() == &moc)
                      owner = doc;
              if (!owner || !owner->dovurWindow()) {
                  done(false);
                  return;
              }
              owner->beginSheet(new CreateEventTypeIndex(&moc, events, std::move(done)));
          };
}

void CreateEventTypeIndex::didOK()
{
    if (m_running || !m_done)
        return;
    m_running = true;
    m_okButton->setEnabled(false);
    m_closeButton->setEnabled(false);
    // Events deleted while the sheet waited are no longer the database's.
    QList<FTEvent*> events;
    events.reserve(m_events.size());
    for (FTEvent* event : std::as_const(m_events))
        if (!event->isDeleted())
            events << event;
    bool linked = false;
    try {
        WindowProgress progress(nullptr, m_progressIndicator);
        linked = m_moc->linkEventsToEventTypes(events, &progress);
    } catch (...) {
        Utils::reportCurrentException(__FILE__, __LINE__, QStringLiteral("didOK"));
    }
    m_running = false;
    finish(linked);
    done(linked ? QDialog::Accepted : QDialog::Rejected);
}

void CreateEventTypeIndex::closeSheet()
{
    if (m_running)
        return;
    finish(false);
    done(QDialog::Rejected);
}

void CreateEventTypeIndex::reject() { closeSheet(); }

void CreateEventTypeIndex::finish(bool completed)
{
    if (!m_done)
        return;
    const std::function<void(bool)> done = std::move(m_done);
    m_done = nullptr;
    done(completed);
}
