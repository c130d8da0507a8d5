#pragma once

#include "editor/ui/NotesWindow.h"

class FTPerson;

// A person's notes, comments, birth notes and death notes, one tab each ("1" to "4"). A tab holding text is
// marked with an asterisk; changing tab writes what was typed. Closing a window that is not a sheet posts
// "NotesDialogClosed" with the dialog as object.
//
//   auto* d = new NotesDialog;
//   d->setOwner(person, "3", true);
//   d->present(NotesWindow::Sheet, mainWindow);
class NotesDialog : public NotesWindow {
    Q_OBJECT
public:
    explicit NotesDialog(QWidget* parent = nullptr);
    ~NotesDialog() override;

    void setOwner(FTPerson* person, const QString& initialTab, bool isSheet);
    FTPerson* person() const { return m_person; }
    QString personName() const { return m_personName; }
    void setTabViewLabels() override;
    // Drops the person (the dialog is not shown again after it closed).
    void freeMemory() override;

protected:
    QString closedNotification() const override { return QStringLiteral("NotesDialogClosed"); }

private:
    // A deleted person keeps nothing typed for them.
    bool writable() const;
    FTPerson* m_person = nullptr;
    QString m_personName;
    QString m_initialTab;
};
