#include "shell/ui/DateDisplay.h"

#include "shell/EventCalendarDay.h"
#include "shell/UtilsFunctions.h"

#include "model/FTEvent.h"

#include "platform/Localizer.h"

#include <QCalendarWidget>
#include <QDate>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

DateDisplay::DateDisplay(FTEvent* event, QWidget* parent)
    : QDialog(parent)
    , m_event(event)
{
    setObjectName(QStringLiteral("DateDisplay"));
    setWindowTitle(LocalizedString(QStringLiteral("DateDisplayTitle")));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, PanelColour());
    setPalette(palette);
    setAutoFillBackground(true);

    auto* heading = new QLabel(this);
    heading->setObjectName(QStringLiteral("eventDate"));
    if (event) {
        const QString date = event->date();
        heading->setText(QStringLiteral("%1: %2").arg(
            event->name(), date.isEmpty() ? LocalizedString(QStringLiteral("DateDisplayNoDate")) : date));
    }

    m_datePicker = new QCalendarWidget(this);
    m_datePicker->setObjectName(QStringLiteral("datePicker"));
    m_datePicker->setSelectionMode(QCalendarWidget::SingleSelection);
    m_datePicker->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    m_datePicker->setGridVisible(false);
    // Family history reaches far back: the calendar's default lower limit (1752) would hide most of it.
    m_datePicker->setDateRange(QDate(1, 1, 1), QDate(9999, 12, 31));
    m_datePicker->setSelectedDate(EventCalendarDay::dayShown(event, QDate::currentDate()));
    // A click on the day already shown picks it as well.
    connect(m_datePicker, &QCalendarWidget::clicked, this, [this] { m_picked = true; });
    connect(m_datePicker, &QCalendarWidget::activated, this, [this] { m_picked = true; });
    connect(m_datePicker, &QCalendarWidget::selectionChanged, this, [this] { m_picked = true; });

    m_button = new QPushButton(LocalizedString(QStringLiteral("OK")), this);
    m_button->setObjectName(QStringLiteral("button"));
    m_button->setDefault(true);
    connect(m_button, &QPushButton::clicked, this, &DateDisplay::accept);
    auto* cancel = new QPushButton(LocalizedString(QStringLiteral("Cancel")), this);
    cancel->setObjectName(QStringLiteral("cancel"));
    connect(cancel, &QPushButton::clicked, this, &DateDisplay::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancel);
    buttons->addWidget(m_button);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 14);
    layout->addWidget(heading);
    layout->addWidget(m_datePicker);
    layout->addLayout(buttons);
}

void DateDisplay::saveEventDate()
{
    if (m_picked)
        EventCalendarDay::setPickedDay(m_event, m_datePicker->selectedDate());
}

void DateDisplay::accept()
{
    saveEventDate();
    QDialog::accept();
}
