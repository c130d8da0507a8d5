#pragma once

#include <QHash>
#include <QList>

#include <memory>
#include <vector>

class FTPerson;
class Hierarchy;

// The people that may go along when a person is copied from another database: the person's ancestors or
// descendants over every kind of parent-child link, as rows of an outline, each row selected or not.
//
// A person reached along several lines (cousins who married) is opened once, at the first row that shows them;
// later rows of that person are marked repeatedElsewhere and show nothing below them. Opening every row along
// every line would repeat a collapsed pedigree once per line, which grows without bound in a royal family.
//
//   CopyOutline outline(person, true);           // ancestors, all rows selected
//   outline.setSelected(outline.rows()[3], false);
//   outline.isPersonSelected(someAncestor);
class CopyOutline {
public:
    CopyOutline(FTPerson* person, bool ancestors);
    ~CopyOutline();
    CopyOutline(const CopyOutline&) = delete;
    CopyOutline& operator=(const CopyOutline&) = delete;

    Hierarchy* root() const { return m_root.get(); }
    bool bAncestors() const { return m_ancestors; }
    // Every row in outline order: a row comes before the rows under it.
    const QList<Hierarchy*>& rows() const { return m_rows; }
    int rowOf(const Hierarchy* node) const { return m_rowOf.value(node, -1); }
    // The rows just under a row; none under a repeated one.
    QList<Hierarchy*> rowsUnder(Hierarchy* node) const;

    bool isSelected(const Hierarchy* node) const;
    void setSelected(const Hierarchy* node, bool selected);
    void setAllSelected(bool selected);
    // Whether the first row showing the person is selected; false when no row shows them.
    bool isPersonSelected(const FTPerson* person) const;

private:
    std::unique_ptr<Hierarchy> m_root;
    bool m_ancestors;
    QList<Hierarchy*> m_rows;
    QHash<const Hierarchy*, int> m_rowOf;
    QHash<const FTPerson*, int> m_firstRowOf;
    std::vector<bool> m_selected;
};
