#include "merge/OtherDatabaseMerge.h"

#include "merge/MergeLists.h"
#include "merge/PersonFieldsMerge.h"

#include "shell/AlertHooks.h"
#include "shell/DisplayMsg.h"
#include "shell/Utils.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTMocUndoManager.h"
#include "model/FTPerson.h"

#include "platform/Localizer.h"

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

void beep()
{
    if (Utils::alertHooks().beep)
        Utils::alertHooks().beep();
}

bool isMarriageEvent(const FTEvent* event)
{
    return event->type() == FTEvent::MarriageEvent || event->type() == FTEvent::OtherMarriageEvent;
}
}

OtherDatabaseMerge::OtherDatabaseMerge(FTPerson* mergeFromPerson, FTPerson* mergeIntoPerson)
    : m_from(mergeFromPerson)
    , m_into(mergeIntoPerson)
    , m_moc1(mergeFromPerson ? mergeFromPerson->moc() : nullptr)
    , m_moc2(mergeIntoPerson ? mergeIntoPerson->moc() : nullptr)
{
    beginGroup();
}

OtherDatabaseMerge::~OtherDatabaseMerge()
{
    close();
}

void OtherDatabaseMerge::beginGroup()
{
    if (!m_moc2)
        return;
    UndoManager* undo = m_moc2->undoManager();
    // A change still waiting for the end of the turn is the user's own step, not part of the merge.
    undo->closeOpenGroups();
    undo->beginUndoGrouping();
    undo->setActionName(L("MergePersonFromDb"));
    m_open = true;
}

void OtherDatabaseMerge::close()
{
    if (!m_open)
        return;
    m_open = false;
    m_moc2->undoManager()->endUndoGrouping();
}

void OtherDatabaseMerge::mergeField(int tag, FTEvent* selectedEvent, QObject* window)
{
    if (!m_from || !m_into || !m_open)
        return;
    m_edited = true;
    if (tag == MergeTag::Relative) {
        beep();
        Utils::displayMsgAsSheet(window, L("NoMergeRels"));
        return;
    }
    if (tag == MergeTag::Event) {
        mergeSelectedEvent(selectedEvent, window);
        return;
    }
    PersonFieldsMerge::mergeField(tag, m_from, m_into, true);
}

void OtherDatabaseMerge::mergeSelectedEvent(FTEvent* fromEvent, QObject* window)
{
    if (!fromEvent) {
        Utils::displayMsgAsSheet(window, L("SelectEventTryAgain"));
        return;
    }
    const QString subtype = fromEvent->subtype();
    QList<FTEvent*> candidates;
    for (FTEvent* event : MergeLists::eventsWithMarriages(m_into))
        if (event->subtype() == subtype)
            candidates << event;
    if (isMarriageEvent(fromEvent) && candidates.isEmpty()) {
        DisplayMsg(QStringLiteral("%1 %2 %3").arg(L("MergeEvent1"), subtype, L("MergeEvent2")));
        return;
    }
    const QString fromDescription = fromEvent->eventDescription();
    for (FTEvent* candidate : candidates) {
        const QString description = candidate->eventDescription();
        if (description == fromDescription) {
            DisplayMsg(QStringLiteral("%1\n\n%2\n\n").arg(L("MergeEvent3"), description));
            return;
        }
        QString question;
        if (candidates.size() > 1)
            question = QStringLiteral("%1 %2 %3 %4 %5\n\n")
                           .arg(L("ConfirmMrgEvnt1"), QString::number(candidates.size()), L("ConfirmMrgEvnt2"),
                               subtype, L("ConfirmMrgEvnt3"));
        question += QStringLiteral("%1 \n\n%2\n\n %3 \n\n%4\n\n")
                        .arg(L("ConfirmMrgEvnt4"), fromDescription, L("ConjunctiveInto"), description);
        if (Utils::displayYesNoQuery(question, L("Merge"), L("Ignore"))) {
            mergeEvent(fromEvent, candidate, m_into);
            return;
        }
    }
    // A marriage belongs to a couple: without an event of its kind there is no couple here to give it to.
    if (fromEvent->type() == FTEvent::OtherPersonalEvent
        && Utils::displayYesNoQuery(L("ConfirmMrgEvnt5"), L("CreateEvent"), L("Ignore")))
        mergeEvent(fromEvent, nullptr, m_into);
}

FTEvent* OtherDatabaseMerge::mergeEvent(const FTEvent* from, FTEvent* into, FTManagedObject* owner)
{
    if (!from)
        return nullptr;
    if (!into) {
        if (!owner)
            return nullptr;
        into = FTEvent::initInMoc(owner->moc(), from->type(), owner, from->subtype());
        if (!into)
            return nullptr;
    }
    // The stored values: an event without a name of its own shows its tag's name, which is not a name to copy.
    into->setCauseOfEvent(from->causeOfEvent());
    into->setComments(from->comments());
    into->setDate(from->stringValue(Key("date")));
    into->setExtraData(from->extraData());
    into->setName(from->stringValue(Key("name")));
    into->setNotes(from->notes());
    into->setPlace(from->place());
    return into;
}

bool OtherDatabaseMerge::undoAll(QObject* window)
{
    if (!m_edited || !m_open) {
        beep();
        Utils::displayMsgAsSheet(window, L("NothingToUndo"));
        return false;
    }
    m_edited = false;
    m_moc2->undoManager()->undoNestedGroup();
    beginGroup();
    return true;
}
