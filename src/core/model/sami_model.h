#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/codepage.h"
#include "model/paragraph_style.h"
#include "model/sync_entry.h"
#include "model/sync_list.h"
#include "model/undo_journal.h"

namespace verbanta {

struct AppSettings;
class Messenger;

/// The whole content of one SAMI file: title, style sheet, one sync list per language slot,
/// the current language, the playback cursor and the undo journal.
/// Every entry operation works on the list of the current slot.
class SamiModel {
public:
    static constexpr int kMaxLanguages = 10;
    static constexpr int kSlotCount = 10;

    /// The reader's working state, kept in the model between parses.
    struct ParseState {
        std::array<Position, kSlotCount> insertAt{};   ///< insertion position per slot
        std::array<std::string, kSlotCount> foundClasses; ///< class as found, per created list
        SyncEntry pending;             ///< time, class and ID of the latest SYNC and P tags
        int paragraphCounter = 0;
        bool recordUndo = false;
    };

    /// The settings are read at the moment of use (`DisplayErrorSync`, `OneLetterSync`).
    explicit SamiModel(const AppSettings& settings);
    SamiModel(const SamiModel&) = delete;
    SamiModel& operator=(const SamiModel&) = delete;

    const AppSettings& settings() const { return *m_settings; }
    void setSettings(const AppSettings& settings) { m_settings = &settings; }
    /// Where file operations report their errors; by default nothing is shown.
    Messenger& messenger() const { return *m_messenger; }
    void setMessenger(Messenger& messenger) { m_messenger = &messenger; }

    // Whole model.
    void Reset(bool withDefaultHeader);
    void SetDefaultHeader();
    void ClearUndo();
    int GetLanguageCount() const { return static_cast<int>(languages.size()); }
    int GetCurrentSlot() const { return currentSlot; }
    void SetCurrentSlot(int slot);
    /// The class of the language whose slot is the current one, without its dot.
    std::string CurrentClassName() const;

    // Reading and writing SAMI (implemented with the reader and the writer under sami/).
    /// Reads a SAMI file in the encoding given, or the one it is detected in.
    bool LoadFile(const std::string& path, bool replace,
                  std::optional<TextEncoding> encoding = std::nullopt);
    bool LoadText(std::string_view text);
    bool SaveFile(const std::string& path, int languageIndex);
    bool ExportPlainText(const std::string& path);
    Position InsertTextBefore(int row, std::string_view text, bool merge);
    Position InsertTextAfter(int row, std::string_view text);
    Position AppendTextAt(Position pos, std::string_view text);
    void ReplaceAt(int row, std::string_view text);
    std::string BuildPreviewHtml(const SyncEntry& entry) const;

    // Style sheet.
    void SetParagraphRule(std::string_view ruleText);
    void SetIdStyleRule(std::string_view selector, std::string_view ruleText);
    void SetClassRule(std::string_view selector, std::string_view ruleText);
    int FindStyle(std::string_view selector) const;
    int AddIdStyle(std::string_view selector);
    int AddLanguageClass(std::string_view selector);
    void InsertLanguageClassAt(int index, std::string_view selector);
    void RemoveIdStyle(std::string_view selector);
    void RemoveClass(std::string_view selector);

    // Entries of the current list.
    int GetCount() const { return list().count(); }
    Position GetHeadPosition() const { return list().head(); }
    Position GetTailPosition() const { return list().tail(); }
    SyncEntry GetNext(Position& pos) const;
    SyncEntry GetPrev(Position& pos) const;
    SyncEntry GetAt(Position pos) const;
    /// Direct access for hot paths that must not copy; null for none.
    const SyncEntry* entryAt(Position pos) const;
    Position FindIndex(int row) const { return list().at(row); }
    /// The row of a position, 0 when it is not in the current list.
    int IndexOf(Position pos) const;
    SyncEntry GetFirst() const;
    SyncEntry GetLast() const;
    void InitEntry(SyncEntry& entry) const;
    /// An end sync at the time: an entry made by `InitEntry` with the text "&nbsp;".
    SyncEntry endSyncEntry(std::int32_t timeMs) const;

    Position AddHead(const SyncEntry& entry, bool recordUndo);
    Position AddTail(const SyncEntry& entry, bool recordUndo);
    Position InsertBefore(Position pos, const SyncEntry& entry, bool recordUndo);
    Position InsertAfter(Position pos, const SyncEntry& entry, bool recordUndo);
    Position InsertEndSync(Position pos, std::int32_t timeMs, bool recordUndo);
    bool Remove(Position pos, bool withFollowingEnd, bool recordUndo);
    bool RemoveAt(int row, bool withFollowingEnd);
    void SetAt(Position pos, const SyncEntry& entry, bool recordUndo);
    Position MoveUp(Position pos);
    Position MoveDown(Position pos);
    void SetRangeStartAt(int row, bool value);
    void SetRangeEndAt(int row, bool value);
    void SetSyncErrorAt(int row, bool value);
    bool AnyChecked() const;
    /// Marks timing errors of the current list; the count, or -1 when the option is off.
    int CheckOrder();

