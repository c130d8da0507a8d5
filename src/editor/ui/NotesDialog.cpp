#include "editor/ui/NotesDialog.h"

#include "editor/NotesDialogTexts.h"

#include "model/FTEvent.h"
#include "model/FTPerson.h"

#include "platform/FTLog.h"
#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"

#include <QTabWidget>

namespace {
// An empty text never makes a birth or death event of its own.
void writeEventNotes(FTPerson* p, const QString& event, const QString& value)
{
    const FTEvent* e = event == QLatin1String("birth") ? p->birth() : p->death();
    if (!e && value.isEmpty())
        return;
    if (e && e->notes() == value)
        return;
    p->setValueForKeyPath(event + QStringLiteral(".notes"), value);
}
}

NotesDialog::NotesDialog(QWidget* parent)
    : NotesWindow(parent)
{
    setObjectName(QStringLiteral("NotesDialog"));
    NotificationCenter::defaultCenter().addObserver(
        QStringLiteral("PersonToBeDeleted"), nullptr,
        [this](const Notification& n) {
            if (m_person && n.object == m_person)
                abandonOwner();
        },
        this);
    auto read = [this](const char* tab) {
        return [this, tab] { return NotesDialogTexts::notesTabText(QString::fromLatin1(tab), m_person); };
    };
    addTab(QStringLiteral("1"), QStringLiteral("tv_Notes"), read("1"), [this](const QString& v) {
        if (writable() && m_person->notes() != v)
            m_person->setNotes(v);
    });
    addTab(QStringLiteral("2"), QStringLiteral("tv_Comments"), read("2"), [this](const QString& v) {
        if (writable() && m_person->comments() != v)
            m_person->setComments(v);
    });
    addTab(QStringLiteral("3"), QStringLiteral("tv_BirthNotes"), read("3"), [this](const QString& v) {
        if (writable())
            writeEventNotes(m_person, QStringLiteral("birth"), v);
    });
    addTab(QStringLiteral("4"), QStringLiteral("tv_DeathNotes"), read("4"), [this](const QString& v) {
        if (writable())
            writeEventNotes(m_person, QStringLiteral("death"), v);
    });
}

NotesDialog::~NotesDialog()
{
    FTLog(QStringLiteral("dealloc NotesDialog"));
    NotificationCenter::defaultCenter().removeObserversOf(this);
}

void NotesDialog::setOwner(FTPerson* person, const QString& initialTab, bool isSheet)
{
    // A window shown again for someone else (or the same person) reloads every tab: what was typed goes first.
    commitEditing();
    m_person = person;
    m_initialTab = initialTab;
    setMoc(person ? person->moc() : nullptr);
    setSheet(isSheet);
    m_personName = person ? person->nameWithBirthAndDeathYears() : QString();
    setHeading(LocalizedString(QStringLiteral("NotesDialogTitle")).arg(m_personName),
               person ? person->nameWithBirthMarriageAndDeathInfo() : QString());
    load(initialTab);
}

bool NotesDialog::writable() const
{
    return m_person && !m_person->isDeleted();
}

void NotesDialog::setTabViewLabels()
{
    for (int i = 0; i < tabView()->count(); ++i)
        tabView()->setTabText(i, NotesDialogTexts::notesTabLabel(QString::number(i + 1), m_person));
}

void NotesDialog::freeMemory()
{
    m_person = nullptr;
    m_initialTab.clear();
    m_personName.clear();
    setMoc(nullptr);
}

