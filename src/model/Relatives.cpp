#include "model/Relatives.h"

#include "model/FTEvent.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"
#include "model/FTSpouseRel.h"
#include "model/RelationshipWords.h"

#include "platform/Localizer.h"
#include "platform/UserDefaults.h"

#include <QSet>

#include <algorithm>

using RelationshipWords::byGender;

namespace {
QString inLaw(const QString& word)
{
    return QStringLiteral("%1 %2").arg(word, LocalizedString("inLaw"));
}

bool isAdoptivePair(int a, int b, bool adoptedWithNatural)
{
    if (a == FTPcRel::kAdopted && b == FTPcRel::kAdopted)
        return true;
    return adoptedWithNatural
        && ((a == FTPcRel::kAdopted && b == FTPcRel::kNatural) || (a == FTPcRel::kNatural && b == FTPcRel::kAdopted));
}
}

Relatives::Options Relatives::Options::fromUserDefaults()
{
    UserDefaults& d = UserDefaults::standard();
    Options o;
    o.groups = 0;
    const struct {
        const char* key;
        Group group;
    } switches[] = {
        { "includeGrandParents", GrandParents },
        { "includeInLaws", InLaws },
        { "includeChildren", Children },
        { "includeSiblings", Siblings },
        { "includeGrandChildren", GrandChildren },
        { "includeGreatGrandChildren", GreatGrandChildren },
        { "includeAuntsAndUncles", AuntsAndUncles },
        { "includeCousins", Cousins },
        { "includeNephewsAndNieces", NephewsAndNieces },
    };
    for (const auto& s : switches)
        if (d.boolForKey(QString::fromLatin1(s.key)))
            o.groups |= s.group;
    o.adoptedWithNaturalCountsAsAdoptive = true;
    return o;
}

void Relatives::createRelsArray(FTPerson* person)
{
    createRelsArray(person, Options());
}

void Relatives::createRelsArray(FTPerson* person, const Options& options)
{
    m_rows.clear();
    m_count = 0;
    m_adoptedWithNatural = options.adoptedWithNaturalCountsAsAdoptive;
    if (!person)
        return;

    long relatives = 0;
    // One group: built when always wanted (0) or chosen, and followed by a separator when it added rows, unless
    // it is the last group of the list.
    const auto group = [&](unsigned flag, const auto& load, bool last = false) {
        if (flag != 0 && (options.groups & flag) == 0)
            return;
        const long added = load();
        relatives += added;
        if (added > 0 && !last)
            addEmptyRel();
    };
    using O = Options;
    group(O::GrandParents, [&] { return loadGrandParents(person); });
    group(O::InLaws, [&] { return loadParentsInLaw(person); });
    group(0, [&] { return loadParents(person); });
    loadSelf(person);
    addEmptyRel();
    group(0, [&] { return loadSpouses(person); });
    group(O::Children, [&] { return loadChildren(person); });
    group(O::Siblings, [&] { return loadSiblings(person); });
    group(O::InLaws, [&] { return loadChildrenInLaw(person); });
    group(O::GrandChildren, [&] { return loadGrandChildren(person); });
    group(O::GreatGrandChildren, [&] { return loadGreatGrandChildren(person); });
    group(O::AuntsAndUncles, [&] { return loadAuntsAndUncles(person); });
    group(O::Cousins, [&] { return loadCousins(person); });
    group(O::NephewsAndNieces, [&] { return loadNephewsAndNieces(person); });
    group(
        O::InLaws, [&] { return loadSiblingsInLaw(person); }, true);
    m_count = relatives + 1;
}

void Relatives::addRelative(FTPerson* person, const QString& relationship)
{
    m_rows << Relative(person, relationship);
}

void Relatives::addEmptyRel()
{
    m_rows << Relative();
}

long Relatives::loadGrandParents(FTPerson* person)
{
    const QList<FTPerson*> people = person->naturalGrandParents();
    for (FTPerson* p : people)
        addRelative(p,
            byGender(
                p, LocalizedString("Grandfather"), LocalizedString("Grandmother"), LocalizedString("Grandparent")));
    return people.size();
}

long Relatives::loadParentsInLaw(FTPerson* person)
{
    const QList<FTPerson*> people = person->parentsInLaw();
    for (FTPerson* p : people)
        addRelative(
            p, inLaw(byGender(p, LocalizedString("Father"), LocalizedString("Mother"), LocalizedString("Parent"))));
    return people.size();
}

QList<FTPcRel*> Relatives::sortedParentRels(const FTPerson* person)
{
    struct Keyed {
        FTPcRel* link;
        QString gender;
        int type;
        quint32 born;
    };
    QList<Keyed> keyed;
    for (FTPcRel* link : person->parentRels()) {
        const FTPerson* parent = link->parent();
        if (!parent)
            continue;
        keyed << Keyed { link, parent->gender(), link->intPcRelType(), parent->birth() ? parent->birth()->lDate() : 0 };
    }
    std::stable_sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
        const int g = a.gender.compare(b.gender);
        if (g != 0)
            return g > 0;
        if (a.type != b.type)
            return a.type < b.type;
        return a.born < b.born;
    });
    QList<FTPcRel*> links;
    for (const Keyed& k : keyed)
        links << k.link;
    return links;
}

