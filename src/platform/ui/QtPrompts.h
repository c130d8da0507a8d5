#pragma once

#include "platform/Prompts.h"

class QDialog;
class QMessageBox;
class QWidget;

// Message boxes titled "Kinloom for Vovadid"; the long-message window for long texts.
class QtPrompts : public Prompts {
public:
    void message(const QString& text, const QString& info = {}) override;
    void messageAsSheet(QObject* window, const QString& text) override;
    void showMe(const QString& windowTitle, const QString& text) override;
    int choose(const QString& text, const QString& info, const QStringList& buttons) override;
    int chooseWithTitle(const QString& windowTitle, const QString& text, const QString& info,
                        const QStringList& buttons) override;
    int chooseWithEscape(const QString& windowTitle, const QString& text, const QString& info,
                         const QStringList& buttons, int escapeButton) override;

    // The long-message window "ShowMe", built but not shown: a read-only scrolling text and an OK button,
    // window and text on the panel colour. showMe() runs it modally.
    static QDialog* createShowMeWindow(const QString& windowTitle, const QString& text, QWidget* parent = nullptr);

private:
    // Runs the alert modally and counts a close with Escape.
    static int runAlert(QMessageBox& box);
};
