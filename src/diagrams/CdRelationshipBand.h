#pragma once

#include <QLineF>
#include <QPointF>
#include <QRectF>
#include <QString>

class CdPerson;
class FTPerson;
class QPainter;

// The rubber band the user drags from the selected person's box to another box to link the two: which boxes are
// valid targets, the pair they make (a parent and a child, or a couple), where the band is anchored, the letter on
// it and how it is drawn. The band changes nothing itself; on release the view hands the pair to the parent-child
// type dialog or the couple's family dialog.
//
// Sources and valid targets (the "ancestor side" of a box faces the ancestors' columns, the "descendant side" the
// children's):
//   child          → the focal box or a spouse's box: that person is the child's parent
//   spouse         → the focal box: a couple;  → a child: the spouse is the child's parent
//   focal          → a child (parent of it), a spouse (a couple), a parent's box of level 1 (child of it)
//   ancestor, L    → its owner at L - 1 (parent of it); a box of L with the same owner and the other gender (a
//                    couple); a box of L + 1 hanging from it (child of it)
// Every target must show a person. An associated person's box relates nobody: no band is drawn from it.
class CdRelationshipBand {
public:
    // rubberBandRelationship of a couple.
    static constexpr int kCouple = 999;

    // One position of the pointer during a drag.
    struct Step {
        // False for a source that can relate nobody: nothing is drawn.
        bool drawn = false;
        // From the source's anchor to the target's, or to the pointer without a target.
        QLineF line;
        // The target box's rectangle; null over anything that is not a valid target.
        QRectF targetRect;
        // A parent-child pair, or a couple (spouse1, spouse2); all null without a target.
        FTPerson* parent = nullptr;
        FTPerson* child = nullptr;
        FTPerson* spouse1 = nullptr;
        FTPerson* spouse2 = nullptr;
        // The type of the pair's existing link (FTPcRel bits, 0 when none), kCouple for a couple.
        int relationship = 0;

        bool hasTarget() const { return !targetRect.isNull(); }
        bool isCouple() const { return spouse1 && spouse2; }
    };

    // The band from `source` (the selected person's box) with the pointer at `pointer` over `target` (the box
    // under it, or null).
    static Step classify(const CdPerson& source, const CdPerson* target, const QPointF& pointer, bool childrenOnLeft);
    // The type of `child`'s first link to `parent` in its parent list, 0 when there is none.
    static int existingRelationship(const FTPerson* parent, const FTPerson* child);
    // The key of the band's letter: "UnkInitial" (no link yet), "NaturalInitial", "StepInitial", "FosterInitial",
    // "AdoptedInitial", "MarriedInitial" (a couple); empty for any other type (a white box without a letter).
    static QString labelKey(int relationship);
    // The band: a line, 3 points wide and the two boxes framed when over a valid target, with the letter in a small
    // white box at its middle. `sourceRect` is the selected person's box.
    static void draw(QPainter& painter, const Step& step, const QRectF& sourceRect);
};
