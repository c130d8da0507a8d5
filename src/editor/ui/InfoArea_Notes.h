#pragma once

#include "editor/ui/EditorPage.h"

#include <functional>

class FTMoc;
class FTPerson;
class NotesTextEdit;

// A page of the person editor that is one text of the selected person: the Notes page and the Comments page.
// Typing is undone within the page (the text's own history) and never through the database's undo; what was
// typed is written when the edit ends, when the page is left and before another person is shown.
class PersonTextPage : public EditorPage {
    Q_OBJECT
public:
    void setSelectedPerson(FTPerson* person) override;
    void refreshDisplay() override;
    void setFontSize(long size) override;
    void freeMemory() override;
    void personToBeDeleted(const Notification& n) override;
    bool endEditing() override;

    FTPerson* selectedPerson() const { return m_person; }
    NotesTextEdit* textView() const { return m_text; }

protected:
    PersonTextPage(const QString& textName, std::function<QString(const FTPerson*)> read,
                   std::function<void(FTPerson*, const QString&)> write, QWidget* parent);

private:
    void load();
    FTPerson* m_person = nullptr;
    FTMoc* m_moc = nullptr;
    NotesTextEdit* m_text;
    std::function<QString(const FTPerson*)> m_read;
};

// The person's notes ("notesTextView").
class InfoArea_Notes : public PersonTextPage {
    Q_OBJECT
public:
    explicit InfoArea_Notes(QWidget* parent = nullptr);
    ~InfoArea_Notes() override;
    NotesTextEdit* notesTextView() const { return textView(); }
};

// The person's comments ("commentsTextView").
class InfoArea_Comments : public PersonTextPage {
    Q_OBJECT
public:
    explicit InfoArea_Comments(QWidget* parent = nullptr);
    ~InfoArea_Comments() override;
    NotesTextEdit* commentsTextView() const { return textView(); }
};
