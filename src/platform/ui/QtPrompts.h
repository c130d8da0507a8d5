#pragma once

#include "platform/Prompts.h"

// Message boxes titled "Kinloom for Vovadid"; the long-message window for long texts.
class QtPrompts : public Prompts {
public:
    void message(const QString& text, const QString& info = {}) override;
    void messageAsSheet(QObject* window, const QString& text) override;
    void showMe(const QString& windowTitle, const QString& text) override;
    int choose(const QString& text, const QString& info, const QStringList& buttons) override;
};
