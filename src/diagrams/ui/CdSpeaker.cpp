#include "diagrams/ui/CdSpeaker.h"

#include "shell/DisplayMsg.h"

#include "platform/FTLog.h"
#include "platform/Localizer.h"

#include <QTextToSpeech>

namespace {
bool gToldSpeechIsMissing = false;
}

CdSpeaker::CdSpeaker() = default;
CdSpeaker::~CdSpeaker() = default;

void CdSpeaker::say(const QString& text)
{
    if (!m_synth && !QTextToSpeech::availableEngines().isEmpty())
        m_synth = std::make_unique<QTextToSpeech>();
    if (!m_synth || m_synth->state() == QTextToSpeech::Error) {
        FTLog(QStringLiteral("No speech engine: %1").arg(m_synth ? m_synth->errorString() : QStringLiteral("none installed")));
        if (!gToldSpeechIsMissing) {
            gToldSpeechIsMissing = true;
            DisplayMsg(LocalizedString(QStringLiteral("SpeechNotAvailable")));
        }
        return;
    }
    m_synth->stop();
    m_synth->say(text);
}
