#include "editor/ui/InfoArea_Self.h"

#include "editor/PersonFields.h"
#include "editor/SelfPageTexts.h"
#include "editor/ui/EditorHooks.h"
#include "editor/ui/EditorLineEdit.h"
#include "editor/ui/EditorTags.h"
#include "editor/ui/NotesButton.h"
#include "editor/ui/NotesDialog.h"
#include "editor/ui/NotesTextEdit.h"
#include "editor/ui/PersonFieldSet.h"
#include "editor/ui/PlaceField.h"

#include "shell/ui/ElidedLabel.h"
#include "shell/ui/ThemeIcon.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTPerson.h"

#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"
#include "platform/Prompts.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
QLabel* smallLabel(const QString& text)
{
    auto* label = new QLabel(text);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

const char* const kChangeNotifications[] = {
    "PersonNameOrDateChanged", "TitleChanged", "NotesOrCommentsChanged", "GenderChanged",
    "EventNameOrDateChanged",  "DefaultPictureChanged",
};
}

InfoArea_Self::InfoArea_Self(QWidget* parent)
    : EditorPage(parent)
    , m_fields(new PersonFieldSet(this))
{
    setObjectName(QStringLiteral("pSelf"));
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    buildFields();

    auto label = [this](const char* key) {
        QLabel* l = smallLabel(LocalizedString(QString::fromLatin1(key)));
        m_labels << l;
        return l;
    };
    grid->addWidget(label("SelfName"), 0, 0);
    grid->addWidget(field(Name), 0, 1, 1, 3);
    grid->addWidget(label("SelfGender"), 0, 4);
    auto* genderRow = new QHBoxLayout;
    genderRow->addWidget(field(Gender));
    genderRow->addStretch();
    grid->addLayout(genderRow, 0, 5, 1, 2);

    grid->addWidget(label("SelfTitle"), 1, 0);
    grid->addWidget(field(Title), 1, 1, 1, 3);
    grid->addWidget(label("SelfUserRef"), 1, 4);
    grid->addWidget(field(UserReferenceNo), 1, 5, 1, 2);

    m_birthNotesButton = new NotesButton;
    m_deathNotesButton = new NotesButton;
    struct EventRow {
        const char* label;
        int date, place, notes;
        NotesButton* button;
        int buttonTag;
    };
    const EventRow rows[] = {{"SelfBorn", BirthDate, BirthPlace, BirthNotes, m_birthNotesButton, BirthNotesButton},
                             {"SelfDied", DeathDate, DeathPlace, DeathNotes, m_deathNotesButton, DeathNotesButton}};
    int row = 2;
    for (const EventRow& r : rows) {
        grid->addWidget(label(r.label), row, 0);
        grid->addWidget(field(r.date), row, 1);
        grid->addWidget(label("SelfAt"), row, 2);
        grid->addWidget(placeField(r.place), row, 3);
        // The one-line notes take the label column: their placeholder says what they are.
        field(r.notes)->setPlaceholderText(
            LocalizedString(r.date == BirthDate ? QStringLiteral("SelfBirthNotes") : QStringLiteral("SelfDeathNotes")));
        grid->addWidget(field(r.notes), row, 4, 1, 2);
        setViewTag(r.button, r.buttonTag);
        r.button->setObjectName(r.buttonTag == BirthNotesButton ? QStringLiteral("birthNotesButton")
                                                                 : QStringLiteral("deathNotesButton"));
        const int tag = r.buttonTag;
        connect(r.button, &QPushButton::clicked, this, [this, tag] { editNotes(tag); });
        grid->addWidget(r.button, row, 6);
        ++row;
    }

    grid->addWidget(label("SelfCauseOfDeath"), row, 0);
    grid->addWidget(field(CauseOfDeath), row, 1, 1, 3);
    QLabel* afn = label("SelfAfn");
    afn->setToolTip(LocalizedString(QStringLiteral("SelfAfnTip")));
    grid->addWidget(afn, row, 4);
    grid->addWidget(field(AncestralFileNo), row, 5, 1, 2);
    ++row;

    grid->addWidget(label("SelfOtherEvents"), row, 0);
    m_otherEvents = new ElidedLabel;
    m_otherEvents->setObjectName(QStringLiteral("otherEvents"));
    m_otherEvents->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_otherEvents->setMinimumWidth(50);
    m_otherEvents->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    grid->addWidget(m_otherEvents, row, 1, 1, 6);
    ++row;

    grid->addWidget(label("SelfLastChange"), row, 0);
    auto* changeRow = new QHBoxLayout;
    changeRow->setSpacing(2);
    m_lastChange = new QLabel;
    m_lastChange->setObjectName(QStringLiteral("lastChangeDate"));
    changeRow->addWidget(m_lastChange);
    struct Hover {
        int tag;
        const char* icon;
        const char* tip;
        void (InfoArea_Self::*action)();
    };
    for (const Hover& h : {Hover{LastChangesButton, "document-open-recent", "LastChangeDates",
                                 &InfoArea_Self::displayLastChangeDates},
                           Hover{TimelineButton, "x-office-calendar", "PersonalTimeline",
                                 &InfoArea_Self::displayPersonalTimeline}}) {
        // Drawn with a border only while the pointer is over it.
        auto* button = new QToolButton;
        button->setAutoRaise(true);
        button->setIcon(themeIcon(QString::fromLatin1(h.icon)));
        button->setToolTip(LocalizedString(QString::fromLatin1(h.tip)));
        button->setFocusPolicy(Qt::NoFocus);
        setViewTag(button, h.tag);
        auto action = h.action;
        connect(button, &QToolButton::clicked, this, [this, action] { (this->*action)(); });
        changeRow->addWidget(button);
    }
    changeRow->addStretch();
    grid->addLayout(changeRow, row, 1, 1, 3);
    auto* details = new QPushButton(LocalizedString(QStringLiteral("PersonDetails")));
    details->setObjectName(QStringLiteral("detailsButton"));
    details->setIcon(themeIcon(QStringLiteral("document-properties")));
    connect(details, &QPushButton::clicked, this, [this] { invokeDetailsDialog(); });
    m_detailsButton = details;
    grid->addWidget(details, row, 4, 1, 3, Qt::AlignRight);
    ++row;
    grid->setRowStretch(row, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 3);
    grid->setColumnStretch(5, 2);

    // Notes and comments beside the fields, the default picture at the right.
    auto texts = new QVBoxLayout;
    texts->setSpacing(2);
    m_notes = new NotesTextEdit;
    m_notes->setObjectName(QStringLiteral("tf_notes"));
    m_notes->commit = [this](const QString& text) { writeText([text](FTPerson* p) {
            if (p->notes() != text)
                p->setNotes(text);
        }); };
    m_comments = new NotesTextEdit;
    m_comments->setObjectName(QStringLiteral("tf_comments"));
    m_comments->commit = [this](const QString& text) { writeText([text](FTPerson* p) {
            if (p->comments() != text)
                p->setComments(text);
        }); };
    auto* notesLabel = new QLabel(LocalizedString(QStringLiteral("Notes")));
    auto* commentsLabel = new QLabel(LocalizedString(QStringLiteral("Comments")));
    texts->addWidget(notesLabel);
    texts->addWidget(m_notes, 1);
    texts->addWidget(commentsLabel);
    texts->addWidget(m_comments, 1);

    auto* pictureColumn = new QVBoxLayout;
    m_defaultImage = EditorHooks::makeDefaultPictureView(this);
    m_defaultImage->setObjectName(QStringLiteral("defaultImage"));
    pictureColumn->addWidget(m_defaultImage);
    pictureColumn->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 6, 0, 0);
    layout->setSpacing(10);
    layout->addLayout(grid, 5);
    layout->addLayout(texts, 2);
    layout->addLayout(pictureColumn, 0);

    // Tab follows the page as it reads: the place fields are made before the others, which would otherwise put
    // them first and send Tab from a date to the notes beside it.
    QList<QWidget*> order = {field(Name), field(Gender), field(Title), field(UserReferenceNo),
                             field(BirthDate), field(BirthPlace), field(DeathDate), field(DeathPlace),
                             field(BirthNotes), field(DeathNotes), field(CauseOfDeath), field(AncestralFileNo),
                             m_notes, m_comments};
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);

    setSelectedPerson(nullptr);
    observe();
}

