// The person page's tables of many rows: the events with their notes, the near relatives and the sources.

#include "publishing/PublishAsHtml.h"

#include "publishing/HtmlWords.h"

#include "publishing/HtmlEscape.h"

#include "model/EventInfo.h"
#include "model/FTEvent.h"
#include "model/FTPerson.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"
#include "model/Relatives.h"
#include "platform/Localizer.h"

#include <algorithm>

namespace {
const QString& L(const char* key)
{
    return htmlWord(key);
}
QString T(const QString& text)
{
    return HtmlEscape::text(text);
}
QString css(const char* key)
{
    return HtmlEscape::attribute(L(key));
}
// The anchor of a numbered target on a page ("Note3", "Source12"): the word is a text of the table, made safe
// for a fragment link.
QString numberedAnchor(const char* word, int number)
{
    return HtmlEscape::anchor(L(word)) + QString::number(number);
}

QString notesWithLds(const FTEvent* event, bool cleaned)
{
    const QString notes = cleaned ? HtmlEscape::multiline(event->notes()) : T(event->notes().trimmed());
    const QString lds = T(event->ldsStatusAndTempleCode());
    if (!notes.isEmpty() && !lds.isEmpty())
        return QStringLiteral("%1; %2").arg(notes, lds);
    return notes.isEmpty() ? lds : notes;
}

bool hasLineBreak(const QString& text)
{
    for (const QChar c : text)
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c.unicode() == 0x2028 || c.unicode() == 0x2029)
            return true;
    return false;
}

// The citations the sources section lists, by source number: the person's own (those of the person's events
// among them) and their couples'.
QList<FTSourceRel*> citationsOnPage(FTPerson* person)
{
    QList<FTSourceRel*> out = person->allSourceRels();
    std::stable_sort(out.begin(), out.end(), [](const FTSourceRel* a, const FTSourceRel* b) {
        if (a->source()->numericId() != b->source()->numericId())
            return a->source()->numericId() < b->source()->numericId();
        return a->numericId() < b->numericId();
    });
    return out;
}
} // namespace

// ---- Events -----------------------------------------------------------------------------------------------------

