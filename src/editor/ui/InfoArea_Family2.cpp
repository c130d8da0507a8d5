#include "editor/ui/InfoArea_Family2.h"

#include "editor/FamilyChildren.h"
#include "editor/PersonFields.h"
#include "editor/ui/EditorHooks.h"
#include "editor/ui/EditorLineEdit.h"
#include "editor/ui/EditorTags.h"
#include "editor/ui/FamilyChildrenModel.h"
#include "editor/ui/InfoArea_Family2_TableView.h"
#include "editor/ui/MarriageNotesDialog.h"
#include "editor/ui/NotesButton.h"
#include "editor/ui/NotesDialog.h"
#include "editor/ui/PersonFieldSet.h"
#include "editor/ui/PlaceField.h"
#include "editor/ui/SelectSpouseController.h"

#include "shell/DisplayMsg.h"
#include "shell/FieldValidation.h"
#include "shell/Utils.h"
#include "shell/UtilsFunctions.h"
#include "shell/ui/DOvurDocument.h"
#include "shell/ui/DateDisplay.h"
#include "shell/ui/DocumentController.h"
#include "shell/ui/FamilyDiagramPane.h"
#include "shell/ui/SetFontSize.h"
#include "shell/ui/ThemeIcon.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/FTSpouseRel.h"
#include "model/ModelHooks.h"

#include "platform/FTLog.h"
#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"
#include "platform/Prompts.h"
#include "platform/UserDefaults.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

using Tag = FamilyCouple::Tag;
using Layout = FamilyChildrenLayout;

namespace {
const QString kMultiLineNotes = QStringLiteral("multiLineNotesForFamilyPane");
constexpr int kBandHeight = 28;
const int kNotesButtons[] = {
    Tag::HusbandNotesButton, Tag::HusbandBirthNotesButton, Tag::HusbandDeathNotesButton, Tag::WifeNotesButton,
    Tag::WifeBirthNotesButton, Tag::WifeDeathNotesButton, Tag::MarriageNotesButton,
};

QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

bool multiLineNotesDefault()
{
    const UserDefaults& defaults = UserDefaults::standard();
    return !defaults.contains(kMultiLineNotes) || defaults.boolForKey(kMultiLineNotes);
}

// The first use of "Add Child" in a run explains how children are typed in.
bool g_addChildExplained = false;

QColor notesPresentColour()
{
    return RGB(255, 235, 207);
}

void setBase(QWidget* w, const QColor& colour)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Base, colour);
    w->setPalette(p);
}
}

InfoArea_Family2::InfoArea_Family2(QWidget* parent)
    : EditorPage(parent)
    , m_husbandFields(new PersonFieldSet(this))
    , m_wifeFields(new PersonFieldSet(this))
    , m_marriageFields(new PersonFieldSet(this))
{
    setObjectName(QStringLiteral("pFamily2"));
    auto* partners = new QHBoxLayout;
    partners->setSpacing(8);
    partners->addWidget(buildPartner(true), 1);
    auto* line = new QFrame;
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    partners->addWidget(line);
    partners->addWidget(buildPartner(false), 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 6, 0, 0);
    layout->setSpacing(4);
    layout->addLayout(partners);
    layout->addWidget(buildMarriage());
    layout->addWidget(buildChildren(), 1);

    observe();
    setFontSize(m_fontSize);
    showCouple();
}

InfoArea_Family2::~InfoArea_Family2()
{
    FTLog(QStringLiteral("dealloc InfoArea_Family2"));
    NotificationCenter::defaultCenter().removeObserversOf(this);
    watchWindow(false);
    closeNotesDialogs();
    m_table->abandonEditing();
    m_model->clear();
}

void InfoArea_Family2::observe()
{
    NotificationCenter& center = NotificationCenter::defaultCenter();
    for (const char* name : {"NotesDialogClosed", "MarriageNotesDialogClosed"})
        center.addObserver(QString::fromLatin1(name), nullptr,
            [this](const Notification&) { setNotesButtonsNeedRefresh(true); }, this);
    center.addObserver(QStringLiteral("SpouseRelToBeDeleted"), nullptr,
        [this](const Notification& n) {
            if (m_moc && n.context == m_moc && n.object && n.object == m_spouseRel) {
                m_spouseRel = nullptr;
                refreshDisplay();
            }
        },
        this);
    center.addObserver(QStringLiteral("EventNameOrDateChanged"), nullptr,
        [this](const Notification& n) {
            if (m_moc && n.context == m_moc)
                setMarriageStatus();
        },
        this);
}

// ---- Building the page ---------------------------------------------------------------------------------------------

QAbstractButton* InfoArea_Family2::makeButton(int tag, const QString& text, const char* icon)
{
    QPushButton* button = tag >= 1000 && tag < 2100 ? new NotesButton : new QPushButton;
    button->setText(text);
    if (icon)
        button->setIcon(themeIcon(QString::fromLatin1(icon)));
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoDefault(false);
    if (tag) {
        setViewTag(button, tag);
        m_buttons.insert(tag, button);
    }
    return button;
}

