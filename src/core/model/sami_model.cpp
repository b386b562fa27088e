#include "model/sami_model.h"

#include <algorithm>

#include "platform/messenger.h"
#include "settings/app_settings.h"

namespace verbanta {
namespace {

SilentMessenger& silentMessenger()
{
    static SilentMessenger messenger;
    return messenger;
}

constexpr const char* kEndSyncText = "&nbsp;";

}  // namespace

SamiModel::SamiModel(const AppSettings& settings)
    : m_settings(&settings), m_messenger(&silentMessenger())
{
    Reset(true);
}

void SamiModel::Reset(bool withDefaultHeader)
{
    // The journal is left to the caller's ClearUndo, as new, clear and load all do; its
    // records are kept whole rather than left pointing past a forgotten position.
    title.clear();
    playCursor = nullptr;
    listCount = 1;
    currentSlot = 0;
    m_parse.recordUndo = false;
    m_parse.paragraphCounter = 0;
    paragraphStyle = ParagraphStyle();
    paragraphStyle.flags = ParagraphStyle::kParagraphDefaultFlags;
    idStyles.clear();
    languages.clear();
    for (std::string& name : classNames)
        name.clear();
    if (withDefaultHeader)
        SetDefaultHeader();
    for (SyncList& l : m_lists)
        l.clear();
    m_parse.insertAt.fill(nullptr);
    for (std::string& c : m_parse.foundClasses)
        c.clear();
    for (int j = 0; j < kSlotCount; ++j)
        slotOrder[static_cast<std::size_t>(j)] = j;
    readOnly = false;
    fileEncoding = TextEncoding::Cp949;
    unreadBytes = 0;
}

void SamiModel::SetDefaultHeader()
{
    ParagraphStyle& standard = idStyles[static_cast<std::size_t>(AddIdStyle("#STDPrn"))];
    standard.setName("Standard Print");
    standard.flags = ParagraphStyle::kName;

    ParagraphStyle& large = idStyles[static_cast<std::size_t>(AddIdStyle("#LargePrn"))];
    large.setName("Large Print");
    large.find("font-size")->points = 20;

    ParagraphStyle& small = idStyles[static_cast<std::size_t>(AddIdStyle("#SmallPrn"))];
    small.setName("Small Print");
    small.find("font-size")->points = 10;

    LanguageInfo& korean = languages[static_cast<std::size_t>(AddLanguageClass(".KRCC"))];
    korean.setName("\xc7\xd1\xb1\xb9\xbe\xee");  // 한국어
    korean.setLang("ko-KR");
    korean.setSamiType("CC");
    classNames[0] = "KRCC";
}

void SamiModel::ClearUndo()
{
    m_journal.ClearUndo();
}

void SamiModel::SetCurrentSlot(int slot)
{
    if (slot < 0 || slot >= kSlotCount || slot == currentSlot)
        return;
    currentSlot = slot;
    // The cursor belongs to one list; the player re-seeks it after a language change.
    playCursor = list().head();
}

std::string SamiModel::CurrentClassName() const
{
    for (std::size_t i = 0; i < languages.size() && i < slotOrder.size(); ++i) {
        if (slotOrder[i] == currentSlot && !languages[i].selector.empty())
            return languages[i].selector.substr(1);
    }
    // No language maps to the slot: the class the slot's list was opened with.
    return classNames[static_cast<std::size_t>(currentSlot)];
}

// ---- style sheet -------------------------------------------------------------------------

int SamiModel::FindStyle(std::string_view selector) const
{
    if (selector.empty())
        return -1;
    const std::vector<ParagraphStyle>* styles = nullptr;
    if (selector[0] == '#')
        styles = &idStyles;
    else if (selector[0] == '.')
        styles = &languages;
    else
        return -1;
    for (std::size_t i = 0; i < styles->size(); ++i)
        if ((*styles)[i].selector == selector)
            return static_cast<int>(i);
    return -1;
}

int SamiModel::AddIdStyle(std::string_view selector)
{
    ParagraphStyle style;
    style.selector = selector;
    style.setName(selector.substr(std::min<std::size_t>(1, selector.size())));
    style.flags = ParagraphStyle::kIdStyleFlags;
    idStyles.push_back(std::move(style));
    return static_cast<int>(idStyles.size()) - 1;
}

namespace {

LanguageInfo makeLanguage(std::string_view selector)
{
    LanguageInfo language;
    language.selector = selector;
    language.setName(selector.substr(std::min<std::size_t>(1, selector.size())));
    language.setSamiType("CC");
    language.flags = ParagraphStyle::kLanguageFlags;
    return language;
}

}  // namespace

int SamiModel::AddLanguageClass(std::string_view selector)
{
    languages.push_back(makeLanguage(selector));
    return static_cast<int>(languages.size()) - 1;
}

void SamiModel::InsertLanguageClassAt(int index, std::string_view selector)
{
    const std::size_t at = std::min(static_cast<std::size_t>(std::max(index, 0)), languages.size());
    languages.insert(languages.begin() + static_cast<std::ptrdiff_t>(at), makeLanguage(selector));
}

void SamiModel::RemoveIdStyle(std::string_view selector)
{
    std::erase_if(idStyles, [&](const ParagraphStyle& s) { return s.selector == selector; });
}

void SamiModel::RemoveClass(std::string_view selector)
{
    std::erase_if(languages, [&](const LanguageInfo& s) { return s.selector == selector; });
}

// ---- entries -----------------------------------------------------------------------------

SyncEntry SamiModel::GetNext(Position& pos) const
{
    const SyncEntry* e = entryAt(pos);
    SyncEntry copy = e ? *e : SyncEntry();
    pos = list().next(pos);
    return copy;
}

SyncEntry SamiModel::GetPrev(Position& pos) const
{
    const SyncEntry* e = entryAt(pos);
    SyncEntry copy = e ? *e : SyncEntry();
    pos = list().prev(pos);
    return copy;
}

SyncEntry SamiModel::GetAt(Position pos) const
{
    const SyncEntry* e = entryAt(pos);
    return e ? *e : SyncEntry();
}

const SyncEntry* SamiModel::entryAt(Position pos) const
{
    return list().contains(pos) ? &pos->entry : nullptr;
}

int SamiModel::IndexOf(Position pos) const
{
    return std::max(list().indexOf(pos), 0);
}

SyncEntry SamiModel::GetFirst() const
{
    return GetAt(list().head());
}

SyncEntry SamiModel::GetLast() const
{
    return GetAt(list().tail());
}

void SamiModel::InitEntry(SyncEntry& entry) const
{
    entry = SyncEntry();
    entry.flags = SyncEntry::kWriteAll;
    entry.className = languages.empty() ? std::string("KRCC") : CurrentClassName();
}

UndoRecord SamiModel::makeListRecord(int kind, int slot, Position before,
                                     const SyncEntry& entry) const
{
    UndoRecord r;
    r.kind = kind;
    r.language = slot;
    r.prevNode = before;
    r.prevRow = before ? slotList(slot).indexOf(before) : -1;
    r.entry = entry;
    return r;
}

Position SamiModel::insertAfterInSlot(int slot, Position pos, SyncEntry entry, bool recordUndo)
{
    SyncList& l = slotList(slot);
    Position added =
        l.contains(pos) ? l.insertAfter(pos, std::move(entry)) : l.insertAt(0, std::move(entry));
    if (recordUndo)
        PushUndo(makeListRecord(UndoRecord::kInsert, slot, l.prev(added), added->entry));
    return added;
}

Position SamiModel::AddHead(const SyncEntry& entry, bool recordUndo)
{
    return InsertBefore(list().head(), entry, recordUndo);
}

Position SamiModel::AddTail(const SyncEntry& entry, bool recordUndo)
{
    return InsertAfter(list().tail(), entry, recordUndo);
}

Position SamiModel::InsertBefore(Position pos, const SyncEntry& entry, bool recordUndo)
{
    SyncList& l = list();
    Position added = l.contains(pos) ? l.insertBefore(pos, entry) : l.insertAt(l.count(), entry);
    if (recordUndo) {
        PushUndo(makeListRecord(UndoRecord::kInsert, currentSlot, l.prev(added), entry));
        requestCheckOrder();
    }
    return added;
}

Position SamiModel::InsertAfter(Position pos, const SyncEntry& entry, bool recordUndo)
{
    SyncList& l = list();
    Position added = l.contains(pos) ? l.insertAfter(pos, entry) : l.insertAt(l.count(), entry);
    if (recordUndo) {
        PushUndo(makeListRecord(UndoRecord::kInsert, currentSlot, l.prev(added), entry));
        requestCheckOrder();
    }
    return added;
}

SyncEntry SamiModel::endSyncEntry(std::int32_t timeMs) const
{
    SyncEntry end;
    InitEntry(end);
    end.isEndSync = 1;
    end.text = kEndSyncText;
    end.startMs = timeMs;
    return end;
}

Position SamiModel::InsertEndSync(Position pos, std::int32_t timeMs, bool recordUndo)
{
    return InsertAfter(pos, endSyncEntry(timeMs), recordUndo);
}

void SamiModel::forgetPosition(Position removed, Position replacement)
{
    if (playCursor == removed)
        playCursor = replacement;
    for (Position& p : m_parse.insertAt)
        if (p == removed)
            p = replacement;
}

bool SamiModel::Remove(Position pos, bool withFollowingEnd, bool recordUndo)
{
    SyncList& l = list();
    if (!l.contains(pos))
        return false;
    bool removedEnd = false;
    SyncEntry endCopy;
    if (withFollowingEnd) {
        Position next = l.next(pos);
        if (next && next->entry.isEndSync) {
            endCopy = next->entry;
            forgetPosition(next, pos);
            l.remove(next);
            removedEnd = true;
        }
    }
    Position before = l.prev(pos);
    if (recordUndo)
        PushUndo(makeListRecord(UndoRecord::kDelete, currentSlot, before, pos->entry));
    forgetPosition(pos, before);
    l.remove(pos);
    if (recordUndo && removedEnd) {
        PushUndo(makeListRecord(UndoRecord::kDelete, currentSlot, before, endCopy));
        requestCheckOrder();
    }
    return removedEnd;
}

bool SamiModel::RemoveAt(int row, bool withFollowingEnd)
{
    const bool removedEnd = Remove(FindIndex(row), withFollowingEnd, true);
    requestCheckOrder();
    return removedEnd;
}

void SamiModel::SetAt(Position pos, const SyncEntry& entry, bool recordUndo)
{
    SyncList& l = list();
    if (!l.contains(pos))
        return;
    if (recordUndo) {
        UndoRecord r;
        r.kind = UndoRecord::kModify;
        r.node = pos;
        r.row = l.indexOf(pos);
        r.language = currentSlot;
        r.entry = pos->entry;
        PushUndo(r);
    }
    pos->entry = entry;
    if (recordUndo)
        requestCheckOrder();
}

Position SamiModel::MoveUp(Position pos)
{
    SyncList& l = list();
    if (!l.contains(pos))
        return nullptr;
    Position previous = l.prev(pos);
    if (!previous)
        return nullptr;
    Position moved = l.insertBefore(previous, pos->entry);
    forgetPosition(pos, moved);
    l.remove(pos);
    requestCheckOrder();
    return moved;
}

Position SamiModel::MoveDown(Position pos)
{
    SyncList& l = list();
    if (!l.contains(pos))
        return nullptr;
    Position following = l.next(pos);
    if (!following)
        return nullptr;
    Position moved = l.insertAfter(following, pos->entry);
    forgetPosition(pos, moved);
    l.remove(pos);
    requestCheckOrder();
    return moved;
}

void SamiModel::SetRangeStartAt(int row, bool value)
{
    if (Position p = FindIndex(row))
        p->entry.rangeStart = value;
}

void SamiModel::SetRangeEndAt(int row, bool value)
{
    if (Position p = FindIndex(row))
        p->entry.rangeEnd = value;
}

void SamiModel::SetSyncErrorAt(int row, bool value)
{
    if (Position p = FindIndex(row))
        p->entry.syncError = value;
}

bool SamiModel::AnyChecked() const
{
    const SyncList& l = list();
    for (int i = 0; i < l.count(); ++i)
        if (l[i].checked)
            return true;
    return false;
}

int SamiModel::CheckOrder()
{
    if (!m_settings->DisplayErrorSync)
        return -1;
    SyncList& l = list();
    const int n = l.count();
    int errors = 0;
    int previous = -1;  // nearest earlier entry that is not a comment
    int next = 0;       // search mark for the nearest later one
    for (int i = 0; i < n; ++i) {
        SyncEntry& e = l[i];
        e.syncError = 0;
        if (e.isComment)
            continue;
        next = std::max(next, i + 1);
        while (next < n && l[next].isComment)
            ++next;
        // The following entry is compared only for the first entry, which has no earlier
        // one: in 1000, 500, 400 the 1000 is the error, in 100, 200, 200 the second 200 is.
        const bool inError = e.startMs < 0 ||
                             (previous >= 0 ? e.startMs <= l[previous].startMs
                                            : next < n && e.startMs >= l[next].startMs);
        previous = i;
        if (inError) {
            ++errors;
            e.syncError = 1;
            // The entry after an error is cleared but not examined in this pass.
            if (i + 1 < n) {
                l[i + 1].syncError = 0;
                if (!l[i + 1].isComment)
                    previous = i + 1;
                ++i;
            }
        }
    }
    return errors;
}

void SamiModel::requestCheckOrder()
{
    if (m_deferDepth > 0)
        m_checkPending = true;
    else
        CheckOrder();
}

SamiModel::DeferredCheckOrder::DeferredCheckOrder(SamiModel& model) : m_model(model)
{
    ++m_model.m_deferDepth;
}

SamiModel::DeferredCheckOrder::~DeferredCheckOrder()
{
    if (--m_model.m_deferDepth == 0 && m_model.m_checkPending) {
        m_model.m_checkPending = false;
        m_model.CheckOrder();
    }
}

// ---- playback cursor ---------------------------------------------------------------------

bool SamiModel::SeekCursor(std::int32_t timeMs)
{
    const SyncList& l = list();
    for (int i = 0; i < l.count(); ++i) {
        if (!l[i].isComment && l[i].startMs >= timeMs) {
            playCursor = l.at(i);
            return true;
        }
    }
    playCursor = nullptr;
    return false;
}

SyncEntry SamiModel::GetCursorEntry() const
{
    return GetAt(playCursor);
}

SyncEntry SamiModel::NextFromCursor()
{
    Position pos = list().contains(playCursor) ? playCursor : list().head();
    SyncEntry e = GetAt(pos);
    playCursor = list().next(pos);
    return e;
}

bool SamiModel::CursorHasPrevious() const
{
    // Past the end every entry lies before the cursor.
    if (!list().contains(playCursor))
        return !list().empty();
    return list().prev(playCursor) != nullptr;
}

SyncEntry SamiModel::GetEntryBeforeCursor() const
{
    if (!list().contains(playCursor))
        return GetAt(list().tail());
    return GetAt(list().prev(playCursor));
}

void SamiModel::ResetCursor()
{
    playCursor = list().head();
}

int SamiModel::GetCursorIndex() const
{
    return list().indexOf(playCursor);
}

}  // namespace verbanta
