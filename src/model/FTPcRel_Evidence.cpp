#include "model/FTPcRel.h"

#include "model/NineMonths.h"
#include "model/FTEvent.h"
#include "model/FTPerson.h"
#include "model/Inconsistency.h"

#include "platform/Localizer.h"
#include "platform/UserDefaults.h"

bool FTPcRel::evidenceValueForKey(const QString& key) const
{
    return extraDataMap().value(key).toBool();
}

void FTPcRel::setEvidenceValue(bool value, const QString& key)
{
    setExtraDataValue(key, value);
}

int FTPcRel::certainty() const
{
    const QCborValue stored = extraDataMap().value(QStringLiteral("certainty"));
    if (stored.isInteger() && stored.toInteger() != kCertaintyNotSet)
        return int(stored.toInteger());
    return reasonsForUncertainty().isEmpty() ? 50 : 20;
}

void FTPcRel::setCertainty(int value)
{
    setExtraDataValue(QStringLiteral("certainty"), value);
}

QString FTPcRel::evidenceAsString() const
{
    const std::pair<bool, const char*> flags[] = {
        { directEvidence(), "Direct" },
        { indirectEvidence(), "Indirect" },
        { primaryInformation(), "Primary" },
        { secondaryInformation(), "Secondary" },
        { originalSource(), "Original" },
        { derivativeSource(), "Derivative" },
    };
    QStringList words;
    for (const auto& [set, key] : flags)
        if (set)
            words << LocalizedString(QString::fromLatin1(key));
    return words.join(QStringLiteral(", "));
}

QString FTPcRel::evidenceAsBinaryString() const
{
    const QCborValue stored = extraDataMap().value(QStringLiteral("certainty"));
    QString text = QStringLiteral("%1 ").arg(stored.isInteger() ? stored.toInteger() : -1);
    for (bool flag : { directEvidence(), indirectEvidence(), primaryInformation(), secondaryInformation(),
             originalSource(), derivativeSource() })
        text += flag ? QLatin1Char('1') : QLatin1Char('0');
    return text == QLatin1String("-1 000000") ? QString() : text;
}

namespace {
QString hisOrHer(const FTPerson* p)
{
    return p->isMale() ? LocalizedString("his") : LocalizedString("her");
}

QString dateText(const FTEvent* e)
{
    return e ? e->date() : QString();
}

// The sort key of an event's date; 0 for no event.
quint32 lDate(const FTEvent* e)
{
    return e ? e->lDate() : 0;
}

// A person's own dates: more than 110 years of life, or a death before the birth.
void checkOwnDates(const FTPerson* p, quint32 born, quint32 died, QList<Inconsistency>& out)
{
    FTPerson* person = const_cast<FTPerson*>(p);
    if (died >= born + (110u << 16))
        out << Inconsistency(person,
            QStringLiteral("%1 %2 %3 %4 %5")
                .arg(p->name(), LocalizedString("AgeChk1"), p->ageAtDeath(), LocalizedString("AgeChk2"),
                    LocalizedString("death")));
    else if (born > died)
        out << Inconsistency(person,
            QStringLiteral("%1'%2 %3 %4")
                .arg(p->name(), LocalizedString("AgeChk4"), hisOrHer(p), LocalizedString("birthDate")));
}

void checkNoDates(const FTPerson* p, QList<Inconsistency>& out)
{
    if (dateText(p->birth()).isEmpty() && dateText(p->death()).isEmpty())
        out << Inconsistency(
            const_cast<FTPerson*>(p), QStringLiteral("%1 %2").arg(p->name(), LocalizedString("NoDates")));
}

void checkCitations(const FTPerson* p, QList<Inconsistency>& out)
{
    if (p->sourceRels().isEmpty())
        out << Inconsistency(const_cast<FTPerson*>(p),
            QStringLiteral("%1 %2").arg(p->nameWithBirthAndDeathYears(), LocalizedString("NoCitations")));
}
}

QList<Inconsistency> FTPcRel::reasonsForUncertainty() const
{
    QList<Inconsistency> out;
    const FTPerson* p = parent();
    FTPerson* c = child();
    if (!p || !c)
        return out;
    const quint32 cb = lDate(c->birth());
    const quint32 cd = lDate(c->death());
    const quint32 pb = lDate(p->birth());
    const quint32 pd = lDate(p->death());

    // The parent's age at the birth.
    int age = c->birth() ? c->birth()->yearsSince(p->birth()) : 0;
    if (age == 0 && cb && pb)
        age = c->birth()->year() - p->birth()->year();
    if (age != 0 || (cb && pb)) {
        const bool doubtful = (p->isMale() && (age < 15 || age > 70)) || (p->isFemale() && (age < 15 || age > 45));
        if (doubtful)
            out << Inconsistency(c,
                QStringLiteral("%1 %2 %3 %4 %5 %6'%7")
                    .arg(p->isMale() ? LocalizedString("Father") : LocalizedString("Mother"),
                        p->nameWithBirthAndDeathYears(), LocalizedString("AgeChk1"))
                    .arg(age)
                    .arg(LocalizedString("AgeChk2"), c->firstName(), LocalizedString("AgeChk3")));
    }

    if (cb) {
        // A parent who died before the birth; a father may have died up to nine months before it.
        if (pd) {
            const quint32 limit = p->isMale() ? nineMonthsAfter(pd) : pd;
            if (limit < cb) {
                if (p->isMale())
                    out << Inconsistency(c,
                        QStringLiteral("%1 %2, %3 %4 %5")
                            .arg(LocalizedString("FatherDied1"), dateText(p->death()), LocalizedString("before"),
                                c->firstName(), LocalizedString("FatherDied3")));
                else
                    out << Inconsistency(c,
                        QStringLiteral("%1 %2, %3 %4 %5")
                            .arg(LocalizedString("MotherDied"), dateText(p->death()), LocalizedString("before"),
                                c->firstName(), LocalizedString("wasBorn")));
            }
        }
        // A child born before the parent.
        if (cb < pb)
            out << Inconsistency(c,
                QStringLiteral("%1 %2 %3 %4 %5 %6.")
                    .arg(c->nameWithBirthAndDeathYears(), LocalizedString("bornBefore"), hisOrHer(c),
                        p->isMale() ? LocalizedString("father") : LocalizedString("mother"),
                        p->nameWithBirthAndDeathYears(), LocalizedString("wasBorn")));
        if (cd)
            checkOwnDates(c, cb, cd, out);
    }
    if (pb && pd)
        checkOwnDates(p, pb, pd, out);

    checkNoDates(c, out);
    checkNoDates(p, out);

    if (UserDefaults::standard().boolForKey(QStringLiteral("cdCheckForMissingCitations"))) {
        checkCitations(p, out);
        checkCitations(c, out);
    }
    return out;
}