QWidget* InfoArea_Family2::buildPartner(bool husbandSide)
{
    const int offset = husbandSide ? 0 : FamilyCouple::kWifeOffset;
    const int buttonOffset = husbandSide ? 0 : 10;
    const QString side = husbandSide ? QStringLiteral("husband") : QStringLiteral("wife");
    PersonFieldSet* fields = husbandSide ? m_husbandFields : m_wifeFields;
    auto* box = new QWidget;
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(3);

    auto* label = new QToolButton;
    label->setObjectName(side + QStringLiteral("Label"));
    label->setAutoRaise(true);
    label->setFocusPolicy(Qt::NoFocus);
    label->setToolTip(L("FamilyLabelTip"));
    label->setMinimumHeight(label->fontMetrics().height() + 6);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    connect(label, &QToolButton::clicked, this, [this] { changeSpouseLabel(); });
    (husbandSide ? m_husbandLabel : m_wifeLabel) = label;
    // The label heads the column of the date buttons, beside the name: a row of its own would take the height
    // the children table needs.
    grid->addWidget(label, 0, 0, Qt::AlignLeft);

    // The name box lists the spouses; typing into it names the partner shown, or makes the one missing.
    EditorLineEdit* name = fields->add(PersonFields::Name, side + QStringLiteral("Name"));
    auto* combo = new QComboBox;
    combo->setObjectName(side + QStringLiteral("Box"));
    combo->setEditable(true);
    combo->setLineEdit(name);
    combo->setCompleter(nullptr);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setFrame(false);
    setViewTag(name, 0);
    setViewTag(combo, Tag::HusbandName + offset);
    const int nameTag = Tag::HusbandName + offset;
    connect(combo, &QComboBox::activated, this, [this, nameTag](int index) { switchSpouse(nameTag, index); });
    (husbandSide ? m_husbandBox : m_wifeBox) = combo;
    EditorLineEdit* gender = fields->add(PersonFields::Gender, side + QStringLiteral("Gender"));
    setViewTag(gender, Tag::HusbandGender + offset);
    gender->setFocusPolicy(Qt::ClickFocus);
    auto* nameRow = new QHBoxLayout;
    nameRow->setSpacing(4);
    nameRow->addWidget(combo, 1);
    nameRow->addWidget(gender);
    grid->addLayout(nameRow, 0, 1, 1, 2);
    // The person's own notes beside the name, the birth's and the death's beside them.
    const int personNotes = Tag::HusbandNotesButton + buttonOffset;
    QAbstractButton* notes = makeButton(personNotes, L("NoNotes"));
    notes->setObjectName(side + QStringLiteral("NotesButton"));
    notes->setToolTip(L("Notes"));
    connect(notes, &QAbstractButton::clicked, this, [this, personNotes] { editNotes(personNotes); });
    grid->addWidget(notes, 0, 3);

    struct EventRow {
        int button, date, place, notes;
        const char* title;
        const char* name;
    };
    const EventRow rows[] = {
        {Tag::HusbandBornButton, PersonFields::BirthDate, PersonFields::BirthPlace, Tag::HusbandBirthNotesButton,
         "BornButton", "birth"},
        {Tag::HusbandDiedButton, PersonFields::DeathDate, PersonFields::DeathPlace, Tag::HusbandDeathNotesButton,
         "DiedButton", "death"},
    };
    int row = 1;
    for (const EventRow& r : rows) {
        const int buttonTag = r.button + offset;
        QAbstractButton* dateButton = makeButton(buttonTag, L(r.title));
        static_cast<QPushButton*>(dateButton)->setFlat(true);
        dateButton->setObjectName(side + QString::fromLatin1(r.name) + QStringLiteral("Button"));
        dateButton->setCursor(Qt::PointingHandCursor);
        dateButton->installEventFilter(this);
        m_dateButtons << dateButton;
        connect(dateButton, &QAbstractButton::clicked, this, [this, buttonTag] { displayCalendar(buttonTag); });
        grid->addWidget(dateButton, row, 0);
        EditorLineEdit* date = fields->add(r.date, side + QString::fromLatin1(r.name) + QStringLiteral("Date"));
        setViewTag(date, r.date + offset);
        // A whole date always shows, and a range mostly; the rest of the width goes to the place.
        const int dateWidth = date->fontMetrics().horizontalAdvance(QStringLiteral("28 May 1928")) + 12;
        date->setMinimumWidth(dateWidth);
        date->setMaximumWidth(dateWidth * 3 / 2);
        grid->addWidget(date, row, 1);
        PlaceField* place = fields->addPlace(r.place, side + QString::fromLatin1(r.name) + QStringLiteral("Place"));
        setViewTag(place, r.place + offset);
        grid->addWidget(place, row, 2);
        const int notesTag = r.notes + buttonOffset;
        QAbstractButton* eventNotes = makeButton(notesTag, L("NoNotes"));
        eventNotes->setObjectName(side + QString::fromLatin1(r.name) + QStringLiteral("NotesButton"));
        connect(eventNotes, &QAbstractButton::clicked, this, [this, notesTag] { editNotes(notesTag); });
        grid->addWidget(eventNotes, row, 3);
        ++row;
    }

    auto* more = new QHBoxLayout;
    more->setSpacing(4);
    auto* ageCaption = new QLabel(L("FamilyAge"));
    ageCaption->setObjectName(side + QStringLiteral("AgeCaption"));
    setViewTag(ageCaption, Tag::HusbandAgeLabel + offset);
    auto* age = new QLabel;
    age->setObjectName(side + QStringLiteral("Age"));
    setViewTag(age, Tag::HusbandAge + offset);
    age->setMinimumWidth(age->fontMetrics().horizontalAdvance(QStringLiteral("000")));
    m_ages.insert(Tag::HusbandAgeLabel + offset, ageCaption);
    m_ages.insert(Tag::HusbandAge + offset, age);
    // The caption stands in the column of "Born" and "Died", centred as their texts are.
    grid->addWidget(ageCaption, row, 0, Qt::AlignHCenter);
    more->addWidget(age);
    more->addStretch();
    const int parentsTag = husbandSide ? Tag::HusbandParentsButton : Tag::WifeParentsButton;
    QAbstractButton* parents = makeButton(parentsTag, L("FamilyParents"), "document-properties");
    parents->setObjectName(side + QStringLiteral("ParentsButton"));
    parents->setToolTip(L("FamilyParentsTip"));
    connect(parents, &QAbstractButton::clicked, this, [this, parentsTag] { parentsDetails(parentsTag); });
    more->addWidget(parents);
    // Another spouse for the partner of this side.
    QAbstractButton* add = makeButton(0, L(husbandSide ? "FamilyAddWife" : "FamilyAddHusband"), "list-add");
    (husbandSide ? m_addWifeButton : m_addHusbandButton) = add;
    add->setObjectName(husbandSide ? QStringLiteral("addWifeButton") : QStringLiteral("addHusbandButton"));
    add->setToolTip(L("FamilyAddSpouseTip"));
    connect(add, &QAbstractButton::clicked, this, [this, husbandSide] { husbandSide ? addWife() : addHusband(); });
    more->addWidget(add);
    grid->addLayout(more, row, 1, 1, 3);

    DefaultPictureView* picture = EditorHooks::makeDefaultPictureView(box);
    picture->setObjectName(side + QStringLiteral("DefaultImage"));
    (husbandSide ? m_husbandImage : m_wifeImage) = picture;
    grid->addWidget(picture, 0, 4, 4, 1, Qt::AlignTop | Qt::AlignRight);
    grid->setColumnStretch(1, 2);
    grid->setColumnStretch(2, 3);

    fields->enteredWithoutPerson = [this, husbandSide](int tag, const QString& value) {
        return tag != PersonFields::Name || spouseTyped(husbandSide, value);
    };
    fields->didEndEditing = [this](int tag) {
        if (tag == PersonFields::BirthDate || tag == PersonFields::DeathDate)
            loadPartnerTexts();
    };
    return box;
}

