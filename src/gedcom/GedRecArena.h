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
// given back when the arena goes; the forest that owns it outlives its records.
//
// Memory can also be given back in file order while the arena lives (releaseBlocksBefore): the
// blocks are filled one after the other, so once every record made before a mark is gone, the
// blocks wholly before it can go.
class GedRecArena {
public:
    // `tags`, when given, keeps the tags of this arena's records: another arena of the same forest
    // that outlives this one, so that no record of the forest points at a tag this arena let go.
    // `releasedEarly`: the forest lets go of the records made here before it goes itself (see
    // GedRec::isReleasedEarly).
    explicit GedRecArena(GedRecArena* tags = nullptr, bool releasedEarly = false);
    ~GedRecArena();
    GedRecArena(const GedRecArena&) = delete;
    GedRecArena& operator=(const GedRecArena&) = delete;

    // `bytes` of storage aligned for pointers; valid until the arena goes or its block is released.
    void* allocate(std::size_t bytes);

    // The one shared string of a tag, with its tag class (GedRec's tables), for tags the shared
    // table of known tags lacks.
    const QString* internTag(QStringView tag, quint8* tagClass);

    // Where the next piece will lie, in the order of the blocks.
    std::size_t mark() const { return m_blocks.empty() ? 0 : m_blocks.size() - 1; }
    // Gives back the blocks wholly before the mark: the caller has destroyed every record made in
    // them (everything allocated before the mark was taken).
    void releaseBlocksBefore(std::size_t mark);
    // Gives back every block, large pieces too: no record made in the arena is left.
    void releaseAll();

    // The memory the arena holds now.
    std::size_t bytesAllocated() const { return m_allocated; }
    bool releasedEarly() const { return m_releasedEarly; }

private:
    struct Tag {
        QString text;
        quint8 tagClass = 0;
    };
    // Blocks grow from small (most forests are small: a test, a few records) to this size: one huge
    // page of the processor, which the system is asked to use (see newBlock).
    static constexpr std::size_t kFirstBlockSize = 4 * 1024;
    static constexpr std::size_t kBlockSize = 2 * 1024 * 1024;
    // Pieces larger than this get a block of their own.
    static constexpr std::size_t kLargePiece = 64 * 1024;
    using Block = std::unique_ptr<std::byte[]>;
    static Block newBlock(std::size_t size);
    GedRecArena* m_tagOwner;
    bool m_releasedEarly;
    std::size_t m_nextBlockSize = kFirstBlockSize;
    std::vector<Block> m_blocks;  // in the order they were filled
    std::vector<std::size_t> m_blockSizes;
    std::vector<Block> m_large;   // pieces with a block of their own
    std::size_t m_firstLive = 0;                          // blocks before it were released
    std::byte* m_next = nullptr;
    std::size_t m_left = 0;
    std::size_t m_allocated = 0;
    std::deque<Tag> m_tags;             // stable addresses: records point at these strings
    QHash<QStringView, const Tag*> m_tagIndex;
};
