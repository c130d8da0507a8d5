#pragma once

#include <QByteArray>
#include <QHashFunctions>
#include <QString>

#include <vector>

// One shared copy of each short value (a QString or a QByteArray): records that repeat a name, place, date, tag or
// small data block hold the same data. An open-addressing table whose probes run over a compact array of hashes
// (a few bytes a slot, so it mostly stays in the cache) and read a value only when its hash agrees; a QSet compares
// the values themselves at every probe instead, a cache miss each.
template <class T> class SharedValues {
public:
    static constexpr qsizetype kLongest = 40; // longer values rarely repeat

    // Makes `value` share the data of an equal value seen before, or keeps it for the values to come.
    void share(T& value)
    {
        if (value.isNull() || value.size() > kLongest)
            return;
        if ((m_count + 1) * 2 > m_hashes.size())
            grow();
        const size_t full = hashOf(value);
        const quint32 hash = quint32(full) | 1;
        const size_t mask = m_hashes.size() - 1;
        for (size_t i = (full >> 32 ^ full) & mask;; i = (i + 1) & mask) {
            if (m_hashes[i] == 0) {
                m_hashes[i] = hash;
                m_values[i] = value;
                ++m_count;
                return;
            }
            // A value copied from a record that already shares it holds the same data: no need to compare it.
            if (m_hashes[i] == hash && (sameData(m_values[i], value) || m_values[i] == value)) {
                value = m_values[i];
                return;
            }
        }
    }

    void clear()
    {
        m_hashes = {};
        m_values = {};
        m_count = 0;
    }

private:
    static bool sameData(const T& a, const T& b) { return a.constData() == b.constData() && a.size() == b.size(); }
    static size_t hashOf(const QString& s) { return qHash(QStringView(s)); }
    static size_t hashOf(const QByteArray& b) { return qHash(QByteArrayView(b)); }

    void grow()
    {
        std::vector<T> values;
        values.swap(m_values);
        m_hashes.assign(values.empty() ? 4096 : values.size() * 2, 0);
        m_values.resize(m_hashes.size());
        m_count = 0;
        for (T& value : values)
            if (!value.isNull())
                share(value);
    }

    std::vector<quint32> m_hashes; // 0: a free slot; otherwise the value's hash with the lowest bit set
    std::vector<T> m_values;
    size_t m_count = 0;
};