long Relatives::loadParents(FTPerson* person)
{
    const QList<FTPcRel*> links = sortedParentRels(person);
    for (FTPcRel* link : links) {
        FTPerson* parent = link->parent();
        const QString word
            = byGender(parent, LocalizedString("Father"), LocalizedString("Mother"), LocalizedString("Parent"));
        addRelative(parent, RelationshipWords::withTypeWord(link->intPcRelType(), word));
    }
    return links.size();
}

long Relatives::loadSelf(FTPerson* person)
{
    addRelative(person, LocalizedString("Self"));
    return 1;
}

long Relatives::loadSpouses(FTPerson* person)
{
    const QList<FTPerson*> people = person->spouses();
    // What isMarriedTo() answers for each spouse, gathered in one pass over the couples: asking it spouse by
    // spouse would read every couple again for each of them.
    QSet<const FTPerson*> married;
    for (const FTSpouseRel* couple : person->spouseRels())
        if (couple->marriage())
            for (const FTPerson* partner : couple->partners())
                married.insert(partner);
    for (FTPerson* spouse : people) {
        // A married partner of unknown gender is neither husband nor wife.
        const QString label = married.contains(spouse)
            ? byGender(spouse, LocalizedString("Husband"), LocalizedString("Wife"), LocalizedString("Spouse/Partner"))
            : LocalizedString("Spouse/Partner");
        addRelative(spouse, label);
    }
    return people.size();
}

long Relatives::loadChildren(FTPerson* person)
{
    const QList<Relative> rows = person->loadChildRels();
    m_rows << rows;
    return rows.size();
}

QString Relatives::siblingLabel(const FTPerson* person, const FTPerson* sibling, bool adoptedWithNatural)
{
    int natural = 0;
    int adoptive = 0;
    const QList<FTPcRel*> mine = person->parentRels();
    for (const FTPcRel* theirs : sibling->parentRels()) {
        for (const FTPcRel* own : mine) {
            if (!own->parent() || own->parent() != theirs->parent())
                continue;
            const int a = theirs->intPcRelType();
            const int b = own->intPcRelType();
            if (a == FTPcRel::kNatural && b == FTPcRel::kNatural)
                ++natural;
            else if (isAdoptivePair(a, b, adoptedWithNatural))
                ++adoptive;
        }
    }
    const QString word
        = byGender(sibling, LocalizedString("Brother"), LocalizedString("Sister"), LocalizedString("Sibling"));
    if (natural >= 2)
        return word;
    if (natural == 1)
        return QStringLiteral("%1 %2").arg(LocalizedString("Half"), word);
    if (adoptive >= 2)
        return QStringLiteral("%1 %2").arg(word, LocalizedString("ByAdoption"));
    return QStringLiteral("%1 %2").arg(LocalizedString("Step"), word);
}

long Relatives::loadSiblings(FTPerson* person)
{
    const QList<FTPerson*> people = person->siblings();
    for (FTPerson* sibling : people)
        addRelative(sibling, siblingLabel(person, sibling, m_adoptedWithNatural));
    return people.size();
}

long Relatives::loadChildrenInLaw(FTPerson* person)
{
    const QList<FTPerson*> people = person->childrenInLaw();
    for (FTPerson* p : people)
        addRelative(
            p, inLaw(byGender(p, LocalizedString("Son"), LocalizedString("Daughter"), LocalizedString("Child"))));
    return people.size();
}

long Relatives::loadGrandChildren(FTPerson* person)
{
    const QList<FTPerson*> people = person->grandChildren();
    for (FTPerson* p : people)
        addRelative(p,
            byGender(p, LocalizedString("Grandson"), LocalizedString("Granddaughter"), LocalizedString("Grandchild")));
    return people.size();
}

long Relatives::loadGreatGrandChildren(FTPerson* person)
{
    const QList<FTPerson*> people = person->greatGrandChildren();
    for (FTPerson* p : people)
        addRelative(p,
            byGender(p, LocalizedString("GreatGrandson"), LocalizedString("GreatGranddaughter"),
                LocalizedString("GreatGrandchild")));
    return people.size();
}

long Relatives::loadAuntsAndUncles(FTPerson* person)
{
    const QList<FTPerson*> people = person->auntsAndUncles();
    for (FTPerson* p : people)
        addRelative(p, byGender(p, LocalizedString("Uncle"), LocalizedString("Aunt"), LocalizedString("Aunt/Uncle")));
    return people.size();
}

long Relatives::loadCousins(FTPerson* person)
{
    const QList<FTPerson*> people = person->cousins();
    for (FTPerson* p : people)
        addRelative(p, LocalizedString("Cousin"));
    return people.size();
}

long Relatives::loadNephewsAndNieces(FTPerson* person)
{
    const QList<FTPerson*> people = person->nephewsAndNieces();
    for (FTPerson* p : people)
        addRelative(
            p, byGender(p, LocalizedString("Nephew"), LocalizedString("Niece"), LocalizedString("Nephew/Niece")));
    return people.size();
}

long Relatives::loadSiblingsInLaw(FTPerson* person)
{
    const QList<FTPerson*> people = person->siblingsInLaw();
    for (FTPerson* p : people)
        addRelative(
            p, inLaw(byGender(p, LocalizedString("Brother"), LocalizedString("Sister"), LocalizedString("Sibling"))));
    return people.size();
}
