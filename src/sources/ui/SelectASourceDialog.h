#pragma once

#include <QDialog>
#include <QList>
#include <QSize>
#include <QString>

class FTMoc;
class FTSource;
class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QTableView;
class SourceListModel;

// The source search dialog: the candidates a source menu handed its owner (a group of sources sharing a type and
// a value, or every source), listed with the text that says how they were chosen, and the search field of the
// sources editor to narrow them. The owner runs it as a sheet and reads selectedSource() when it ends (result 1:
// a source was chosen; 0: closed).
//
//   auto* dialog = new SelectASourceDialog(moc, sources, window());
//   dialog->setPreselectionCriteria(criteria);
//   connect(dialog, &QDialog::finished, this, [dialog] { ... dialog->selectedSource() ... });
//   dialog->open();
class SelectASourceDialog : public QDialog {
    Q_OBJECT
public:
    SelectASourceDialog(FTMoc* moc, const QList<FTSource*>& sources, QWidget* parent = nullptr);
    ~SelectASourceDialog() override;

    // The size the dialog last closed with, for the running program (empty until then); the next dialog takes it.
    static QSize rememberedSize();
    static void setRememberedSize(const QSize& size);

    void setPreselectionCriteria(const QString& criteria);
    QString preselectionCriteria() const { return m_preselectionCriteria; }
    // The source chosen; null until one is.
    FTSource* selectedSource() const { return m_selectedSource; }

    // The choose button (and a double click): exactly one selected source is the choice, and the dialog ends with
    // 1; otherwise nothing is chosen and it ends with 1 all the same, as a closed sheet would.
    void selectSource();
    void changeSearchField();
    void limitSearch(QAction* option);

    QTableView* tv() const { return m_tv; }
    SourceListModel* sourcesArrayController() const { return m_sources; }
    QLineEdit* searchField() const { return m_searchField; }
    QMenu* searchMenu() const { return m_searchMenu; }

public Q_SLOTS:
    void done(int result) override;

private:
    FTMoc* m_moc;
    FTSource* m_selectedSource = nullptr;
    QString m_preselectionCriteria;
    QString m_currentSearchMenuOption;
    SourceListModel* m_sources = nullptr;
    QLabel* m_criteriaLabel = nullptr;
    QTableView* m_tv = nullptr;
    QLineEdit* m_searchField = nullptr;
    QMenu* m_searchMenu = nullptr;
};
