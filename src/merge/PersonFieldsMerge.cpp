#include "merge/PersonFieldsMerge.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTPerson.h"

#include "platform/UserDefaults.h"

#include <QScopeGuard>

namespace {
const QString kUppercaseFamilyName = QStringLiteral("uppercaseFamilyName");

// The stored texts, not the display ones: an event's name() falls back on its tag's name and date() may show the
// Hebrew calendar, and neither is what the other person holds.
QString stored(const FTEvent* event, const char* key)
{
    return event ? event->stringValue(Key(key)) : QString();
}

// Birth or death: date, place and notes, in this order. A person without the event gets one only when there is
// something to copy into it.
void mergeEvent(const FTEvent* from, FTPerson* into, int type)
{
    FTEvent* target = type == FTEvent::BirthEvent ? into->birth() : into->death();
    const QString date = stored(from, "date");
    const QString place = stored(from, "place");
    const QString notes = stored(from, "notes");
    if (!target && date.isEmpty() && place.isEmpty() && notes.isEmpty())
        return;
    if (!target)
        target = FTEvent::initInMoc(into->moc(), type, into, QString());
    if (!target)
        return;
    target->setDate(date);
    target->setPlace(place);
    target->setNotes(notes);
}

const QList<PersonFieldsMerge::Field> kFields = {
    { "p1NameColour", "name" },
    { "p1GenderColour", "gender" },
    { "p1BirthDateColour", "birth.date" },
    { "p1BirthPlaceColour", "birth.place" },
    { "p1BirthNotesColour", "birth.notes" },
    { "p1DeathDateColour", "death.date" },
    { "p1DeathPlaceColour", "death.place" },
    { "p1DeathNotesColour", "death.notes" },
    { "p1TitleColour", "title" },
    { "p1CauseOfDeathColour", "causeOfDeath" },
    { "p1NotesColour", "notes" },
    { "p1CommentsColour", "comments" },
};
}

QString PersonFieldsMerge::appended(const QString& into, const QString& from)
{
    if (from.isEmpty())
        return QString();
    return into.isNull() ? from : into + QLatin1Char('\n') + from;
}

bool PersonFieldsMerge::mergeField(int tag, const FTPerson* from, FTPerson* into, bool nameAsStored)
{
    if (!from || !into)
        return false;
    switch (tag) {
    case MergeTag::Name: {
        UserDefaults& defaults = UserDefaults::standard();
        const bool uppercase = defaults.boolForKey(kUppercaseFamilyName);
        // Whatever leaves this block (a message's event loop, an exception from a hook) puts the default back.
        const auto restore = qScopeGuard([&] {
            if (nameAsStored)
                defaults.setBool(kUppercaseFamilyName, uppercase);
        });
        if (nameAsStored)
            defaults.setBool(kUppercaseFamilyName, false);
        into->setName(from->name());
        return true;
    }
    case MergeTag::Birth:
        mergeEvent(from->birth(), into, FTEvent::BirthEvent);
        return true;
    case MergeTag::Death:
        mergeEvent(from->death(), into, FTEvent::DeathEvent);
        return true;
    case MergeTag::Title:
        into->setTitle(from->title());
        return true;
    case MergeTag::CauseOfDeath:
        into->setCauseOfDeath(from->causeOfDeath());
        return true;
    case MergeTag::NotesReplaced:
        into->setNotes(from->notes());
        return true;
    case MergeTag::NotesAppended:
        if (const QString text = appended(into->notes(), from->notes()); !text.isNull())
            into->setNotes(text);
        return true;
    case MergeTag::CommentsReplaced:
        into->setComments(from->comments());
        return true;
    case MergeTag::CommentsAppended:
        if (const QString text = appended(into->comments(), from->comments()); !text.isNull())
            into->setComments(text);
        return true;
    default:
        return false;
    }
}

const QList<PersonFieldsMerge::Field>& PersonFieldsMerge::fields()
{
    return kFields;
}

QString PersonFieldsMerge::text(const FTPerson* person, const char* keyPath)
{
    if (!person)
        return QString();
    const QString path = QString::fromLatin1(keyPath);
    if (path.startsWith(QLatin1String("birth.")) || path.startsWith(QLatin1String("death."))) {
        const FTEvent* event = path.startsWith(QLatin1String("birth.")) ? person->birth() : person->death();
        return event ? event->valueForKey(path.mid(6)).toString() : QString();
    }
    return person->valueForKey(path).toString();
}

bool PersonFieldsMerge::differs(const FTPerson* from, const FTPerson* into, const Field& field)
{
    return text(from, field.keyPath) != text(into, field.keyPath);
}
