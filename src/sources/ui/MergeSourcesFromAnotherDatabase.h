#pragma once

#include "sources/SourceFieldsMerge.h"

#include <QDialog>

class FTMoc;
class FTSource;
class OtherDatabaseChooser;
class QLabel;
class QTableView;
class SourceListModel;

// The window that brings the fields of a source of another database into the source of the same title here: the
// other database's sources on the left (side 1), this database's on the right (side 2), both by title; choosing a
// source on the left chooses the first one here with the same title (ignoring letter case). The fields of the
// left source that differ are blue, with a summary; the merge button copies them into the right source as one
// undoable action. Run modally; nothing is saved by the window, and the other database closes with it.
//
//   MergeSourcesFromAnotherDatabase window(doc->moc(), doc->dovurWindow());
//   window.exec();
class MergeSourcesFromAnotherDatabase : public QDialog {
    Q_OBJECT
public:
    explicit MergeSourcesFromAnotherDatabase(FTMoc* targetMoc, QWidget* parent = nullptr);
    ~MergeSourcesFromAnotherDatabase() override;

    OtherDatabaseChooser* chooser() const { return m_chooser; }
    FTMoc* moc1() const;
    FTMoc* moc2() const { return m_moc2; }
    FTSource* m1Source() const { return m_m1Source; }
    FTSource* m2Source() const { return m_m2Source; }
    QTableView* tv1() const { return m_tv1; }
    QTableView* tv2() const { return m_tv2; }
    SourceListModel* m1SourcesArrayController() const { return m_m1Sources; }
    SourceListModel* m2SourcesArrayController() const { return m_m2Sources; }
    QString message() const;
    // The colour of a compared field of side 1 ("numericId", "type" ... "notes"): blue while it differs.
    QColor fieldColour(const QString& key) const;
    // The shown value of a field, `side` 1 or 2.
    QLabel* fieldLabel(int side, const QString& key) const;

    // The positions, in side 2's list, of the sources with side 1's title.
    QList<int> findMatchForM1Source() const;
    void highlightDifferences();
    void mergeTheSelectedSource();
    void close();

public Q_SLOTS:
    void done(int result) override;

private:
    QWidget* buildFields(int side);
    void tv1SelectionDidChange();
    void tv2SelectionDidChange();

    FTMoc* m_moc2;
    FTSource* m_m1Source = nullptr;
    FTSource* m_m2Source = nullptr;
    OtherDatabaseChooser* m_chooser = nullptr;
    SourceListModel* m_m1Sources = nullptr;
    SourceListModel* m_m2Sources = nullptr;
    QTableView* m_tv1 = nullptr;
    QTableView* m_tv2 = nullptr;
    QLabel* m_message = nullptr;
    QList<QLabel*> m_fields[2]; // by SourceFieldsMerge::comparedFields()
    QList<QColor> m_colours;
};
