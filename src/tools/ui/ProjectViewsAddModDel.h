#pragma once

#include "tools/ProjectViewsEditing.h"

#include <QDialog>

class FTMoc;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;

// The project views editor: every view of the database (the current one in red) beside the chosen view's name,
// notes, comments and people. Views are added and removed here; the focal person's ancestral view is made or
// refreshed; a view is made current (or none); the chosen view's people are printed to an RTF file that opens in
// the application chosen here. A sheet on the database's main window.
class ProjectViewsAddModDel : public QDialog {
    Q_OBJECT
public:
    explicit ProjectViewsAddModDel(FTMoc* moc, QWidget* parent = nullptr);
    ~ProjectViewsAddModDel() override;

    ProjectViewsEditing& editing() { return m_editing; }

    // ---- Actions ----
    void close();
    void createAncestralViewForFocalPerson();
    void selectAsCurrentActiveView();
    void deactivateActiveView();
    void helpForProjectViews();
    void print();
    void addView();
    void removeView();
    void selectRow(int row);

    QListWidget* projectViewsTableView() const { return m_views; }
    QListWidget* peopleTableView() const { return m_people; }
    QLineEdit* nameField() const { return m_name; }
    QPlainTextEdit* notesField() const { return m_notes; }
    QPlainTextEdit* commentsField() const { return m_comments; }
    QComboBox* rtfApplications() const { return m_rtfApplications; }

private:
    void showViews();
    void showSelectedView();

    ProjectViewsEditing m_editing;
    QListWidget* m_views = nullptr;
    QListWidget* m_people = nullptr;
    QLineEdit* m_name = nullptr;
    QPlainTextEdit* m_notes = nullptr;
    QPlainTextEdit* m_comments = nullptr;
    QComboBox* m_rtfApplications = nullptr;
    bool m_showing = false;
};