InfoArea_Self::~InfoArea_Self()
{
    NotificationCenter::defaultCenter().removeObserversOf(this);
}

void InfoArea_Self::observe()
{
    for (const char* name : kChangeNotifications)
        NotificationCenter::defaultCenter().addObserver(
            QString::fromLatin1(name), nullptr,
            [this](const Notification& n) {
                if (!m_person || n.context != m_moc)
                    return;
                setLastChangeDate();
                // Written from a notes window: the texts not typed in here show it, so that nothing stale is
                // written back later.
                if (n.object == m_person && n.name == QLatin1String("NotesOrCommentsChanged")) {
                    m_notes->showStored(m_person->notes());
                    m_comments->showStored(m_person->comments());
                }
            },
            this);
}

void InfoArea_Self::buildFields()
{
    m_fields->add(Name, QStringLiteral("name"));
    m_fields->add(Gender, QStringLiteral("gender"));
    m_fields->add(Title, QStringLiteral("title"));
    for (const QString& event : {QStringLiteral("birth"), QStringLiteral("death")}) {
        const bool birth = event == QLatin1String("birth");
        m_fields->add(birth ? BirthDate : DeathDate, event + QStringLiteral("Date"));
        m_fields->addPlace(birth ? BirthPlace : DeathPlace, event + QStringLiteral("Place"));
        const int notesTag = birth ? BirthNotes : DeathNotes;
        EditorLineEdit* notes = m_fields->add(notesTag, event + QStringLiteral("Notes"));
        notes->shouldBeginEditing = [this, notesTag] { return notesFieldShouldBeginEditing(notesTag); };
    }
    m_fields->add(CauseOfDeath, QStringLiteral("causeOfDeath"));
    m_fields->add(AncestralFileNo, QStringLiteral("ancestralFileNumber"));
    m_fields->add(UserReferenceNo, QStringLiteral("userId"));
    m_fields->didEndEditing = [this](int tag) {
        if (tag == BirthNotes || tag == DeathNotes)
            setNotesButtonIndicators();
    };
}

