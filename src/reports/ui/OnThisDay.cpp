#include "reports/ui/OnThisDay.h"

#include "reports/OnThisDaySearch.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/ModelFlags.h"

#include "shell/DisplayMsg.h"
#include "shell/UtilsFunctions.h"
#include "shell/ui/SetFontSize.h"

#include "platform/Localizer.h"

#include <QAbstractTableModel>
#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>

namespace {
QString L(const char* key) { return LocalizedString(QString::fromLatin1(key)); }
}

// The events found, one row each: date, event, whose, place. The date is read when shown, so that it follows
// the calendar of the search.
class OnThisDayModel : public QAbstractTableModel {
public:
    enum Column { DateColumn, EventColumn, NameColumn, PlaceColumn, ColumnCount };
    using QAbstractTableModel::QAbstractTableModel;

    void setEvents(QList<FTEvent*> events)
    {
        beginResetModel();
        m_events = std::move(events);
        endResetModel();
    }
    const QList<FTEvent*>& events() const { return m_events; }

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(m_events.size()); }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : ColumnCount; }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_events.size())
            return {};
        const FTEvent* e = m_events[index.row()];
        switch (index.column()) {
        case DateColumn: return e->date();
        case EventColumn: return e->subtypeName();
        case NameColumn: return e->ownerName();
        case PlaceColumn: return e->place();
        }
        return {};
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        switch (section) {
        case DateColumn: return L("Date");
        case EventColumn: return L("Event");
        case NameColumn: return L("Name");
        case PlaceColumn: return L("Place");
        }
        return {};
    }

private:
    QList<FTEvent*> m_events;
};

OnThisDay::OnThisDay(FTMoc* moc, QWidget* parent)
    : QDialog(parent)
    , m_moc(moc)
{
    setObjectName(QStringLiteral("OnThisDay"));
    setWindowTitle(L("OnThisDayTitle"));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, PanelColour());
    setPalette(palette);

    m_day = new QSpinBox;
    m_day->setObjectName(QStringLiteral("dayOfMonth"));
    m_day->setRange(0, 31);
    m_day->setSpecialValueText(L("OnThisDayWholeMonth"));
    m_month = new QComboBox;
    m_month->setObjectName(QStringLiteral("monthOfYear"));
    for (int m = 1; m <= 12; ++m)
        m_month->addItem(QLocale().standaloneMonthName(m, QLocale::LongFormat), m);
    m_calendar = new QComboBox;
    m_calendar->setObjectName(QStringLiteral("calendar"));
    m_calendar->addItem(L("OnThisDayGregorian"));
    m_calendar->addItem(L("OnThisDayHebrew"));

    auto* controls = new QHBoxLayout;
    controls->addWidget(new QLabel(L("OnThisDayDay")));
    controls->addWidget(m_day);
    controls->addSpacing(8);
    controls->addWidget(new QLabel(L("OnThisDayMonth")));
    controls->addWidget(m_month);
    controls->addSpacing(8);
    controls->addWidget(new QLabel(L("OnThisDayCalendar")));
    controls->addWidget(m_calendar);
    controls->addStretch();

    m_model = new OnThisDayModel(this);
    m_table = new QTableView;
    m_table->setObjectName(QStringLiteral("tv"));
    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setAlternatingRowColors(true);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setWordWrap(false);
    SetFontSize(m_table, 11);
    connect(m_table->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int section) {
        if (section == OnThisDayModel::DateColumn)
            dateColumnClicked();
    });

    m_count = new QLabel;
    m_count->setObjectName(QStringLiteral("count"));
    auto* close = new QPushButton(L("Close"));
    close->setObjectName(QStringLiteral("closeButton"));
    connect(close, &QPushButton::clicked, this, [this] { done(QDialog::Accepted); });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_count);
    buttons->addStretch();
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(controls);
    layout->addWidget(m_table, 1);
    layout->addLayout(buttons);
    resize(640, 480);

    const QDate today = QDate::currentDate();
    m_dayOfMonth = today.day();
    m_monthOfYear = today.month();
    m_filling = true;
    m_day->setValue(m_dayOfMonth);
    m_month->setCurrentIndex(m_monthOfYear - 1);
    m_filling = false;
    connect(m_day, &QSpinBox::valueChanged, this, [this](int day) {
        if (!m_filling)
            setDayOfMonth(day);
    });
    connect(m_month, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!m_filling)
            setMonthOfYear(index + 1);
    });
    connect(m_calendar, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!m_filling)
            setHebrewCalendar(index == 1);
    });
    loadEvents();
    m_table->resizeColumnsToContents();
}

OnThisDay::~OnThisDay()
{
    gHebrewDates = false;
}

const QList<FTEvent*>& OnThisDay::eventsArray() const
{
    return m_model->events();
}

void OnThisDay::setDayOfMonth(int day)
{
    m_dayOfMonth = qBound(0, day, 31);
    m_filling = true;
    m_day->setValue(m_dayOfMonth);
    m_filling = false;
    loadEvents();
}

void OnThisDay::setMonthOfYear(int month)
{
    m_monthOfYear = qBound(1, month, 12);
    m_filling = true;
    m_month->setCurrentIndex(m_monthOfYear - 1);
    m_filling = false;
    loadEvents();
}

void OnThisDay::setHebrewCalendar(bool on)
{
    m_hebrewCalendar = on;
    m_filling = true;
    m_calendar->setCurrentIndex(on ? 1 : 0);
    m_filling = false;
    loadEvents();
}

void OnThisDay::loadEvents()
{
    if (QWidget* focus = focusWidget())
        focus->clearFocus();
    if (m_hebrewCalendar) {
        if (m_dayOfMonth == 0) {
            DisplayMsg(L("HebrewDateWarning"));
            return;
        }
        gHebrewDates = true;
        m_model->setEvents(OnThisDaySearch::hebrewEvents(
            m_moc, m_dayOfMonth, m_monthOfYear, QDate::currentDate().year(), m_ascending));
    } else {
        gHebrewDates = false;
        m_model->setEvents(OnThisDaySearch::gregorianEvents(m_moc, m_dayOfMonth, m_monthOfYear, m_ascending));
    }
    m_count->setText(L("OnThisDayCount").arg(m_model->events().size()));
}

void OnThisDay::dateColumnClicked()
{
    m_ascending = !m_ascending;
    QList<FTEvent*> events = m_model->events();
    if (m_dayOfMonth == 0)
        OnThisDaySearch::sortByDayMonthYear(events, m_ascending);
    else
        OnThisDaySearch::sortByDate(events, m_ascending);
    m_model->setEvents(std::move(events));
}

void OnThisDay::done(int result)
{
    // However the window ends (its button, Escape, the close box), dates read Gregorian again afterwards.
    gHebrewDates = false;
    QDialog::done(result);
}

void OnThisDay::closeEvent(QCloseEvent* event)
{
    gHebrewDates = false;
    QDialog::closeEvent(event);
}
