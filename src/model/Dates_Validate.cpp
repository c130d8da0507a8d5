#include "model/Dates.h"

#include "platform/Localizer.h"
#include "platform/Prompts.h"

namespace {

bool isMale(const QString& gender) { return gender == LocalizedString(QStringLiteral("MaleShort")); }

QString hisOrHer(const QString& gender)
{
    return isMale(gender) ? LocalizedString(QStringLiteral("his")) : LocalizedString(QStringLiteral("her"));
}

QString sonOrDaughter(const QString& gender)
{
    return isMale(gender) ? LocalizedString(QStringLiteral("son")) : LocalizedString(QStringLiteral("daughter"));
}

QString fatherOrMother(const QString& gender)
{
    return isMale(gender) ? LocalizedString(QStringLiteral("father")) : LocalizedString(QStringLiteral("mother"));
}

// Whole years between two packed keys, rounded down (the keys keep the year above bit 16).
int yearGap(quint32 later, quint32 earlier) { return int((qint64(later) - qint64(earlier)) >> 16); }

QString n(qint64 v) { return QString::number(v); }

} // namespace

QString Dates::birthGapWarnings(quint32 enteredKey, int enteredYear, const Person& person)
{
    QString out;
    if (enteredKey == 0)
        return out;
    // The formats below are built with the multi-argument arg(), which substitutes in one pass, so a
    // name holding "%1" is printed as it is.
    for (const Relative& child : person.children) {
        if (child.birthKey == 0)
            continue;
        const int g = yearGap(child.birthKey, enteredKey);
        if (g > 60)
            out += QStringLiteral("%1 (born %2) would have been %3 years old when %4 %5 %6 was born in %7\n\n")
                       .arg(person.name, n(enteredYear), n(g), hisOrHer(person.gender), sonOrDaughter(child.gender),
                            child.firstName, n(child.birthYear));
        else if (g >= 1 && g <= 12)
            out += QStringLiteral("%1 (born %2) would have been only %3 years old when %4 %5 %6 was born in %7\n\n")
                       .arg(person.name, n(enteredYear), n(g), hisOrHer(person.gender), sonOrDaughter(child.gender),
                            child.firstName, n(child.birthYear));
        else if (g <= 0)
            out += QStringLiteral("%1 (born %2) would have been born %3 years after %4 %5 %6 was born in %7\n\n")
                       .arg(person.name, n(enteredYear), n(-g), hisOrHer(person.gender), sonOrDaughter(child.gender),
                            child.firstName, n(child.birthYear));
    }
    for (const Relative& parent : person.parents) {
        if (parent.birthKey == 0)
            continue;
        const int g = yearGap(enteredKey, parent.birthKey);
        if (g > 60)
            out += QStringLiteral("%1's %2 %3 (born %4) would have been %5 years old when %6 was born in %7\n\n")
                       .arg(person.name, fatherOrMother(parent.gender), parent.firstName, n(parent.birthYear), n(g),
                            person.firstName, n(enteredYear));
        else if (g >= 1 && g <= 12)
            out += QStringLiteral("%1's %2 %3 (born %4) would have been only %5 years old when %6 was born in %7\n\n")
                       .arg(person.name, fatherOrMother(parent.gender), parent.firstName, n(parent.birthYear), n(g),
                            person.firstName, n(enteredYear));
        else if (g <= 0)
            out += QStringLiteral("%1 (born %2) would have been born %3 years before %4 %5 %6 (born %7)\n\n")
                       .arg(person.name, n(enteredYear), n(-g), hisOrHer(person.gender),
                            fatherOrMother(parent.gender), parent.firstName, n(parent.birthYear));
    }
    return out;
}

bool Dates::validateDateField(Field& field, const Person* person)
{
    QString s = field.string();
    s.replace(QLatin1Char('\n'), QLatin1Char(' '))
        .replace(QLatin1Char('\r'), QLatin1Char(' '))
        .replace(QLatin1Char('\t'), QLatin1Char(' '));
    while (s.contains(QLatin1String("  ")))
        s.replace(QLatin1String("  "), QLatin1String(" "));
    s = s.trimmed();

    if (s == QLatin1String("Y") || s == QLatin1String("y")) {
        field.setTextRed(false);
        field.setString(QStringLiteral("Y"));
        return true;
    }

    const std::optional<DateValue> v = getDateComponents(s);
    if (!v) {
        field.setTextRed(true);
        if (s != field.string())
            field.setString(s);
        Prompts::current().message(LocalizedHelpString(QStringLiteral("DateFormatHelp")));
        return false;
    }

    if (person) {
        const QString warnings = birthGapWarnings(v->longDate(), v->year(), *person);
        if (!warnings.isEmpty())
            Prompts::current().choose(LocalizedString(QStringLiteral("InconsistentDateWarning")), warnings,
                                      {LocalizedString(QStringLiteral("IWillFixItNow"))});
    }

    field.setTextRed(false);
    field.setString(v->text());
    return true;
}
