#include "diagrams/CdPerson.h"

#include "diagrams/CdLayout.h"
#include "diagrams/CdWebContext.h"

#include "model/FTEvent.h"
#include "model/FTPerson.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"
#include "model/FTSpouseRel.h"

#include "platform/Localizer.h"

#include <QDateTime>
#include <QLocale>

#include <algorithm>

namespace {
const QChar kNoBreakSpace(0x00A0);
const QChar kMaleSymbol(0x2642);
const QChar kFemaleSymbol(0x2640);

QString word(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

int yearOf(const FTEvent* e)
{
    return e ? e->year() : 0;
}

// The events of the subtypes, oldest first, as "<date> <name>" joined by ", ".
QStringList eventsOf(const FTPerson* person, std::initializer_list<const char*> subtypes)
{
    QList<FTEvent*> events;
    for (const char* subtype : subtypes)
        events << person->otherEventsWithSubtype(QString::fromLatin1(subtype));
    std::stable_sort(events.begin(), events.end(),
                     [](const FTEvent* a, const FTEvent* b) { return a->lDate() < b->lDate(); });
    QStringList out;
    for (const FTEvent* e : std::as_const(events))
        out << QStringLiteral("%1 %2").arg(e->date(), e->name());
    return out;
}
}

QString CdPerson::ghostText() const
{
    if (m_ancLevel == kSpouse)
        return word("spouse");
    if (m_ancLevel == kChild)
        return word("child");
    if (m_pcRelType == 1)
        return isMale() ? word("father") : word("mother");
    return word("StepOrAdoptedParent");
}

bool CdPerson::showsGenderSymbol() const
{
    if (!m_pcd)
        return true;
    return isSelected() || m_pcd->options().showGenderSymbolsForAll;
}

QString CdPerson::genderSymbolPrefix() const
{
    if (!m_person || !showsGenderSymbol())
        return {};
    const bool male = m_person->gender() == LocalizedString(QStringLiteral("MaleShort"));
    return QString(male ? kMaleSymbol : kFemaleSymbol) + QLatin1Char(' ');
}

QString CdPerson::nameText() const
{
    QString name = m_pcd && m_pcd->options().nameOption == 0 ? m_person->name() : m_person->shortName();
    qsizetype from = 0;
    qsizetype to = name.size();
    const auto trimmed = [](QChar c) { return c == QLatin1Char('?') || c == QLatin1Char(' '); };
    while (from < to && trimmed(name.at(from)))
        ++from;
    while (to > from && trimmed(name.at(to - 1)))
        --to;
    name = name.mid(from, to - from);
    return name.isEmpty() ? QStringLiteral("?") : name;
}

QString CdPerson::yearsText() const
{
    const int b = yearOf(m_person->birth());
    const int d = yearOf(m_person->death());
    if (!b && !d)
        return {};
    if (b && d)
        return QStringLiteral(" %1%2-%2%3").arg(b).arg(kNoBreakSpace).arg(d);
    return b ? QStringLiteral(" %1.%2").arg(word("BirthShort")).arg(b)
             : QStringLiteral(" %1.%2").arg(word("DeathShort")).arg(d);
}

QString CdPerson::text() const
{
    if (!m_person)
        return ghostText();
    if (!m_pcd && m_web && m_web->privacyWord) {
        // The web pages say nothing of the people they hide.
        if (QString hidden = m_web->privacyWord(m_person); !hidden.isEmpty())
            return hidden;
    }
    QString out = genderSymbolPrefix() + nameText();
    const QString years = yearsText();
    if (m_bSpouse) {
        out += years;
        if (const int m = yearOf(m_marriageEvent))
            out += QStringLiteral("\n %1.%2").arg(word("MarriageShort")).arg(m);
        return out;
    }
    if (!years.isEmpty() && m_ancLevel < 4)
        out += QLatin1Char('\n');
    return out + years;
}

QString CdPerson::getTextString() const
{
    if (!m_person)
        return ghostText();
    const int option = m_pcd ? m_pcd->options().nameOption : 0;
    if (option <= 1)
        return text();
    const QString first = genderSymbolPrefix() + m_person->shortNameWithBirthAndDeathYears();
    const QString rest = textForOption(option);
    return rest.isEmpty() ? first : first + QLatin1Char('\n') + rest;
}

QString CdPerson::boxText() const
{
    if (m_textsKept)
        return m_keptText;
    QString text = getTextString();
    return text.isNull() ? this->text() : text;
}

void CdPerson::keepTexts()
{
    m_textsKept = false;
    m_keptText = boxText();
    m_keptSpousesIndicator = spousesIndicatorText();
    m_textsKept = true;
}

QString CdPerson::textForOption(int option) const
{
    const FTPerson* p = m_person;
    switch (option) {
    case 2:
        return p->title().isEmpty() ? word("NoTitOcc") : p->title();
    case 3: {
        QString out;
        const FTEvent* birth = p->birth();
        const FTEvent* death = p->death();
        const bool hasBirth = birth && (!birth->date().isEmpty() || !birth->place().isEmpty());
        const bool hasDeath = death && (!death->date().isEmpty() || !death->place().isEmpty());
        if (hasBirth) {
            out += word("Born");
            if (!birth->date().isEmpty())
                out += QLatin1Char(' ') + birth->date();
            if (!birth->place().isEmpty())
                out += QStringLiteral(" %1.").arg(birth->place());
        }
        if (hasDeath) {
            if (hasBirth)
                out += QLatin1Char('\n');
            out += QLatin1Char(' ') + word("Died");
            if (!death->date().isEmpty())
                out += QLatin1Char(' ') + death->date();
            if (!death->place().isEmpty())
                out += QStringLiteral(" %1.").arg(death->place());
        }
        return hasBirth || hasDeath ? out : word("NoBDData");
    }
    case 4: {
        const QList<FTSpouseRel*> couples = p->spouseRelsArray();
        if (couples.isEmpty())
            return word("NoSpouse");
        QStringList lines;
        for (qsizetype i = 0; i < couples.size(); ++i) {
            const FTSpouseRel* couple = couples[i];
            const FTEvent* marriage = couple->marriage();
            QString line = marriage ? word("MarriageShort") + QLatin1Char('.') : QStringLiteral("+.");
            if (couples.size() > 1)
                line += QStringLiteral("(%1)").arg(i + 1);
            if (marriage && !marriage->date().isEmpty())
                line += QLatin1Char(' ') + marriage->date();
            if (const FTPerson* partner = couple->partnerOf(p))
                line += QStringLiteral(" %1 ").arg(partner->name());
            if (marriage && !marriage->place().isEmpty())
                line += QStringLiteral(" %1 %2").arg(word("ConjunctiveAt"), marriage->place());
            lines << line;
        }
        return lines.join(QLatin1Char('\n'));
    }
    case 5: {
        const QList<FTPerson*> children = p->childrenOfType(9);
        if (children.isEmpty())
            return word("NoChildren");
        QString out = QStringLiteral("%1(%2): ").arg(word("Children")).arg(children.size());
        for (qsizetype i = 0; i < children.size(); ++i) {
            out += children[i]->firstName();
            if (i + 2 < children.size())
                out += QStringLiteral(", ");
            else if (i + 2 == children.size())
                out += QStringLiteral(" %1 ").arg(word("ConjunctiveAnd"));
        }
        return out;
    }
    case 6: {
        const QStringList events = eventsOf(p, {"IMMI", "EMIG"});
        if (events.isEmpty())
            return word("NoMigration");
        return QStringLiteral("%1(%2): ").arg(word("DiagOptMigration")).arg(events.size()) + events.join(QStringLiteral(", "));
    }
    case 7: {
        const QStringList events = eventsOf(p, {"CONF", "FCOM", "BASM", "BLES", "CHR", "CHRA", "BAPM", "BARM", "BAPL",
                                                "ENDL", "ORDN", "RELI", "CONL", "SLGC"});
        if (events.isEmpty())
            return word("NoRegEvents");
        return QStringLiteral("%1 (%2): ").arg(word("DiagOptReligious")).arg(events.size()) + events.join(QStringLiteral(", "));
    }
    case 8: {
        const QStringList events = eventsOf(p, {"BURI", "CREM"});
        if (events.isEmpty())
            return word("NoBurialCremations");
        return QStringLiteral("%1 (%2): ").arg(word("BurialCremations")).arg(events.size()) + events.join(QStringLiteral(", "));
    }
    case 9:
        return p->causeOfDeath().isEmpty() ? word("NoDeathCause")
                                           : QStringLiteral("%1: %2").arg(word("DiagOptDeathCause"), p->causeOfDeath());
    case 10:
        return m_consanguinity;
    case 11:
        return m_ahnentafelNumber;
    case 12: {
        QList<int> numbers;
        for (const FTSourceRel* citation : p->allSourceRels())
            numbers << (citation->source() ? citation->source()->numericId() : 0);
        std::stable_sort(numbers.begin(), numbers.end());
        QStringList parts;
        int previous = 0;
        for (const int n : std::as_const(numbers)) {
            if (n != previous)
                parts << QString::number(n);
            previous = n;
        }
        return parts.isEmpty() ? QString() : QStringLiteral("%1: ").arg(word("SourceNums")) + parts.join(QStringLiteral(", "));
    }
    case 13: {
        const QDateTime changed = p->latestChangeDate();
        if (!changed.isValid())
            return word("NoneRecorded");
        return QStringLiteral("%1: %2").arg(word("DiagOptLastChange"),
                                            QLocale::c().toString(changed.toLocalTime(), QStringLiteral("dd MMM yyyy 'at' HH:mm")));
    }
    default:
        return {};
    }
}

QColor CdPerson::boxColour() const
{
    const CdOptions& o = options();
    if (m_pcd) {
        if (isSelected())
            return o.selectedPersonColour;
        if (m_bSpouse)
            return o.spouseColour;
        if (m_inCurrentProjectView)
            return o.ancestralViewColour;
        return o.otherPersonColour;
    }
    if (m_ancLevel == kFocal)
        return o.selectedPersonColour;
    if (m_bSpouse)
        return o.spouseColour;
    if (m_inPeopleSet)
        return o.otherPersonColour;
    return Qt::white;
}

QColor CdPerson::textColour() const
{
    if (m_pcd)
        return m_bSpouse && m_inCurrentProjectView ? QColor(0, 128, 0) : QColor(Qt::black);
    return m_inPeopleSet ? QColor::fromRgbF(0, 0, 0.8, 1) : QColor(Qt::black);
}
