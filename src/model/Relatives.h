#pragma once

#include "model/Relative.h"

#include <QList>

class FTPcRel;

// The flat, labelled list of a person's near relatives, grouped by kind with a separator row between groups:
// grandparents, parents-in-law, parents, the person ("Self", always followed by a separator), spouses, children,
// siblings, children-in-law, grandchildren, great-grandchildren, aunts and uncles, cousins, nephews and nieces,
// siblings-in-law. The web pages print it; the person editor's relatives page builds it with its own options.
//
//   Relatives list;
//   list.createRelsArray(person);
//   for (const Relative& row : list.pArray()) ... row.isSeparator() ? blank line : row.relationship()
class Relatives {
public:
    // Which groups are built and how shared adoptive parents count for siblings.
    struct Options {
        enum Group : unsigned {
            GrandParents = 1u << 0,
            InLaws = 1u << 1, // parents-, children- and siblings-in-law
            Children = 1u << 2,
            Siblings = 1u << 3,
            GrandChildren = 1u << 4,
            GreatGrandChildren = 1u << 5,
            AuntsAndUncles = 1u << 6,
            Cousins = 1u << 7,
            NephewsAndNieces = 1u << 8,
        };
        // Parents, the person and spouses are always built.
        unsigned groups
            = GrandParents | InLaws | Children | Siblings | GrandChildren | AuntsAndUncles | Cousins | NephewsAndNieces;
        // False: a shared parent counts towards "by adoption" when both links are adoptive. True (the person
        // editor): also when one is adoptive and the other natural.
        bool adoptedWithNaturalCountsAsAdoptive = false;

        // The person editor's choices: the user defaults "includeGrandParents", "includeInLaws",
        // "includeChildren", "includeSiblings", "includeGrandChildren", "includeGreatGrandChildren",
        // "includeAuntsAndUncles", "includeCousins" and "includeNephewsAndNieces", read now, and the wider rule
        // for adoptive siblings.
        static Options fromUserDefaults();
    };

    // Drops the previous list and builds the list of `person` with the default options (every group but
    // great-grandchildren); no person leaves the list empty.
    void createRelsArray(FTPerson* person);
    void createRelsArray(FTPerson* person, const Options& options);
    // The number of relative rows appended by the last build, plus one for the person (the person editor shows
    // it); 0 before any build.
    long relativesCount() const { return m_count; }

    const QList<Relative>& pArray() const { return m_rows; }
    QList<Relative>& pArray() { return m_rows; }

    void addRelative(FTPerson* person, const QString& relationship);
    // A separator: no person, an empty label.
    void addEmptyRel();

    // One loader per group: appends its rows and answers how many.
    long loadGrandParents(FTPerson* person);
    long loadParentsInLaw(FTPerson* person);
    long loadParents(FTPerson* person);
    long loadSelf(FTPerson* person);
    long loadSpouses(FTPerson* person);
    long loadChildren(FTPerson* person);
    long loadSiblings(FTPerson* person);
    long loadChildrenInLaw(FTPerson* person);
    long loadGrandChildren(FTPerson* person);
    long loadGreatGrandChildren(FTPerson* person);
    long loadAuntsAndUncles(FTPerson* person);
    long loadCousins(FTPerson* person);
    long loadNephewsAndNieces(FTPerson* person);
    long loadSiblingsInLaw(FTPerson* person);

    // The label of `sibling` as a sibling of `person`: "Brother" when they share two natural parents, "Half
    // Sister" when one, "Brother By Adoption" when none but two adoptive ones, else "Step Brother".
    static QString siblingLabel(
        const FTPerson* person, const FTPerson* sibling, bool adoptedWithNaturalCountsAsAdoptive);
    // The person's links to parents in the order the lists show them: by the parent's gender text descending,
    // then by link type, then by the parent's birth date. Links without a parent are left out.
    static QList<FTPcRel*> sortedParentRels(const FTPerson* person);

private:
    QList<Relative> m_rows;
    long m_count = 0;
    bool m_adoptedWithNatural = false;
};
