#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "model/sync_entry.h"

namespace verbanta {

class SyncList;

/// A node of a sync list. Its address is the entry's position handle: it stays valid until
/// the entry is removed.
class SyncNode {
public:
    SyncEntry entry;

private:
    friend class SyncList;
    const SyncList* m_list = nullptr;
    std::size_t m_index = 0;  ///< valid when below the list's renumbering mark
};

/// An opaque position in a sync list; null means none.
using Position = SyncNode*;

/// One language's ordered list of entries with stable position handles.
/// Nodes sit in a vector of pointers, so finding a row and a row's index are O(1); indices
/// after an insertion or removal are renumbered lazily, when next asked for.
class SyncList {
public:
    SyncList() = default;
    SyncList(const SyncList&) = delete;
    SyncList& operator=(const SyncList&) = delete;

    int count() const { return static_cast<int>(m_nodes.size()); }
    bool empty() const { return m_nodes.empty(); }

    Position head() const { return m_nodes.empty() ? nullptr : m_nodes.front(); }
    Position tail() const { return m_nodes.empty() ? nullptr : m_nodes.back(); }
    /// The node at the row, or none outside 0..count-1.
    Position at(int row) const;
    /// The row of a node of this list, or -1 for none or a node of another list.
    int indexOf(Position pos) const;
    Position next(Position pos) const;
    Position prev(Position pos) const;
    bool contains(Position pos) const { return pos && pos->m_list == this; }

    /// Inserts at the row (0..count); returns the new node.
    Position insertAt(int row, SyncEntry entry);
    Position insertAfter(Position pos, SyncEntry entry);  ///< at the head for none
    Position insertBefore(Position pos, SyncEntry entry); ///< at the tail for none
    /// Removes the node; its handle becomes invalid.
    void remove(Position pos);
    void clear();

    class Batch;
    class TailHold;

    /// The entry at a row known to be valid, without a copy.
    SyncEntry& operator[](int row) { return m_nodes[static_cast<std::size_t>(row)]->entry; }
    const SyncEntry& operator[](int row) const
    {
        return m_nodes[static_cast<std::size_t>(row)]->entry;
    }

    /// Calls f(entry) for every entry in order; the cheap way to walk a whole list.
    template <class F>
    void forEach(F&& f) const
    {
        walk([&](SyncNode& n) { f(static_cast<const SyncEntry&>(n.entry)); });
    }
    template <class F>
    void forEach(F&& f)
    {
        walk([&](SyncNode& n) { f(n.entry); });
    }
    /// The rows whose entries satisfy the predicate, in order.
    template <class P>
    std::vector<int> rowsWhere(P&& pred) const
    {
        std::vector<int> rows;
        int row = 0;
        walk([&](SyncNode& n) {
            if (pred(static_cast<const SyncEntry&>(n.entry)))
                rows.push_back(row);
            ++row;
        });
        return rows;
    }

private:
    /// Nodes lie apart in memory, so a walk of a long list waits on each one in turn unless
    /// the nodes a little ahead are asked for while the current one is looked at.
    template <class F>
    void walk(F&& f) const
    {
        constexpr std::size_t kAhead = 8;
        const std::size_t n = m_nodes.size();
        for (std::size_t i = 0; i < n; ++i) {
#if defined(__GNUC__)
            if (i + kAhead < n)
                __builtin_prefetch(m_nodes[i + kAhead]);
#endif
            f(*m_nodes[i]);
        }
    }
    void renumber() const;
    void markDirty(std::size_t from) const;

    /// Nodes are carved from blocks of many, so that a list of a million entries costs a few
    /// hundred allocations rather than a million, and a walk through it finds its nodes side
    /// by side. A removed node's entry is emptied and the node kept for the next insertion.
    class NodePool {
    public:
        NodePool() = default;
        NodePool(const NodePool&) = delete;
        NodePool& operator=(const NodePool&) = delete;
        ~NodePool() { reset(); }
        SyncNode* take(SyncEntry&& entry);
        void give(SyncNode* node);
        void reset();

    private:
        /// Blocks double from the first to the largest: a short list takes little memory, a
        /// long one gets blocks of megabytes, which huge pages back.
        static constexpr std::size_t kFirstBlockNodes = 2048;
        static constexpr std::size_t kLargestBlockNodes = 65536;
        struct Block {
            SyncNode* nodes;
            std::size_t capacity;
        };
        std::vector<Block> m_blocks;
        std::size_t m_usedInLast = 0;  ///< nodes built in the last block
        std::vector<SyncNode*> m_spare;
    };

    friend class Batch;
    friend class TailHold;
    NodePool m_pool;
    std::vector<SyncNode*> m_nodes;
    /// Nodes whose stored number is below this mark carry their correct row; any other
    /// node's number is stale and no smaller than the mark.
    mutable std::size_t m_cleanUpTo = 0;
};

/// A run of insertions and removals on one list through a movable gap: edits that walk the
/// list in one direction cost O(n + k) in all instead of a shift of the tail at each edit.
/// While a batch is open the list itself must not be used; closing it renumbers lazily.
class SyncList::Batch {
public:
    explicit Batch(SyncList& list) : m_list(list), m_lowest(list.m_nodes.size()) {}
    ~Batch();
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;

    int count() const { return static_cast<int>(m_list.m_nodes.size() + m_back.size()); }
    /// The node at the row, or none outside 0..count-1.
    Position at(int row) const;
    /// Inserts so that the new entry gets the row (clamped to 0..count); the new node.
    Position insertAt(int row, SyncEntry entry);
    /// Removes the node at a row in 0..count-1 and returns its entry.
    SyncEntry removeAt(int row);

private:
    /// The first few edits shift the list's vector in place, which is faster than opening a
    /// gap for an undo step of one or two rows; later ones go through the gap.
    static constexpr int kInPlaceEdits = 4;

    void moveGap(std::size_t row);
    bool inPlace() { return m_back.empty() && m_edits++ < kInPlaceEdits; }

    SyncList& m_list;
    /// The rows from the gap on, the last row first; the list's own vector holds those before.
    std::vector<SyncNode*> m_back;
    std::size_t m_lowest;  ///< the lowest row an edit touched
    int m_edits = 0;
};

/// Holds the rows from a given row on aside while it lives, so that a run of insertions at the
/// list's end (a parse that appends entry after entry) costs no shift of the rows after it;
/// they are put back after the inserted rows. Handles stay valid; the held rows must not be
/// asked for while they are aside.
class SyncList::TailHold {
public:
    TailHold(SyncList& list, int row);
    ~TailHold();
    TailHold(const TailHold&) = delete;
    TailHold& operator=(const TailHold&) = delete;

private:
    SyncList& m_list;
    std::size_t m_row;
    std::size_t m_mark;  ///< the renumbering mark the held rows need when they come back
    std::vector<SyncNode*> m_held;
};

}  // namespace verbanta
