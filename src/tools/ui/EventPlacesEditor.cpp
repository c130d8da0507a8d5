#include "tools/ui/EventPlacesEditor.h"

#include "tools/EventsByDateModel.h"
#include "tools/PlacesListing.h"
#include "tools/TextListModel.h"
#include "tools/ui/ToolsWindowHelpers.h"

#include "sources/ui/SourcesWindowHelpers.h"

#include "editor/ui/EditorTableView.h"

#include "shell/DisplayMsg.h"
#include "shell/Utils.h"
#include "shell/ui/WindowProgress.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/ModelHooks.h"

#include "platform/Localizer.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
QSize g_prevSize(0, 0); // none until the first editor closes
constexpr int kFontSize = 11;

QString L(const char* key) { return LocalizedString(QString::fromLatin1(key)); }

using SourcesWindowHelpers::makeButton;
}

QSize EventPlacesEditor::prevSize() { return g_prevSize; }

void EventPlacesEditor::setPrevSize(const QSize& size) { g_prevSize = size; }

EventPlacesEditor::EventPlacesEditor(FTMoc* moc, QWidget* parent)
    : TextsAndEventsWindow(moc, QStringLiteral("EventPlacesEditor"), L("EventPlacesTitle"), &g_prevSize, parent)
    , m_editing(moc)
{
    auto* layout = new QVBoxLayout(this);

    m_filterSearchField = ToolsWindowHelpers::makeSearchField(QStringLiteral("filterSearchField"), L("PlacesFilterPlaceholder"));
    connect(m_filterSearchField, &QLineEdit::textChanged, this, [this](const QString& text) { findLocation(text); });
    layout->addWidget(m_filterSearchField);

    Panes panes;
    panes.textsName = QStringLiteral("tv_Locations");
    panes.eventsName = QStringLiteral("tv_Events");
    panes.header = L("PlacesHeader");
    panes.severalTexts = true;
    panes.checksBirthOwner = true;
    panes.pointSize = kFontSize;
    layout->addWidget(makePanes(panes, [this](int row, const QString& typed) { renamePlace(row, typed); }), 1);
    connect(m_texts->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { loadEventsArray(); });

    m_progressIndicator = new QProgressBar;
    m_progressIndicator->setObjectName(QStringLiteral("progressIndicator"));
    m_progressIndicator->setRange(0, 100);
    m_progressIndicator->setTextVisible(false);
    m_progressIndicator->hide();
    layout->addWidget(m_progressIndicator);

    // What works on the places of the list.
    auto* placesBox = new QGroupBox(L("PlacesHeader"));
    auto* placesRow = new QHBoxLayout(placesBox);
    placesRow->addWidget(makeButton(QStringLiteral("autoClean"), L("CleanPlaceNamesButton"), [this] { autoClean(); },
        QStringLiteral("edit-clear")));
    m_promptedBox = new QCheckBox(L("AskPlaceByPlace"));
    m_promptedBox->setObjectName(QStringLiteral("prompted"));
    placesRow->addWidget(m_promptedBox);
    placesRow->addStretch();
    placesRow->addWidget(makeButton(QStringLiteral("printAsCsv"), L("EventsByPlaceCsv"), [this] { printAsCsv(); },
        QStringLiteral("x-office-spreadsheet")));
    placesRow->addWidget(makeButton(QStringLiteral("printAsRtf"), L("EventsByPlaceRtf"), [this] { printAsRtf(); },
        QStringLiteral("x-office-document")));
    layout->addWidget(placesBox);

    // What works on the selected events.
    auto* eventsBox = new QGroupBox(L("SelectedEvents"));
    auto* eventsRow = new QHBoxLayout(eventsBox);
    eventsRow->addWidget(makeButton(QStringLiteral("promoteToFocalPerson"), L("MakeFocalPerson"),
        [this] { promoteToFocalPerson(); }, QStringLiteral("go-jump")));
    eventsRow->addWidget(SourcesWindowHelpers::makeHelpButton(
        QStringLiteral("helpForFocalPerson"), [this] { helpForFocalPerson(); }));
    eventsRow->addSpacing(12);
    eventsRow->addWidget(makeButton(QStringLiteral("findInGoogleMaps"), L("LookUpOnMap"), [this] { findInGoogleMaps(); }));
    eventsRow->addWidget(makeButton(QStringLiteral("deleteMapInfo"), L("ClearMapInfoButton"), [this] { deleteMapInfo(); },
        QStringLiteral("edit-delete")));
    eventsRow->addSpacing(12);
    eventsRow->addWidget(makeButton(QStringLiteral("movePlaceNameToNotes"), L("MovePlaceToNotesButton"),
        [this] { movePlaceNameToNotes(); }));
    eventsRow->addWidget(makeButton(QStringLiteral("movePlaceNameToNameField"), L("MovePlaceToNameButton"),
        [this] { movePlaceNameToNameField(); }));
    eventsRow->addWidget(SourcesWindowHelpers::makeHelpButton(
        QStringLiteral("helpForMovePlaceName"), [this] { helpForMovePlaceName(); }));
    eventsRow->addStretch();
    layout->addWidget(eventsBox);

    auto* closeRow = new QHBoxLayout;
    closeRow->addStretch();
    closeRow->addWidget(SourcesWindowHelpers::makeCloseButton([this] { done(0); }));
    layout->addLayout(closeRow);

    finishSetUp(QSize(980, 600));

    setPrompted(true);
    refreshPlaceNamesArray();
}