QWidget* InfoArea_Family2::buildMarriage()
{
    auto* box = new QWidget;
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 2, 0, 2);
    row->setSpacing(4);
    QAbstractButton* dateButton = makeButton(Tag::MarriageDateButton, L("FamilyMarriage"));
    static_cast<QPushButton*>(dateButton)->setFlat(true);
    dateButton->setObjectName(QStringLiteral("marriageDateButton"));
    dateButton->setCursor(Qt::PointingHandCursor);
    dateButton->setToolTip(L("FamilyDateTip"));
    dateButton->installEventFilter(this);
    m_dateButtons << dateButton;
    connect(dateButton, &QAbstractButton::clicked, this, [this] { displayCalendar(Tag::MarriageDateButton); });
    QFont bold = dateButton->font();
    bold.setBold(true);
    dateButton->setFont(bold);
    row->addWidget(dateButton);

    auto marriageKey = [](int tag) {
        return tag == Tag::MarriageDate ? QStringLiteral("date") : tag == Tag::MarriagePlace ? QStringLiteral("place")
                                                                                            : QStringLiteral("notes");
    };
    auto value = [this, marriageKey](int tag) {
        PersonFieldSet::Value v;
        v.read = [this, tag, marriageKey]() -> QString {
            const FTEvent* marriage = m_spouseRel && !m_spouseRel->isDeleted() ? m_spouseRel->marriage() : nullptr;
            if (!marriage)
                return {};
            const QString key = marriageKey(tag);
            return key == QLatin1String("date") ? marriage->date()
                : key == QLatin1String("place") ? marriage->place()
                                                : marriage->notes();
        };
        v.write = [this, tag, marriageKey](const QString& text) {
            if (!m_spouseRel || m_spouseRel->isDeleted())
                return;
            // An empty value never makes a marriage event of its own.
            if (!m_spouseRel->marriage() && text.isEmpty())
                return;
            m_spouseRel->setValueForKeyPath(QStringLiteral("marriage.") + marriageKey(tag), text);
        };
        v.validate = [tag](Dates::Field& field) {
            if (tag == Tag::MarriageDate) {
                FieldValidation result;
                result.accepted = Dates::validateDateField(field, nullptr);
                result.text = field.string();
                return result;
            }
            if (tag == Tag::MarriagePlace)
                return ValidatePlaceField(field.string());
            return FieldValidation {true, field.string(), {}, {}};
        };
        return v;
    };
    EditorLineEdit* date = m_marriageFields->addValue(Tag::MarriageDate, QStringLiteral("marriageDate"), value(Tag::MarriageDate));
    date->setToolTip(LocalizedHelpString(QStringLiteral("DateFormatHelp")));
    row->addWidget(date, 2);
    row->addWidget(new QLabel(L("SelfAt")));
    EditorLineEdit* place = m_marriageFields->addValue(
        Tag::MarriagePlace, QStringLiteral("marriagePlace"), value(Tag::MarriagePlace), true);
    row->addWidget(m_marriageFields->placeField(Tag::MarriagePlace), 4);
    Q_UNUSED(place);
    row->addWidget(new QLabel(L("FamilyMarriageNotes")));
    EditorLineEdit* notes = m_marriageFields->addValue(Tag::MarriageNotes, QStringLiteral("marriageNotes"), value(Tag::MarriageNotes));
    // Notes of several lines are edited in the marriage notes dialog only.
    notes->shouldBeginEditing = [this] {
        const FTEvent* marriage = m_spouseRel ? m_spouseRel->marriage() : nullptr;
        if (!marriage || !marriage->notes().contains(QLatin1Char('\n')))
            return true;
        DisplayMsg(L("UseNotesButton"));
        return false;
    };
    row->addWidget(notes, 4);
    QAbstractButton* notesButton = makeButton(Tag::MarriageNotesButton, L("NoNotes"));
    notesButton->setObjectName(QStringLiteral("marriageNotesButton"));
    connect(notesButton, &QAbstractButton::clicked, this, [this] { editNotes(Tag::MarriageNotesButton); });
    row->addWidget(notesButton);
    m_marriageFields->didEndEditing = [this](int tag) {
        if (tag == Tag::MarriageNotes)
            setNotesButtonsNeedRefresh(true);
        if (tag == Tag::MarriageDate)
            setMarriageStatus();
    };
    m_status = new QLabel;
    m_status->setObjectName(QStringLiteral("marriageStatusField"));
    m_status->setToolTip(L("FamilyStatus"));
    m_status->setMinimumWidth(m_status->fontMetrics().horizontalAdvance(QStringLiteral("Marriage Annulled")));
    row->addWidget(m_status, 1);
    QAbstractButton* family = makeButton(0, L("FamilyPanel"), "system-users");
    m_coupleButtons << family;
    family->setObjectName(QStringLiteral("familyButton"));
    family->setToolTip(L("FamilyPanelTip"));
    connect(family, &QAbstractButton::clicked, this, [this] { displayFamilyPanel(); });
    row->addWidget(family);
    return box;
}

