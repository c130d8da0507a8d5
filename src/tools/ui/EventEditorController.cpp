#include "tools/ui/EventEditorController.h"

#include "tools/EventEditing.h"
#include "tools/ui/PlacesComboBox.h"

#include "sources/ui/CitationTableView.h"
#include "sources/ui/SelectASourceButton.h"
#include "sources/ui/SourcesWindowHelpers.h"

#include "editor/SelfPageTexts.h"
#include "editor/ui/AddEventButton.h"
#include "editor/ui/EditorLineEdit.h"
#include "editor/ui/LineEditDateField.h"
#include "editor/ui/NotesTextEdit.h"

#include "shell/FieldValidation.h"
#include "shell/Utils.h"

#include "model/Dates.h"
#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/FTSpouseRel.h"

#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace {
QSize g_prevSize(0, 0);          // none until the first editor closes
double g_verticalSplitViewPercent = 0; // none until measured

QString L(const char* key) { return LocalizedString(QString::fromLatin1(key)); }

QLabel* fieldLabel(const char* key)
{
    auto* label = new QLabel(L(key));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

// A choice from a combo box's list is an edit of its field, ended at once.
void endWithChoice(EditorLineEdit* edit, const QString& text)
{
    if (edit->text() != text)
        edit->setText(text);
    Q_EMIT edit->textEdited(text);
    edit->endEditing();
}
}

QSize EventEditorController::prevSize() { return g_prevSize; }
void EventEditorController::setPrevSize(const QSize& size) { g_prevSize = size; }
double EventEditorController::verticalSplitViewPercent() { return g_verticalSplitViewPercent; }
void EventEditorController::setVerticalSplitViewPercent(double fraction) { g_verticalSplitViewPercent = fraction; }

EventEditorController* EventEditorController::initWithPerson(FTPerson* person, FTEvent* event, QWidget* parent)
{
    return new EventEditorController(person, nullptr, event, parent);
}

EventEditorController* EventEditorController::initWithSpouseRel(FTSpouseRel* couple, FTEvent* event, QWidget* parent)
{
    if (!event)
        return nullptr;
    return new EventEditorController(nullptr, couple, event, parent);
}

EventEditorController* EventEditorController::beginSheet(
    QWidget* window, FTManagedObject* owner, FTEvent* event, std::function<void()> didEnd)
{
    EventEditorController* editor = nullptr;
    auto* couple = dynamic_cast<FTSpouseRel*>(owner);
    if (couple || (event && (event->type() == FTEvent::MarriageEvent || event->type() == FTEvent::OtherMarriageEvent)))
        editor = initWithSpouseRel(couple, event, window);
    else
        editor = initWithPerson(dynamic_cast<FTPerson*>(owner), event, window);
    if (!editor)
        return nullptr;
    if (window)
        editor->setWindowFlags(editor->windowFlags() | Qt::Sheet);
    editor->setWindowModality(window ? Qt::WindowModal : Qt::ApplicationModal);
    editor->setAttribute(Qt::WA_DeleteOnClose);
    if (didEnd)
        connect(editor, &QDialog::finished, editor, [didEnd = std::move(didEnd)](int) { didEnd(); });
    editor->open();
    return editor;
}

EventEditorController::EventEditorController(FTPerson* person, FTSpouseRel* couple, FTEvent* event, QWidget* parent)
    : QDialog(parent)
    , m_event(event)
    , m_person(couple ? nullptr : person)
    , m_spouseRel(couple)
{
    if (m_spouseRel)
        m_moc = m_spouseRel->moc();
    else if (m_person)
        m_moc = m_person->moc();
    else if (m_event)
        m_moc = m_event->moc();
    setObjectName(QStringLiteral("EventEditorController"));
    buildWindow();
    resize(760, 600);
    if (g_prevSize.width() > 0)
        resize(g_prevSize);
    // windowDidLoad
    setWindowTitle(!m_event ? L("AddPersonalEvent") : m_spouseRel ? L("EditMarriageEvent") : L("EditPersonalEvent"));
    m_eventTypeButton->setEventNamesArray(
        m_spouseRel ? Utils::otherMarriageEventTypesArray() : Utils::otherPersonalEventTypesArray());
    loadFields();
    enableFields();
    loadEventNamesArray();
    loadSourceRels();
}

EventEditorController::~EventEditorController()
{
    NotificationCenter::defaultCenter().removeObserversOf(this);
}

// ---- The window ------------------------------------------------------------------------------------------------

