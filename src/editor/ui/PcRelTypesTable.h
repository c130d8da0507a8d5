#pragma once

#include "editor/ui/EditorTableView.h"

#include <QList>

class FTPcRel;
class PcRelCleanup;
class QComboBox;
class QStandardItemModel;

// The parent-child links of a dialog, one a row: the person at the other end of the link (the parent, or the
// child) and a pop-up of the link's type ("Not Related", "Natural", "Step", "Adopted", "Foster"; a link without a
// type shows "Unknown" until it is given one). A choice is written at once through the dialog's PcRelCleanup, so
// that the dialog knows which links to delete when it closes; a refused choice (a second natural parent of one
// gender) shows the stored type again.
class PcRelTypesTable : public EditorTableView {
    Q_OBJECT
public:
    enum Shows { Parents, Children, ChildrenWithBirthYears };
    PcRelTypesTable(Shows shows, PcRelCleanup& cleanup, QWidget* parent = nullptr);

    void setLinks(const QList<FTPcRel*>& links);
    const QList<FTPcRel*>& links() const { return m_links; }
    // The pop-up of a row.
    QComboBox* typeChooser(int row) const;
    // The choices the pop-ups offer, in order.
    static QStringList pcRelTypes();

private:
    void choose(int row, const QString& word);
    void showType(int row);
    // Every time the table is resized.
    void setColumnWidths() override;

    Shows m_shows;
    PcRelCleanup& m_cleanup;
    QStandardItemModel* m_model;
    QList<FTPcRel*> m_links;
};
