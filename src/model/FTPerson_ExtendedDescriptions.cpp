#include "model/FTPerson.h"

#include "model/FTEvent.h"
#include "model/FTPicture.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"
#include "model/FTSpouseRel.h"

#include "platform/Localizer.h"

#include <algorithm>

namespace {
// Collects the summary as plain text, or as rich text in which the name and the section headings are bold.
class SummaryWriter {
public:
    explicit SummaryWriter(bool styled)
        : m_styled(styled)
    {
    }

    void text(const QString& s) { add(s, false); }
    void bold(const QString& s) { add(s, true); }
    bool styled() const { return m_styled; }

    QString result() const
    {
        if (!m_styled)
            return m_out;
        return QStringLiteral("<html><body><p style=\"white-space:pre-wrap; font-family:'Arial'; font-size:12pt; "
                              "color:#000000;\">")
            + m_out + QStringLiteral("</p></body></html>");
    }

private:
    void add(const QString& s, bool isBold)
    {
        if (!m_styled) {
            m_out += s;
            return;
        }
        QString html = s.toHtmlEscaped();
        html.replace(QLatin1Char('\n'), QLatin1String("<br />"));
        if (isBold && !s.isEmpty())
            m_out += QStringLiteral("<span style=\"font-weight:700;\">") + html + QStringLiteral("</span>");
        else
            m_out += html;
    }

