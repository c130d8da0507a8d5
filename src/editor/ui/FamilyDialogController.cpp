#include "editor/ui/FamilyDialogController.h"

#include "editor/FamilyChildren.h"
#include "editor/FamilyCouple.h"
#include "editor/FamilyDialogRules.h"
#include "editor/PersonFields.h"
#include "editor/ui/AddMarriageEventButton.h"
#include "editor/ui/EditorLineEdit.h"
#include "editor/ui/EditorTags.h"
#include "editor/ui/FamilyChildrenDelegate.h"
#include "editor/ui/FamilyChildrenModel.h"
#include "editor/ui/FamilyDialogTableView.h"
#include "editor/ui/LineEditDateField.h"
#include "editor/ui/NotesButton.h"
#include "editor/ui/NotesDialog.h"
#include "editor/ui/NotesTextEdit.h"
#include "editor/ui/OtherEventsModel.h"
#include "editor/ui/PersonFieldSet.h"
#include "editor/ui/PlaceField.h"

#include "shell/DisplayMsg.h"
#include "shell/FieldValidation.h"
#include "shell/Utils.h"
#include "shell/ui/SetFontSize.h"
#include "shell/ui/ThemeIcon.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTMocUndoManager.h"
#include "model/FTPerson.h"
#include "model/FTSpouseRel.h"

#include "platform/FTLog.h"
#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

using Tag = FamilyCouple::Tag;
using Layout = FamilyChildrenLayout;

