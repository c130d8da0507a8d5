#include "editor/SelfPageTexts.h"

#include "model/BirthDateCheck.h"
#include "model/FTEvent.h"
#include "model/FTPerson.h"

#include "platform/Localizer.h"

#include <QDateTime>
#include <QLocale>

#include <algorithm>

QString SelfPageTexts::notesButtonTitle(const QString& notes)
{
    return LocalizedString(notes.isEmpty() ? QStringLiteral("NoNotes") : QStringLiteral("NotesPresent"));
}

QString SelfPageTexts::otherEventsSummary(const FTPerson* person)
{
    if (!person)
        return {};
    return otherEventsSummary(person->otherEvents() + person->marriageEvents());
}

QString SelfPageTexts::otherEventsSummary(QList<FTEvent*> events)
{
    events.removeAll(nullptr);
    std::stable_sort(events.begin(), events.end(), [](const FTEvent* a, const FTEvent* b) {
        return a->lDateForEventsListSort() < b->lDateForEventsListSort();
    });
    QString out;
    for (const FTEvent* e : events) {
        if (!out.isEmpty())
            out += QStringLiteral(",  ");
        const QString date = e->date();
        out += e->subtype();
        if (!date.isEmpty())
            out += QLatin1Char(' ') + QString(date).replace(QLatin1Char('-'), QLatin1Char(' '));
    }
    return out;
}

bool SelfPageTexts::isMultiLine(const QString& notes)
{
    return notes.contains(QLatin1Char('\n')) || notes.contains(QLatin1Char('\r'));
}

Dates::Person SelfPageTexts::birthDateCheckPerson(const FTPerson* person)
{
    return BirthDateCheckPerson(person);
}

QString SelfPageTexts::lastChangeText(const QDateTime& when)
{
    if (!when.isValid())
        return {};
    return QLocale::c().toString(when, QStringLiteral("dd MMM yyyy 'at' HH:mm"));
}
