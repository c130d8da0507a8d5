#include "diagrams/ui/PersonalDetails.h"

#include "diagrams/DiagramHooks.h"
#include "diagrams/PersonalDetailsTexts.h"
#include "diagrams/ui/HdWindowParts.h"

#include "shell/FieldValidation.h"

#include "model/BirthDateCheck.h"
#include "model/Dates.h"
#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTPerson.h"

#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"
#include "platform/Prompts.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QTimer>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

// A date field as the date check sees it.
class LineEditDate : public Dates::Field {
public:
    explicit LineEditDate(QLineEdit* edit)
        : m_edit(edit)
    {
    }
    QString string() const override { return m_edit->text(); }
    void setString(const QString& s) override { m_edit->setText(s); }
    void setTextRed(bool red) override
    {
        if (!red) {
            m_edit->setPalette(QPalette());
            return;
        }
        QPalette palette = m_edit->palette();
        palette.setColor(QPalette::Text, Qt::red);
        m_edit->setPalette(palette);
    }

private:
    QLineEdit* m_edit;
};

bool isBirthTag(int tag)
{
    return tag == PersonalDetails::BirthDateTag || tag == PersonalDetails::BirthPlaceTag;
}

QString eventKey(int tag)
{
    const bool date = tag == PersonalDetails::BirthDateTag || tag == PersonalDetails::DeathDateTag;
    return QStringLiteral("%1.%2").arg(isBirthTag(tag) ? QStringLiteral("birth") : QStringLiteral("death"),
        date ? QStringLiteral("date") : QStringLiteral("place"));
}

QLabel* rightAligned(const char* key)
{
    auto* label = new QLabel(L(key));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}
}

PersonalDetails::PersonalDetails(FTMoc* moc, QWidget* hierarchyWindow)
    : QWidget(hierarchyWindow, Qt::Tool)
    , m_moc(moc)
{
    setObjectName(QStringLiteral("PersonalDetails"));
    setWindowTitle(L("HdDetailsTitle"));
    HdWindowParts::applyPanelColour(this);
    makeControls();
    NotificationCenter& center = NotificationCenter::defaultCenter();
    center.addObserver(
        QStringLiteral("PersonNameOrDateChanged"), nullptr,
        [this](const Notification& n) { personNameOrDateChanged(n); }, this);
    center.addObserver(
        QStringLiteral("PersonToBeDeleted"), nullptr, [this](const Notification& n) { personToBeDeleted(n); }, this);
    // An undo refreshes every view without naming the people it took away.
    center.addObserver(QStringLiteral("RefreshHierarchyDiagram"), nullptr, [this](const Notification&) { personGone(); },
        this);
    setPerson(nullptr);
}

PersonalDetails::~PersonalDetails()
{
    NotificationCenter::defaultCenter().removeObserversOf(this);
    // A field with the focus ends its editing as it is destroyed with the window's children, after this part of
    // the window is gone: it must not call back here then.
    for (QLineEdit* edit : std::as_const(m_fields))
        disconnect(edit, nullptr, this, nullptr);
}

QLineEdit* PersonalDetails::addField(int tag, const QString& name)
{
    auto* edit = new QLineEdit;
    edit->setObjectName(name);
    m_fields.insert(tag, edit);
    connect(edit, &QLineEdit::editingFinished, this, [this, tag] { endEditing(tag); });
    edit->installEventFilter(this);
    return edit;
}

