#pragma once

#include "tools/PersonalTextEditing.h"

#include <QDialog>

#include <functional>

class EditorTableView;
class FTMoc;
class FTPerson;
class ModelProgress;
class QCheckBox;
class QHBoxLayout;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class TextListModel;

// What the personal comments and notes editors share: the filter field(s) and the not-empty check box over the
// list of people, the chosen person's text (edited in place), clearing it, making the person focal and the CSV
// listing. Each editor adds its own buttons and remembers its window size for the program's run.
class PersonalTextEditor : public QDialog {
    Q_OBJECT
public:
    PersonalTextEditor(FTMoc* moc, PersonalTextEditing::Field field, QWidget* parent);

    PersonalTextEditing& editing() { return m_editing; }

    // ---- Actions ----
    // The filters from the fields, the list again.
    void find();
    void deleteText();
    void promoteToFocalPerson();
    void print();
    void close();

    FTPerson* selectedPerson() const;
    void selectPerson(FTPerson* person);
    // The list as the editing has it now, keeping the chosen person when still listed.
    void showPeople();

    QLineEdit* filterField() const { return m_filter; }
    QLineEdit* familyNameFilterField() const { return m_familyNameFilter; }
    QCheckBox* notEmptyCheck() const { return m_notEmpty; }
    EditorTableView* tv() const { return m_tv; }
    TextListModel* peopleModel() const { return m_peopleModel; }
    QPlainTextEdit* textView() const { return m_textView; }
    QProgressBar* progressIndicator() const { return m_progressIndicator; }

protected:
    // The row of buttons of the editor's own work, above the common ones.
    QHBoxLayout* ownButtons() const { return m_ownButtons; }
    // The window size to restore; `close` stores the size in it.
    virtual QSize& prevSize() const = 0;
    void restoreSize();
    void showSelectedText();
    // Runs a pass with the progress bar shown.
    void withProgress(const std::function<void(ModelProgress*)>& pass);

    PersonalTextEditing m_editing;

private:
    QLineEdit* m_filter = nullptr;
    QLineEdit* m_familyNameFilter = nullptr;
    QCheckBox* m_notEmpty = nullptr;
    EditorTableView* m_tv = nullptr;
    TextListModel* m_peopleModel = nullptr;
    QPlainTextEdit* m_textView = nullptr;
    QProgressBar* m_progressIndicator = nullptr;
    QHBoxLayout* m_ownButtons = nullptr;
    bool m_showing = false;
};

// The personal comments editor; it also deletes, across the listed people, the lines that hold the filter text.
class EditPersonalComments : public PersonalTextEditor {
    Q_OBJECT
public:
    explicit EditPersonalComments(FTMoc* moc, QWidget* parent = nullptr);
    void deleteAllLinesThatContainTheFilterString();

protected:
    QSize& prevSize() const override;
};

// The personal notes editor; it also joins broken lines and removes indentation, in one note or in all listed.
class EditPersonalNotes : public PersonalTextEditor {
    Q_OBJECT
public:
    explicit EditPersonalNotes(FTMoc* moc, QWidget* parent = nullptr);
    void replaceSpaceLinefeedWithSpace();
    void replaceSpaceLinefeedWithSpaceAll();
    void replaceLinefeedSpaceWithLinefeed();
    void replaceLinefeedSpaceWithLinefeedAll();
    void helpForReplaceLinefeed();

protected:
    QSize& prevSize() const override;
};