QWidget* InfoArea_Family2::buildChildren()
{
    auto* box = new QWidget;
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    using L2 = Layout;
    m_model = new FamilyChildrenModel({L2::ChildsDetails, L2::ChildsFamily, L2::Name, L2::Gender, L2::BirthDate,
                                          L2::BirthPlace, L2::BirthNotes, L2::DeathDate, L2::DeathPlace,
                                          L2::DeathNotes, L2::AgeAtDeath},
        this);
    m_model->newChild = [this](const QString& name) { return newChild(name); };
    m_table = new InfoArea_Family2_TableView;
    m_table->setModel(m_model);
    setViewTag(m_table, Tag::ChildrenTable);
    m_table->husband = [this] { return husband(); };
    m_table->setMultiLineNotes(multiLineNotesDefault());
    connect(m_table, &FamilyTableView::buttonClicked, this, [this](int row, const QString& column) {
        if (column == QLatin1String("childsDetails"))
            displayChildsDetails(row);
        else
            displayChildsFamily(row);
    });
    connect(m_table, &FamilyTableView::contextMenuRequested, this, [this](int row, const QPoint& at) {
        if (QMenu* menu = createContextMenu(row)) {
            menu->setAttribute(Qt::WA_DeleteOnClose);
            menu->popup(at);
        }
    });
    m_table->horizontalHeader()->setSectionsClickable(true);
    connect(m_table->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int section) {
        // The rows come back in the order of the natural children.
        if (m_model->layoutColumn(section) == Layout::BirthDate && m_table->endEditing())
            refreshArray();
    });
    column->addWidget(m_table, 1);

    auto* band = new QWidget;
    band->setFixedHeight(kBandHeight);
    auto* buttons = new QHBoxLayout(band);
    buttons->setContentsMargins(0, 2, 0, 2);
    buttons->setSpacing(6);
    QAbstractButton* add = makeButton(0, L("FamilyAddChild"), "list-add");
    add->setObjectName(QStringLiteral("addChildButton"));
    connect(add, &QAbstractButton::clicked, this, [this] { addChild(); });
    QAbstractButton* remove = makeButton(0, L("FamilyDeleteChild"), "list-remove");
    remove->setObjectName(QStringLiteral("deleteChildButton"));
    connect(remove, &QAbstractButton::clicked, this, [this] { deleteChild(); });
    m_coupleButtons << add << remove;
    m_multiLineSwitch = new QCheckBox(L("MultiLineNotes"));
    m_multiLineSwitch->setObjectName(QStringLiteral("multiLineNotes"));
    m_multiLineSwitch->setFocusPolicy(Qt::NoFocus);
    m_multiLineSwitch->setChecked(m_table->multiLineNotes());
    connect(m_multiLineSwitch, &QCheckBox::toggled, this, [this](bool on) { setMultiLineNotes(on); });
    buttons->addWidget(add);
    buttons->addWidget(remove);
    buttons->addStretch();
    buttons->addWidget(m_multiLineSwitch);
    column->addWidget(band);
    return box;
}

// ---- The page protocol -----------------------------------------------------------------------------------------

void InfoArea_Family2::setSelectedPerson(FTPerson* person)
{
    if (person == m_person)
        return;
    closeNotesDialogs();
    finishEditing();
    m_person = person;
    if (person)
        m_moc = person->moc();
    m_table->setMoc(m_moc);
    setNotesButtonsNeedRefresh(true);
}

void InfoArea_Family2::refreshDisplay()
{
    m_refreshArray = true;
    m_notesButtonsNeedRefresh = true;
    update();
}

void InfoArea_Family2::setFontSize(long size)
{
    if (size <= 0)
        return;
    m_fontSize = size;
    SetFontSize(m_table, int(size));
    m_table->layout().setFont(m_table->font());
    m_table->setColumnWidths();
    refreshDisplay();
}

void InfoArea_Family2::freeMemory()
{
    closeNotesDialogs();
    finishEditing();
    m_person = nullptr;
    m_couple = FamilyCouple();
    m_spouseRel = nullptr;
    m_table->abandonEditing();
    m_model->clear();
    m_refreshArray = true;
}

void InfoArea_Family2::personToBeDeleted(const Notification& n)
{
    if (!m_moc || n.context != m_moc)
        return;
    // What was typed for the people who stay is stored first (an edit the checks refuse is dropped); what was typed
    // for the person going is dropped before the page lets go of them.
    const void* gone = n.object;
    FTPerson* h = husband();
    FTPerson* w = wife();
    h && h != gone ? m_husbandFields->finishEditing() : m_husbandFields->clear();
    w && w != gone ? m_wifeFields->finishEditing() : m_wifeFields->clear();
    h != gone && w != gone ? m_marriageFields->finishEditing() : m_marriageFields->clear();
    const QModelIndex edited = m_table->editingIndex();
    FTPerson* child = edited.isValid() ? m_model->child(edited.row()) : nullptr;
    if (!child || child == gone || !m_table->endEditing())
        m_table->abandonEditing();
    if (n.object && n.object == m_person)
        setSelectedPerson(nullptr);
    try {
        // The person may be shown anywhere on the page: nothing typed may reach it, no row may outlive it.
        m_husbandFields->clear();
        m_wifeFields->clear();
        m_marriageFields->clear();
        m_husbandFields->setPerson(nullptr);
        m_wifeFields->setPerson(nullptr);
        m_couple = FamilyCouple();
        m_spouseRel = nullptr;
        if (n.object == m_chosenSpouse)
            m_chosenSpouse = nullptr;
        m_model->clear();
    } catch (...) {
        ModelHooks::reportException("InfoArea_Family2", 951, QStringLiteral("personToBeDeleted"));
    }
    refreshDisplay();
}

void InfoArea_Family2::pcRelTypeChanged(const Notification&)
{
    refreshDisplay();
}

