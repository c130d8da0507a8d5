#pragma once

#include <QHash>
#include <QString>
#include <QStringView>

#include <cstddef>
#include <deque>
#include <memory>
#include <vector>

// The storage of the line records of one forest: records, their values and identifiers and their
// sub-record lists are carved out of large blocks, and each distinct tag is kept once. A file of
// two million lines would otherwise make two million small heap blocks of each kind. Everything is
// given back at once when the arena goes; the forest that owns it outlives its records.
class GedRecArena {
public:
    GedRecArena();
    ~GedRecArena();
    GedRecArena(const GedRecArena&) = delete;
    GedRecArena& operator=(const GedRecArena&) = delete;

    // `bytes` of storage aligned for pointers; valid until the arena goes.
    void* allocate(std::size_t bytes);

    // The one shared string of a tag, with its tag class (GedRec's tables), for tags the shared
    // table of known tags lacks.
    const QString* internTag(QStringView tag, quint8* tagClass);

    std::size_t bytesAllocated() const { return m_allocated; }

private:
    struct Tag {
        QString text;
        quint8 tagClass = 0;
    };
    // Blocks grow from small (most forests are small: a test, a few records) to this size.
    static constexpr std::size_t kFirstBlockSize = 4 * 1024;
    static constexpr std::size_t kBlockSize = 256 * 1024;
    std::size_t m_nextBlockSize = kFirstBlockSize;
    std::vector<std::unique_ptr<std::byte[]>> m_blocks;
    std::byte* m_next = nullptr;
    std::size_t m_left = 0;
    std::size_t m_allocated = 0;
    std::deque<Tag> m_tags;             // stable addresses: records point at these strings
    QHash<QStringView, const Tag*> m_tagIndex;
};