namespace {
// Kept for the rest of the program's run: the last dialog's size and whether it showed the other events.
QSize g_contentSize;
bool g_otherEventsToggle = true;

QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

QLabel* heading(const QString& text)
{
    auto* label = new QLabel(text);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

using EventColumn = OtherEventsModel::Column;
}

FamilyDialogController::FamilyDialogController(FTPerson* first, FTPerson* second, FTMoc* moc, QWidget* parent)
    : RelationshipDialog(parent)
    , m_moc(moc)
    , m_husbandFields(new PersonFieldSet(this))
    , m_wifeFields(new PersonFieldSet(this))
    , m_marriageFields(new PersonFieldSet(this))
{
    setObjectName(QStringLiteral("FamilyDialog"));
    const FamilyDialogRules::Partners partners = FamilyDialogRules::partners(first, second);
    m_husband = partners.husband;
    m_wife = partners.wife;
    m_eventTypes.clear();
    for (const QString& type : Utils::otherMarriageEventTypesArray())
        m_eventTypes << FamilyDialogRules::abbreviatedEventType(type);
    const QString title = FamilyDialogRules::title(m_husband, m_wife, FamilyCouple::labelStyle());
    setWindowTitle(title.isEmpty() ? L("FamilyDialogTitle") : title);

    auto* partnersRow = new QHBoxLayout;
    partnersRow->setSpacing(16);
    partnersRow->addWidget(buildPartner(true), 1);
    partnersRow->addWidget(buildPartner(false), 1);

    // The marriage: its date and place, and its notes in full.
    auto* marriage = new QGridLayout;
    marriage->setHorizontalSpacing(6);
    marriage->addWidget(heading(L("FamilyMarriage")), 0, 0);
    auto value = [this](const char* key) {
        PersonFieldSet::Value v;
        const QString k = QString::fromLatin1(key);
        v.read = [this, k]() -> QString {
            const FTEvent* m = m_spouseRel && !m_spouseRel->isDeleted() ? m_spouseRel->marriage() : nullptr;
            return !m ? QString() : k == QLatin1String("date") ? m->date() : m->place();
        };
        v.write = [this, k](const QString& text) {
            if (!m_spouseRel || (!m_spouseRel->marriage() && text.isEmpty()))
                return;
            m_spouseRel->setValueForKeyPath(QStringLiteral("marriage.") + k, text);
        };
        v.validate = [k](Dates::Field& field) {
            if (k == QLatin1String("place"))
                return ValidatePlaceField(field.string());
            FieldValidation result;
            result.accepted = Dates::validateDateField(field, nullptr);
            result.text = field.string();
            return result;
        };
        return v;
    };
    EditorLineEdit* date = m_marriageFields->addValue(Tag::MarriageDate, QStringLiteral("marriageDate"), value("date"));
    date->setToolTip(LocalizedHelpString(QStringLiteral("DateFormatHelp")));
    marriage->addWidget(date, 0, 1);
    marriage->addWidget(PersonFieldSet::fieldLabel(L("SelfAt")), 0, 2);
    m_marriageFields->addValue(Tag::MarriagePlace, QStringLiteral("marriagePlace"), value("place"), true);
    marriage->addWidget(m_marriageFields->placeField(Tag::MarriagePlace), 0, 3);
    marriage->setColumnStretch(1, 1);
    marriage->setColumnStretch(3, 3);
    m_marriageNotes = new NotesTextEdit;
    m_marriageNotes->setObjectName(QStringLiteral("marriageNotes"));
    m_marriageNotes->setFixedHeight(55);
    m_marriageNotes->setMargin(3);
    m_marriageNotes->commit = [this](const QString& text) {
        if (!m_spouseRel)
            return;
        const FTEvent* m = m_spouseRel->marriage();
        if ((!m && text.isEmpty()) || (m && m->notes() == text))
            return;
        m_spouseRel->setValueForKeyPath(QStringLiteral("marriage.notes"), text);
        m_moc->deferredSave();
    };
    marriage->addWidget(PersonFieldSet::fieldLabel(L("FamilyMarriageNotes")), 1, 0, Qt::AlignRight | Qt::AlignTop);
    marriage->addWidget(m_marriageNotes, 1, 1, 1, 3);

    // The children, and under them the other marriage events.
    m_children = new FamilyChildrenModel({Layout::Name, Layout::Gender, Layout::BirthDate, Layout::BirthPlace,
                                             Layout::BirthNotes, Layout::DeathDate, Layout::DeathPlace,
                                             Layout::DeathNotes, Layout::AgeAtDeath},
        this);
    m_children->newChild = [this](const QString& name) { return newChild(name); };
    m_tvChildren = new FamilyDialogTableView;
    m_tvChildren->setObjectName(QStringLiteral("tvChildren"));
    m_tvChildren->setModel(m_children);
    m_tvChildren->setItemDelegate(new FamilyChildrenDelegate(m_tvChildren));
    m_tvChildren->husband = [this] { return m_husband; };
    m_tvChildren->setMultiLineNotes(false);
    m_events = new OtherEventsModel(false, this);
    m_events->typeText = [](const FTEvent* e) { return FamilyDialogRules::abbreviatedEventType(e->subtypeName()); };
    m_events->chooseType = [](FTEvent* e, const QString& shown) { FamilyDialogRules::chooseEventType(e, shown); };
    m_tvEvents = new FamilyDialogTableView;
    m_tvEvents->setObjectName(QStringLiteral("tvEvents"));
    m_tvEvents->setUsesDummyObject(false);
    m_tvEvents->setModel(m_events);
    m_tvEvents->setItemDelegate(
        new OtherEventsDelegate(m_tvEvents, [this] { return m_eventTypes; }, [this] { return m_moc; }, true));
    m_tvEvents->shouldEndEditing = [this](const QModelIndex& index, QWidget* editor) {
        auto* line = qobject_cast<QLineEdit*>(editor);
        if (!line || line->text() == index.data(Qt::EditRole).toString())
            return true;
        if (index.column() == EventColumn::DateColumn) {
            LineEditDateField field(line);
            return Dates::validateDateField(field, nullptr);
        }
        const FieldValidation v = index.column() == EventColumn::PlaceColumn
            ? ValidatePlaceField(line->text())
            : index.column() == EventColumn::NameColumn ? ValidateSingleLineEntryField(line->text(), QStringLiteral("EventName"))
                                           : FieldValidation {true, line->text(), {}, {}};
        if (line->text() != v.text)
            line->setText(v.text);
        return v.report();
    };
    connect(m_tvEvents->selectionModel(), &QItemSelectionModel::selectionChanged, this,
        [this] { showSelectedEventNotes(); });
    for (FamilyDialogTableView* table : {m_tvChildren, m_tvEvents}) {
        table->setMoc(moc);
        SetFontSize(table, 11);
        table->layout().setFont(table->font());
    }

    m_eventAddButton = new AddMarriageEventButton;
    m_eventAddButton->setObjectName(QStringLiteral("eventAddButton"));
    m_eventAddButton->setDelegate(this);
    m_eventAddButton->setAutoDefault(false);
    QPushButton* deleteEvent = makeButton("list-remove", "FamilyDeleteEvent", QStringLiteral("eventDeleteButton"),
        [this] { this->deleteEvent(); });
    m_eventNotes = new NotesTextEdit;
    m_eventNotes->setObjectName(QStringLiteral("eventNotesTextView"));
    m_eventNotes->setMargin(4);
    m_eventNotes->setMaximumHeight(70);
    m_eventNotes->commit = [this](const QString& text) {
        if (m_notesEvent && !m_notesEvent->isDeleted() && m_notesEvent->notes() != text) {
            m_notesEvent->setNotes(text);
            m_moc->deferredSave();
        }
    };
    m_eventsArea = new QWidget;
    auto* events = new QVBoxLayout(m_eventsArea);
    events->setContentsMargins(0, 4, 0, 0);
    auto* eventsBar = new QHBoxLayout;
    eventsBar->addWidget(heading(L("FamilyShowOtherEvents")));
    eventsBar->addStretch();
    eventsBar->addWidget(m_eventAddButton);
    eventsBar->addWidget(deleteEvent);
    events->addLayout(eventsBar);
    events->addWidget(m_tvEvents, 1);
    auto* eventsNotesLabel = new QLabel(L("FamilyEventNotes"));
    eventsNotesLabel->setObjectName(QStringLiteral("eventsNotesLabel"));
    events->addWidget(eventsNotesLabel);
    events->addWidget(m_eventNotes);

    auto* childrenArea = new QWidget;
    auto* children = new QVBoxLayout(childrenArea);
    children->setContentsMargins(0, 0, 0, 0);
    children->addWidget(heading(L("FamilyChildren")));
    children->addWidget(m_tvChildren, 1);
    m_splitView = new QSplitter(Qt::Vertical);
    m_splitView->setObjectName(QStringLiteral("splitView"));
    m_splitView->setChildrenCollapsible(false);
    m_splitView->addWidget(childrenArea);
    m_splitView->addWidget(m_eventsArea);
    m_splitView->setStretchFactor(0, 3);
    m_splitView->setStretchFactor(1, 1);

    QPushButton* addChild = makeButton("list-add", "FamilyAddChild", QStringLiteral("addChildButton"), [this] { this->addChild(); });
    QPushButton* deleteChild = makeButton("list-remove", "FamilyDeleteChild", QStringLiteral("deleteChildButton"),
        [this] { this->deleteChild(); });
    m_toggle = new QCheckBox(L("FamilyShowOtherEvents"));
    m_toggle->setObjectName(QStringLiteral("otherEventsToggle"));
    connect(m_toggle, &QCheckBox::toggled, this, [this](bool on) { setOtherEventsToggle(on); });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(addChild);
    buttons->addWidget(deleteChild);
    buttons->addSpacing(12);
    buttons->addWidget(m_toggle);
    buttons->addStretch();
    buttons->addWidget(makeCloseButton());

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(partnersRow);
    layout->addSpacing(6);
    layout->addLayout(marriage);
    layout->addSpacing(4);
    layout->addWidget(m_splitView, 1);
    layout->addLayout(buttons);
    resize(1000, 660);
    keepSizeIn(&g_contentSize);
    setOtherEventsToggle(g_otherEventsToggle);

    m_husbandFields->setPerson(m_husband);
    m_wifeFields->setPerson(m_wife);
    for (PlaceField* place : {m_marriageFields->placeField(Tag::MarriagePlace)})
        place->setMoc(moc);
    if (isMissingPartner()) {
        // Only the missing partner's name and Close, until that partner is named.
        enableAllFields(false);
        EditorLineEdit* name = field(m_husband ? Tag::WifeName : Tag::HusbandName);
        name->setEnabled(true);
        name->setFocus(Qt::OtherFocusReason);
    } else {
        loadData();
    }
    setNotesButtonsIndicators();
}

FamilyDialogController::~FamilyDialogController()
{
    FTLog(QStringLiteral("dealloc FamilyDialogController"));
    m_tvChildren->abandonEditing();
    m_tvEvents->abandonEditing();
}

QWidget* FamilyDialogController::buildPartner(bool husbandSide)
{
    const int offset = husbandSide ? 0 : FamilyCouple::kWifeOffset;
    const QString side = husbandSide ? QStringLiteral("husband") : QStringLiteral("wife");
    PersonFieldSet* fields = husbandSide ? m_husbandFields : m_wifeFields;
    auto* box = new QWidget;
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    const int style = FamilyCouple::labelStyle();
    const char* role = style == 1 ? "Spouse" : style == 2 ? "Partner" : husbandSide ? "Husband" : "Wife";
    grid->addWidget(heading(L(role)), 0, 0, 1, 5);
    grid->addWidget(PersonFieldSet::fieldLabel(L("SelfName")), 1, 0);
    EditorLineEdit* name = fields->add(PersonFields::Name, side + QStringLiteral("Name"));
    setViewTag(name, Tag::HusbandName + offset);
    grid->addWidget(name, 1, 1, 1, 3);
    // The partners' genders follow from their places in the couple.
    EditorLineEdit* gender = fields->add(PersonFields::Gender, side + QStringLiteral("Gender"));
    setViewTag(gender, Tag::HusbandGender + offset);
    gender->hide();
    const int personNotes = (husbandSide ? Tag::HusbandNotesButton : Tag::WifeNotesButton);
    struct Row {
        const char* label;
        int date, place, notesTag;
        const char* name;
    };
    const Row rows[] = {
        {"SelfBorn", PersonFields::BirthDate, PersonFields::BirthPlace, personNotes + 1, "birth"},
        {"SelfDied", PersonFields::DeathDate, PersonFields::DeathPlace, personNotes + 2, "death"},
    };
    int row = 2;
    auto notesButton = [this](int tag, const QString& objectName) {
        auto* button = new NotesButton;
        button->setObjectName(objectName);
        setViewTag(button, tag);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, tag] { editNotes(tag); });
        m_notesButtons << button;
        return button;
    };
    for (const Row& r : rows) {
        grid->addWidget(PersonFieldSet::fieldLabel(L(r.label)), row, 0);
        EditorLineEdit* date = fields->add(r.date, side + QString::fromLatin1(r.name) + QStringLiteral("Date"));
        setViewTag(date, r.date + offset);
        date->setToolTip(LocalizedHelpString(QStringLiteral("DateFormatHelp")));
        grid->addWidget(date, row, 1);
        grid->addWidget(PersonFieldSet::fieldLabel(L("SelfAt")), row, 2);
        PlaceField* place = fields->addPlace(r.place, side + QString::fromLatin1(r.name) + QStringLiteral("Place"));
        setViewTag(place, r.place + offset);
        grid->addWidget(place, row, 3);
        grid->addWidget(notesButton(r.notesTag, side + QString::fromLatin1(r.name) + QStringLiteral("NotesButton")), row, 4);
        ++row;
    }
    grid->addWidget(notesButton(personNotes, side + QStringLiteral("NotesButton")), 1, 4);
    grid->setColumnStretch(1, 2);
    grid->setColumnStretch(3, 3);
    fields->enteredWithoutPerson = [this, husbandSide](int tag, const QString& value) {
        return tag != PersonFields::Name || partnerTyped(husbandSide, value);
    };
    return box;
}

