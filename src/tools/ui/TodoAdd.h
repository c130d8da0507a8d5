#pragma once

#include <QDialog>

class FTMoc;
class FTPerson;
class QPlainTextEdit;

// The to-do note of one person: the note's text, cleared with one button, stored when the sheet closes (trimmed;
// a note of blanks alone is no note). A sheet on the database's main window.
class TodoAdd : public QDialog {
    Q_OBJECT
public:
    explicit TodoAdd(FTPerson* person, QWidget* parent = nullptr);

    FTPerson* person() const { return m_person; }
    QPlainTextEdit* textView() const { return m_textView; }

    // ---- Actions ----
    void clear();
    void close();

private:
    FTMoc* m_moc = nullptr;
    FTPerson* m_person = nullptr;
    QPlainTextEdit* m_textView = nullptr;
};
