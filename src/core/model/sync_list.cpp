#include "model/sync_list.h"

#include <algorithm>

namespace verbanta {

Position SyncList::at(int row) const
{
    if (row < 0 || row >= count())
        return nullptr;
    return m_nodes[static_cast<std::size_t>(row)].get();
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
    auto node = std::make_unique<SyncNode>();
    node->entry = std::move(entry);
    node->m_list = this;
    node->m_index = index;
    Position pos = node.get();
    m_nodes.insert(m_nodes.begin() + static_cast<std::ptrdiff_t>(index), std::move(node));
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
    markDirty(static_cast<std::size_t>(row));
}

void SyncList::clear()
{
    m_nodes.clear();
    m_cleanUpTo = 0;
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

}  // namespace verbanta