EditorLineEdit* FamilyDialogController::field(int tag) const
{
    if (tag >= 200)
        return m_marriageFields->field(tag);
    return tag >= FamilyCouple::kWifeOffset ? m_wifeFields->field(tag - FamilyCouple::kWifeOffset)
                                            : m_husbandFields->field(tag);
}

QAbstractButton* FamilyDialogController::notesButton(int tag) const
{
    for (QAbstractButton* b : m_notesButtons)
        if (viewTag(b) == tag)
            return b;
    return nullptr;
}

QList<FTEvent*> FamilyDialogController::events() const
{
    return m_events->events();
}

// ---- Loading -----------------------------------------------------------------------------------------------------

void FamilyDialogController::loadData()
{
    loadMarriageEvent();
    loadChildrenArray();
    loadEventsArray();
}

void FamilyDialogController::loadMarriageEvent()
{
    m_spouseRel = FamilyDialogRules::coupleOf(m_husband, m_wife);
    m_marriageFields->load();
    const FTEvent* m = m_spouseRel ? m_spouseRel->marriage() : nullptr;
    m_marriageNotes->setValue(m ? m->notes() : QString());
}

void FamilyDialogController::loadChildrenArray()
{
    m_tvChildren->abandonEditing();
    FamilyChildrenLayout::Rows rows = FamilyChildren::rows(m_husband, m_wife);
    m_tvChildren->layout().calculateRowHeightForAllRows(rows);
    m_children->setRows(std::move(rows));
    m_tvChildren->applyRowHeights();
}

