#pragma once

#include "tools/FamilyNamesEditing.h"

#include <QDialog>
#include <QList>

class EditorTableView;
class FTMoc;
class FTPerson;
class QLineEdit;
class QProgressBar;
class TextListModel;

// The family names editor: every distinct one-word family name of the database (filtered by a part of the name)
// beside the people whose name ends with the chosen one. The user renames a family name person by person by
// editing it in the list, or writes every family name capitalised or in capitals. A sheet on the database's main
// window.
class FamilyNamesEditor : public QDialog {
    Q_OBJECT
public:
    explicit FamilyNamesEditor(FTMoc* moc, QWidget* parent = nullptr);
    ~FamilyNamesEditor() override;

    FamilyNamesEditing& editing() { return m_editing; }

    // ---- Actions ----
    // The names again, selecting `name` (else the first).
    void loadFamilyNames(const QString& name = {});
    void refresh() { loadFamilyNames(); }
    void findFamilyName(const QString& text);
    // The family name of `row` renamed to `typed`, person by person (an edit of the list does this once the edit
    // has closed).
    void renameFamilyName(int row, const QString& typed);
    void capitaliseAllFamilyNames();
    void uppercaseAllFamilyNames();

    QString selectedFamilyName() const;
    const QList<FTPerson*>& people() const { return m_people; }

    QLineEdit* filterSearchField() const { return m_filterSearchField; }
    EditorTableView* tv1() const { return m_tv1; }
    EditorTableView* tv2() const { return m_tv2; }
    TextListModel* familyNamesModel() const { return m_familyNamesModel; }
    TextListModel* peopleModel() const { return m_peopleModel; }
    QProgressBar* progressIndicator() const { return m_progressIndicator; }

private:
    void showFamilyNames(const QString& select);
    void loadSelectedPeople();
    void convert(int mode);

    FamilyNamesEditing m_editing;
    QStringList m_familyNames; // every name; the list shows those the filter lets through
    QString m_filter;
    QList<FTPerson*> m_people;
    TextListModel* m_familyNamesModel = nullptr;
    TextListModel* m_peopleModel = nullptr;
    EditorTableView* m_tv1 = nullptr;
    EditorTableView* m_tv2 = nullptr;
    QLineEdit* m_filterSearchField = nullptr;
    QProgressBar* m_progressIndicator = nullptr;
};
