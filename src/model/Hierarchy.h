#pragma once

#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QStringList>

#include <memory>
#include <vector>

class FTPerson;

// One node of an ancestors or descendants tree rooted at one person. A node builds the next generation (parents
// for an ancestors tree, children for a descendants tree) on first demand, over the links whose type has a bit in
// common with the tree's mask (0 means 9: natural and adopted), and keeps it. The hierarchy diagram and the
// person editor's outline read the tree; the layout fields belong to the diagram.
//
// The root owns the whole tree: a node owns its next generation. A node whose person already stands on the path
// up to the root (a loop of parent-child links) is marked repeated and never expanded, so walking the whole tree
// always ends.
//
//   Hierarchy root(person, nullptr, true, 1);   // natural ancestors
//   for (Hierarchy* parent : root.nextGenArray()) ...
class Hierarchy {
public:
    Hierarchy(FTPerson* person, Hierarchy* owner, bool ancestors, int pcRelTypeMask);
    ~Hierarchy();
    Hierarchy(const Hierarchy&) = delete;
    Hierarchy& operator=(const Hierarchy&) = delete;

    // The next generation, in the order of the person's parentRels or childRels; empty while the node is
    // repeated or contracted (a generation built before is kept and comes back when that ends) and when no link
    // matches.
    QList<Hierarchy*> nextGenArray();
    // Whether a next generation was built and has nodes (false while repeated or contracted).
    bool hasNextGen();
    int numberInNextGen();
    // Null outside the next generation.
    Hierarchy* childAtIndex(int index);

    FTPerson* person() const { return m_person; }
    Hierarchy* owner() const { return m_owner; }
    int level() const { return m_level; }
    bool bAncestors() const { return m_ancestors; }
    // The tree's type mask (9 when built with 0).
    int pcRelType() const { return m_pcRelType; }
    // The type of the link to the owner's person; 0 for the root.
    int intPcRelToOwner() const { return m_intPcRelToOwner; }
    // The position among the owner's next generation, from 0.
    int seqNo() const { return m_seqNo; }

    // ---- Layout, set by the diagram ----
    Hierarchy* previousAtLevel() const { return m_previousAtLevel; }
    void setPreviousAtLevel(Hierarchy* node) { m_previousAtLevel = node; }
    Hierarchy* nextAtLevel() const { return m_nextAtLevel; }
    void setNextAtLevel(Hierarchy* node) { m_nextAtLevel = node; }
    QRectF rclBox() const { return m_rclBox; }
    void setRclBox(const QRectF& box) { m_rclBox = box; }
    QSizeF stringSize() const { return m_stringSize; }
    void setStringSize(const QSizeF& size) { m_stringSize = size; }
    float row() const { return m_row; }
    void setRow(float row) { m_row = row; }
    int column() const { return m_column; }
    void setColumn(int column) { m_column = column; }
    QStringList lines() const { return m_lines; }
    void setLines(const QStringList& lines) { m_lines = lines; }
    // The person already stands elsewhere in the tree: the node is not expanded.
    bool repeatFlag() const { return m_repeatFlag; }
    void setRepeatFlag(bool on) { m_repeatFlag = on; }
    bool repeatedElsewhere() const { return m_repeatedElsewhere; }
    void setRepeatedElsewhere(bool on) { m_repeatedElsewhere = on; }
    // Folded by the user: the node is not expanded.
    bool contracted() const { return m_contracted; }
    void setContracted(bool on) { m_contracted = on; }

private:
    FTPerson* m_person;
    Hierarchy* m_owner;
    bool m_ancestors;
    int m_pcRelType;
    int m_level;
    int m_intPcRelToOwner = 0;
    int m_seqNo = 0;
    bool m_built = false;
    std::vector<std::unique_ptr<Hierarchy>> m_nextGen;

    Hierarchy* m_previousAtLevel = nullptr;
    Hierarchy* m_nextAtLevel = nullptr;
    QRectF m_rclBox;
    QSizeF m_stringSize;
    float m_row = 0;
    int m_column = 0;
    QStringList m_lines;
    bool m_repeatFlag = false;
    bool m_repeatedElsewhere = false;
    bool m_contracted = false;
};