void FamilyDialogController::loadEventsArray()
{
    m_tvEvents->abandonEditing();
    m_events->setEvents(m_spouseRel ? m_spouseRel->otherMarriageEventsArray() : QList<FTEvent*>());
    showSelectedEventNotes();
}

void FamilyDialogController::enableAllFields(bool enabled)
{
    for (PersonFieldSet* fields : {m_husbandFields, m_wifeFields, m_marriageFields})
        fields->setEnabled(enabled);
    for (QWidget* w : findChildren<QWidget*>()) {
        if (qobject_cast<QAbstractButton*>(w) && w->objectName() == QLatin1String("closeButton"))
            continue;
        if (qobject_cast<QAbstractButton*>(w) || qobject_cast<QAbstractItemView*>(w) || qobject_cast<QTextEdit*>(w)
            || qobject_cast<PlaceField*>(w))
            w->setEnabled(enabled);
    }
}

void FamilyDialogController::setNotesButtonsIndicators()
{
    for (QAbstractButton* b : std::as_const(m_notesButtons)) {
        const int tag = viewTag(b);
        FTPerson* p = tag >= Tag::WifeNotesButton ? m_wife : m_husband;
        QString text;
        if (p && !p->isDeleted()) {
            const FTEvent* e = tag % 10 == 1 ? p->birth() : tag % 10 == 2 ? p->death() : nullptr;
            text = tag % 10 == 0 ? p->notes() : e ? e->notes() : QString();
        }
        b->setText(L(text.isEmpty() ? "NoNotes" : "NotesPresent"));
    }
}

