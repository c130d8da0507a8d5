#pragma once

#include "editor/ui/EditorPage.h"
#include "model/Relative.h"

#include <QList>
#include <QPointer>

class FTMoc;
class FTPerson;
class InfoArea_Relatives_TableView;
class QCheckBox;
class QLabel;
class QMenu;
class QPushButton;
class RelativesTableModel;

// The relatives page of the person editor ("pRelatives"): the selected person's relatives in one table, grouped
// by kind with an empty row between groups, under nine switches (kept in the user defaults) that choose the
// optional groups, with the number of people listed. Names, dates and places are edited in place; the button
// columns open a relative's details and family; Ctrl-click or the context menu makes a relative the focal
// person; "Save as CSV" writes the list shown to the reports folder and opens it.
//
// The list is built again lazily: a new person, a switch, a changed link or a deletion mark it, and it is
// built once before the window next draws.
class InfoArea_Relatives : public EditorPage {
    Q_OBJECT
public:
    explicit InfoArea_Relatives(QWidget* parent = nullptr);
    ~InfoArea_Relatives() override;

    // The page protocol.
    void setSelectedPerson(FTPerson* person) override;
    void refreshDisplay() override;
    void setColumnHeadings() override;
    void setFontSize(long size) override;
    void freeMemory() override;
    void personToBeDeleted(const Notification& n) override;
    void pcRelTypeChanged(const Notification& n) override;
    void setRefreshArray(bool refresh) override;
    bool endEditing() override;

    FTPerson* selectedPerson() const { return m_person; }
    InfoArea_Relatives_TableView* tableView() const { return m_table; }
    RelativesTableModel* relativesModel() const { return m_model; }
    const QList<Relative>& relsArray() const;
    long numRelatives() const { return m_numRelatives; }
    QLabel* numRels() const { return m_numRels; }
    QList<QCheckBox*> switches() const { return m_switches; }
    bool refreshArrayPending() const { return m_refreshArray; }

    // Builds the list now and shows it.
    void refreshArrayContents();

    // Actions.
    void changeDisplayOption();
    void personsDetails();
    void personsFamily();
    // Writes the list shown as a CSV file in the reports folder and opens it; answers the path written.
    QString generateCsvReport();
    // The context menu of a row with a person (null for another row).
    QMenu* createContextMenu(int row);

protected:
    // The rows of the list, and the count it shows (-1: none shown).
    virtual QList<Relative> createRelsArray(long* count);
    virtual QString columnHeading() const;
    // The immediate-family page shows neither switches nor count.
    void setShowsSwitches(bool on);

    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void watchWindow(bool on);
    void buttonClicked(int row, int column);

    FTPerson* m_person = nullptr;
    FTMoc* m_moc = nullptr;
    long m_fontSize = 11;
    long m_numRelatives = 0;
    bool m_refreshArray = true;
    QWidget* m_switchBar = nullptr;
    QList<QCheckBox*> m_switches;
    QLabel* m_numRels = nullptr;
    QPushButton* m_csvButton = nullptr;
    InfoArea_Relatives_TableView* m_table = nullptr;
    RelativesTableModel* m_model = nullptr;
    QPointer<QWidget> m_watchedWindow;
};
