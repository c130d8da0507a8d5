#include "tools/PlacesReplacement.h"

#include "tools/PlaceEventsIndex.h"
#include "tools/UndoPass.h"

#include "shell/DisplayMsg.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/ModelProgress.h"

#include "platform/Localizer.h"
#include "platform/Prompts.h"
#include "platform/store/TextMatch.h"

namespace {
const Key kPlace("place");

QString L(const char* key) { return LocalizedString(QString::fromLatin1(key)); }
}

PlacesReplacement::PlacesReplacement(FTMoc* moc)
    : m_moc(moc)
{
    if (m_moc)
        m_foundPlaces = m_moc->places();
}

void PlacesReplacement::setFindString(const QString& text)
{
    m_findString = text;
    if (!m_moc)
        return;
    const QStringList all = m_moc->places();
    if (m_findString.isEmpty()) {
        m_foundPlaces = all;
        return;
    }
    m_foundPlaces.clear();
    for (const QString& place : all)
        if (TextMatch::contains(place, m_findString, TextMatch::Exact))
            m_foundPlaces << place;
}

QString PlacesReplacement::replacementStringFor(const QString& place) const
{
    if (m_findString.isEmpty() || place.isEmpty())
        return {};
    QString out = place;
    return out.replace(m_findString, m_replacementString, Qt::CaseSensitive);
}

int PlacesReplacement::confirmReplacementOf(const QString& oldText, const QString& newText, int eventCount)
{
    if (eventCount <= 0)
        return Ignore;
    const QString question = QStringLiteral("%1\n\n%2\n\n%3\n\n%4\n\n%5 %6 %7")
                                 .arg(L("ReplacePlaceName"), oldText, L("ReplacePlaceWith"), newText, L("ConjunctiveIn"))
                                 .arg(eventCount)
                                 .arg((eventCount > 1 ? L("Events") : L("Event")).toLower());
    // Closing the question stops the run: the last button, which closing gives otherwise, replaces everything.
    constexpr int kAbortButton = 2;
    const int button = Prompts::current().chooseWithEscape(L("EventFindAndReplace"), question, {},
        {L("ReplacePlaceButton"), L("Ignore"), L("Abort"), L("ReplaceAllNoPrompt")}, kAbortButton);
    switch (button) {
    case 0:
        return Replace;
    case 1:
        return Ignore;
    case 3:
        return ReplaceAll;
    default:
        return Abort;
    }
}

PlacesReplacement::Outcome PlacesReplacement::replaceSelectedPlaceNames(
    const QList<int>& selectedRows, const std::function<void(int row)>& deselect, ModelProgress* progress,
    const std::function<void(int row)>& visit)
{
    Outcome outcome;
    if (!m_moc)
        return outcome;
    if (m_findString.isEmpty()) {
        DisplayMsg(L("EnterFindTryAgain"));
        return outcome;
    }
    if (selectedRows.isEmpty()) {
        DisplayMsg(L("SelectRows"));
        return outcome;
    }
    outcome.ran = true;
    if (progress)
        progress->setPercent(0);
    {
        const QString actionName
            = QStringLiteral("%1: %2 -> %3").arg(L("ReplaceEventPlaceNames"), m_findString, m_replacementString);
        UndoPass pass(m_moc, actionName);
        PlaceEventsIndex index(*m_moc);
        int visited = 0;
        int answer = Ignore;
        for (const int row : selectedRows) {
            if (row < 0 || row >= m_foundPlaces.size())
                continue;
            ++visited;
            if (progress && visited % 10 == 0) {
                progress->setStatus(QString::number(outcome.events));
                progress->setPercent(int(qint64(visited) * 100 / selectedRows.size()));
            }
            if (visit)
                visit(row);
            const QString place = m_foundPlaces[row];
            const QString newText = replacementStringFor(place);
            const QList<FTEvent*> events = index.events(place);
            if (events.isEmpty()) {
                if (deselect)
                    deselect(row);
                continue;
            }
            if (answer != ReplaceAll)
                answer = confirmReplacementOf(place, newText, int(events.size()));
            if (answer == Abort)
                break;
            if (answer == Replace || answer == ReplaceAll) {
                ++outcome.places;
                for (FTEvent* e : events) {
                    ++outcome.events;
                    e->setString(kPlace, newText);
                }
                index.move(place, newText);
            }
            if (deselect)
                deselect(row);
        }
    }
    m_moc->rebuildPlaces();
    m_moc->saveMoc();
    m_findString.clear();
    m_replacementString.clear();
    m_foundPlaces = m_moc->places();
    DisplayMsg(QStringLiteral("%1 %2 %3 %4")
                   .arg(outcome.places)
                   .arg(L("placesUpdated"))
                   .arg(outcome.events)
                   .arg(L("Events").toLower()));
    return outcome;
}
