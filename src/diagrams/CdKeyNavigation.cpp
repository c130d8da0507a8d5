#include "diagrams/CdKeyNavigation.h"

#include "diagrams/CdLayout.h"
#include "diagrams/CdPerson.h"

#include "model/FTPerson.h"

#include <algorithm>

namespace {
using CdKeyNavigation::Move;

bool sameGroup(long a, long b)
{
    const auto focalOrSpouse = [](long level) { return level == CdPerson::kFocal || level == CdPerson::kSpouse; };
    return a == b || (focalOrSpouse(a) && focalOrSpouse(b));
}

// The nearest box of the group above (up) or below; on equal centres the first in array order.
CdPerson* vertical(const CdLayout& layout, const CdPerson& selected, bool up)
{
    const double from = selected.yCentre();
    double best = up ? 0.0 : 1000000.0;
    CdPerson* found = nullptr;
    for (const auto& box : layout.cdPersonsArray()) {
        if (!box->person() || !sameGroup(box->ancLevel(), selected.ancLevel()))
            continue;
        const double y = box->yCentre();
        if (up ? (y < from && y > best) : (y > from && y < best)) {
            best = y;
            found = box.get();
        }
    }
    return found;
}

// The topmost box with a person among those `accept` takes.
template <class Accept> CdPerson* topmost(const CdLayout& layout, Accept accept)
{
    double best = 100000.0;
    CdPerson* found = nullptr;
    for (const auto& box : layout.cdPersonsArray())
        if (box->person() && accept(*box) && box->yCentre() < best) {
            best = box->yCentre();
            found = box.get();
        }
    return found;
}

Move towardsChildren(const CdLayout& layout, const CdPerson& selected)
{
    const long level = selected.ancLevel();
    if (level == CdPerson::kChild)
        return {nullptr, selected.person()};
    if (level >= 1)
        return {selected.owner(), nullptr};
    if (level != CdPerson::kFocal && level != CdPerson::kSpouse)
        return {};
    // A child in the current project view first, else the topmost child.
    for (const auto& box : layout.cdPersonsArray())
        if (box->ancLevel() == CdPerson::kChild && box->person() && box->inCurrentProjectView())
            return {box.get(), nullptr};
    return {topmost(layout, [](const CdPerson& b) { return b.ancLevel() == CdPerson::kChild; }), nullptr};
}

Move towardsAncestors(const CdLayout& layout, const CdPerson& selected)
{
    const long level = selected.ancLevel();
    if (level >= 1 && level == layout.maxAncLevel()) {
        FTPerson* person = selected.person();
        return {nullptr, person && !person->parentRels().isEmpty() ? person : nullptr};
    }
    if (level == CdPerson::kChild)
        return {selected.owner(), nullptr};
    // Normally the father: the topmost parent hanging from the box.
    return {topmost(layout, [&](const CdPerson& b) { return b.ancLevel() == level + 1 && b.owner() == &selected; }),
            nullptr};
}
}

CdKeyNavigation::Direction CdKeyNavigation::direction(Arrow arrow, bool childrenOnLeft)
{
    switch (arrow) {
    case Arrow::Up:
        return Direction::Up;
    case Arrow::Down:
        return Direction::Down;
    case Arrow::Left:
        return childrenOnLeft ? Direction::TowardsChildren : Direction::TowardsAncestors;
    case Arrow::Right:
        break;
    }
    return childrenOnLeft ? Direction::TowardsAncestors : Direction::TowardsChildren;
}

CdKeyNavigation::Move CdKeyNavigation::move(const CdLayout& layout, const CdPerson* selected, Direction direction)
{
    if (!selected)
        return {};
    Move m;
    switch (direction) {
    case Direction::Up:
    case Direction::Down:
        m.select = vertical(layout, *selected, direction == Direction::Up);
        break;
    case Direction::TowardsChildren:
        m = towardsChildren(layout, *selected);
        break;
    case Direction::TowardsAncestors:
        m = towardsAncestors(layout, *selected);
        break;
    }
    if (m.select && !m.select->person())
        m.select = nullptr;
    return m;
}

FTPerson* CdKeyNavigation::sibling(const FTPerson* focal, int step)
{
    if (!focal)
        return nullptr;
    const QList<FTPerson*> list = focal->siblingsArrayWithSelf();
    const qsizetype i = list.indexOf(const_cast<FTPerson*>(focal));
    if (i < 0 || i + step < 0 || i + step >= list.size())
        return nullptr;
    return list[i + step];
}

int CdKeyNavigation::pagedPicture(int gPicNum, int count, bool forward)
{
    if (forward)
        return gPicNum < count - 1 ? gPicNum + 1 : gPicNum;
    return gPicNum > 0 ? gPicNum - 1 : gPicNum;
}

int CdKeyNavigation::pagedPictureByWheel(int gPicNum, int count, double dx, double dy)
{
    if (count < 2)
        return gPicNum;
    if ((dx < 0 || dy < 0) && gPicNum < count - 1)
        return gPicNum + 1;
    if ((dx > 0 || dy > 0) && gPicNum > 0)
        return gPicNum - 1;
    return gPicNum;
}

int CdKeyNavigation::steppedNameOption(int option, double dy)
{
    if (dy < 0)
        ++option;
    else if (dy > 0)
        --option;
    return std::clamp(option, 0, kMaxNameOption);
}
