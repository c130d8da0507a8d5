#pragma once

#include <QApplication>

// The program's application object. Undo and redo go to the front window: a dialog (a sheet on a main window,
// a modal window) undoes its own typing; a main window undoes the changes of its database.
class DOvurApplication : public QApplication {
    Q_OBJECT
public:
    DOvurApplication(int& argc, char** argv);

    // Undo (redo) in the dialog in front when there is one; answers false when it is the database's turn.
    static bool sendUndoToDialog(bool redo);
};
