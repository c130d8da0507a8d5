#pragma once

#include <QString>
#include <QStringList>

class FTPcRel;
class FTPerson;

// How one person is the child of another, as the parent-child type dialog chooses it: five rows (not related,
// natural, step, adopted, foster), the row of the link's stored type, the type each row writes and what closing
// the dialog does with the choice. The link's certainty and notes are written while the dialog is open; its type
// only when the dialog closes, and only when the user chose another row: a link stored as "not related" or with
// no type opens on the "not related" row and stays as it is unless the user picks another row.
//
//   PcRelTypeChoice choice(father, son);
//   choice.selectRow(PcRelTypeChoice::Adopted);
//   choice.save();                               // the link now has type 8 (made when missing)
class PcRelTypeChoice {
public:
    enum Row { NotRelated, Natural, Step, Adopted, Foster, RowCount };

    // Finds the link from `parent` to `child` among the child's parent links (the first one), if any.
    PcRelTypeChoice(FTPerson* parent, FTPerson* child);

    // The row of a stored type: 1 natural, 2 step, 8 adopted, 4 foster; anything else (no link, 0, 4096) the
    // "not related" row.
    static int rowForType(int type);
    // The type a row writes: 0 (the link is deleted), 1, 2, 8, 4; -1 for a row that does not exist.
    static int typeForRow(int row);

    FTPerson* parent() const { return m_parent; }
    FTPerson* child() const { return m_child; }
    // The link between the two; null when there is none.
    FTPcRel* pcRel() const { return m_pcRel; }
    // The link's type when the dialog opened; 0 without a link.
    int pcRelType() const { return m_pcRelType; }
    int initialRow() const { return m_initialRow; }
    int selectedRow() const { return m_row; }
    void selectRow(int row) { m_row = row; }

    // " Natural father of", ...; the natural row, when disabled, names the child's natural parent of this
    // parent's gender: "( Tom's Natural father was John Smith )".
    QStringList rowTitles() const;
    // The child's other natural parent of this parent's gender (it disables the natural row); null when none.
    FTPerson* otherNaturalParent() const;
    bool isRowEnabled(int row) const;

    // Whether the link keeps a certainty of its own; the slider otherwise shows the default (20 or 50).
    bool hasStoredCertainty() const;

    // The text of the uncertainty view as rich text (HTML): the link's inconsistencies and notes under black
    // headings, the parent's description in red and the child's in blue, each under a heading of its colour.
    QString reasonForUncertainty() const;

    // Closing the dialog: writes the chosen row when it differs from the row at opening (a type for the link,
    // made when missing through the ancestor check; "not related" deletes the link under the undo name
    // "DeletePCRel"), then posts "PCRelTypeChanged" with the context. False when no valid row is chosen: the
    // dialog stays open.
    bool save();

private:
    FTPerson* m_parent;
    FTPerson* m_child;
    FTPcRel* m_pcRel = nullptr;
    int m_pcRelType = 0;
    int m_initialRow = NotRelated;
    int m_row = NotRelated;
};