void PublishAsHtml::writeEventsFor(FTPerson* person, QString& out) const
{
    if (m_privacy->depersonalizeDetailsOfPerson(person))
        return;
    const std::vector<std::unique_ptr<EventInfo>> rows = person->createEventInfoArray(m_options.includeOthersEvents);
    if (rows.empty())
        return;
    const bool notesColumn = m_options.includeEventNotes;
    out += QStringLiteral("<table class='%1'>\n").arg(css("cssEventsTable"));
    out += QStringLiteral("<tr><td colspan='%1' class='%2'>%3 %4'%5 %6</td></tr>\n")
               .arg(notesColumn ? 6 : 5)
               .arg(css("cssTableHeader"), T(L("EventsIn")), T(person->nameWithBirthAndDeathYears()),
                    T(L("possessiveSuffix")), T(L("life")));
    out += QLatin1String("<tr>\n");
    for (const char* column : {"Date", "Age", "Event", "Place"})
        out += QStringLiteral("<td class='%1'>%2</td>\n").arg(css("cssColumnHeader"), T(L(column)));
    if (notesColumn)
        out += QStringLiteral("<td  class='%1'>%2</td>\n").arg(css("cssColumnHeader"), T(L("Notes")));
    out += QStringLiteral("<td  class='%1'>%2</td>\n").arg(css("cssColumnHeader"), T(L("SourceShort")));
    out += QLatin1String("</tr>\n");

    int counter = 0;
    QList<FTEvent*> noted;
    const FTEvent* born = person->birth();
    for (const auto& row : rows) {
        FTEvent* event = row->pEvent();
        FTPerson* owner = row->owner();
        if (!event)
            continue;
        const bool own = owner == person;
        // Another person's row names that person: a hidden owner's rows are left out, not only suppressed ones.
        if (owner && m_privacy->isHidden(owner) && !own)
            continue;
        if (!m_options.includeOthersEvents && !own)
            continue;
        QString text = T(row->eventName());
        if (!own && owner && m_peopleSet.contains(owner)) {
            const QString name = T(owner->name());
            const qsizetype at = name.isEmpty() ? -1 : text.indexOf(name);
            if (at >= 0)
                text.replace(at, name.size(), QStringLiteral("<a href='%1'>%2</a>").arg(pageLinkTo(owner), name));
        }
        const int years = born ? event->yearsSince(born) : 0;
        out += QLatin1String("<tr>\n");
        out += QStringLiteral("<td class='%1'>%2</td>\n").arg(css("cssDate"), T(event->date()));
        out += QStringLiteral("<td class='%1'>%2</td>\n").arg(css("cssAge"), years > 0 ? QString::number(years) : QString());
        out += QStringLiteral("<td class='%1'>%2</td>\n").arg(css("cssName"), text);
        out += QStringLiteral("<td class='%1'>%2</td>\n").arg(css("cssPlace"), placeReferenceFor(event));
        if (notesColumn)
            out += QStringLiteral("<td class='%1'>%2</td>\n").arg(css("cssNotes"), eventNotesRef(event, counter, noted));
        out += QStringLiteral("<td class='%1'>%2</td>\n")
                   .arg(css("cssSourceRefs"), own ? referencesToEventSources(event) : T(row->sourceNumbers()));
        out += QLatin1String("</tr>\n");
    }
    out += QLatin1String("</table>\n");

    out += QStringLiteral("<table class='%1'>\n").arg(css("cssNotesTable"));
    for (qsizetype n = 0; n < noted.size(); ++n) {
        const QString note = notesWithLds(noted[n], true);
        if (note.isEmpty())
            continue;
        out += QStringLiteral("<tr><td><a name='%1'><b>%2 %3:</b> %4</a></td></tr>\n")
                   .arg(numberedAnchor("Note", int(n + 1)), T(L("Note")))
                   .arg(n + 1)
                   .arg(note);
    }
    out += QLatin1String("</table>\n");
}

QString PublishAsHtml::eventNotesRef(FTEvent* event, int& counter, QList<FTEvent*>& notedEvents) const
{
    if (!m_options.includeEventNotes)
        return {};
    const QString raw = event->notes().trimmed();
    const QString lds = event->ldsStatusAndTempleCode();
    const QString text = !raw.isEmpty() && !lds.isEmpty() ? QStringLiteral("%1; %2").arg(raw, lds)
                                                           : (raw.isEmpty() ? lds : raw);
    if (text.isEmpty())
        return {};
    if (text.size() <= 30 && !hasLineBreak(text))
        return T(text);
    ++counter;
    notedEvents << event;
    return QStringLiteral("<a href='#%1'>%2 %3</a>").arg(numberedAnchor("Note", counter), T(L("Note"))).arg(counter);
}

QString PublishAsHtml::referencesToEventSources(FTEvent* event) const
{
    QList<int> numbers;
    for (const FTSourceRel* c : event->sourceRels())
        if (c->source() && !numbers.contains(c->source()->numericId()))
            numbers << c->source()->numericId();
    std::sort(numbers.begin(), numbers.end());
    QStringList parts;
    for (const int n : numbers)
        // Linked only where the page's sources section holds the target.
        parts << (m_options.includeSources
                      ? QStringLiteral("<a href='#%1'>%2</a>").arg(numberedAnchor("Source", n)).arg(n)
                      : QString::number(n));
    return parts.join(QStringLiteral(", "));
}

// ---- Near relatives ---------------------------------------------------------------------------------------------