EditorLineEdit* InfoArea_Self::field(int tag) const
{
    return m_fields->field(tag);
}

PlaceField* InfoArea_Self::placeField(int tag) const
{
    return m_fields->placeField(tag);
}

QString InfoArea_Self::otherEventsText() const
{
    return m_otherEvents->text();
}

bool InfoArea_Self::notesFieldShouldBeginEditing(int tag)
{
    if (!m_person || !SelfPageTexts::isMultiLine(PersonFields::read(tag, m_person)))
        return true;
    Prompts::current().message(LocalizedString(QStringLiteral("NotesAdvice")));
    return false;
}

void InfoArea_Self::writeText(const std::function<void(FTPerson*)>& write)
{
    if (!m_person)
        return;
    write(m_person);
    if (m_moc)
        m_moc->deferredSave();
}

bool InfoArea_Self::endEditing()
{
    if (!m_fields->endEditing())
        return false;
    m_notes->endEditing();
    m_comments->endEditing();
    return true;
}

void InfoArea_Self::setSelectedPerson(FTPerson* person)
{
    if (person == m_person && person)
        return;
    // What was typed for the person shown so far reaches that person first.
    if (m_person && !isReplayingUndo(m_moc)) {
        m_notes->endEditing();
        m_comments->endEditing();
        // A refused edit cannot follow the person shown: it is dropped, never written to the next person.
        m_fields->finishEditing();
    } else if (m_person) {
        // Nothing is written while a step replays: what is still typed is dropped, never shown for the next person.
        m_fields->clear();
        m_notes->setValue({});
        m_comments->setValue({});
    }
    m_person = person;
    if (person)
        m_moc = person->moc();
    m_fields->setPerson(person);
    m_defaultImage->setPerson(person);
    loadFields();
    setNotesButtonIndicators();
    setLastChangeDate();
}

