#include "gedcom/GedRecArena.h"

#include "gedcom/GedRec.h"

#include <algorithm>
#include <cstdint>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#include <unistd.h>
#endif

// A large file's lines fill a hundred megabytes and more of blocks, touched once each as the reader
// fills them: page by page that would be tens of thousands of page faults. The pages of a full-size
// block are made in one call instead (pages the allocator had in use already are left as they are).
GedRecArena::Block GedRecArena::newBlock(std::size_t size)
{
    Block block = std::make_unique_for_overwrite<std::byte[]>(size);
#if defined(Q_OS_LINUX) && defined(MADV_POPULATE_WRITE)
    if (size == kBlockSize) {
        static const auto pageSize = std::uintptr_t(sysconf(_SC_PAGESIZE));
        const auto from = (reinterpret_cast<std::uintptr_t>(block.get()) + pageSize - 1) & ~(pageSize - 1);
        const auto to = (reinterpret_cast<std::uintptr_t>(block.get()) + size) & ~(pageSize - 1);
        if (to > from)
            madvise(reinterpret_cast<void*>(from), to - from, MADV_POPULATE_WRITE);  // a hint: may fail
    }
#endif
    return block;
}

GedRecArena::GedRecArena(GedRecArena* tags, bool releasedEarly)
    : m_tagOwner(tags)
    , m_releasedEarly(releasedEarly)
{
}

GedRecArena::~GedRecArena() = default;

void* GedRecArena::allocate(std::size_t bytes)
{
    constexpr std::size_t align = alignof(std::max_align_t) < 8 ? alignof(std::max_align_t) : 8;
    bytes = (bytes + align - 1) & ~(align - 1);
    if (bytes > kLargePiece) {
        // A large piece gets a block of its own, so the current block is not wasted. It is kept
        // apart so that the ordinary blocks stay in the order they were filled.
        m_large.push_back(std::make_unique_for_overwrite<std::byte[]>(bytes));
        m_allocated += bytes;
        return m_large.back().get();
    }
    if (bytes > m_left) {
        const std::size_t size = std::max(m_nextBlockSize, bytes);
        m_nextBlockSize = std::min(2 * m_nextBlockSize, kBlockSize);
        m_blocks.push_back(newBlock(size));
        m_blockSizes.push_back(size);
        m_next = m_blocks.back().get();
        m_left = size;
        m_allocated += size;
    }
    void* p = m_next;
    m_next += bytes;
    m_left -= bytes;
    return p;
}

void GedRecArena::releaseBlocksBefore(std::size_t mark)
{
    mark = std::min(mark, m_blocks.empty() ? 0 : m_blocks.size() - 1);  // the block being filled stays
    for (; m_firstLive < mark; ++m_firstLive) {
        m_blocks[m_firstLive].reset();
        m_allocated -= m_blockSizes[m_firstLive];
    }
}

void GedRecArena::releaseAll()
{
    m_blocks.clear();
    m_blockSizes.clear();
    m_large.clear();
    m_allocated = 0;
    m_firstLive = 0;
    m_next = nullptr;
    m_left = 0;
    m_nextBlockSize = kFirstBlockSize;
}

const QString* GedRecArena::internTag(QStringView tag, quint8* tagClass)
{
    if (m_tagOwner)
        return m_tagOwner->internTag(tag, tagClass);
    if (const QString* known = GedRec::knownTag(tag, tagClass))
        return known;
    const auto it = m_tagIndex.constFind(tag);
    if (it != m_tagIndex.constEnd()) {
        *tagClass = (*it)->tagClass;
        return &(*it)->text;
    }
    Tag& t = m_tags.emplace_back();
    t.text = tag.toString();
    t.tagClass = 0;  // every tag of a class is a known tag
    m_tagIndex.insert(QStringView(t.text), &t);
    *tagClass = 0;
    return &t.text;
}
