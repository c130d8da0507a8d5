#include "tools/EventNamesEditing.h"

#include "tools/UndoPass.h"

#include "shell/DisplayMsg.h"
#include "shell/Utils.h"

#include "model/FTEvent.h"
#include "model/FTEventType.h"
#include "model/FTMoc.h"
#include "model/FTPerson.h"

#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"
#include "platform/Prompts.h"
#include "platform/store/ReleasingWalk.h"
#include "platform/store/TextMatch.h"

#include <QSet>

#include <algorithm>

namespace {
const Key kName("name");

QString L(const char* key) { return LocalizedString(QString::fromLatin1(key)); }

bool textBefore(const QString& a, const QString& b)
{
    const int c = a.compare(b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a < b;
}

// The name the event holds itself, without the type's name that name() gives an unnamed event.
QString storedName(const FTEvent* e) { return e->stringValue(kName); }
}

EventNamesEditing::EventNamesEditing(FTMoc* moc)
    : m_moc(moc)
{
}

QStringList EventNamesEditing::eventSubtypes() const
{
    QStringList out;
    if (!m_moc)
        return out;
    for (const QString& name : Utils::otherPersonalEventTypesArray()) {
        const FTEventType* type = m_moc->eventTypeForEventTypeName(name);
        if (type && !type->events().isEmpty())
            out << name;
    }
    return out;
}

void EventNamesEditing::setSubtypeFilter(const QString& typeName)
{
    m_subtypeFilter = typeName;
    m_eventNameFilter.clear();
    refreshEventNamesArray();
}

void EventNamesEditing::setEventNameFilter(const QString& text)
{
    m_eventNameFilter = text;
    refreshEventNamesArray();
}

void EventNamesEditing::refreshEventNamesArray()
{
    m_eventNames.clear();
    if (!m_moc)
        return;
    if (!m_subtypeFilter.isEmpty()) {
        const FTEventType* type = m_moc->eventTypeForEventTypeName(m_subtypeFilter);
        if (!type)
            return;
        QStringList names = m_moc->eventNamesForSubtype(type->gedcomCode());
        if (!m_eventNameFilter.isEmpty())
            names.removeIf([this](const QString& n) { return !TextMatch::contains(n, m_eventNameFilter); });
        // The type's own name is offered for every type; it is listed only when some event of the type holds it.
        const QString own = type->name();
        const QList<FTEvent*> ofType = type->events();
        if (std::none_of(ofType.begin(), ofType.end(), [&own](const FTEvent* e) { return storedName(e) == own; }))
            names.removeAll(own);
        m_eventNames = names;
        return;
    }
    QSet<QString> distinct;
    ReleasingWalk walk(*m_moc);
    m_moc->forEachObject(QString::fromLatin1(FTEvent::kEntityName), [&distinct, &walk](ManagedObject* o) {
        walk.releasePoint();
        const auto* e = static_cast<const FTEvent*>(o);
        if (e->type() == FTEvent::OtherPersonalEvent) {
            const QString name = storedName(e);
            if (!name.isEmpty())
                distinct.insert(name);
        }
        return true;
    });
    m_eventNames = QStringList(distinct.begin(), distinct.end());
    std::sort(m_eventNames.begin(), m_eventNames.end(), textBefore);
}

int EventNamesEditing::yearValue(const QString& text)
{
    const QString t = text.trimmed();
    qsizetype n = 0;
    while (n < t.size() && t[n].isDigit() && n < 9)
        ++n;
    return t.left(n).toInt();
}

QList<FTEvent*> EventNamesEditing::eventsNamed(const QString& name) const
{
    if (!m_moc || name.isEmpty())
        return {};
    ReleasingWalk walk(*m_moc);
    if (m_eventYearFilter.isEmpty())
        return m_moc->fetch<FTEvent>([&name, &walk](const FTEvent* e) {
            walk.releasePoint();
            return storedName(e) == name;
        });
    const int year = yearValue(m_eventYearFilter);
    return m_moc->fetch<FTEvent>([&name, year, &walk](const FTEvent* e) {
        walk.releasePoint();
        return e->year() == year && storedName(e) == name;
    });
}

bool EventNamesEditing::renameEventName(const QString& oldName, const QString& newName, const QList<FTEvent*>& events)
{
    if (!m_moc || newName == oldName)
        return false;
    {
        UndoPass pass(m_moc, QStringLiteral("%1: %2 -> %3").arg(L("RenameEventName"), oldName, newName));
        // The attribute itself: the name setter's upkeep of the names list counts every event once per call.
        for (FTEvent* e : events)
            e->setString(kName, newName);
    }
    m_moc->resetEventNames();
    m_moc->saveMoc();
    DisplayMsg(QStringLiteral("%1 %2 \"%3\" %4 \"%5\".")
                   .arg(events.size())
                   .arg(L("occurrencesOf"), oldName, L("areReplaced"), newName));
    m_eventYearFilter.clear();
    refreshEventNamesArray();
    return true;
}

bool EventNamesEditing::deleteEvent(FTEvent* event, const std::function<void()>& letGo)
{
    if (!m_moc || !event)
        return false;
    const QString question = QStringLiteral("%1 %2 %3 %4?")
                                 .arg(L("DeleteEvent"), event->eventDescription(), L("ConjunctiveFor"), event->ownerName());
    if (Prompts::current().choose(question, {}, {L("OK"), L("Cancel")}) != 0)
        return false;
    const QString actionName
        = QStringLiteral("%1 %2 %3 %4").arg(L("Delete"), event->subtype(), L("EventFor"), event->ownerName());
    if (letGo)
        letGo();
    {
        UndoPass pass(m_moc, actionName);
        m_moc->deleteObject(event);
    }
    m_moc->resetEventNames();
    m_moc->saveMoc();
    NotificationCenter::defaultCenter().post(QStringLiteral("RefreshAllViews"), nullptr, m_moc);
    return true;
}