void PersonalDetails::makeControls()
{
    m_personDetails = new QTextBrowser;
    m_personDetails->setObjectName(QStringLiteral("personDetails"));
    m_personDetails->setOpenLinks(false);
    QFont font = m_personDetails->font();
    font.setPointSize(11);
    m_personDetails->document()->setDefaultFont(font);
    m_personDetails->document()->setDocumentMargin(5);
    m_personDetails->setMinimumHeight(120);

    m_consanguinityField = new QLabel;
    m_consanguinityField->setObjectName(QStringLiteral("consanguinity"));
    m_consanguinityField->setWordWrap(true);
    m_consanguinityField->setTextInteractionFlags(Qt::TextSelectableByMouse);

    QLineEdit* name = addField(NameTag, QStringLiteral("name"));
    QLineEdit* gender = addField(GenderTag, QStringLiteral("gender"));
    gender->setMaxLength(8);
    gender->setFixedWidth(gender->fontMetrics().horizontalAdvance(QStringLiteral("MMM")) + 16);
    const QString dateHelp = LocalizedHelpString(QStringLiteral("DateFormatHelp"));
    const int dateWidth = name->fontMetrics().horizontalAdvance(QStringLiteral("abt 30 Sep 2000")) + 16;
    for (const int tag : { BirthDateTag, DeathDateTag }) {
        QLineEdit* date
            = addField(tag, tag == BirthDateTag ? QStringLiteral("birthDate") : QStringLiteral("deathDate"));
        date->setToolTip(dateHelp);
        date->setFixedWidth(dateWidth);
    }
    addField(BirthPlaceTag, QStringLiteral("birthPlace"));
    addField(DeathPlaceTag, QStringLiteral("deathPlace"));
    using Texts = PersonalDetailsTexts;
    for (const int tag : { Texts::PersonNotes, Texts::BirthNotes, Texts::DeathNotes, Texts::Comments }) {
        auto* button = new QPushButton;
        button->setAutoDefault(false);
        button->setFocusPolicy(Qt::NoFocus);
        button->setObjectName(QStringLiteral("notes%1").arg(tag));
        connect(button, &QPushButton::clicked, this, [this, tag] { editNotes(tag); });
        m_notesButtons.insert(tag, button);
    }

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(6);
    grid->addWidget(rightAligned("HdDetailsName"), 0, 0);
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(name, 1);
    nameRow->addSpacing(6);
    nameRow->addWidget(new QLabel(L("HdDetailsGender")));
    nameRow->addWidget(gender);
    grid->addLayout(nameRow, 0, 1, 1, 3);
    grid->addWidget(rightAligned("HdDetailsBorn"), 1, 0);
    grid->addWidget(field(BirthDateTag), 1, 1);
    grid->addWidget(field(BirthPlaceTag), 1, 2);
    grid->addWidget(notesButton(Texts::BirthNotes), 1, 3);
    grid->addWidget(rightAligned("HdDetailsDied"), 2, 0);
    grid->addWidget(field(DeathDateTag), 2, 1);
    grid->addWidget(field(DeathPlaceTag), 2, 2);
    grid->addWidget(notesButton(Texts::DeathNotes), 2, 3);
    grid->addWidget(rightAligned("HdDetailsPerson"), 3, 0);
    auto* personRow = new QHBoxLayout;
    personRow->addWidget(notesButton(Texts::PersonNotes));
    personRow->addWidget(notesButton(Texts::Comments));
    personRow->addStretch(1);
    grid->addLayout(personRow, 3, 1, 1, 3);
    grid->setColumnStretch(2, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(HdWindowParts::makeButton("HdDetailsFamily", [this] {
        if (m_person && invokeFamilyDialog)
            invokeFamilyDialog(m_person);
    }));
    buttons->addWidget(HdWindowParts::makeButton("Close", [this] { close(); }));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 10, 12, 10);
    layout->setSpacing(8);
    layout->addWidget(m_personDetails, 1);
    layout->addWidget(m_consanguinityField);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    resize(500, 420);
}

int PersonalDetails::tagOf(const QWidget* field) const
{
    for (auto it = m_fields.cbegin(); field && it != m_fields.cend(); ++it)
        if (it.value() == field)
            return it.key();
    return 0;
}

bool PersonalDetails::endEditingFocusedField()
{
    const int tag = tagOf(focusWidget());
    return !tag || endEditing(tag);
}

bool PersonalDetails::endEditing()
{
    const int tag = tagOf(focusWidget());
    if (tag && tag == m_refusedNow)
        return false;
    return endEditingFocusedField();
}

void PersonalDetails::revert(int tag)
{
    if (!field(tag))
        return;
    showStored(tag);
    LineEditDate(field(tag)).setTextRed(false);
}

