#pragma once

#include <QString>
#include <QStringList>

class QObject;

// Every alert the program shows goes through here: message boxes in the app, scripted answers in tests.
// Texts arrive ready to show (callers localise first).
class Prompts {
public:
    static inline const QString kAlertTitle = QStringLiteral("Kinloom for Vovadid");

    virtual ~Prompts() = default;

    // Modal alert with one "OK" button: `text` is the message, `info` the smaller informative text.
    virtual void message(const QString& text, const QString& info = {}) = 0;
    // The same alert as a sheet on `window`; returns at once.
    virtual void messageAsSheet(QObject* window, const QString& text) = 0;
    // The long-message window: a scrolling text under the window title, modal until closed.
    virtual void showMe(const QString& windowTitle, const QString& text) = 0;
    // Modal alert with the buttons in order; answers the index of the one pressed.
    virtual int choose(const QString& text, const QString& info, const QStringList& buttons) = 0;
    // The same alert under a window title of its own (the help alerts); by default the usual title.
    virtual int chooseWithTitle(const QString& /*windowTitle*/, const QString& text, const QString& info,
                                const QStringList& buttons)
    {
        return choose(text, info, buttons);
    }
    // The same, where closing the alert without a choice (Escape, the close box) answers `escapeButton`: for
    // questions where the last button, which Escape gives otherwise, would lose something.
    virtual int chooseWithEscape(const QString& windowTitle, const QString& text, const QString& info,
                                 const QStringList& buttons, int /*escapeButton*/)
    {
        return chooseWithTitle(windowTitle, text, info, buttons);
    }

    // The installed implementation; a scripted one that answers 0 until the app installs its own.
    static Prompts& current();
    // Installs `p` (not owned); nullptr restores the default.
    static void install(Prompts* p);

    // How many alerts the user has closed with Escape so far. A field whose check refused a value with an alert
    // compares the count before and after: Escape there means "give me the stored value back".
    static int escapedAlerts();

protected:
    // Implementations call this when an alert was closed with Escape rather than a button.
    static void noteEscapedAlert();
};
