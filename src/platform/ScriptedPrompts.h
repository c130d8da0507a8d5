#pragma once

#include "platform/Prompts.h"

#include <QList>

#include <deque>

// Records every alert and answers `choose` from a queue (0, the first button, when the queue is empty).
class ScriptedPrompts : public Prompts {
public:
    enum Kind { Message, Sheet, ShowMe, Choose };
    struct Record {
        Kind kind;
        QString text;
        QString info;
        QStringList buttons;
    };

    void message(const QString& text, const QString& info = {}) override;
    void messageAsSheet(QObject* window, const QString& text) override;
    void showMe(const QString& windowTitle, const QString& text) override;
    int choose(const QString& text, const QString& info, const QStringList& buttons) override;
    int chooseWithEscape(const QString& windowTitle, const QString& text, const QString& info,
                         const QStringList& buttons, int escapeButton) override;

    // The answer of an alert closed without a choice: the last button, or the one chooseWithEscape names.
    static constexpr int kEscape = -1;
    void answer(int buttonIndex) { m_answers.push_back(buttonIndex); }
    // The next `count` messages (alerts with one OK button) are closed with Escape.
    void escapeMessages(int count = 1) { m_escapedMessages += count; }
    QList<Record> records;
    void clear()
    {
        records.clear();
        m_answers.clear();
        m_escapedMessages = 0;
    }

private:
    std::deque<int> m_answers;
    int m_escapedMessages = 0;
};
