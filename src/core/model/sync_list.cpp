#include "model/sync_list.h"

#include <algorithm>
#include <iterator>

#include "platform/large_page_allocator.h"

namespace verbanta {

Position SyncList::at(int row) const
{
    if (row < 0 || row >= count())
        return nullptr;
    return m_nodes[static_cast<std::size_t>(row)];
}

int SyncList::indexOf(Position pos) const
{
    if (!contains(pos))
        return -1;
    if (pos->m_index >= m_cleanUpTo)
        renumber();
    return static_cast<int>(pos->m_index);
}

Position SyncList::next(Position pos) const
{
    const int row = indexOf(pos);
    return row < 0 ? nullptr : at(row + 1);
}

Position SyncList::prev(Position pos) const
{
    const int row = indexOf(pos);
    return row <= 0 ? nullptr : at(row - 1);
}

Position SyncList::insertAt(int row, SyncEntry entry)
{
    const std::size_t index = std::clamp<std::size_t>(static_cast<std::size_t>(std::max(row, 0)),
                                                      0, m_nodes.size());
    Position pos = m_pool.take(std::move(entry));
    pos->m_list = this;
    pos->m_index = index;
    m_nodes.insert(m_nodes.begin() + static_cast<std::ptrdiff_t>(index), pos);
    // Every node from here on may carry a stale number; all of them are at least `index`,
    // so lowering the mark to it keeps "number below the mark means correct".
    markDirty(index);
    return pos;
}

Position SyncList::insertAfter(Position pos, SyncEntry entry)
{
    const int row = indexOf(pos);
    return insertAt(row < 0 ? 0 : row + 1, std::move(entry));
}

Position SyncList::insertBefore(Position pos, SyncEntry entry)
{
    const int row = indexOf(pos);
    return insertAt(row < 0 ? count() : row, std::move(entry));
}

void SyncList::remove(Position pos)
{
    const int row = indexOf(pos);
    if (row < 0)
        return;
    m_nodes.erase(m_nodes.begin() + row);
    m_pool.give(pos);
    markDirty(static_cast<std::size_t>(row));
}

void SyncList::clear()
{
    m_nodes.clear();
    m_pool.reset();
    m_cleanUpTo = 0;
}

SyncNode* SyncList::NodePool::take(SyncEntry&& entry)
{
    if (!m_spare.empty()) {
        SyncNode* node = m_spare.back();
        m_spare.pop_back();
        node->entry = std::move(entry);
        return node;
    }
    if (m_blocks.empty() || m_usedInLast == m_blocks.back().capacity) {
        const std::size_t capacity =
            m_blocks.empty() ? kFirstBlockNodes
                             : std::min(m_blocks.back().capacity * 2, kLargestBlockNodes);
        m_blocks.push_back({platform::LargePageAllocator<SyncNode>().allocate(capacity), capacity});
        m_usedInLast = 0;
    }
    SyncNode* node = std::construct_at(m_blocks.back().nodes + m_usedInLast);
    ++m_usedInLast;
    node->entry = std::move(entry);
    return node;
}

void SyncList::NodePool::give(SyncNode* node)
{
    // The entry's texts go now; a handle kept by mistake no longer belongs to any list.
    node->entry = SyncEntry{};
    node->m_list = nullptr;
    m_spare.push_back(node);
}

void SyncList::NodePool::reset()
{
    for (std::size_t b = 0; b < m_blocks.size(); ++b) {
        const Block& block = m_blocks[b];
        std::destroy_n(block.nodes, b + 1 == m_blocks.size() ? m_usedInLast : block.capacity);
        platform::LargePageAllocator<SyncNode>().deallocate(block.nodes, block.capacity);
    }
    m_blocks.clear();
    m_usedInLast = 0;
    m_spare.clear();
}

void SyncList::markDirty(std::size_t from) const
{
    m_cleanUpTo = std::min(m_cleanUpTo, from);
}

void SyncList::renumber() const
{
    for (std::size_t i = m_cleanUpTo; i < m_nodes.size(); ++i)
        m_nodes[i]->m_index = i;
    m_cleanUpTo = m_nodes.size();
}

SyncList::Batch::~Batch()
{
    auto& nodes = m_list.m_nodes;
    nodes.insert(nodes.end(), m_back.rbegin(), m_back.rend());
    // Rows before the lowest edit kept their nodes; every node from there on may be stale and
    // its stored number is at least that row, so lowering the mark keeps the invariant.
    m_list.markDirty(m_lowest);
}

Position SyncList::Batch::at(int row) const
{
    if (row < 0 || row >= count())
        return nullptr;
    const std::size_t r = static_cast<std::size_t>(row);
    const std::size_t gap = m_list.m_nodes.size();
    return r < gap ? m_list.m_nodes[r] : m_back[m_back.size() - 1 - (r - gap)];
}

void SyncList::Batch::moveGap(std::size_t row)
{
    auto& nodes = m_list.m_nodes;
    while (nodes.size() > row) {
        m_back.push_back(nodes.back());
        nodes.pop_back();
    }
    while (nodes.size() < row) {
        nodes.push_back(m_back.back());
        m_back.pop_back();
    }
}

Position SyncList::Batch::insertAt(int row, SyncEntry entry)
{
    const std::size_t index =
        std::min(static_cast<std::size_t>(std::max(row, 0)), static_cast<std::size_t>(count()));
    Position pos = m_list.m_pool.take(std::move(entry));
    pos->m_list = &m_list;
    pos->m_index = index;
    auto& nodes = m_list.m_nodes;
    if (inPlace()) {
        nodes.insert(nodes.begin() + static_cast<std::ptrdiff_t>(index), pos);
    } else {
        moveGap(index);
        nodes.push_back(pos);
    }
    m_lowest = std::min(m_lowest, index);
    return pos;
}

SyncEntry SyncList::Batch::removeAt(int row)
{
    const std::size_t index = static_cast<std::size_t>(row);
    SyncEntry entry;
    auto& nodes = m_list.m_nodes;
    Position removed;
    if (inPlace()) {
        removed = nodes[index];
        nodes.erase(nodes.begin() + static_cast<std::ptrdiff_t>(index));
    } else {
        moveGap(index);
        removed = m_back.back();
        m_back.pop_back();
    }
    entry = std::move(removed->entry);
    m_list.m_pool.give(removed);
    m_lowest = std::min(m_lowest, index);
    return entry;
}

SyncList::TailHold::TailHold(SyncList& list, int row)
    : m_list(list),
      m_row(std::min(static_cast<std::size_t>(std::max(row, 0)), list.m_nodes.size())),
      m_mark(std::min(list.m_cleanUpTo, m_row))
{
    auto& nodes = m_list.m_nodes;
    m_held.assign(nodes.begin() + static_cast<std::ptrdiff_t>(m_row), nodes.end());
    nodes.resize(m_row);
    m_list.markDirty(m_row);
}

SyncList::TailHold::~TailHold()
{
    auto& nodes = m_list.m_nodes;
    nodes.insert(nodes.end(), m_held.begin(), m_held.end());
    // While they were aside the list may have renumbered its shorter self and raised the
    // mark; the held rows' numbers are correct or stale only from the mark they had.
    m_list.markDirty(m_mark);
}

}  // namespace verbanta
