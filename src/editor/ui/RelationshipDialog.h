#pragma once

#include <QDialog>
#include <QSize>

#include <functional>

class QPushButton;

// A dialog that types, completes or attaches relatives: drawn on the panels' colour, run modally with exec()
// over the front window (or begun as a sheet), and closed only through windowShouldClose() whichever way the
// user leaves it (its Close button, the window's close box, Escape). A dialog given a size to keep opens at the size the last one of its
// kind had when it closed, for the rest of the program's run.
//
//   AddChildController dialog;
//   dialog.setPPerson(child);
//   dialog.run();
class RelationshipDialog : public QDialog {
    Q_OBJECT
public:
    // Runs the dialog modally; answers when it has closed.
    int run();
    void done(int result) override;

protected:
    explicit RelationshipDialog(QWidget* parent = nullptr);
    // Asked before the dialog closes: false keeps it open (the reason has been given).
    virtual bool windowShouldClose() { return true; }
    // The dialog opens at `*size` when one was kept, and keeps its size there when it closes.
    void keepSizeIn(QSize* size);
    // A Close button that leaves the dialog as the close box does.
    QPushButton* makeCloseButton();
    // A button of the dialog: a theme icon (freedesktop name, none when empty), a "Localizable" text, never the
    // default button.
    QPushButton* makeButton(const char* icon, const char* textKey, const QString& objectName, std::function<void()> action);

private:
    QSize* m_keptSize = nullptr;
};