EventPlacesEditor::~EventPlacesEditor() = default;

bool EventPlacesEditor::prompted() const { return m_promptedBox->isChecked(); }

void EventPlacesEditor::setPrompted(bool prompted) { m_promptedBox->setChecked(prompted); }

// ---- The lists ----------------------------------------------------------------------------------------------------

void EventPlacesEditor::showPlaces()
{
    m_textsModel->setTexts(m_editing.places());
}

void EventPlacesEditor::selectPlaceRow(int row)
{
    QItemSelectionModel* selection = m_texts->selectionModel();
    if (row < 0) {
        selection->clearSelection();
        loadEventsArray();
        return;
    }
    const QModelIndex index = m_textsModel->index(row, 0);
    selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_texts->scrollTo(index);
    loadEventsArray();
}

void EventPlacesEditor::refreshPlaceNamesArray()
{
    m_editing.refreshPlaceNamesArray(true);
    showPlaces();
    selectPlaceRow(m_editing.places().isEmpty() ? -1 : 0);
}

void EventPlacesEditor::refreshDisplay(const QString& place)
{
    m_editing.refreshPlaceNamesArray(false);
    showPlaces();
    selectPlaceRow(m_textsModel->rowOf(place));
}

QStringList EventPlacesEditor::selectedPlaces() const
{
    QStringList places;
    for (int row : ToolsWindowHelpers::selectedRows(m_texts))
        places << m_textsModel->text(row);
    return places;
}

void EventPlacesEditor::loadEventsArray()
{
    m_events->abandonEditing();
    m_eventsModel->setEvents(m_editing.eventsAtPlaces(selectedPlaces()));
}

FTEvent* EventPlacesEditor::selectedEvent() const
{
    const QModelIndex current = m_events->selectionModel()->currentIndex();
    if (current.isValid() && m_events->selectionModel()->isRowSelected(current.row()))
        return m_eventsModel->event(current.row());
    const QList<int> rows = ToolsWindowHelpers::selectedRows(m_events);
    return rows.isEmpty() ? nullptr : m_eventsModel->event(rows.first());
}

QList<FTEvent*> EventPlacesEditor::selectedEvents() const
{
    QList<FTEvent*> events;
    for (int row : ToolsWindowHelpers::selectedRows(m_events))
        events << m_eventsModel->event(row);
    return events;
}