// ---- Typing the missing partner ----------------------------------------------------------------------------------

bool FamilyDialogController::partnerTyped(bool husbandMissing, const QString& name)
{
    FTPerson* other = husbandMissing ? m_wife : m_husband;
    if ((husbandMissing ? m_husband : m_wife) || !other || name.trimmed().isEmpty())
        return true;
    // A name the user discards leaves the field empty.
    FTPerson* partner = FamilyDialogRules::createMissingPartner(other, name, husbandMissing);
    if (!partner)
        return true;
    (husbandMissing ? m_husband : m_wife) = partner;
    (husbandMissing ? m_husbandFields : m_wifeFields)->setPerson(partner);
    setWindowTitle(L("FamilyDialogTitle"));
    loadData();
    enableAllFields(true);
    setNotesButtonsIndicators();
    return true;
}

// ---- Children and events -----------------------------------------------------------------------------------------

FTPerson* FamilyDialogController::newChild(const QString& name)
{
    FTPerson* child = FamilyChildren::createChild(m_moc, name, m_husband, m_wife);
    if (child)
        m_children->insertChild(child, float(m_tvChildren->layout().lineHeight()));
    return child;
}

void FamilyDialogController::addChild()
{
    m_tvChildren->editColumn(QStringLiteral("name"), m_children->rowCount() - 1);
}

