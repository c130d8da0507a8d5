#pragma once

#include <QString>

#include <memory>

class QTextToSpeech;

// Speaks a text with the desktop's speech engine, stopping whatever it was saying. Without a working engine the
// first request tells the user once (per run) that speaking is not available, and later ones stay silent.
class CdSpeaker {
public:
    CdSpeaker();
    ~CdSpeaker();
    void say(const QString& text);

private:
    std::unique_ptr<QTextToSpeech> m_synth;
};