bool PersonalDetails::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        const int tag = tagOf(qobject_cast<QWidget*>(watched));
        if (tag && field(tag)->text() != m_shown.value(tag)) {
            revert(tag);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void PersonalDetails::setPerson(FTPerson* person)
{
    // What was being typed belongs to the person shown until now. A value it refuses is left behind, and the
    // keyboard with it: the keys typed next must not land in the next person's field.
    if (!endEditing()) {
        revert(tagOf(focusWidget()));
        focusWidget()->clearFocus();
    }
    m_person = person;
    for (QLineEdit* edit : std::as_const(m_fields))
        edit->setEnabled(person);
    for (QPushButton* button : std::as_const(m_notesButtons))
        button->setEnabled(person);
    setWindowTitle(person ? person->nameWithBirthAndDeathYears() : L("HdDetailsTitle"));
    // Even a field whose text was refused shows the new person's.
    fillFields(false);
    setNotesButtonIndicators();
    displayConsanguinity();
}

void PersonalDetails::setNotesButtonIndicators()
{
    for (auto it = m_notesButtons.cbegin(); it != m_notesButtons.cend(); ++it) {
        const QString title
            = PersonalDetailsTexts::notesButtonTitle(m_person, PersonalDetailsTexts::NotesButton(it.key()));
        it.value()->setText(title.isEmpty() ? L("NoNotes") : title);
    }
    fillDescription();
}

void PersonalDetails::displayConsanguinity()
{
    m_consanguinity = PersonalDetailsTexts::consanguinity(m_person);
    m_consanguinityField->setText(m_consanguinity);
    m_consanguinityField->setVisible(!m_consanguinity.isEmpty());
}

void PersonalDetails::fillDescription()
{
    m_personDetails->setHtml(m_person ? m_person->attributedDescription() : QString());
}

void PersonalDetails::fillFields(bool keepTyping)
{
    // The field being typed in has the focus, or gets it back when the user returns to this window. It keeps a
    // text that differs from what it was last shown (typed, or refused and waiting to be put right); one merely
    // clicked in shows the change, or leaving it would write the old value back.
    const QWidget* focused = focusWidget();
    for (auto it = m_fields.cbegin(); it != m_fields.cend(); ++it) {
        if (keepTyping && it.value() == focused && it.value()->text() != m_shown.value(it.key()))
            continue;
        showStored(it.key());
        LineEditDate(it.value()).setTextRed(false);
    }
}

void PersonalDetails::showStored(int tag)
{
    const QString value = read(tag);
    m_shown.insert(tag, value);
    field(tag)->setText(value);
}

QString PersonalDetails::read(int tag) const
{
    if (!m_person)
        return {};
    switch (tag) {
    case NameTag:
        return m_person->name();
    case GenderTag:
        return m_person->gender();
    default: {
        const FTEvent* event = isBirthTag(tag) ? m_person->birth() : m_person->death();
        if (!event)
            return {};
        return tag == BirthDateTag || tag == DeathDateTag ? event->date() : event->place();
    }
    }
}

void PersonalDetails::write(int tag, const QString& value)
{
    switch (tag) {
    case NameTag:
        m_person->setName(value);
        break;
    case GenderTag:
        m_person->setGender(value);
        break;
    default:
        // An empty value never makes an empty event.
        if (!(isBirthTag(tag) ? m_person->birth() : m_person->death()) && value.isEmpty())
            return;
        m_person->setValueForKeyPath(eventKey(tag), value);
        break;
    }
}

bool PersonalDetails::personGone()
{
    if (!m_person || !m_person->isDeleted())
        return false;
    // What was typed belonged to a person who is no longer there: nothing is written.
    m_person = nullptr;
    close();
    return true;
}

bool PersonalDetails::endEditing(int tag)
{
    QLineEdit* edit = field(tag);
    if (!m_person || !edit || m_validating || personGone())
        return true;
    const QString typed = edit->text();
    if (typed == read(tag))
        return true;
    m_validating = true;
    const int escapes = Prompts::escapedAlerts();
    FieldValidation v { true, typed, {}, {} };
    switch (tag) {
    case NameTag:
        v = ValidateNameField(typed);
        break;
    case GenderTag:
        v = ValidateGenderFieldEditor(typed, m_person);
        break;
    case BirthPlaceTag:
    case DeathPlaceTag:
        v = ValidatePlaceField(typed);
        break;
    case BirthDateTag:
    case DeathDateTag: {
        // The birth date is weighed against the births of the person's parents and children.
        LineEditDate date(edit);
        const Dates::Person checked = BirthDateCheckPerson(m_person);
        v.accepted = Dates::validateDateField(date, tag == BirthDateTag ? &checked : nullptr);
        v.text = edit->text();
        break;
    }
    default:
        break;
    }
    if (!v.accepted) {
        if (edit->text() != v.text)
            edit->setText(v.text);
        v.report();
        m_validating = false;
        // Escape in the alert: the user gives the edit up.
        if (Prompts::escapedAlerts() != escapes) {
            revert(tag);
            return true;
        }
        edit->setFocus();
        m_refusedNow = tag;
        QTimer::singleShot(0, this, [this] { m_refusedNow = 0; });
        return false;
    }
    if (!v.message.isEmpty())
        v.report();
    FTPerson* person = m_person;
    write(tag, v.text);
    if (m_moc)
        m_moc->deferredSave();
    // An alert's event loop may have moved the window to another person; the field shows what is stored.
    if (m_person == person) {
        showStored(tag);
        fillDescription();
    }
    m_validating = false;
    return true;
}

void PersonalDetails::editNotes(int tag)
{
    const QString tab = PersonalDetailsTexts::notesTab(tag);
    if (!m_person || tab.isEmpty() || personGone())
        return;
    const auto& notesDialog = DiagramHooks::shared().notesDialog;
    if (!DiagramHooks::isAvailable(notesDialog, L("HdNotesWindow")))
        return;
    FTPerson* person = m_person;
    notesDialog(person, tab);
    if (m_person == person)
        setNotesButtonIndicators();
}

void PersonalDetails::personNameOrDateChanged(const Notification& n)
{
    if (!m_person || n.context != m_moc || personGone())
        return;
    // A field being typed in keeps what was typed.
    fillFields(true);
    fillDescription();
    setWindowTitle(m_person->nameWithBirthAndDeathYears());
}

void PersonalDetails::personToBeDeleted(const Notification& n)
{
    // The window never shows a person who is gone.
    if (m_person && n.object == static_cast<const void*>(m_person)) {
        m_person = nullptr;
        close();
    }
}

void PersonalDetails::closeEvent(QCloseEvent* event)
{
    endEditingFocusedField();
    m_person = nullptr;
    event->accept();
    if (onClosed)
        onClosed();
}
