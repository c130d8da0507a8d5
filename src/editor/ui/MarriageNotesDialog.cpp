#include "editor/ui/MarriageNotesDialog.h"

#include "editor/NotesDialogTexts.h"

#include "model/FTEvent.h"
#include "model/FTSpouseRel.h"

#include "platform/FTLog.h"
#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"

#include <QTabWidget>

MarriageNotesDialog::MarriageNotesDialog(QWidget* parent)
    : NotesWindow(parent)
{
    setObjectName(QStringLiteral("MarriageNotesDialog"));
    // The couple goes with either partner.
    NotificationCenter& center = NotificationCenter::defaultCenter();
    center.addObserver(
        QStringLiteral("SpouseRelToBeDeleted"), nullptr,
        [this](const Notification& n) {
            if (m_couple && n.object == m_couple)
                abandonOwner();
        },
        this);
    center.addObserver(
        QStringLiteral("PersonToBeDeleted"), nullptr,
        [this](const Notification& n) {
            if (m_couple && n.object && (n.object == m_husband || n.object == m_wife))
                abandonOwner();
        },
        this);
    addTab(
        QStringLiteral("1"), QStringLiteral("tv_MarriageNotes"),
        [this] { return m_couple && m_couple->marriage() ? m_couple->marriage()->notes() : QString(); },
        [this](const QString& v) {
            if (!m_couple || m_couple->isDeleted())
                return;
            FTEvent* marriage = m_couple->marriage();
            // An empty text never makes a marriage event of its own.
            if ((!marriage && v.isEmpty()) || (marriage && marriage->notes() == v))
                return;
            m_couple->setValueForKeyPath(QStringLiteral("marriage.notes"), v);
        });
    addTab(
        QStringLiteral("2"), QStringLiteral("tv_DivorceNotes"),
        [this] { return m_divorce ? m_divorce->notes() : QString(); },
        [this](const QString& v) {
            if (m_divorce && !m_divorce->isDeleted() && m_divorce->notes() != v)
                m_divorce->setNotes(v);
        });
}

MarriageNotesDialog::~MarriageNotesDialog()
{
    FTLog(QStringLiteral("dealloc MarriageNotesDialog"));
    NotificationCenter::defaultCenter().removeObserversOf(this);
}

void MarriageNotesDialog::setOwner(FTSpouseRel* couple, const QString& initialTab, bool isSheet)
{
    // A window shown again reloads every tab: what was typed goes first.
    commitEditing();
    m_couple = couple;
    setMoc(couple ? couple->moc() : nullptr);
    setSheet(isSheet);
    const NotesDialogTexts::Partners partners = NotesDialogTexts::partnersOf(couple);
    m_husband = partners.husband;
    m_wife = partners.wife;
    m_couplesNames = NotesDialogTexts::couplesNames(couple);
    m_divorce = NotesDialogTexts::divorceEventOf(couple);
    setHeading(LocalizedString(QStringLiteral("MarriageNotesDialogTitle")).arg(m_couplesNames),
               NotesDialogTexts::marriageNotesTitle(couple));
    load(initialTab == QLatin1String("2") && !m_divorce ? QStringLiteral("1") : initialTab);
}

void MarriageNotesDialog::setTabViewLabels()
{
    for (int i = 0; i < tabView()->count(); ++i) {
        const QString label = NotesDialogTexts::marriageTabLabel(QString::number(i + 1), m_couple, m_divorce);
        tabView()->setTabText(i, label);
        tabView()->setTabEnabled(i, label != NotesDialogTexts::noDivorceLabel());
    }
}

void MarriageNotesDialog::freeMemory()
{
    m_couple = nullptr;
    m_divorce = nullptr;
    m_husband = m_wife = nullptr;
    m_couplesNames.clear();
    setMoc(nullptr);
}