void PublishAsHtml::writeRelativesOf(FTPerson* person, QString& out) const
{
    if (m_privacy->depersonalizeDetailsOfPerson(person))
        return;
    Relatives list;
    list.createRelsArray(person);
    out += QStringLiteral("<table class='%1'>\n").arg(css("cssRelativesTable"));
    out += QStringLiteral("<tr><td colspan='7' class='%1'>%2 %3</td></tr>\n")
               .arg(css("cssRelativesHeader"), T(L("NearRelativesOf")), T(person->nameWithBirthAndDeathYears()));
    out += QLatin1String("<tr>\n");
    for (const char* column : {"Relationship", "Person", "Born", "BirthPlace", "Died", "DeathPlace", "Age"})
        out += QStringLiteral("<td class='%1'>%2</td>\n").arg(css("cssRelativesHeader"), T(L(column)));
    out += QLatin1String("</tr>\n");

    for (const Relative& row : list.pArray()) {
        FTPerson* relative = row.person();
        if (!relative) {
            out += QStringLiteral("<tr>\n<td class='%1' colspan='7'><br/></td>\n</tr>\n").arg(css("cssRelativesSeparatorLine"));
            continue;
        }
        const bool self = relative == person;
        const QString b = self ? QStringLiteral("<b>") : QString();
        const QString e = self ? QStringLiteral("</b>") : QString();
        const auto cell = [&](const QString& content) { return QStringLiteral("<td>%1%2%3</td>\n").arg(b, content, e); };
        out += QLatin1String("<tr>\n");
        out += cell(T(row.relationship()));
        if (m_privacy->isHidden(relative)) {
            out += cell(T(L("IsAliveOrRecentlyDead")));
            for (int i = 0; i < 5; ++i)
                out += QLatin1String("<td></td>\n");
            out += QLatin1String("</tr>\n");
            continue;
        }
        if (!self && m_peopleSet.contains(relative))
            out += QStringLiteral("<td><a href='%1'>%2</a></td>\n").arg(pageLinkTo(relative), T(relative->name()));
        else
            out += cell(T(relative->name()));
        const FTEvent* birth = relative->birth();
        const FTEvent* death = relative->death();
        out += cell(birth ? T(birth->date()) : QString());
        out += cell(placeReferenceFor(birth));
        out += cell(death ? T(death->date()) : QString());
        out += cell(placeReferenceFor(death));
        out += cell(T(relative->ageAtDeath().trimmed()));
        out += QLatin1String("</tr>\n");
    }
    out += QLatin1String("</table>\n");
}

// ---- Sources ----------------------------------------------------------------------------------------------------

void PublishAsHtml::writeSourcesFor(FTPerson* person, QString& out) const
{
    if (m_privacy->depersonalizeDetailsOfPerson(person))
        return;
    const QList<FTSourceRel*> citations = citationsOnPage(person);
    if (citations.isEmpty())
        return;
    out += QStringLiteral("<table class='%1'>\n<tr><td><b>%2:</b></td></tr>\n")
               .arg(css("cssNotesTable"), T(L("SourceReferences")));
    const FTSource* previous = nullptr;
    for (const FTSourceRel* citation : citations) {
        const FTSource* source = citation->source();
        if (source != previous) {
            if (previous)
                out += QLatin1String("<tr></tr>\n");
            QString description = source->shortDescription();
            description.replace(QLatin1Char('\n'), QStringLiteral(", "));
            out += QStringLiteral("<tr><td>\n<a name='%1'></a><b>%2.</b> %3</td></tr>\n")
                       .arg(numberedAnchor("Source", source->numericId()))
                       .arg(source->numericId())
                       .arg(T(description));
            previous = source;
        }
        const QString reference = citation->reference();
        const QString item = citation->itemDescribed();
        if (!reference.isEmpty() || !item.isEmpty()) {
            out += QStringLiteral("<tr><td>\n    -    %1 = %2").arg(T(L("Reference")), T(reference));
            if (!item.isEmpty())
                out += QStringLiteral(" (%1)").arg(T(item));
            out += QLatin1String("</td></tr>\n");
        }
        if (m_options.includeSourceRefsNotes) {
            const QString notes = cleanHtmlString(citation->notes());
            if (!notes.isEmpty())
                out += QStringLiteral("<tr><td>-   %1: %2</td></tr>\n").arg(T(L("Notes")), notes);
        }
    }
    out += QLatin1String("</table>\n");
}
