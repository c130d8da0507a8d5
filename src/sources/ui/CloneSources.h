#pragma once

#include "sources/SourceCloner.h"

#include <QDialog>

class FTMoc;
class FTSource;
class OtherDatabaseChooser;
class QTableView;
class SourceListModel;

// The sheet that copies sources, with their pictures, from another database into the open one: the user chooses
// the other database (from the data folder's list, or by browsing), selects its sources and copies those the open
// database does not hold yet. Nothing is saved by the window; the other database closes with it.
//
//   doc->beginSheet(new CloneSources(doc->moc()));
class CloneSources : public QDialog {
    Q_OBJECT
public:
    explicit CloneSources(FTMoc* targetMoc, QWidget* parent = nullptr);
    ~CloneSources() override;

    OtherDatabaseChooser* chooser() const { return m_chooser; }
    FTMoc* sourceMoc() const;
    QTableView* tv() const { return m_tv; }
    SourceListModel* sourcesArrayController() const { return m_sources; }
    QList<FTSource*> selectedSources() const;

    // Copies the selected sources ("SelectSources" without a selection) and reports what was done.
    SourceCloner::Result cloneSelectedSources();
    // Ends the sheet; the other database closes.
    void close();

public Q_SLOTS:
    void done(int result) override;

private:
    FTMoc* m_targetMoc;
    OtherDatabaseChooser* m_chooser = nullptr;
    SourceListModel* m_sources = nullptr;
    QTableView* m_tv = nullptr;
};