bool InfoArea_Family2::endEditing()
{
    return m_husbandFields->endEditing() && m_wifeFields->endEditing() && m_marriageFields->endEditing()
        && m_table->endEditing();
}

void InfoArea_Family2::finishEditing()
{
    // What was typed reaches the people shown so far; an edit the checks refuse is dropped.
    m_husbandFields->finishEditing();
    m_wifeFields->finishEditing();
    m_marriageFields->finishEditing();
    if (!m_table->endEditing())
        m_table->abandonEditing();
}

// ---- The rebuild -------------------------------------------------------------------------------------------------

void InfoArea_Family2::ensureDisplay()
{
    if (m_refreshArray)
        refreshArray();
    if (m_notesButtonsNeedRefresh)
        setNotesButtonsIndicators();
}

void InfoArea_Family2::refreshArray()
{
    m_refreshArray = false;
    m_notesButtonsNeedRefresh = true;
    ++m_rebuilds;
    try {
        FamilyCouple couple;
        if (m_person && !m_person->isDeleted()) {
            FTMoc* moc = m_moc;
            couple = FamilyCouple::forSelectedPerson(m_person, [moc](FTPerson* p) {
                for (DOvurDocument* doc : DocumentController::shared().documents())
                    if (doc->moc() == moc && doc->pcd())
                        return doc->pcd()->findPerson(p);
                return false;
            });
            // The spouse the user chose stays shown while the selected and the focal person stay the same.
            const FTPerson* focal = moc ? moc->focalPerson() : nullptr;
            if (m_chosenSpouse && m_chosenFor == m_person && m_chosenWithFocal == focal
                && couple.spouses().contains(m_chosenSpouse))
                couple = couple.withSpouse(m_chosenSpouse);
            else
                m_chosenSpouse = nullptr;
        }
        if (couple.husband() != m_couple.husband() || couple.wife() != m_couple.wife()) {
            closeNotesDialogs();
            finishEditing();
        }
        m_couple = couple;
        showCouple();
    } catch (...) {
        ModelHooks::reportException("InfoArea_Family2", 1119, QStringLiteral("refreshArray2"));
    }
    const int focusTag = m_currentTag == Tag::WifeName ? Tag::WifeBirthDate
        : m_currentTag == Tag::HusbandName            ? Tag::HusbandBirthDate
                                                      : 0;
    m_currentTag = 0;
    if (focusTag)
        if (EditorLineEdit* date = field(focusTag))
            date->setFocus(Qt::OtherFocusReason);
}

void InfoArea_Family2::showCouple()
{
    m_husbandFields->setPerson(husband());
    m_wifeFields->setPerson(wife());
    m_husbandImage->setPerson(husband());
    m_wifeImage->setPerson(wife());
    setNameBoxes();
    loadMarriageEvent();
    loadChildrenArray();
    loadPartnerTexts();
    enableFields();
    setLabels();
    setNotesButtonsNeedRefresh(true);
}

void InfoArea_Family2::setNameBoxes()
{
    const QColor selected = UserDefaults::standard().colorForKey(QStringLiteral("selectedPersonColour"));
    const bool husbandSelected = m_person && m_couple.selectedIsHusband();
    struct Box {
        QComboBox* combo;
        QList<FTPerson*> people;
        FTPerson* shown;
        bool selected;
    };
    const Box boxes[] = {
        {m_husbandBox, m_couple.husbands(), husband(), m_person && husbandSelected},
        {m_wifeBox, m_couple.wives(), wife(), m_person && !husbandSelected},
    };
    for (const Box& b : boxes) {
        setBase(b.combo, b.selected && selected.isValid() ? selected : QColor(Qt::white));
        setBase(b.combo->lineEdit(), b.selected && selected.isValid() ? selected : QColor(Qt::white));
        auto* edit = qobject_cast<EditorLineEdit*>(b.combo->lineEdit());
        if (edit && edit->isEditing())
            continue;
        const QSignalBlocker quiet(b.combo);
        b.combo->clear();
        for (const FTPerson* p : b.people) {
            b.combo->addItem(p->name());
            b.combo->setItemData(b.combo->count() - 1, p->nameWithBirthAndDeathYears(), Qt::ToolTipRole);
        }
        b.combo->setMaxVisibleItems(std::max(1, int(b.people.size())));
        b.combo->setCurrentIndex(int(b.people.indexOf(b.shown)));
        if (edit)
            edit->setValue(b.shown ? b.shown->name() : QString());
    }
}

void InfoArea_Family2::loadMarriageEvent()
{
    m_spouseRel = m_couple.spouseRel();
    m_marriageFields->load();
    setMarriageStatus();
}

void InfoArea_Family2::setMarriageStatus()
{
    const QString status = m_spouseRel && !m_spouseRel->isDeleted() ? m_spouseRel->marriageStatusString() : QString();
    m_status->setText(status);
}

void InfoArea_Family2::loadChildrenArray()
{
    // What was typed in a cell reaches its child before the rows are made again.
    if (!m_table->endEditing())
        m_table->abandonEditing();
    FamilyChildrenLayout::Rows rows;
    if (m_person)
        rows = FamilyChildren::rows(husband(), wife());
    m_table->layout().calculateRowHeightForAllRows(rows);
    m_model->setRows(std::move(rows));
    // Notes present or not move room between the name and the notes columns.
    m_table->setColumnWidths();
    m_table->applyRowHeights();
}

int InfoArea_Family2::numChildren() const
{
    return m_model->childCount();
}

FTPerson* InfoArea_Family2::newChild(const QString& name)
{
    FTPerson* child = FamilyChildren::createChild(m_moc, name, husband(), wife());
    if (child)
        m_model->insertChild(child, float(m_table->layout().lineHeight()));
    return child;
}

