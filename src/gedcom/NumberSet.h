#pragma once

#include <QSet>

#include <algorithm>
#include <vector>

// A set of record numbers. The numbers of a file mostly run from 1 up to about its number of records: those are
// bits in a vector, read and written at a fraction of a hash table's cost; any other number (negative, or far
// beyond the others) goes to a hash set.
class NumberSet {
public:
    bool contains(int n) const
    {
        if (n >= 0 && size_t(n) < m_bits.size())
            return m_bits[size_t(n)];
        return n >= 0 && n < kMostBits ? false : m_others.contains(n);
    }
    void insert(int n)
    {
        if (n >= 0 && n < kMostBits) {
            if (size_t(n) >= m_bits.size())
                m_bits.resize(std::max(size_t(n) + 1, m_bits.size() * 2));
            m_bits[size_t(n)] = true;
        } else {
            m_others.insert(n);
        }
    }

private:
    static constexpr int kMostBits = 1 << 26; // 8 MB of bits at most
    std::vector<bool> m_bits;
    QSet<int> m_others;
};
