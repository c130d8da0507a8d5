#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

// One shared copy of each short value (a QString or a QByteArray): records that repeat a name, place, date, tag or
// small data block hold the same data. An open-addressing table whose slots hold a value with its hash: a probe
// reads the value's data only when the hashes agree (a QSet compares the values themselves at every probe, a cache
// miss each).
template <class T> class SharedValues {
public:
    static constexpr qsizetype kLongest = 40; // longer values rarely repeat

    enum class Outcome { Skipped, Shared, Added };

    // Makes `value` share the data of an equal value seen before (Shared), or keeps it for the values to come
    // (Added). Null, long and built-in values are left alone (Skipped).
    Outcome share(T& value)
    {
        // Text built into the program (and an empty value) has no allocation: nothing to gain by sharing it.
        if (value.isNull() || value.size() > kLongest || !value.data_ptr().d_ptr())
            return Outcome::Skipped;
        // Many values come from a record that shares them already (a code, a tag, a copied field): a small cache
        // of the data the table holds answers those without hashing. The table keeps that data alive and, being
        // shared, unchanged, so a value whose own allocation starts there with the same size holds the same text.
        Seen& seen = m_seen[seenSlot(value.constData())];
        if (seen.data == value.constData() && seen.size == value.size())
            return Outcome::Shared;
        if ((m_count + 1) * 2 > m_slots.size())
            grow();
        const quint32 hash = hashOf(value);
        const size_t mask = m_slots.size() - 1;
        for (size_t i = home(hash, mask);; i = (i + 1) & mask) {
            Slot& slot = m_slots[i];
            if (slot.hash == 0) {
                slot.hash = hash;
                slot.value = value;
                ++m_count;
                seen = { value.constData(), value.size() };
                return Outcome::Added;
            }
            if (slot.hash == hash && sameValue(slot.value, value)) {
                if (slot.value.constData() != value.constData())
                    value = slot.value;
                seen = { value.constData(), value.size() };
                return Outcome::Shared;
            }
        }
    }

    void clear()
    {
        m_slots = {};
        m_count = 0;
        m_seen = {};
    }

private:
    struct Seen {
        const void* data = nullptr;
        qsizetype size = 0;
    };
    static constexpr size_t kSeenSlots = 1024;
    static size_t seenSlot(const void* data)
    {
        return size_t((quintptr(data) >> 4) * 0x9E3779B97F4A7C15ull >> 54) & (kSeenSlots - 1);
    }

    static bool sameValue(const T& a, const T& b)
    {
        return a.size() == b.size()
            && (a.constData() == b.constData()
                || std::memcmp(a.constData(), b.constData(), size_t(b.size()) * sizeof(*b.constData())) == 0);
    }

    // A short multiply-and-mix hash over whole words, kept inline: the values are at most 80 bytes and the call
    // into the library's general hash cost more than the hashing itself. The lowest bit is set: 0 marks a free slot.
    static quint32 hashOf(const T& value)
    {
        const auto* s = reinterpret_cast<const unsigned char*>(value.constData());
        size_t n = size_t(value.size()) * sizeof(*value.constData());
        const auto word = [](const unsigned char* p) {
            std::uint64_t w;
            std::memcpy(&w, p, sizeof w);
            return w;
        };
        const auto half = [](const unsigned char* p) {
            std::uint32_t w;
            std::memcpy(&w, p, sizeof w);
            return std::uint64_t(w);
        };
        constexpr std::uint64_t kMul = 0xbf58476d1ce4e5b9ull;
        std::uint64_t h = n * 0x9E3779B97F4A7C15ull;
        const auto mix = [&](std::uint64_t w) {
            h = (h ^ w) * kMul;
            h ^= h >> 29;
        };
        if (n >= 8) {
            const unsigned char* last = s + n - 8;
            for (; s < last; s += 8)
                mix(word(s));
            mix(word(last)); // the last word overlaps the one before when the length is not a multiple of 8
        } else if (n >= 4) {
            mix(half(s) << 32 | half(s + n - 4));
        } else if (n > 0) {
            mix(std::uint64_t(s[0]) << 16 | std::uint64_t(s[n / 2]) << 8 | s[n - 1]);
        }
        h = (h ^ (h >> 32)) * 0x94d049bb133111ebull;
        return quint32(h >> 32) | 1;
    }
    // The slot a hash starts its probe at, taken from the stored hash alone so that growing needs no rehashing.
    static size_t home(quint32 hash, size_t mask) { return size_t(hash >> 1) & mask; }

    void grow()
    {
        std::vector<Slot> slots(m_slots.empty() ? 4096 : m_slots.size() * 2);
        const size_t mask = slots.size() - 1;
        for (Slot& from : m_slots) {
            if (!from.hash)
                continue;
            size_t i = home(from.hash, mask);
            while (slots[i].hash)
                i = (i + 1) & mask;
            slots[i].hash = from.hash;
            slots[i].value = std::move(from.value);
        }
        m_slots.swap(slots);
    }

    // The hash and the value side by side: a probe that finds its value reads one cache line, not two.
    struct Slot {
        T value;
        quint32 hash = 0; // 0: a free slot; otherwise the value's hash (its lowest bit set)
    };
    std::vector<Slot> m_slots;
    size_t m_count = 0;
    std::array<Seen, kSeenSlots> m_seen {};
};
