#include "reports/ui/PersonalTimeline.h"

#include "reports/ui/PersonalTimelineView.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"

#include "shell/UtilsFunctions.h"

#include "platform/Localizer.h"

#include <QVBoxLayout>

namespace {
// The content size of the last timeline closed in this run.
QSize g_contentSize;
}

PersonalTimeline::PersonalTimeline(FTPerson* person, QWidget* parent)
    : QDialog(parent)
    , m_person(person)
    , m_moc(person ? person->moc() : nullptr)
    , m_timelineView(new PersonalTimelineView)
{
    setObjectName(QStringLiteral("PersonalTimeline"));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, PanelColour());
    setPalette(palette);
    setSizeGripEnabled(true);
    setWindowTitle(QStringLiteral("%1 %2").arg(LocalizedString(QStringLiteral("TimelineTitle")),
        person ? person->nameWithBirthAndDeathYears() : QString()));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_timelineView);
    m_timelineView->setPerson(person);
    resize(g_contentSize.isEmpty() ? QSize(1000, 600) : g_contentSize);
}

PersonalTimeline::~PersonalTimeline() = default;

void PersonalTimeline::done(int result)
{
    g_contentSize = size();
    QDialog::done(result);
}
