#pragma once

#include <QString>

#include <vector>

// One shared copy of each short text: records that repeat a name, place, date or tag hold the same string data.
// An open-addressing table whose probes run over a compact array of hashes (a few bytes a slot, so it mostly stays
// in the cache) and read a text only when its hash agrees; QSet<QString> compares the texts at every probe instead.
class SharedTexts {
public:
    static constexpr qsizetype kLongest = 40; // longer texts rarely repeat

    // Makes `text` share the data of an equal text seen before, or keeps it for the texts to come.
    void share(QString& text);
    void clear();

private:
    void grow();
    std::vector<quint32> m_hashes; // 0: a free slot; otherwise the text's hash with the lowest bit set
    std::vector<QString> m_texts;
    size_t m_count = 0;
};
