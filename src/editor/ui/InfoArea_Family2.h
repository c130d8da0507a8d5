#pragma once

#include "editor/FamilyCouple.h"
#include "editor/ui/EditorPage.h"
#include "editor/ui/MarriageNotesDialog.h"
#include "editor/ui/NotesDialog.h"

#include <QHash>
#include <QPointer>

class DefaultPictureView;
class EditorLineEdit;
class FamilyChildrenModel;
class FTManagedObject;
class FTMoc;
class FTPerson;
class FTSpouseRel;
class InfoArea_Family2_TableView;
class PersonFieldSet;
class QAbstractButton;
class QCheckBox;
class QComboBox;
class QLabel;
class QMenu;
class QToolButton;

// The person editor's family page: the selected person as one half of a couple, the husband's side on the left
// and the wife's on the right, with the couple's marriage, its status and the table of the couple's common natural
// children (with a row for a new child). Names, genders, dates and places of both partners and the marriage are
// edited in place; the name boxes list the spouses and switch the couple shown; typing a name into an empty name
// box creates that spouse; buttons open the notes dialogs, a calendar for a date, the partners' details, the
// family dialog and the choice of labels.
//
// Every control is known by its tag (FamilyCouple::Tag). refreshDisplay() only asks for a rebuild: however many
// requests come, the page is rebuilt once, just before it is next drawn.
class InfoArea_Family2 : public EditorPage {
    Q_OBJECT
public:
    explicit InfoArea_Family2(QWidget* parent = nullptr);
    ~InfoArea_Family2() override;

    // The page protocol.
    void setSelectedPerson(FTPerson* person) override;
    void refreshDisplay() override;
    void setFontSize(long size) override;
    void freeMemory() override;
    void personToBeDeleted(const Notification& n) override;
    void pcRelTypeChanged(const Notification& n) override;
    bool endEditing() override;

    FTPerson* selectedPerson() const { return m_person; }
    FTMoc* moc() const { return m_moc; }
    const FamilyCouple& couple() const { return m_couple; }
    FTPerson* husband() const { return m_couple.husband(); }
    FTPerson* wife() const { return m_couple.wife(); }
    FTSpouseRel* spouseRel() const { return m_spouseRel; }
    int numChildren() const;
    // How many times the page has been rebuilt, and whether a rebuild is due.
    int rebuildCount() const { return m_rebuilds; }
    bool refreshArrayPending() const { return m_refreshArray; }
    long fontSize() const { return m_fontSize; }

    // The controls.
    QComboBox* nameBox(int tag) const;
    EditorLineEdit* field(int tag) const;
    QAbstractButton* button(int tag) const;
    QAbstractButton* husbandLabel() const;
    QAbstractButton* wifeLabel() const;
    QString marriageStatus() const;
    InfoArea_Family2_TableView* tableView() const { return m_table; }
    FamilyChildrenModel* childrenModel() const { return m_model; }
    NotesDialog* notesDialogController() const { return m_notesDialog; }
    MarriageNotesDialog* marriageNotesDialogController() const { return m_marriageNotesDialog; }

    // The rebuild (spouses, marriage, children, row heights, enabling, notes marks), and the rebuild when one is due.
    void refreshArray();
    void ensureDisplay();
    void setNotesButtonsNeedRefresh(bool refresh);
    void setNotesButtonsIndicators();

    // Actions.
    void switchSpouse(int tag, int index);
    void changeSpouseLabel();
    void editNotes(int tag);
    void displayCalendar(int tag);
    void parentsDetails(int tag);
    void addHusband();
    void addWife();
    void displayFamilyPanel();
    // The children table.
    void addChild();
    void deleteChild();
    void displayChildsDetails(int row);
    void displayChildsFamily(int row);
    void setMultiLineNotes(bool on);
    bool multiLineNotes() const;
    // A child row's context menu (null for the new-child row); the caller owns it.
    QMenu* createContextMenu(int row);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QWidget* buildPartner(bool husbandSide);
    QWidget* buildMarriage();
    QWidget* buildChildren();
    QAbstractButton* makeButton(int tag, const QString& text, const char* icon = nullptr);
    void showCouple();
    void loadMarriageEvent();
    void loadChildrenArray();
    void loadPartnerTexts();
    void enableFields();
    void setLabels();
    void setNameBoxes();
    void closeNotesDialogs();
    void finishEditing();
    bool spouseTyped(bool husbandBox, const QString& name);
    void setMarriageStatus();
    FTPerson* newChild(const QString& name);
    void watchWindow(bool on);
    void settleLayouts();
    void observe();

    FTPerson* m_person = nullptr;
    FTMoc* m_moc = nullptr;
    FamilyCouple m_couple;
    FTSpouseRel* m_spouseRel = nullptr;
    // The spouse the user chose in a name box, shown again by later rebuilds for the same person and focal person.
    FTPerson* m_chosenSpouse = nullptr;
    FTPerson* m_chosenFor = nullptr;
    FTPerson* m_chosenWithFocal = nullptr;
    // The name box whose typing has just made a spouse (4 or 104): the next rebuild moves on to the birth date.
    int m_currentTag = 0;
    bool m_refreshArray = true;
    bool m_notesButtonsNeedRefresh = true;
    int m_rebuilds = 0;
    long m_fontSize = 11;

    PersonFieldSet* m_husbandFields;
    PersonFieldSet* m_wifeFields;
    PersonFieldSet* m_marriageFields;
    QComboBox* m_husbandBox = nullptr;
    QComboBox* m_wifeBox = nullptr;
    QToolButton* m_husbandLabel = nullptr;
    QToolButton* m_wifeLabel = nullptr;
    DefaultPictureView* m_husbandImage = nullptr;
    DefaultPictureView* m_wifeImage = nullptr;
    QLabel* m_status = nullptr;
    QHash<int, QAbstractButton*> m_buttons;
    QHash<int, QLabel*> m_ages;
    QList<QAbstractButton*> m_dateButtons;
    QList<QAbstractButton*> m_coupleButtons;
    QAbstractButton* m_addHusbandButton = nullptr;
    QAbstractButton* m_addWifeButton = nullptr;
    InfoArea_Family2_TableView* m_table = nullptr;
    FamilyChildrenModel* m_model = nullptr;
    QCheckBox* m_multiLineSwitch = nullptr;
    QPointer<NotesDialog> m_notesDialog;
    QPointer<MarriageNotesDialog> m_marriageNotesDialog;
    QPointer<QWidget> m_watchedWindow;
};
