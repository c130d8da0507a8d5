#include "shell/PlaceCompletion.h"

PlaceCompletion& PlaceCompletion::shared()
{
    static PlaceCompletion c;
    return c;
}

void PlaceCompletion::reset()
{
    m_field = nullptr;
    m_row = m_column = -1;
    m_last.clear();
}

QString PlaceCompletion::complete(const void* field, int row, int column, const QString& text, int caret,
                                  const Lookup& placeNamesStartingWith)
{
    if (field != m_field || row != m_row || column != m_column) {
        m_field = field;
        m_row = row;
        m_column = column;
        m_last.clear();
    }
    const QString previous = m_last;
    m_last = text;
    if (text.isEmpty() || caret != text.size() || text.size() <= previous.size() || !placeNamesStartingWith)
        return {};
    const QStringList places = placeNamesStartingWith(text);
    if (places.isEmpty() || places.first().size() <= text.size())
        return {};
    return places.first();
}