void InfoArea_Self::refreshDisplay()
{
    loadFields();
    m_defaultImage->setPerson(m_person);
    setNotesButtonIndicators();
    setLastChangeDate();
}

void InfoArea_Self::loadFields()
{
    const bool enabled = m_person != nullptr;
    m_fields->setEnabled(enabled);
    // A field being edited keeps what the user typed.
    m_fields->load();
    for (int tag : {BirthNotes, DeathNotes}) {
        EditorLineEdit* edit = field(tag);
        if (edit->isEditing())
            continue;
        // Notes of several lines are shown on one line and edited in the notes dialog only.
        const QString value = PersonFields::read(tag, m_person);
        const bool multiLine = SelfPageTexts::isMultiLine(value);
        edit->setReadOnly(multiLine);
        if (multiLine)
            edit->setValue(value.simplified());
    }
    for (NotesTextEdit* text : {m_notes, m_comments}) {
        text->setEnabled(enabled);
        if (!text->isEditing())
            text->setValue(!m_person ? QString() : text == m_notes ? m_person->notes() : m_person->comments());
    }
    m_birthNotesButton->setEnabled(enabled);
    m_deathNotesButton->setEnabled(enabled);
    m_detailsButton->setEnabled(enabled);
}

void InfoArea_Self::setFontSize(long size)
{
    m_notes->setPointSize(size + 1);
    m_comments->setPointSize(size + 1);
}

void InfoArea_Self::freeMemory()
{
    setSelectedPerson(nullptr);
}

void InfoArea_Self::personToBeDeleted(const Notification& n)
{
    if (n.object && n.object == m_person) {
        // The person goes: nothing typed may be written to it any more.
        m_fields->clear();
        m_notes->setValue({});
        m_comments->setValue({});
        setSelectedPerson(nullptr);
    }
}

void InfoArea_Self::setNotesButtonIndicators()
{
    const FTPerson* p = m_person;
    m_birthNotesButton->setText(SelfPageTexts::notesButtonTitle(p && p->birth() ? p->birth()->notes() : QString()));
    m_deathNotesButton->setText(SelfPageTexts::notesButtonTitle(p && p->death() ? p->death()->notes() : QString()));
    const QString summary = SelfPageTexts::otherEventsSummary(p);
    // Too long for its line, the summary ends in an ellipsis, whole in its tip.
    m_otherEvents->setText(summary);
    m_otherEvents->setToolTip(summary);
}

void InfoArea_Self::setLastChangeDate()
{
    m_lastChangeDate = m_person ? m_person->latestChangeDate() : QDateTime();
    m_lastChange->setText(SelfPageTexts::lastChangeText(m_lastChangeDate));
}

void InfoArea_Self::editNotes(int tag)
{
    if (!m_person || (tag != BirthNotesButton && tag != DeathNotesButton))
        return;
    endEditing();
    auto* dialog = new NotesDialog;
    dialog->setOwner(m_person, tag == BirthNotesButton ? QStringLiteral("3") : QStringLiteral("4"), true);
    QPointer<InfoArea_Self> self(this);
    connect(dialog, &QDialog::finished, this, [self] {
        if (self)
            self->refreshDisplay();
    });
    dialog->present(NotesDialog::Sheet, window());
}

void InfoArea_Self::invokeDetailsDialog()
{
    if (!m_person)
        return;
    endEditing();
    m_person->invokeAddChildDialog();
    refreshDisplay();
}

void InfoArea_Self::displayLastChangeDates()
{
    if (!m_person)
        return;
    endEditing();
    Prompts::current().showMe(LocalizedString(QStringLiteral("LastChangeDates")), m_person->latestChanges());
}

void InfoArea_Self::displayPersonalTimeline()
{
    if (!m_person)
        return;
    EditorHooks::run(EditorHooks::shared().personalTimeline, "PersonalTimeline", window(), m_person);
}
