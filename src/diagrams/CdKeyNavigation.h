#pragma once

class CdLayout;
class CdPerson;
class FTPerson;

// Where the family diagram's arrow keys go, and the steps the keys and the wheel take through a person's pictures
// and through the box detail options. The view maps its key events onto these and carries the result out.
//
// Up and Down move among the boxes of one group (boxes of one level; the focal box and the spouses form one
// group). Left and Right move towards the children's column and towards the ancestors' columns, whichever side
// those are on: a child becomes focal from the children's arrow, and a person in the outermost column shown becomes
// focal from the ancestors' arrow when they have parents, so that further ancestors come into view.
namespace CdKeyNavigation {
enum class Arrow { Up, Down, Left, Right };
enum class Direction { Up, Down, TowardsChildren, TowardsAncestors };

// Left means towards the children when they are on the left, and Right when they are on the right.
Direction direction(Arrow arrow, bool childrenOnLeft);

// The result of an arrow: a box to select, or a person to make focal; neither when the key finds nothing.
struct Move {
    CdPerson* select = nullptr;
    FTPerson* focus = nullptr;
};
// From the selected person's box (null: nothing). A box to select always shows a person.
Move move(const CdLayout& layout, const CdPerson* selected, Direction direction);

// The focal person's next (+1) or previous (-1) sibling among the person and the siblings in birth order; null at
// either end or for a person with no place in the list.
FTPerson* sibling(const FTPerson* focal, int step);

// The picture shown after one step forward or back among `count` pictures; unchanged at either end.
int pagedPicture(int gPicNum, int count, bool forward);
// The wheel's step: a negative delta (turned towards the user) forward, a positive one back.
int pagedPictureByWheel(int gPicNum, int count, double dx, double dy);

// The box detail option ("cdNameOption") after one wheel step: a negative delta shows the next option, a positive
// one the previous; always within 0 to kMaxNameOption.
constexpr int kMaxNameOption = 13;
int steppedNameOption(int option, double dy);
}
