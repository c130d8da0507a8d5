#include "editor/EventNameCompletion.h"

#include "model/FTEvent.h"

#include "platform/store/TextMatch.h"

void EventNameCompletion::reset()
{
    m_control = nullptr;
    m_row = m_column = -1;
    m_previous.clear();
}

QString EventNameCompletion::complete(const void* control, int row, int column, const QString& text, int caret,
    int eventType, const QString& subtype, const Lookup& namesForSubtype)
{
    if (eventType >= FTEvent::BirthEvent && eventType <= FTEvent::MarriageEvent)
        return {};
    if (control != m_control || row != m_row || column != m_column) {
        m_control = control;
        m_row = row;
        m_column = column;
        m_previous.clear();
    }
    const bool typedOneMore = !text.isEmpty() && caret == text.size() && text.size() == m_previous.size() + 1;
    m_previous = text;
    if (!typedOneMore || subtype.isEmpty() || !namesForSubtype)
        return {};
    for (const QString& name : namesForSubtype(subtype))
        if (TextMatch::beginsWith(name, text))
            return name;
    return {};
}