    // End-sync tools (end_sync_tools.cpp): each run over the current list is one undo step.
    /// Sets every caption's end sync to its start plus the duration; the number of changes, or
    /// -1 when the run is limited to the marked range and no range is marked.
    int ResetEndSyncsByDuration(std::int32_t durationMs, bool onlyIfShorter, bool onlyIfLonger,
                                bool rangeOnly);
    /// The same with the duration taken from each caption's letter count.
    int ResetEndSyncsByLength(std::int32_t msPerCharacter, bool rangeOnly);
    /// Removes the end syncs that are out of order with their neighbours; the number removed.
    int RemoveInvalidEndSyncs();

    /// Inserts into any slot's list after a position (at the head for none), as the reader
    /// does; pushes an insert record when asked.
    Position insertAfterInSlot(int slot, Position pos, SyncEntry entry, bool recordUndo);

    // Playback cursor.
    bool SeekCursor(std::int32_t timeMs);
    bool HasCursor() const { return playCursor != nullptr; }
    SyncEntry GetCursorEntry() const;
    SyncEntry NextFromCursor();
    bool CursorHasPrevious() const;
    SyncEntry GetEntryBeforeCursor() const;
    void ResetCursor();
    int GetCursorIndex() const;

    // Undo journal.
    UndoJournal& journal() { return m_journal; }
    const UndoJournal& journal() const { return m_journal; }
    JournalPosition PushUndo(const UndoRecord& record) { return m_journal.PushUndo(record); }
    JournalPosition PushUndo(UndoRecord&& record) { return m_journal.PushUndo(std::move(record)); }
    void GroupUndo(JournalPosition first, JournalPosition last) { m_journal.GroupUndo(first, last); }
    const UndoRecord* StepBack() { return m_journal.StepBack(); }
    const UndoRecord* StepForward() { return m_journal.StepForward(); }
    bool CanUndo() const { return m_journal.CanUndo(); }
    bool CanRedo() const { return m_journal.CanRedo(); }

    /// While one of these lives, `CheckOrder` requests are collected and run once at its end:
    /// bulk commands stay linear and end with the same marks.
    class DeferredCheckOrder {
    public:
        explicit DeferredCheckOrder(SamiModel& model);
        ~DeferredCheckOrder();
        DeferredCheckOrder(const DeferredCheckOrder&) = delete;
        DeferredCheckOrder& operator=(const DeferredCheckOrder&) = delete;

    private:
        SamiModel& m_model;
    };

    /// Row edits of one slot's list in one pass, for bulk commands and undo replay: edits that
    /// walk the list in one direction stay linear. Recorded edits push the records that the
    /// one-by-one operations push; the playback cursor and the reader's insertion positions
    /// follow their entries as `Remove` moves them. While it lives, use only it on that list.
    class RowBatch {
    public:
        RowBatch(SamiModel& model, int slot);
        ~RowBatch();
        RowBatch(const RowBatch&) = delete;
        RowBatch& operator=(const RowBatch&) = delete;

        int count() const { return m_batch.count(); }
        /// The entry at a row known to be valid.
        SyncEntry& operator[](int row) { return m_batch.at(row)->entry; }
        Position at(int row) const { return m_batch.at(row); }
        /// Inserts so that the entry gets the row (0..count), as `InsertBefore` would.
        Position insertAt(int row, SyncEntry entry, bool recordUndo);
        /// Removes the entry at a valid row, as `Remove` would without a following end sync.
        void removeAt(int row, bool recordUndo);
        /// Overwrites the entry at a valid row, as `SetAt` would.
        void setAt(int row, SyncEntry entry, bool recordUndo);

    private:
        SamiModel& m_model;
        int m_slot;
        SyncList::Batch m_batch;
        bool m_recorded = false;
    };

    // Direct access to the lists, for the reader, the writer and the tools.
    SyncList& list() { return m_lists[static_cast<std::size_t>(currentSlot)]; }
    const SyncList& list() const { return m_lists[static_cast<std::size_t>(currentSlot)]; }
    SyncList& slotList(int slot) { return m_lists[static_cast<std::size_t>(slot)]; }
    const SyncList& slotList(int slot) const { return m_lists[static_cast<std::size_t>(slot)]; }
    ParseState& parseState() { return m_parse; }

    // The content, named as in the file format's terms.
    std::string title;
    ParagraphStyle paragraphStyle;
    std::vector<ParagraphStyle> idStyles;
    std::vector<LanguageInfo> languages;
    std::int32_t listCount = 1;
    std::array<std::string, kSlotCount> classNames;
    std::array<std::int32_t, kSlotCount> slotOrder{};
    std::int32_t currentSlot = 0;
    Position playCursor = nullptr;
    bool readOnly = false;
    /// The encoding of the file last loaded whole (saves write it back); CP949 after Reset.
    TextEncoding fileEncoding = TextEncoding::Cp949;
    /// The bytes of the file last loaded whole that the reader did not take: from a NUL
    /// character, where the text ends, to the end of the file; 0 when it took them all.
    std::size_t unreadBytes = 0;

private:
    void requestCheckOrder();
    UndoRecord makeListRecord(int kind, int slot, Position before, const SyncEntry& entry) const;
    void forgetPosition(Position removed, Position replacement);

    const AppSettings* m_settings;
    Messenger* m_messenger;
    std::array<SyncList, kSlotCount> m_lists;
    UndoJournal m_journal;
    ParseState m_parse;
    int m_deferDepth = 0;
    bool m_checkPending = false;
};

}  // namespace verbanta