    bool m_styled;
    QString m_out;
};

QString at(const QString& place)
{
    return QStringLiteral(" %1 %2").arg(LocalizedString("ConjunctiveAt"), place);
}

bool hasDateOrPlace(const FTEvent* e)
{
    return e && (!e->date().isEmpty() || !e->place().isEmpty());
}

// "Name (1850), Name" for a list of people.
QString namesWithBirthYears(const QList<FTPerson*>& people)
{
    QStringList parts;
    for (const FTPerson* p : people) {
        QString part = p->name();
        const int year = p->birth() ? p->birth()->year() : 0;
        if (year != 0)
            part += QStringLiteral(" (%1)").arg(year);
        parts << part;
    }
    return parts.join(QStringLiteral(", "));
}

void writeSummary(const FTPerson* person, int options, SummaryWriter& w)
{
    w.bold(person->name());

    if (options & FTPerson::SummaryNumber)
        w.text(QStringLiteral(", ID %1").arg(person->numericId()));

    if ((options & FTPerson::SummaryTitle) && !person->title().isEmpty())
        w.text(QStringLiteral(", %1").arg(person->title()));

    const FTEvent* birth = person->birth();
    if ((options & FTPerson::SummaryBirth) && hasDateOrPlace(birth)) {
        QString s = QStringLiteral("\n %1. ").arg(LocalizedString("BirthShort")) + birth->date();
        if (!birth->place().isEmpty())
            s += at(birth->place());
        w.text(s);
    }

    const QList<FTSpouseRel*> couples = person->spouseRelsArray();
    if ((options & FTPerson::SummaryMarriages) && !couples.isEmpty()) {
        int number = 0;
        for (const FTSpouseRel* couple : couples) {
            ++number;
            const FTEvent* marriage = couple->marriage();
            QString s
                = marriage ? QStringLiteral("\n %1.").arg(LocalizedString("MarriageShort")) : QStringLiteral("\n +.");
            if (couples.size() > 1)
                s += QStringLiteral("(%1)").arg(number);
            if (marriage && !marriage->date().isEmpty())
                s += QLatin1Char(' ') + marriage->date();
            if (const FTPerson* partner = couple->partnerOf(person))
                s += QLatin1Char(' ') + partner->name();
            if (marriage && !marriage->place().isEmpty())
                s += at(marriage->place());
            w.text(s);
        }
    }

    const FTEvent* death = person->death();
    if ((options & FTPerson::SummaryDeath) && hasDateOrPlace(death)) {
        QString s = QStringLiteral("\n %1. ").arg(LocalizedString("DeathShort")) + death->date();
        if (!death->place().isEmpty())
            s += at(death->place());
        const QString age = person->ageAtDeath();
        if (!age.isEmpty() && age != QLatin1String(" "))
            s += QStringLiteral(" %1 %2").arg(LocalizedString("AgedAtDeath"), age);
        w.text(s);
    }

    if (options & FTPerson::SummaryParents) {
        const QList<FTPerson*> parents = person->naturalParents();
        if (!parents.isEmpty()) {
            QStringList names;
            for (const FTPerson* p : parents)
                names << p->nameWithBirthAndDeathYears();
            w.bold(QStringLiteral("\n\n%1: ").arg(LocalizedString("Parents")));
            w.text(names.join(QStringLiteral(", ")));
        }
    }

    const auto headedList = [&w](const QString& heading, const QList<FTPerson*>& people) {
        if (people.isEmpty())
            return;
        w.bold(QStringLiteral("\n\n%1 (%2): ").arg(heading).arg(people.size()));
        w.text(namesWithBirthYears(people));
    };
    if (options & FTPerson::SummaryChildren)
        headedList(LocalizedString("Children"), person->naturalChildren());
    if (options & FTPerson::SummarySiblings)
        headedList(LocalizedString("Siblings"), person->siblings());

    const auto headedText = [&w](const QString& heading, const QString& body) {
        if (body.isEmpty())
            return;
        w.bold(QStringLiteral("\n\n%1:\n").arg(heading));
        w.text(body);
    };
    if (options & FTPerson::SummaryBirthNotes)
        headedText(LocalizedString("BirthNotes"), birth ? birth->notes() : QString());
    if (options & FTPerson::SummaryDeathNotes)
        headedText(LocalizedString("DeathNotes"), death ? death->notes() : QString());
    if (options & FTPerson::SummaryNotes)
        headedText(LocalizedString("Notes"), person->notes());
    if (options & FTPerson::SummaryComments)
        headedText(LocalizedString("Comments"), person->comments());

    // The option bits alone decide whether other events, citations and pictures are written.
    if (options & FTPerson::SummaryOtherEvents) {
        QList<FTEvent*> events;
        for (FTEvent* e : person->otherEvents())
            if (!e->isDeleted())
                events << e;
        if (!events.isEmpty()) {
            std::stable_sort(events.begin(), events.end(),
                [](const FTEvent* a, const FTEvent* b) { return a->lDate() < b->lDate(); });
            w.bold(QStringLiteral("\n\n%1:\n").arg(LocalizedString("OtherEvents")));
            QString body;
            for (qsizetype i = 0; i < events.size(); ++i) {
                const FTEvent* e = events[i];
                QStringList parts;
                for (const QString& part : { e->date(), e->subtype(), e->name(), e->place() })
                    if (!part.isEmpty())
                        parts << part;
                if (parts.isEmpty())
                    continue;
                body += parts.join(QStringLiteral("; "));
                if (i != events.size() - 1)
                    body += QLatin1Char('\n');
            }
            w.text(body);
        }
    }

    if (options & FTPerson::SummarySources) {
        QList<FTSourceRel*> citations;
        for (FTSourceRel* c : person->allSourceRels())
            if (c->source())
                citations << c;
        if (!citations.isEmpty()) {
            std::stable_sort(citations.begin(), citations.end(), [](const FTSourceRel* a, const FTSourceRel* b) {
                return a->source()->numericId() < b->source()->numericId();
            });
            w.bold(QStringLiteral("\n\n%1:\n").arg(LocalizedString("SourceReferences")));
            QString body;
            const FTSource* previous = nullptr;
            for (const FTSourceRel* c : std::as_const(citations)) {
                const FTSource* source = c->source();
                if (source != previous) {
                    const QString heading
                        = QStringLiteral("%1. %2")
                              .arg(source->numericId())
                              .arg(source->shortDescription().replace(QLatin1Char('\n'), QLatin1String(", ")));
                    if (w.styled())
                        body += (previous ? QStringLiteral("\n\n") : QString()) + heading;
                    else
                        body += (previous ? QStringLiteral("\n") : QString()) + QLatin1Char('\n') + heading;
                    previous = source;
                }
                if (!c->reference().isEmpty()) {
                    body += QStringLiteral("\n  -  %1 = %2").arg(LocalizedString("Reference"), c->reference());
                    if (!c->itemDescribed().isEmpty())
                        body += QStringLiteral(" (%1)").arg(c->itemDescribed());
                }
            }
            w.text(body);
        }
    }

    if (options & FTPerson::SummaryPictures) {
        const int count = int(person->pictures().size());
        if (count > 0) {
            const QString word = count == 1 ? LocalizedString("Picture") : LocalizedString("Pictures");
            w.bold(QStringLiteral("\n\n%1: ").arg(LocalizedString("Pictures")));
            w.text(QStringLiteral("%1 %2\n").arg(count).arg(word));
        }
    }
}
}

QString FTPerson::extendedDescription(int options) const
{
    SummaryWriter w(false);
    writeSummary(this, options, w);
    return w.result();
}

QString FTPerson::extendedAttributedDescription(int options) const
{
    SummaryWriter w(true);
    writeSummary(this, options, w);
    return w.result();
}

QString FTPerson::nameWithBirthMarriageAndDeathInfo() const
{
    return extendedDescription(SummaryNumber | SummaryTitle | SummaryBirth | SummaryDeath | SummaryMarriages);
}

QString FTPerson::nameWithBirthMarriageAndDeathInfoPlusNotesAndComments() const
{
    return extendedDescription(SummaryAll);
}

QString FTPerson::attributedDescription() const
{
    return extendedAttributedDescription(SummaryAll);
}
