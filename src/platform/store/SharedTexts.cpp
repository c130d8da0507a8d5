#include "platform/store/SharedTexts.h"

#include <QHashFunctions>

void SharedTexts::share(QString& text)
{
    if (text.isNull() || text.size() > kLongest)
        return;
    if ((m_count + 1) * 2 > m_hashes.size())
        grow();
    const size_t full = qHash(QStringView(text));
    const quint32 hash = quint32(full) | 1;
    const size_t mask = m_hashes.size() - 1;
    for (size_t i = (full >> 32 ^ full) & mask;; i = (i + 1) & mask) {
        if (m_hashes[i] == 0) {
            m_hashes[i] = hash;
            m_texts[i] = text;
            ++m_count;
            return;
        }
        if (m_hashes[i] == hash && m_texts[i] == text) {
            text = m_texts[i];
            return;
        }
    }
}

void SharedTexts::clear()
{
    m_hashes = {};
    m_texts = {};
    m_count = 0;
}

void SharedTexts::grow()
{
    std::vector<QString> texts;
    texts.swap(m_texts);
    m_hashes.assign(texts.empty() ? 4096 : texts.size() * 2, 0);
    m_texts.resize(m_hashes.size());
    m_count = 0;
    for (QString& text : texts)
        if (!text.isNull())
            share(text);
}
