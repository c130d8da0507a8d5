#pragma once

#include "tools/MinorDynasties.h"

#include <QDialog>
#include <QList>

class EditorTableView;
class BackupPanel;
class FTMoc;
class FTPerson;
class QLabel;
class QLineEdit;
class QProgressBar;
class QTextEdit;
class TextListModel;

// Pruning minor family groups: the main family (searchable) beside the other groups, each under its header; the
// chosen person's description under each list; the people chosen among the groups are deleted after a backup is
// offered when there are several. The grouping starts a second after the window shows, with its progress. A sheet
// on the database's main window.
class PruneMinorDynasties : public QDialog {
    Q_OBJECT
public:
    explicit PruneMinorDynasties(FTMoc* moc, const QString& databasePath, QWidget* parent = nullptr);

    MinorDynasties& dynasties() { return m_dynasties; }
    bool loaded() const { return m_loaded; }
    // The save panel of the backup offered before several deletions (the file dialog unless set; tests script it).
    void setBackupPanel(BackupPanel* panel) { m_backupPanel = panel; }

    // ---- Actions ----
    void loadDynasties();
    void findPerson(const QString& text);
    void deleteSelectedPeople();
    void helpForPruneMinorDynasties();
    void close();
    // Chooses rows of the minor groups' list.
    void selectRows(const QList<int>& rows);

    QLineEdit* searchField() const { return m_search; }
    EditorTableView* tv1() const { return m_tv1; }
    EditorTableView* tv2() const { return m_tv2; }
    TextListModel* mainModel() const { return m_mainModel; }
    TextListModel* otherModel() const { return m_otherModel; }
    QTextEdit* textView1() const { return m_textView1; }
    QTextEdit* textView2() const { return m_textView2; }
    QProgressBar* progressIndicator() const { return m_progressIndicator; }
    QLabel* countLabel() const { return m_count; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showMain();
    void showOthers();
    void mainSelectionChanged();
    void otherSelectionChanged();

    MinorDynasties m_dynasties;
    QString m_databasePath;
    BackupPanel* m_backupPanel = nullptr;
    QList<FTPerson*> m_shownMain;
    bool m_loaded = false;
    bool m_timerStarted = false;
    QLineEdit* m_search = nullptr;
    EditorTableView* m_tv1 = nullptr;
    EditorTableView* m_tv2 = nullptr;
    TextListModel* m_mainModel = nullptr;
    TextListModel* m_otherModel = nullptr;
    QTextEdit* m_textView1 = nullptr;
    QTextEdit* m_textView2 = nullptr;
    QProgressBar* m_progressIndicator = nullptr;
    QLabel* m_count = nullptr;
};
