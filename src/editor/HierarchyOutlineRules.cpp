#include "editor/HierarchyOutlineRules.h"

#include "editor/PersonFields.h"

#include "model/FTPerson.h"
#include "model/RelationshipWords.h"

#include "platform/Localizer.h"

namespace {
QString branchTitle(const char* verbKey, bool ancestors, const FTPerson* person)
{
    const QString possessive = RelationshipWords::byGender(person, LocalizedString("his"), LocalizedString("her"), {});
    const QString kind = LocalizedString(ancestors ? "ancestors" : "descendants");
    QStringList words{LocalizedString(verbKey)};
    if (!possessive.isEmpty())
        words << possessive;
    words << kind;
    return words.join(QLatin1Char(' '));
}
}

QString HierarchyOutlineRules::identifier(int column)
{
    static const char* const ids[] = {"level", "name", "title", "birth.date", "birth.place", "birth.notes"};
    return column >= 0 && column < ColumnCount ? QString::fromLatin1(ids[column]) : QString();
}

int HierarchyOutlineRules::fieldTag(int column)
{
    switch (column) {
    case Name:
        return PersonFields::Name;
    case Title:
        return PersonFields::Title;
    case BirthDate:
        return PersonFields::BirthDate;
    case BirthPlace:
        return PersonFields::BirthPlace;
    case BirthNotes:
        return PersonFields::BirthNotes;
    default:
        return -1;
    }
}

QList<int> HierarchyOutlineRules::columnWidths(int w)
{
    const auto share = [w](int factor) { return int(qint64(w) * factor / 790); };
    return {share(25), share(240), share(125), share(100), share(150), share(150)};
}

QString HierarchyOutlineRules::heading(bool ancestors, const FTPerson* person)
{
    return QStringLiteral("%1 %2 %3").arg(LocalizedString(ancestors ? "Ancestors" : "Descendants"),
                                         LocalizedString("ConjunctiveOf"), person ? person->name() : QString());
}

QString HierarchyOutlineRules::expandAllTitle(bool ancestors, const FTPerson* person)
{
    return branchTitle("ExpandAll", ancestors, person);
}

QString HierarchyOutlineRules::collapseAllTitle(bool ancestors, const FTPerson* person)
{
    return branchTitle("CollapseAll", ancestors, person);
}
