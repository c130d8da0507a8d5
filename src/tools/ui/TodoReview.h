#pragma once

#include "tools/TodoNotes.h"

#include <QDialog>

class EditorTableView;
class FTMoc;
class FTPerson;
class QTextEdit;
class TextListModel;

// Every person with a to-do note and the chosen person's note; one note is cleared at a time; all notes are
// printed to an RTF file. A sheet on the database's main window.
class TodoReview : public QDialog {
    Q_OBJECT
public:
    explicit TodoReview(FTMoc* moc, QWidget* parent = nullptr);

    TodoNotes& todos() { return m_todos; }

    // ---- Actions ----
    void loadPeopleArray();
    void remove();
    void printAll();
    void close();
    void selectRows(const QList<int>& rows);

    EditorTableView* tvPeople() const { return m_tv; }
    TextListModel* peopleModel() const { return m_model; }
    QTextEdit* noteView() const { return m_note; }

private:
    void showNote();

    FTMoc* m_moc;
    TodoNotes m_todos;
    EditorTableView* m_tv = nullptr;
    TextListModel* m_model = nullptr;
    QTextEdit* m_note = nullptr;
};