void InfoArea_Family2::loadPartnerTexts()
{
    for (int offset : {0, FamilyCouple::kWifeOffset}) {
        FTPerson* p = offset ? wife() : husband();
        const FTEvent* birth = p ? p->birth() : nullptr;
        const FTEvent* death = p ? p->death() : nullptr;
        const QString lifetime = p ? p->ageAtDeathInYearsMonthsAndDays() : QString();
        if (QAbstractButton* b = button(Tag::HusbandBornButton + offset))
            b->setToolTip(birth ? birth->dateWithWeekday() : L("FamilyDateTip"));
        if (QAbstractButton* b = button(Tag::HusbandDiedButton + offset))
            b->setToolTip(death ? death->dateWithWeekday() : L("FamilyDateTip"));
        QString age;
        if (p) {
            age = p->currentAgeString();
            if (age.isEmpty())
                age = p->ageAtDeath().trimmed();
        }
        m_ages.value(Tag::HusbandAge + offset)->setText(age);
        m_ages.value(Tag::HusbandAge + offset)->setToolTip(lifetime);
        m_ages.value(Tag::HusbandAgeLabel + offset)->setToolTip(lifetime);
    }
}

void InfoArea_Family2::enableFields()
{
    m_husbandFields->setEnabled(false);
    m_wifeFields->setEnabled(false);
    for (int offset : {0, FamilyCouple::kWifeOffset})
        for (int tag : {Tag::HusbandGender, Tag::HusbandBirthDate, Tag::HusbandBirthPlace, Tag::HusbandDeathDate,
                 Tag::HusbandDeathPlace})
            for (QWidget* w : {viewWithTag(this, tag + offset), static_cast<QWidget*>(field(tag + offset))})
                if (w)
                    w->setEnabled(m_couple.isEnabled(tag + offset));
    // The name boxes are never disabled: an empty one takes the name of a new spouse.
    for (QComboBox* box : {m_husbandBox, m_wifeBox}) {
        box->setEnabled(m_person != nullptr);
        box->lineEdit()->setEnabled(m_person != nullptr);
    }
    const bool both = m_couple.isEnabled(Tag::MarriageDate);
    m_marriageFields->setEnabled(both);
    m_marriageFields->placeField(Tag::MarriagePlace)->setEnabled(both);
    m_table->setEnabled(both);
    // A partner's buttons work on that partner, the couple's on both.
    for (auto it = m_buttons.cbegin(); it != m_buttons.cend(); ++it) {
        const int tag = it.key();
        const bool couples = tag == Tag::MarriageDateButton || tag == Tag::MarriageNotesButton;
        it.value()->setEnabled(couples ? both : m_couple.partnerFor(tag) != nullptr);
    }
    for (QAbstractButton* b : std::as_const(m_coupleButtons))
        b->setEnabled(both);
    m_addHusbandButton->setEnabled(wife() != nullptr);
    m_addWifeButton->setEnabled(husband() != nullptr);
}

void InfoArea_Family2::setLabels()
{
    const FamilyCouple::Labels labels = m_couple.labels(FamilyCouple::labelStyle());
    m_husbandLabel->setText(labels.husband);
    m_wifeLabel->setText(labels.wife);
}

// ---- Notes ---------------------------------------------------------------------------------------------------------

void InfoArea_Family2::setNotesButtonsNeedRefresh(bool refresh)
{
    m_notesButtonsNeedRefresh = refresh;
    if (refresh)
        update();
}

void InfoArea_Family2::setNotesButtonsIndicators()
{
    m_notesButtonsNeedRefresh = false;
    for (int tag : kNotesButtons) {
        QAbstractButton* b = button(tag);
        if (!b)
            continue;
        const bool present = !m_couple.notesFor(tag).isEmpty();
        b->setText(L(present ? "NotesPresent" : "NoNotes"));
        QPalette p = palette();
        if (present)
            p.setColor(QPalette::Button, notesPresentColour());
        b->setPalette(p);
    }
    m_marriageFields->load();
}

void InfoArea_Family2::closeNotesDialogs()
{
    if (m_notesDialog && m_notesDialog->person())
        m_notesDialog->close();
    if (m_marriageNotesDialog && m_marriageNotesDialog->spouseRel())
        m_marriageNotesDialog->close();
}

void InfoArea_Family2::editNotes(int tag)
{
    const bool couple = tag == Tag::MarriageNotesButton;
    FTPerson* person = couple ? nullptr : m_couple.partnerFor(tag);
    if ((couple && !m_spouseRel) || (!couple && !person))
        return;
    endEditing();
    const QString tab = tag % 10 == 1 ? QStringLiteral("3") : tag % 10 == 2 ? QStringLiteral("4") : QStringLiteral("1");
    NotesWindow* dialog = nullptr;
    if (couple) {
        if (!m_marriageNotesDialog)
            m_marriageNotesDialog = new MarriageNotesDialog;
        m_marriageNotesDialog->setOwner(m_spouseRel, tab, false);
        dialog = m_marriageNotesDialog;
    } else {
        if (!m_notesDialog)
            m_notesDialog = new NotesDialog;
        m_notesDialog->setOwner(person, tab, false);
        dialog = m_notesDialog;
    }
    // A tool window of the main window, in front.
    if (!dialog->isVisible())
        dialog->present(NotesWindow::ChildWindow, window());
    dialog->raise();
    dialog->activateWindow();
}

// ---- Actions -----------------------------------------------------------------------------------------------------

QComboBox* InfoArea_Family2::nameBox(int tag) const
{
    return tag == Tag::HusbandName ? m_husbandBox : tag == Tag::WifeName ? m_wifeBox : nullptr;
}

EditorLineEdit* InfoArea_Family2::field(int tag) const
{
    if (tag == Tag::HusbandName || tag == Tag::WifeName)
        return qobject_cast<EditorLineEdit*>(nameBox(tag)->lineEdit());
    if (tag >= 200)
        return m_marriageFields->field(tag);
    return tag >= FamilyCouple::kWifeOffset ? m_wifeFields->field(tag - FamilyCouple::kWifeOffset)
                                            : m_husbandFields->field(tag);
}

QAbstractButton* InfoArea_Family2::button(int tag) const
{
    return m_buttons.value(tag);
}

