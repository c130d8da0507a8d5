#include "tools/PlacesEditing.h"

#include "tools/PlaceEventsIndex.h"
#include "tools/UndoPass.h"

#include "shell/DisplayMsg.h"
#include "shell/Utils.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/FTSpouseRel.h"
#include "model/ModelProgress.h"

#include "platform/Localizer.h"
#include "platform/Prompts.h"
#include "platform/store/ReleasingWalk.h"
#include "platform/store/TextMatch.h"

#include <QSet>

#include <functional>

namespace {
const Key kPlace("place");
const Key kName("name");

QString L(const char* key) { return LocalizedString(QString::fromLatin1(key)); }

// The text without double quotes and blanks at either end.
QString trimQuotesAndBlanks(const QString& text)
{
    qsizetype from = 0, to = text.size();
    auto trimmed = [](QChar c) { return c == u'"' || c == u' '; };
    while (from < to && trimmed(text[from]))
        ++from;
    while (to > from && trimmed(text[to - 1]))
        --to;
    return text.mid(from, to - from);
}

// First letter of each blank-separated word in capitals, the rest in small letters.
QString capitalisedWords(const QString& text)
{
    QString out = text.toLower();
    bool wordStart = true;
    for (QChar& c : out) {
        if (c.isSpace()) {
            wordStart = true;
        } else if (wordStart) {
            c = c.toUpper();
            wordStart = false;
        }
    }
    return out;
}

QString eventOrEvents(qsizetype count) { return (count > 1 ? L("Events") : L("Event")).toLower(); }

// A place written as a change of the event's attribute: undoable and stamped like any edit, but without the place
// setter's upkeep of the places list, which counts every event of the database once per call. The caller has the
// list built again once, at the end.
void writePlace(FTEvent* event, const QString& place) { event->setString(kPlace, place); }
}

PlacesEditing::PlacesEditing(FTMoc* moc)
    : m_moc(moc)
{
}

// ---- The places list ----------------------------------------------------------------------------------------------

void PlacesEditing::setFilterText(const QString& text)
{
    m_filterWords.clear();
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        m_filterWords << TextMatch::fold(word);
}

bool PlacesEditing::matchesFilter(const QString& place, const QStringList& foldedWords)
{
    if (foldedWords.isEmpty())
        return true;
    const QString folded = TextMatch::fold(place);
    for (const QString& word : foldedWords) {
        if (folded.startsWith(word))
            continue;
        if (folded.contains(QLatin1Char(' ') + word) || folded.contains(QLatin1Char(',') + word))
            continue;
        return false;
    }
    return true;
}

void PlacesEditing::refreshPlaceNamesArray(bool save)
{
    if (!m_moc)
        return;
    if (save)
        m_moc->saveMoc();
    const QStringList all = m_moc->places();
    if (m_filterWords.isEmpty()) {
        m_places = all;
        return;
    }
    m_places.clear();
    for (const QString& place : all)
        if (matchesFilter(place, m_filterWords))
            m_places << place;
}

QList<FTEvent*> PlacesEditing::eventsAtPlaces(const QStringList& places) const
{
    if (!m_moc || places.isEmpty())
        return {};
    ReleasingWalk walk(*m_moc);
    if (places.size() == 1) {
        const QString& place = places.first();
        return m_moc->fetch<FTEvent>([&place, &walk](const FTEvent* e) {
            walk.releasePoint();
            return e->place() == place;
        });
    }
    const QSet<QString> wanted(places.begin(), places.end());
    return m_moc->fetch<FTEvent>([&wanted, &walk](const FTEvent* e) {
        walk.releasePoint();
        return wanted.contains(e->place());
    });
}

// ---- Changes ------------------------------------------------------------------------------------------------------

bool PlacesEditing::renamePlace(const QString& oldText, const QString& newText, const QList<FTEvent*>& events)
{
    if (!m_moc || newText == oldText)
        return false;
    {
        UndoPass pass(m_moc, QStringLiteral("%1: %2 -> %3").arg(L("RenameEventPlace"), oldText, newText));
        for (FTEvent* e : events)
            writePlace(e, newText);
    }
    m_moc->rebuildPlaces();
    DisplayMsg(QStringLiteral("%1 %2 \"%3\" %4 \"%5\".")
                   .arg(events.size())
                   .arg(L("occurrencesOf"), oldText, L("areReplaced"), newText));
    m_moc->saveMoc();
    return true;
}

