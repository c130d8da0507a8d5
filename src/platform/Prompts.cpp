#include "platform/Prompts.h"

#include "platform/ScriptedPrompts.h"

namespace {
Prompts* g_installed = nullptr;
int g_escapedAlerts = 0;
}

Prompts& Prompts::current()
{
    static ScriptedPrompts fallback;
    return g_installed ? *g_installed : fallback;
}

void Prompts::install(Prompts* p) { g_installed = p; }

int Prompts::escapedAlerts() { return g_escapedAlerts; }

void Prompts::noteEscapedAlert() { ++g_escapedAlerts; }

void ScriptedPrompts::message(const QString& text, const QString& info)
{
    records.append({Message, text, info, {}});
    if (m_escapedMessages > 0) {
        --m_escapedMessages;
        noteEscapedAlert();
    }
}
void ScriptedPrompts::messageAsSheet(QObject*, const QString& text) { records.append({Sheet, text, {}, {}}); }
void ScriptedPrompts::showMe(const QString& windowTitle, const QString& text)
{
    records.append({ShowMe, windowTitle, text, {}});
}

int ScriptedPrompts::choose(const QString& text, const QString& info, const QStringList& buttons)
{
    return chooseWithEscape(kAlertTitle, text, info, buttons, int(buttons.size()) - 1);
}

int ScriptedPrompts::chooseWithEscape(const QString&, const QString& text, const QString& info,
                                      const QStringList& buttons, int escapeButton)
{
    records.append({Choose, text, info, buttons});
    if (m_answers.empty())
        return 0;
    int a = m_answers.front();
    m_answers.pop_front();
    if (a != kEscape)
        return a;
    noteEscapedAlert();
    return escapeButton;
}