QAbstractButton* InfoArea_Family2::husbandLabel() const
{
    return m_husbandLabel;
}

QAbstractButton* InfoArea_Family2::wifeLabel() const
{
    return m_wifeLabel;
}

QString InfoArea_Family2::marriageStatus() const
{
    return m_status->text();
}

bool InfoArea_Family2::spouseTyped(bool husbandBox, const QString& name)
{
    FTPerson* partner = husbandBox ? wife() : husband();
    if (!partner)
        return true;
    FTPerson* spouse = FamilyCouple::createSpouse(partner, name, L(husbandBox ? "MaleShort" : "FemaleShort"));
    if (!spouse)
        return true;
    m_chosenSpouse = spouse;
    m_chosenFor = m_person;
    m_chosenWithFocal = m_moc ? m_moc->focalPerson() : nullptr;
    m_currentTag = husbandBox ? Tag::HusbandName : Tag::WifeName;
    refreshDisplay();
    return true;
}

void InfoArea_Family2::switchSpouse(int tag, int index)
{
    const QList<FTPerson*> list = tag == Tag::HusbandName ? m_couple.husbands() : m_couple.wives();
    FTLog(QStringLiteral("%1: %2").arg(tag == Tag::HusbandName ? QStringLiteral("comboBox4,hubs")
                                                                : QStringLiteral("comboBox104,wife"))
              .arg(index));
    if (index < 0 || index >= list.size() || list[index] == m_couple.spouse())
        return;
    closeNotesDialogs();
    finishEditing();
    m_chosenSpouse = list[index];
    m_chosenFor = m_person;
    m_chosenWithFocal = m_moc ? m_moc->focalPerson() : nullptr;
    m_couple = m_couple.withSpouse(m_chosenSpouse);
    m_husbandFields->setPerson(husband());
    m_wifeFields->setPerson(wife());
    m_husbandImage->setPerson(husband());
    m_wifeImage->setPerson(wife());
    loadMarriageEvent();
    loadChildrenArray();
    loadPartnerTexts();
    // The labels follow the couple only where they are assigned automatically.
    if (FamilyCouple::labelStyle() == FamilyCouple::AutoAssigned)
        setLabels();
    setNotesButtonsNeedRefresh(true);
}

void InfoArea_Family2::changeSpouseLabel()
{
    const QString info = QStringLiteral("%1 \"%2\" %3 \"%4\". %5 \"%6\".\n\n")
                             .arg(L("ChangeSpouseLabel1"), L("Husband"), L("ConjunctiveAnd"), L("Wife"),
                                 L("ChangeSpouseLabel2"), L("Spouse/Partner"));
    const int answer = Prompts::current().chooseWithTitle(L("FamilyLabels"), L("SelectSpouseLabel"), info,
        {L("Husband/Wife"), L("Spouse"), L("Partner"), L("NoLabels"), L("AutoAssigned")});
    if (answer >= 0 && answer <= 4)
        UserDefaults::standard().setInteger(QStringLiteral("familyLabelStyle"), answer);
    refreshDisplay();
}

void InfoArea_Family2::displayCalendar(int tag)
{
    if (!endEditing())
        return;
    FTEvent* event = nullptr;
    const char* titleKey = "BDate";
    switch (tag) {
    case Tag::HusbandBornButton:
    case Tag::WifeBornButton:
        event = m_couple.partnerFor(tag) ? m_couple.partnerFor(tag)->birth() : nullptr;
        break;
    case Tag::HusbandDiedButton:
    case Tag::WifeDiedButton:
        event = m_couple.partnerFor(tag) ? m_couple.partnerFor(tag)->death() : nullptr;
        titleKey = "DDate";
        break;
    case Tag::MarriageDateButton:
        event = m_spouseRel ? m_spouseRel->marriage() : nullptr;
        titleKey = "MDate";
        break;
    default:
        break;
    }
    if (!event || event->isDeleted()) {
        Utils::glassSound();
        return;
    }
    if (!event->day() || !event->month() || !event->year()) {
        DisplayMsg(L("CalClarify"));
        return;
    }
    auto* sheet = new DateDisplay(event);
    sheet->setWindowTitle(L(titleKey));
    sheet->setParent(window(), sheet->windowFlags() | Qt::Sheet);
    sheet->setWindowModality(Qt::WindowModal);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<InfoArea_Family2> self(this);
    connect(sheet, &QDialog::finished, this, [self] {
        if (self)
            self->refreshDisplay();
    });
    sheet->open();
}

void InfoArea_Family2::parentsDetails(int tag)
{
    FTPerson* partner = m_couple.partnerFor(tag);
    if (!partner || !endEditing())
        return;
    partner->invokeAddChildDialog();
    refreshDisplay();
}

void InfoArea_Family2::addHusband()
{
    FTPerson* w = wife();
    if (!w || !endEditing())
        return;
    w->invokeFamilyDialogForSpouse(nullptr);
    if (m_moc && !w->isDeleted())
        m_moc->setSelectedPerson(w);
    refreshDisplay();
}

void InfoArea_Family2::addWife()
{
    FTPerson* h = husband();
    if (!h || !endEditing())
        return;
    h->invokeFamilyDialogForSpouse(nullptr);
    if (m_moc && !h->isDeleted())
        m_moc->setSelectedPerson(h);
    refreshDisplay();
}

void InfoArea_Family2::displayFamilyPanel()
{
    if (!husband() || !wife() || !endEditing())
        return;
    husband()->invokeFamilyDialogForSpouse(wife());
}

// ---- The children table ----------------------------------------------------------------------------------------

void InfoArea_Family2::addChild()
{
    if (!g_addChildExplained) {
        g_addChildExplained = true;
        DisplayMsg(L("AddingChildren"));
    }
    m_table->editColumn(QStringLiteral("name"), m_model->rowCount() - 1);
}