void EventEditorController::buildWindow()
{
    auto* layout = new QVBoxLayout(this);

    auto* grid = new QGridLayout;
    grid->setColumnStretch(1, 1);
    int row = 0;

    m_ownersLabel = fieldLabel(m_spouseRel ? "Persons" : "Person");
    m_ownersLabel->setText(m_ownersLabel->text() + QLatin1Char(':'));
    m_ownersLabel->setObjectName(QStringLiteral("ownersLabel"));
    m_ownersName = new QLabel(eventOwnersName());
    m_ownersName->setObjectName(QStringLiteral("eventOwnersName"));
    QFont bold = m_ownersName->font();
    bold.setBold(true);
    m_ownersName->setFont(bold);
    m_ownersName->setTextInteractionFlags(Qt::TextSelectableByMouse);
    grid->addWidget(m_ownersLabel, row, 0);
    grid->addWidget(m_ownersName, row++, 1, 1, 3);

    grid->addWidget(fieldLabel("EventTypeLabel"), row, 0);
    auto* typeRow = new QHBoxLayout;
    m_typeLabel = new QLabel;
    m_typeLabel->setObjectName(QStringLiteral("eventType"));
    typeRow->addWidget(m_typeLabel);
    typeRow->addStretch();
    m_changeTypeLabel = new QLabel(L("ChangeTypeLabel"));
    m_changeTypeLabel->setObjectName(QStringLiteral("changeTypeLabel"));
    typeRow->addWidget(m_changeTypeLabel);
    m_eventTypeButton = new AddEventButton;
    m_eventTypeButton->setObjectName(QStringLiteral("eventTypeButton"));
    m_eventTypeButton->setText(L("ChangeTypeButton"));
    m_eventTypeButton->setIcon(QIcon());
    m_eventTypeButton->setMoc(m_moc);
    m_eventTypeButton->setDelegate(static_cast<AddEventReceiver*>(this));
    m_eventTypeButton->setAutoDefault(false);
    typeRow->addWidget(m_eventTypeButton);
    grid->addLayout(typeRow, row++, 1, 1, 3);

    grid->addWidget(fieldLabel("EventNameLabel"), row, 0);
    m_names = new QComboBox;
    m_names->setObjectName(QStringLiteral("eventNamesComboBox"));
    m_names->setEditable(true);
    m_nameEdit = new EditorLineEdit;
    m_nameEdit->setObjectName(QStringLiteral("name"));
    m_names->setLineEdit(m_nameEdit);
    m_names->setCompleter(nullptr);
    m_names->setInsertPolicy(QComboBox::NoInsert);
    m_names->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_nameEdit->shouldEndEditing = [this] { return nameShouldEndEditing(); };
    connect(m_names, &QComboBox::activated, this,
        [this](int index) { endWithChoice(m_nameEdit, m_names->itemText(index)); });
    grid->addWidget(m_names, row++, 1, 1, 3);

    grid->addWidget(fieldLabel("EventDateLabel"), row, 0);
    m_date = new EditorLineEdit;
    m_date->setObjectName(QStringLiteral("date"));
    m_date->setToolTip(LocalizedHelpString(QStringLiteral("DateFormatHelp")));
    m_date->setMinimumWidth(m_date->fontMetrics().horizontalAdvance(QStringLiteral("abt 30 Sep 2000")) + 16);
    m_date->shouldEndEditing = [this] { return dateShouldEndEditing(); };
    grid->addWidget(m_date, row, 1);
    QToolButton* help = SourcesWindowHelpers::makeHelpButton(QStringLiteral("displayHelp"), [this] { displayHelp(); });
    help->setToolTip(L("EventDateHelpTip"));
    grid->addWidget(help, row++, 2, Qt::AlignLeft);

    grid->addWidget(fieldLabel("EventPlaceLabel"), row, 0);
    m_place = new PlacesComboBox;
    m_place->setObjectName(QStringLiteral("placesComboBox"));
    m_place->setMoc(m_moc);
    m_place->lineEdit()->setObjectName(QStringLiteral("place"));
    m_place->lineEdit()->shouldEndEditing = [this] { return placeShouldEndEditing(); };
    grid->addWidget(m_place, row++, 1, 1, 3);

    m_ldsStatusLabel = fieldLabel("LdsStatusLabel");
    m_ldsStatusLabel->setObjectName(QStringLiteral("ldsStatusLabel"));
    grid->addWidget(m_ldsStatusLabel, row, 0);
    auto* ldsRow = new QHBoxLayout;
    m_ldsStatus = new EditorLineEdit;
    m_ldsStatus->setObjectName(QStringLiteral("ldsStatus"));
    m_ldsStatus->setMinimumWidth(m_ldsStatus->fontMetrics().horizontalAdvance(QStringLiteral("QUALIFIED")) + 24);
    m_ldsStatus->shouldEndEditing = [this] { return ldsStatusShouldEndEditing(); };
    ldsRow->addWidget(m_ldsStatus);
    m_ldsTempleLabel = new QLabel(L("LdsSubmissionTempleLabel"));
    m_ldsTempleLabel->setObjectName(QStringLiteral("ldsTempleLabel"));
    ldsRow->addSpacing(12);
    ldsRow->addWidget(m_ldsTempleLabel);
    m_ldsTemple = new EditorLineEdit;
    m_ldsTemple->setObjectName(QStringLiteral("ldsTempleCode"));
    m_ldsTemple->setMaximumWidth(m_ldsTemple->fontMetrics().horizontalAdvance(QStringLiteral("MMMMMMMM")) + 16);
    m_ldsTemple->shouldEndEditing = [this] {
        if (m_event && m_ldsTemple->text() != m_event->ldsTempleCode())
            m_event->setLdsTempleCode(m_ldsTemple->text());
        return true;
    };
    ldsRow->addWidget(m_ldsTemple);
    ldsRow->addStretch();
    grid->addLayout(ldsRow, row++, 1, 1, 3);

    auto* notesLabel = fieldLabel("EventNotesLabel");
    notesLabel->setAlignment(Qt::AlignRight | Qt::AlignTop);
    grid->addWidget(notesLabel, row, 0);
    m_notes = new NotesTextEdit;
    m_notes->setObjectName(QStringLiteral("tvNotes"));
    m_notes->commit = [this](const QString& text) {
        if (m_event && !m_event->isDeleted() && m_event->notes() != text)
            m_event->setNotes(text);
    };
    grid->addWidget(m_notes, row++, 1, 1, 3);
    grid->setRowStretch(row - 1, 1);

    auto* fields = new QWidget;
    fields->setLayout(grid);
    grid->setContentsMargins(0, 0, 0, 0);

    auto* vertical = new QSplitter(Qt::Vertical);
    vertical->setChildrenCollapsible(false);
    vertical->addWidget(fields);
    vertical->addWidget(buildCitations());
    vertical->setStretchFactor(0, 1);
    vertical->setStretchFactor(1, 1);
    layout->addWidget(vertical, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(SourcesWindowHelpers::makeCloseButton([this] { closeEditor(); }));
    layout->addLayout(bottom);
    SourcesWindowHelpers::usePanelColour(this);
}

void EventEditorController::loadFields()
{
    m_ownersName->setText(eventOwnersName());
    m_typeLabel->setText(m_event ? m_event->subtypeName() : QString());
    m_nameEdit->setValue(m_event ? m_event->name() : QString());
    m_date->setValue(m_event ? m_event->date() : QString());
    m_place->lineEdit()->setValue(m_event ? m_event->place() : QString());
    m_notes->setValue(m_event ? m_event->notes() : QString());
    m_ldsStatus->setValue(m_event ? m_event->ldsStatus() : QString());
    m_ldsTemple->setValue(m_event ? m_event->ldsTempleCode() : QString());
}

QString EventEditorController::eventOwnersName() const
{
    return EventEditing::eventOwnersName(m_event, m_person, m_spouseRel);
}

void EventEditorController::enableFields()
{
    const bool any = m_event != nullptr;
    const bool editableType = EventEditing::typeIsEditable(m_event);
    m_date->setEnabled(any);
    m_names->setEnabled(any && editableType);
    m_place->setEnabled(any);
    m_notes->setEnabled(any);
    m_notes->setReadOnly(!any);
    m_eventTypeButton->setVisible(any && editableType);
    m_changeTypeLabel->setVisible(any && editableType);
    const bool lds = any && !EventEditing::isNonLdsEvent(m_event);
    for (QWidget* w : {static_cast<QWidget*>(m_ldsStatus), static_cast<QWidget*>(m_ldsStatusLabel),
             static_cast<QWidget*>(m_ldsTemple), static_cast<QWidget*>(m_ldsTempleLabel)})
        w->setVisible(lds);
    m_selectASourceButton->setEnabled(any);
    if (!any)
        m_date->setFocus();
}

void EventEditorController::addEventWithType(const QString& tag)
{
    if (!m_event)
        return;
    endEditing();
    EventEditing::changeType(m_event, tag);
    m_typeLabel->setText(m_event->subtypeName());
    m_nameEdit->setValue(m_event->name());
    loadEventNamesArray();
    enableFields();
}

void EventEditorController::loadEventNamesArray()
{
    const QString subtype = m_event ? m_event->subtype() : QString();
    m_eventNames = subtype.isEmpty() || !m_moc ? QStringList() : m_moc->eventNamesForSubtype(subtype);
    // Filling the list must not change what the field shows.
    const QString shown = m_nameEdit->text();
    const bool editing = m_nameEdit->isEditing();
    m_names->clear();
    m_names->addItems(m_eventNames);
    m_names->setCurrentIndex(-1);
    if (m_nameEdit->text() != shown) {
        if (editing)
            m_nameEdit->setText(shown);
        else
            m_nameEdit->setValue(shown);
    }
    resizeComboBoxDropDowns();
}

bool EventEditorController::validateEventData()
{
    return EventEditing::validateEventData(m_nameEdit->text(), m_event ? m_event->subtype() : QString(), this);
}

void EventEditorController::displayHelp()
{
    Utils::displayMsgAsSheet(this, L("DateIsMandatory"));
}

void EventEditorController::resizeComboBoxDropDowns()
{
    const auto rowsFor = [this](QComboBox* box, int items) {
        const QAbstractItemView* list = box->view();
        const int bottom = box->mapTo(this, QPoint(0, box->height())).y();
        const double itemHeight = list && list->sizeHintForRow(0) > 0 ? list->sizeHintForRow(0)
                                                                       : box->fontMetrics().height() + 4;
        return EventEditing::dropDownRowCount(height() - bottom, itemHeight, 0, items);
    };
    m_names->setMaxVisibleItems(rowsFor(m_names, int(m_eventNames.size())));
    m_place->setVisibleRows(rowsFor(m_place->comboBox(), m_moc ? int(m_moc->places().size()) : 0));
}

// ---- Ending the fields' edits ------------------------------------------------------------------------------------

bool EventEditorController::dateShouldEndEditing()
{
    if (!m_event)
        return true;
    LineEditDateField field(m_date);
    Dates::Person owner;
    const Dates::Person* checked = nullptr;
    if (m_event->type() == FTEvent::BirthEvent && m_person) {
        owner = SelfPageTexts::birthDateCheckPerson(m_person);
        checked = &owner;
    }
    if (!Dates::validateDateField(field, checked))
        return false;
    if (m_date->text() != m_event->date())
        m_event->setDate(m_date->text());
    m_date->setValue(m_event->date());
    return true;
}

bool EventEditorController::nameShouldEndEditing()
{
    if (!m_event)
        return true;
    FieldValidation v = ValidateSingleLineEntryField(m_nameEdit->text(), QStringLiteral("EventName"));
    if (m_nameEdit->text() != v.text)
        m_nameEdit->setText(v.text);
    if (!v.report())
        return false;
    // A blank name is not written: the editor asks for one when it closes.
    if (!v.text.trimmed().isEmpty() && v.text != m_event->name())
        m_event->setName(v.text);
    loadEventNamesArray();
    return true;
}

bool EventEditorController::placeShouldEndEditing()
{
    if (!m_event)
        return true;
    EditorLineEdit* edit = m_place->lineEdit();
    const FieldValidation v = ValidatePlaceField(edit->text());
    if (edit->text() != v.text)
        edit->setText(v.text);
    if (!v.report())
        return false;
    if (v.text != m_event->place())
        m_event->setPlace(v.text);
    return true;
}

bool EventEditorController::ldsStatusShouldEndEditing()
{
    if (!m_event || EventEditing::isNonLdsEvent(m_event))
        return true;
    QString status = m_ldsStatus->text();
    const bool valid = EventEditing::validateLdsStatus(m_event->subtype(), status);
    if (m_ldsStatus->text() != status)
        m_ldsStatus->setText(status);
    if (!valid)
        return false;
    if (status != m_event->ldsStatus())
        m_event->setLdsStatus(status);
    return true;
}

bool EventEditorController::endEditing()
{
    for (EditorLineEdit* edit : {m_date, m_nameEdit, m_place->lineEdit(), m_ldsStatus, m_ldsTemple})
        if (!edit->endEditing())
            return false;
    m_notes->endEditing();
    if (!m_tv->endEditing())
        return false;
    m_citationNotes->endEditing();
    return true;
}

// ---- Closing -----------------------------------------------------------------------------------------------------

bool EventEditorController::closeEditor()
{
    if (m_closing)
        return true;
    if (m_split->width() > 0) {
        const double fraction = double(m_tv->width()) / m_split->width();
        if (std::abs(fraction - g_verticalSplitViewPercent) > 0.01)
            g_verticalSplitViewPercent = fraction;
    }
    if (!endEditing())
        return false;
    if (!validateEventData())
        return false;
    m_closing = true;
    g_prevSize = size();
    done(0);
    return true;
}

void EventEditorController::reject()
{
    closeEditor();
}

void EventEditorController::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_splitApplied) {
        m_splitApplied = true;
        applySplitFraction();
    }
    resizeComboBoxDropDowns();
}

void EventEditorController::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    resizeComboBoxDropDowns();
}

void EventEditorController::applySplitFraction()
{
    if (g_verticalSplitViewPercent <= 0)
        return;
    const double fraction = std::min(g_verticalSplitViewPercent, kMaxSplitFraction);
    const int width = m_split->width();
    const int table = int(width * fraction);
    m_split->setSizes({table, std::max(0, width - table - m_split->handleWidth())});
}