void FamilyDialogController::deleteChild()
{
    const int row = m_tvChildren->selectedRow();
    FTPerson* child = row >= 0 && row < m_children->childCount() ? m_children->child(row) : nullptr;
    if (!child) {
        DisplayMsg(L("DeleteChildMsg"));
        return;
    }
    if (!m_tvChildren->endEditing())
        return;
    if (!FamilyChildren::deleteChild(child))
        return;
    m_children->removeChildRow(row);
    m_tvChildren->selectRow(std::min(row, m_children->rowCount() - 1));
    NotificationCenter::defaultCenter().post(QStringLiteral("CdArrayNeedsRefresh"), m_moc, m_moc);
}

void FamilyDialogController::addEventWithType(const QString& tag)
{
    if (!m_spouseRel || !m_tvEvents->endEditing())
        return;
    FTEvent* event = FTEvent::initInMoc(m_moc, FTEvent::OtherMarriageEvent, m_spouseRel, tag);
    if (!event)
        return;
    const int row = m_events->rowCount();
    m_events->append(event);
    m_tvEvents->editColumn(EventColumn::NameColumn, row);
}

void FamilyDialogController::deleteEvent()
{
    const int row = m_tvEvents->selectedRow();
    FTEvent* event = m_events->event(row);
    if (!event)
        return;
    m_tvEvents->endEditing();
    m_moc->undoManager()->setActionName(QStringLiteral("%1 %2").arg(L("DeleteEvent"), event->name()));
    if (m_notesEvent == event)
        m_notesEvent = nullptr;
    m_moc->deleteObject(event);
    m_events->remove(row);
    if (row < m_events->rowCount())
        m_tvEvents->selectRow(row);
    showSelectedEventNotes();
}

void FamilyDialogController::deleteMarriageEvent()
{
    DisplayMsg(L("DisconnectSpouseWarn"));
}

void FamilyDialogController::showSelectedEventNotes()
{
    m_eventNotes->endEditing();
    m_notesEvent = m_events->event(m_tvEvents->selectedRow());
    m_eventNotes->setValue(m_notesEvent ? m_notesEvent->notes() : QString());
    m_eventNotes->setEnabled(m_notesEvent != nullptr);
}

void FamilyDialogController::editNotes(int tag)
{
    FTPerson* person = tag >= Tag::WifeNotesButton && tag <= Tag::WifeDeathNotesButton ? m_wife
        : tag >= Tag::HusbandNotesButton && tag <= Tag::HusbandDeathNotesButton      ? m_husband
                                                                                     : nullptr;
    if (!person)
        return;
    auto* dialog = new NotesDialog;
    dialog->setOwner(person, tag % 10 == 1 ? QStringLiteral("3") : tag % 10 == 2 ? QStringLiteral("4") : QStringLiteral("1"), true);
    connect(dialog, &QDialog::finished, this, [this] { setNotesButtonsIndicators(); });
    dialog->present(NotesWindow::Sheet, this);
}

void FamilyDialogController::setOtherEventsToggle(bool shown)
{
    m_otherEventsToggle = shown;
    g_otherEventsToggle = shown;
    if (m_toggle->isChecked() != shown) {
        const QSignalBlocker quiet(m_toggle);
        m_toggle->setChecked(shown);
    }
    m_eventsArea->setVisible(shown);
}

// ---- Closing -----------------------------------------------------------------------------------------------------

bool FamilyDialogController::windowShouldClose()
{
    // A refused date keeps the dialog open on it; the user may correct it and close again.
    bool valid = true;
    for (PersonFieldSet* fields : {m_husbandFields, m_wifeFields, m_marriageFields})
        valid = valid && fields->endEditing();
    valid = valid && m_tvChildren->endEditing() && m_tvEvents->endEditing();
    if (!valid)
        return false;
    m_marriageNotes->endEditing();
    m_eventNotes->endEditing();
    NotificationCenter::defaultCenter().post(QStringLiteral("RefreshAllViews"), nullptr, m_moc);
    return true;
}
