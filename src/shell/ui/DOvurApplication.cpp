#include "shell/ui/DOvurApplication.h"

#include "shell/ui/DesktopStyle.h"

#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

DOvurApplication::DOvurApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
    setOrganizationName(QStringLiteral("Kinloom"));
    setApplicationName(QStringLiteral("Kinloom"));
    setApplicationVersion(QStringLiteral(KINLOOM_VERSION));
    // The program decides itself when to end: closing a database's window may leave the empty window.
    setQuitOnLastWindowClosed(false);
    setStyle(new DesktopStyle);
}

bool DOvurApplication::sendUndoToDialog(bool redo)
{
    QWidget* window = activeWindow();
    if (!qobject_cast<QDialog*>(window))
        return false;
    QWidget* focus = window->focusWidget();
    if (auto* line = qobject_cast<QLineEdit*>(focus))
        redo ? line->redo() : line->undo();
    else if (auto* text = qobject_cast<QTextEdit*>(focus))
        redo ? text->redo() : text->undo();
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(focus))
        redo ? plain->redo() : plain->undo();
    return true;
}