// ---- Actions ------------------------------------------------------------------------------------------------------

void EventPlacesEditor::findLocation(const QString& text)
{
    m_editing.setFilterText(text);
    refreshPlaceNamesArray();
}

void EventPlacesEditor::renamePlace(int row, const QString& typed)
{
    const QString old = m_textsModel->text(row);
    if (row < 0 || row >= m_textsModel->rowCount() || typed == old)
        return;
    if (m_editing.renamePlace(old, typed, m_eventsModel->events()))
        refreshPlaceNamesArray();
}

void EventPlacesEditor::autoClean()
{
    m_texts->endEditing();
    m_progressIndicator->setValue(0);
    m_progressIndicator->show();
    WindowProgress progress(nullptr, m_progressIndicator);
    m_editing.autoClean(prompted(), &progress);
    m_progressIndicator->hide();
    showPlaces();
    selectPlaceRow(m_editing.places().isEmpty() ? -1 : 0);
}

void EventPlacesEditor::deleteMapInfo()
{
    FTEvent* event = selectedEvent();
    if (!event) {
        DisplayMsg(L("SelectEventTryAgain"));
        return;
    }
    const QString place = event->place();
    if (m_editing.deleteMapInfo(event))
        refreshDisplay(place);
}

void EventPlacesEditor::findInGoogleMaps()
{
    FTEvent* event = selectedEvent();
    if (!event) {
        DisplayMsg(L("SelectEventTryAgain"));
        return;
    }
    if (event->place().isEmpty())
        return;
    if (!ModelHooks::shared().openMapWindow) {
        DisplayMsg(L("MapLookUpNotAvailable"));
        return;
    }
    QPointer<EventPlacesEditor> self(this);
    const QString place = event->place();
    event->findInGoogleMaps(this, [self, place] {
        if (!self)
            return;
        self->m_editing.moc()->saveMoc();
        self->refreshDisplay(place);
    });
}

void EventPlacesEditor::promoteToFocalPerson()
{
    makeOwnerFocal(selectedEvent());
}

void EventPlacesEditor::movePlaceNameToNotes()
{
    m_events->endEditing();
    m_progressIndicator->setValue(0);
    m_progressIndicator->show();
    WindowProgress progress(nullptr, m_progressIndicator);
    m_editing.movePlaceNamesToNotes(selectedEvents(), &progress);
    m_progressIndicator->setValue(0);
    m_progressIndicator->hide();
    m_eventsModel->refreshRows();
}

void EventPlacesEditor::movePlaceNameToNameField()
{
    m_events->endEditing();
    m_progressIndicator->setValue(0);
    m_progressIndicator->show();
    WindowProgress progress(nullptr, m_progressIndicator);
    m_editing.movePlaceNamesToNameField(selectedEvents(), &progress);
    m_progressIndicator->setValue(0);
    m_progressIndicator->hide();
    m_eventsModel->refreshRows();
}

void EventPlacesEditor::helpForFocalPerson() { DisplayMsg(L("EventPlacesFocalHelp")); }

void EventPlacesEditor::helpForMovePlaceName()
{
    Utils::displayMsgWithTitle(L("helpForMovePlaceNameTitle"), L("helpForMovePlaceNameInfo"));
}

void EventPlacesEditor::printAsCsv()
{
    m_progressIndicator->setValue(0);
    m_progressIndicator->show();
    WindowProgress progress(nullptr, m_progressIndicator);
    PlacesListing(m_editing.moc(), m_editing.places()).printAsCsv(&progress);
    m_progressIndicator->setValue(0);
    m_progressIndicator->hide();
}

void EventPlacesEditor::printAsRtf()
{
    m_progressIndicator->setValue(0);
    m_progressIndicator->show();
    WindowProgress progress(nullptr, m_progressIndicator);
    PlacesListing(m_editing.moc(), m_editing.places()).printAsRtf(&progress);
    m_progressIndicator->hide();
}
