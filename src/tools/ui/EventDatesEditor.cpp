#include "tools/ui/EventDatesEditor.h"

#include "tools/EventDatesEditing.h"
#include "tools/EventDatesModel.h"
#include "tools/ui/ToolsWindowHelpers.h"

#include "sources/ui/SourcesWindowHelpers.h"

#include "editor/ui/EditorTableView.h"
#include "editor/ui/LineEditDateField.h"

#include "shell/DisplayMsg.h"

#include "model/Dates.h"
#include "model/FTEvent.h"
#include "model/FTMoc.h"

#include "platform/Localizer.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QSize g_prevSize(0, 0); // none until the first editor closes
constexpr int kFontSize = 12;

QString L(const char* key) { return LocalizedString(QString::fromLatin1(key)); }
}

QSize EventDatesEditor::prevSize() { return g_prevSize; }
void EventDatesEditor::setPrevSize(const QSize& size) { g_prevSize = size; }

EventDatesEditor::EventDatesEditor(FTMoc* moc, QWidget* parent)
    : QDialog(parent)
    , m_moc(moc)
{
    setObjectName(QStringLiteral("EventDatesEditor"));
    setWindowTitle(L("EventDatesTitle"));
    auto* layout = new QVBoxLayout(this);
    auto* info = new QLabel(L("EventDatesInfo"));
    info->setWordWrap(true);
    layout->addWidget(info);

    m_model = new EventDatesModel(this);
    m_model->loadEvents(moc);
    m_events = ToolsWindowHelpers::makeTextTable(QStringLiteral("tv_Events"), m_model, true, kFontSize);
    // A quarter of a million rows: every row one line high, measured once.
    m_events->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_events->verticalHeader()->setDefaultSectionSize(m_events->fontMetrics().height() + 6);
    m_events->shouldEndEditing = [this](const QModelIndex& index, QWidget* editor) {
        if (index.column() != EventDatesModel::DateColumn)
            return true;
        auto* line = qobject_cast<QLineEdit*>(editor);
        const FTEvent* event = m_model->event(index.row());
        if (!line || !event || line->text() == event->date())
            return true;
        LineEditDateField field(line);
        return Dates::validateDateField(field, nullptr);
    };
    const QFontMetrics metrics(m_events->font());
    QHeaderView* header = m_events->horizontalHeader();
    header->resizeSection(EventDatesModel::OwnerColumn, metrics.horizontalAdvance(QStringLiteral("Margaret Elizabeth Ann Smith")));
    header->resizeSection(EventDatesModel::NameColumn, metrics.horizontalAdvance(QStringLiteral("Occupation")) + 16);
    header->resizeSection(EventDatesModel::DateColumn, metrics.horizontalAdvance(QStringLiteral("abt 00 May 0000")) + 16);
    header->resizeSection(EventDatesModel::GedcomDateColumn, metrics.horizontalAdvance(QStringLiteral("ABT 30 SEPT 1900")) + 16);
    layout->addWidget(m_events, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(SourcesWindowHelpers::makeButton(QStringLiteral("sortByYearMonthDate"), L("SortByDate"),
        [this] { sortByYearMonthDate(); }, QStringLiteral("view-sort-ascending")));
    buttons->addSpacing(12);
    buttons->addWidget(new QLabel(L("ReadGedcomDateAs")));
    buttons->addWidget(SourcesWindowHelpers::makeButton(
        QStringLiteral("interpretDateAsDMY"), L("ReadAsDMY"), [this] { interpretDateAsDMY(); }));
    buttons->addWidget(SourcesWindowHelpers::makeButton(
        QStringLiteral("interpretDateAsMDY"), L("ReadAsMDY"), [this] { interpretDateAsMDY(); }));
    buttons->addWidget(SourcesWindowHelpers::makeButton(
        QStringLiteral("interpretDateAsYMD"), L("ReadAsYMD"), [this] { interpretDateAsYMD(); }));
    buttons->addStretch();
    buttons->addWidget(SourcesWindowHelpers::makeCloseButton([this] { done(0); }));
    layout->addLayout(buttons);

    SourcesWindowHelpers::usePanelColour(this);
    resize(900, 560);
    if (g_prevSize.width() > 0)
        resize(g_prevSize);
}

EventDatesEditor::~EventDatesEditor() = default;

void EventDatesEditor::sortByYearMonthDate()
{
    if (!m_events->endEditing())
        return;
    m_model->sortByDate();
    const QList<int> rows = ToolsWindowHelpers::selectedRows(m_events);
    if (!rows.isEmpty())
        m_events->scrollTo(m_model->index(rows.first(), 0));
}

void EventDatesEditor::interpretDateAsDMY() { interpretGedcomDate(EventDatesEditing::DMY); }
void EventDatesEditor::interpretDateAsMDY() { interpretGedcomDate(EventDatesEditing::MDY); }
void EventDatesEditor::interpretDateAsYMD() { interpretGedcomDate(EventDatesEditing::YMD); }

void EventDatesEditor::interpretGedcomDate(int mode)
{
    if (!m_events->endEditing())
        return;
    const QList<int> rows = ToolsWindowHelpers::selectedRows(m_events);
    if (rows.isEmpty()) {
        DisplayMsg(L("SelectEventTryAgain"));
        return;
    }
    QList<FTEvent*> events;
    events.reserve(rows.size());
    for (int row : rows)
        events << m_model->event(row);
    const EventDatesEditing::Outcome outcome
        = EventDatesEditing::interpretGedcomDate(events, EventDatesEditing::Mode(mode));
    if (outcome.changed > 0)
        m_model->refreshRows();
}

void EventDatesEditor::done(int result)
{
    if (isVisible()) {
        m_events->endEditing();
        if (m_moc)
            m_moc->saveMoc();
        g_prevSize = size();
    }
    QDialog::done(result);
}
