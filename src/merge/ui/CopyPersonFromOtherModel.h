#pragma once

#include <QDialog>

#include <memory>

class BackupPanel;
class CopyOutlineModel;
class FTPerson;
class ModelProgress;
class PersonCopier;
class QCheckBox;
class QItemSelection;
class QLabel;
class QProgressBar;
class QPushButton;
class QTextEdit;
class QTreeView;

// The modal window that copies the person selected in the other open database into an empty box of the family
// diagram (PersonCopier): it names the box, offers the options, lists the ancestors or descendants that may go
// along (a person's row brings the rows above it), copies, and shows the report with a button that opens it.
//
//   CopyPersonFromOtherModel window(sourcePerson, owner, box->ancLevel(), box->pcRelType(), mainWindow);
//   window.exec();
class CopyPersonFromOtherModel : public QDialog {
    Q_OBJECT
public:
    CopyPersonFromOtherModel(FTPerson* sourcePerson, FTPerson* owner, long ancLevel, int pcRelType,
                             QWidget* parent = nullptr);
    ~CopyPersonFromOtherModel() override;

    PersonCopier& copier() { return *m_copier; }
    // The panel that asks where the backup goes (not owned; none: the backup counts as failed).
    void setBackupPanel(BackupPanel* panel);

    QTreeView* outlineView() const { return m_olv; }
    QCheckBox* includeButton() const { return m_includeButton; }
    QCheckBox* backupButton() const { return m_backupButton; }
    QCheckBox* descendantsOfAncestorsButton() const { return m_descendantsOfAncestorsButton; }
    QPushButton* copyButton() const { return m_copyButton; }
    QPushButton* printButton() const { return m_printButton; }
    QTextEdit* personsDetails() const { return m_personsDetails; }
    QLabel* targetField() const { return m_targetField; }

    void copy();
    // Opens the report in the desktop's application for text files.
    void print();
    void expandAll();
    void setIncludeAncestors(bool on);

private:
    void buildWindow();
    void selectAllRows();
    void selectionDidChange(const QItemSelection& selected, const QItemSelection& deselected);

    std::unique_ptr<PersonCopier> m_copier;
    std::unique_ptr<ModelProgress> m_progress;
    CopyOutlineModel* m_model = nullptr;
    QLabel* m_targetField = nullptr;
    QLabel* m_olvLabel = nullptr;
    QCheckBox* m_includeButton = nullptr;
    QCheckBox* m_descendantsOfAncestorsButton = nullptr;
    QCheckBox* m_backupButton = nullptr;
    QTreeView* m_olv = nullptr;
    QPushButton* m_expandButton = nullptr;
    QTextEdit* m_personsDetails = nullptr;
    QProgressBar* m_progressIndicator = nullptr;
    QPushButton* m_copyButton = nullptr;
    QPushButton* m_printButton = nullptr;
};