void InfoArea_Family2::deleteChild()
{
    const int row = m_table->selectedRow();
    FTPerson* child = row >= 0 && row < m_model->childCount() ? m_model->child(row) : nullptr;
    if (!child) {
        DisplayMsg(L("DeleteChildMsg"));
        return;
    }
    if (!endEditing())
        return;
    FamilyChildren::deleteChild(child);
}

void InfoArea_Family2::displayChildsDetails(int row)
{
    FTPerson* child = m_model->child(row);
    if (!child) {
        m_table->editColumn(QStringLiteral("name"), m_model->rowCount() - 1);
        return;
    }
    if (!endEditing())
        return;
    child->invokeAddChildDialog();
    refreshDisplay();
}

void InfoArea_Family2::displayChildsFamily(int row)
{
    FTPerson* child = m_model->child(row);
    if (!child || !endEditing())
        return;
    FamilyChildren::displayChildsFamily(child, [](FTPerson* person) {
        SelectSpouseController dialog(person);
        dialog.run();
        return dialog.spouse();
    });
}

bool InfoArea_Family2::multiLineNotes() const
{
    return m_table->multiLineNotes();
}

void InfoArea_Family2::setMultiLineNotes(bool on)
{
    UserDefaults::standard().setBool(kMultiLineNotes, on);
    if (m_multiLineSwitch->isChecked() != on) {
        const QSignalBlocker quiet(m_multiLineSwitch);
        m_multiLineSwitch->setChecked(on);
    }
    m_table->setMultiLineNotes(on);
}

QMenu* InfoArea_Family2::createContextMenu(int row)
{
    FTPerson* child = row < m_model->childCount() ? m_model->child(row) : nullptr;
    if (!child)
        return nullptr;
    m_table->selectRow(row);
    auto* menu = new QMenu(this);
    // The records travel by their address in the database, which stays good if the rows are rebuilt meanwhile.
    FTMoc* moc = m_moc;
    QPointer<QWidget> window(this->window());
    for (const FamilyChildren::MenuItem& item : FamilyChildren::contextMenu(child)) {
        if (item.action == FamilyChildren::MenuItem::Separator) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(item.title);
        const QString uri = item.object ? item.object->objectURI() : QString();
        auto object = [moc, uri]() -> FTManagedObject* {
            auto* o = moc && !uri.isEmpty() ? dynamic_cast<FTManagedObject*>(moc->objectForURI(uri)) : nullptr;
            return o && !o->isDeleted() ? o : nullptr;
        };
        if (item.action == FamilyChildren::MenuItem::PromoteToFocalPerson) {
            action->setIcon(themeIcon(QStringLiteral("go-home")));
            connect(action, &QAction::triggered, this, [object] {
                FamilyChildren::promoteToFocalPerson(dynamic_cast<FTPerson*>(object()));
            });
        } else {
            connect(action, &QAction::triggered, this, [object, window] {
                FamilyChildren::attachToActiveSource(object(), [window] {
                    EditorHooks::run(EditorHooks::shared().sourcesEditor, "Sources", window.data());
                });
            });
        }
    }
    return menu;
}

// ---- Drawing -----------------------------------------------------------------------------------------------------

void InfoArea_Family2::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgbF(0.95f, 0.95f, 0.95f));
    QColor band = UserDefaults::standard().colorForKey(QStringLiteral("mainWindowBgColour"));
    if (!band.isValid())
        band = RGB(184, 202, 190);
    painter.fillRect(QRect(0, height() - kBandHeight, width(), kBandHeight), band);
}

void InfoArea_Family2::settleLayouts()
{
    // New texts only post their layout requests: left to the event loop, the drawing about to happen would show
    // them in the old geometry ("Wif" in a label sized for nothing). The innermost layouts go first, so that each
    // outer one sizes its boxes from their new hints and hands them their new sizes at once.
    QList<QWidget*> widgets = findChildren<QWidget*>();
    widgets.prepend(this);
    for (auto it = widgets.crbegin(); it != widgets.crend(); ++it)
        if (QLayout* l = (*it)->layout(); l && !(*it)->isHidden())
            l->activate();
}

void InfoArea_Family2::watchWindow(bool on)
{
    if (m_watchedWindow)
        m_watchedWindow->removeEventFilter(this);
    m_watchedWindow = on ? window() : nullptr;
    if (m_watchedWindow)
        m_watchedWindow->installEventFilter(this);
}

void InfoArea_Family2::showEvent(QShowEvent* event)
{
    EditorPage::showEvent(event);
    watchWindow(true);
    update();
}

void InfoArea_Family2::hideEvent(QHideEvent* event)
{
    EditorPage::hideEvent(event);
    watchWindow(false);
}

bool InfoArea_Family2::eventFilter(QObject* watched, QEvent* event)
{
    // The window is about to draw what has changed: the page is rebuilt first when it must be (once, however many
    // refreshes were asked for), never while it draws.
    if (watched == m_watchedWindow && event->type() == QEvent::UpdateRequest && isVisible()) {
        const int rebuilds = m_rebuilds;
        ensureDisplay();
        if (m_rebuilds != rebuilds)
            settleLayouts();
    }
    // A date button turns red under the pointer when there is a date to show.
    auto* b = qobject_cast<QAbstractButton*>(watched);
    if ((event->type() == QEvent::Enter || event->type() == QEvent::Leave) && b && m_dateButtons.contains(b)) {
        const int tag = viewTag(b);
        QString date;
        if (tag == Tag::MarriageDateButton) {
            date = m_spouseRel && m_spouseRel->marriage() ? m_spouseRel->marriage()->date() : QString();
        } else if (FTPerson* p = m_couple.partnerFor(tag)) {
            const FTEvent* e = tag % 100 == 0 ? p->birth() : p->death();
            date = e ? e->date() : QString();
        }
        QPalette p = b->palette();
        p.setColor(QPalette::ButtonText,
            event->type() == QEvent::Enter && !date.isEmpty() ? QColor(Qt::red) : palette().color(QPalette::ButtonText));
        b->setPalette(p);
    }
    return EditorPage::eventFilter(watched, event);
}
