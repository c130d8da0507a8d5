#include "editor/RelativesPageRows.h"

#include "editor/PersonFields.h"

#include "model/FTPerson.h"

#include "platform/Localizer.h"

QList<Relative> RelativesPageRows::relatives(FTPerson* person, const Relatives::Options& options, long* count)
{
    Relatives list;
    list.createRelsArray(person, options);
    if (count)
        *count = person ? list.relativesCount() : 0;
    return list.pArray();
}

QList<Relative> RelativesPageRows::family(FTPerson* person)
{
    if (!person)
        return {};
    Relatives list;
    const auto group = [&](long added, bool separator = true) {
        if (added > 0 && separator)
            list.addEmptyRel();
    };
    group(list.loadParents(person));
    list.loadSelf(person);
    list.addEmptyRel();
    group(list.loadSpouses(person));
    group(list.loadChildren(person));
    // The page's own rule for siblings: a shared adoptive parent counts also against a natural link.
    for (FTPerson* sibling : person->siblings())
        list.addRelative(sibling, Relatives::siblingLabel(person, sibling, true));
    return list.pArray();
}

QString RelativesPageRows::relativesHeading(const FTPerson* person)
{
    return person ? QStringLiteral("%1 %2").arg(LocalizedString("RelativesOf"), person->name()) : QString();
}

QString RelativesPageRows::familyHeading(const FTPerson* person)
{
    return person ? LocalizedString("FamilyOf") + person->name() : QString();
}

QString RelativesPageRows::identifier(int column)
{
    static const char* const ids[] = {"relationship", "name",       "birthDate", "birthPlace",
                                      "deathDate",    "deathPlace", "ageAtDeath"};
    return column >= 0 && column < ColumnCount ? QString::fromLatin1(ids[column]) : QString();
}

QList<int> RelativesPageRows::columnWidths(int w)
{
    const auto share = [w](int factor) { return int(qint64(w) * factor / 930); };
    const int relationship = share(110);
    const int name = share(240);
    const int date = share(80);
    const int place = share(170);
    const int rest = w - relationship - name - 2 * date - 2 * place;
    return {relationship, name, date, place, date, place, std::max(0, rest)};
}

int RelativesPageRows::fieldTag(int column)
{
    switch (column) {
    case Name:
        return PersonFields::Name;
    case BirthDate:
        return PersonFields::BirthDate;
    case BirthPlace:
        return PersonFields::BirthPlace;
    case DeathDate:
        return PersonFields::DeathDate;
    case DeathPlace:
        return PersonFields::DeathPlace;
    default:
        return -1;
    }
}

QString RelativesPageRows::promoteMenuTitle(const FTPerson* person)
{
    return QStringLiteral("%1 %2 %3\t%4+%5")
        .arg(LocalizedString("Promote"), person ? person->name() : QString(), LocalizedString("toFocal"),
             LocalizedString("CtrlKey"), LocalizedString("Click"));
}

QList<int> RelativesPageRows::fitMinimums(QList<int> widths, const QList<int>& minimums)
{
    const auto minimum = [&](qsizetype c) { return c < minimums.size() ? minimums[c] : 0; };
    qint64 deficit = 0;
    qint64 slack = 0;
    for (qsizetype c = 0; c < widths.size(); ++c) {
        deficit += std::max(0, minimum(c) - widths[c]);
        slack += std::max(0, widths[c] - minimum(c));
    }
    if (deficit == 0)
        return widths;
    const qint64 taken = std::min(deficit, slack);
    qint64 left = taken;
    for (qsizetype c = 0; c < widths.size() && slack > 0; ++c) {
        const int room = std::max(0, widths[c] - minimum(c));
        const int take = int(std::min<qint64>(left, (taken * room + slack - 1) / slack));
        widths[c] -= take;
        left -= take;
    }
    for (qsizetype c = 0; c < widths.size(); ++c)
        widths[c] = std::max(widths[c], minimum(c));
    return widths;
}