int PlacesEditing::autoClean(bool prompted, ModelProgress* progress)
{
    if (!m_moc)
        return 0;
    int total = 0;
    {
        UndoPass pass(m_moc, L("CleanPlaceNames"));
        if (prompted) {
            PlaceEventsIndex index(*m_moc);
            const QStringList visit = m_places;
            for (const QString& place : visit) {
                const QString tidy = Utils::cleanPlaceName(place);
                if (tidy == place)
                    continue;
                const QList<FTEvent*> events = index.events(place);
                // A place the stored list still names but no event holds any more has nothing to change.
                if (events.isEmpty())
                    continue;
                const QString question = QStringLiteral("%1\n\n%2\n\n%3\n\n%4\n\n%5 %6 %7")
                                             .arg(L("ChangePlaceName"), place, L("ConjunctiveTo"), tidy,
                                                  L("ConjunctiveIn"))
                                             .arg(events.size())
                                             .arg(eventOrEvents(events.size()));
                const bool blanks = place.startsWith(QLatin1Char(' ')) || place.contains(QLatin1String("  "));
                const int answer = Prompts::current().choose(
                    question, blanks ? L("PlaceWithLeadingSpace") : QString(), {L("Change"), L("Skip"), L("Stop")});
                if (answer == 2 || answer < 0)
                    break;
                if (answer == 1)
                    continue;
                for (FTEvent* e : events)
                    writePlace(e, tidy);
                index.move(place, tidy);
                total += int(events.size());
            }
        } else {
            ReleasingWalk walk(*m_moc);
            const QList<FTEvent*> candidates = m_moc->fetch<FTEvent>([&walk](const FTEvent* e) {
                walk.releasePoint();
                const QString place = e->place();
                return place.contains(QLatin1Char(',')) || place.contains(QLatin1Char('.'))
                    || place.startsWith(QLatin1Char(' '));
            });
            ModelProgress::Steps steps(progress, candidates.size(), 1);
            for (qsizetype i = 0; i < candidates.size(); ++i) {
                steps.at(i);
                walk.releasePoint();
                FTEvent* e = candidates[i];
                const QString tidy = Utils::cleanPlaceName(e->place());
                if (tidy == e->place())
                    continue;
                writePlace(e, tidy);
                ++total;
            }
        }
    }
    m_moc->rebuildPlaces();
    m_moc->saveMoc();
    refreshPlaceNamesArray(false);
    DisplayMsg(QStringLiteral("%1 %2%3 %4.")
                   .arg(total)
                   .arg(L("PlaceName"), total == 1 ? L("was") : L("wasPlural"), L("changed")));
    return total;
}

bool PlacesEditing::deleteMapInfo(FTEvent* event)
{
    if (!m_moc || !event || event->place().isEmpty())
        return false;
    const QString place = event->place();
    const QList<FTEvent*> atPlace = eventsAtPlaces({place});
    QList<FTEvent*> cleared{event};
    if (atPlace.size() > 1) {
        const qsizetype others = atPlace.size() - 1;
        const QString question = QStringLiteral("%1 %2 %3 %4 %5?")
                                     .arg(L("DeleteGeocodeFor"))
                                     .arg(others)
                                     .arg(L("other"), eventOrEvents(others), L("withSamePlaceName"));
        if (Prompts::current().choose(question, {}, {L("DeleteAll"), L("SelectedEventOnly")}) == 0)
            cleared = atPlace;
    }
    {
        UndoPass pass(m_moc, QStringLiteral("%1: %2").arg(L("ClearMapInformation"), place));
        for (FTEvent* e : std::as_const(cleared))
            e->saveGoogleMapUrl(QString());
    }
    m_moc->saveMoc();
    return true;
}

namespace {
// The moves of places into notes or names share their pass: progress, the undo step, the list built again.
int movePlaces(FTMoc* moc, const QList<FTEvent*>& events, const QString& actionName, ModelProgress* progress,
               const std::function<bool(FTEvent*, const QString& trimmed)>& move)
{
    if (!moc)
        return 0;
    if (events.isEmpty()) {
        DisplayMsg(L("SelectEventsTryAgain"));
        return 0;
    }
    int moved = 0;
    {
        UndoPass pass(moc, actionName);
        ModelProgress::Steps steps(progress, events.size(), 1);
        for (qsizetype i = 0; i < events.size(); ++i) {
            steps.at(i);
            FTEvent* e = events[i];
            if (move(e, trimQuotesAndBlanks(e->place()))) {
                writePlace(e, QString());
                ++moved;
            }
        }
    }
    moc->rebuildPlaces();
    moc->saveMoc();
    return moved;
}
}

int PlacesEditing::movePlaceNamesToNotes(const QList<FTEvent*>& events, ModelProgress* progress)
{
    return movePlaces(m_moc, events, L("MoveEventToNotes"), progress, [](FTEvent* e, const QString& trimmed) {
        if (trimmed.isEmpty())
            return false;
        const QString notes = e->notes();
        e->setNotes(notes.isEmpty() ? trimmed : QStringLiteral("%1 %2").arg(notes, trimmed));
        return true;
    });
}

int PlacesEditing::movePlaceNamesToNameField(const QList<FTEvent*>& events, ModelProgress* progress)
{
    const int moved = movePlaces(m_moc, events, L("MoveEventPlace"), progress, [](FTEvent* e, const QString&) {
        const QString name = placeAsEventName(e->place());
        if (name.isEmpty())
            return false;
        // The attribute itself: the name setter's upkeep of the names list counts every event once per call.
        e->setString(kName, name);
        return true;
    });
    if (m_moc && moved > 0)
        m_moc->resetEventNames();
    return moved;
}

// ---- Helpers ------------------------------------------------------------------------------------------------------

QString PlacesEditing::placeAsEventName(const QString& place)
{
    QString name = capitalisedWords(trimQuotesAndBlanks(place));
    if (name.isEmpty())
        return name;
    for (const char* key : {"ConjunctiveOr", "ConjunctiveOf", "ConjunctiveIn", "ConjunctiveAt", "ConjunctiveAnd",
                            "ConjunctiveThe", "ConjunctiveA", "ConjunctiveAn"}) {
        const QString word = L(key);
        name.replace(QLatin1Char(' ') + capitalisedWords(word) + QLatin1Char(' '),
                     QLatin1Char(' ') + word + QLatin1Char(' '));
    }
    name.remove(QLatin1Char('"'));
    return name;
}

FTPerson* PlacesEditing::personForEvent(const FTEvent* event)
{
    if (!event)
        return nullptr;
    if (FTPerson* person = event->person())
        return person;
    if (const FTSpouseRel* couple = event->spouseRel())
        return couple->husband() ? couple->husband() : couple->wife();
    return nullptr;
}
