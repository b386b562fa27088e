// The model's operations that parse SAMI text: loading a whole text with the language repair,
// and the fragment inserts of the editing commands.
#include <algorithm>
#include <utility>

#include "model/sami_model.h"
#include "platform/messenger.h"
#include "sami/sami_reader.h"

namespace verbanta {
namespace {

constexpr const char* kLanguageRepairedMessage = "다국어 정보에 오류가 있어 수정하였습니다.";

std::string classOf(const LanguageInfo& language)
{
    return language.selector.empty() ? std::string() : language.selector.substr(1);
}

/// Puts, for every list from `firstList` on, the language of its class (exact comparison) at
/// the list's index, inventing one when the style sheet lacks it. True when one was invented.
bool alignLanguages(SamiModel& model, int firstList)
{
    bool invented = false;
    auto& found = model.parseState().foundClasses;
    for (int i = firstList; i < model.listCount; ++i) {
        const std::string& q = found[static_cast<std::size_t>(i)];
        const auto at = static_cast<std::size_t>(i);
        std::size_t j = at;
        while (j < model.languages.size() && classOf(model.languages[j]) != q) ++j;
        if (j < model.languages.size()) {
            if (j != at)
                std::swap(model.languages[at], model.languages[j]);
        } else {
            model.InsertLanguageClassAt(i, "." + q);
            invented = true;
        }
    }
    return invented;
}

/// Gives every language beyond the lists in use a list of its own, keeping at most ten.
/// True when languages had to be dropped.
bool coverLanguagesWithLists(SamiModel& model)
{
    bool dropped = false;
    if (model.languages.size() > static_cast<std::size_t>(SamiModel::kMaxLanguages)) {
        model.languages.resize(SamiModel::kMaxLanguages);
        dropped = true;
    }
    for (int i = model.listCount; i < model.GetLanguageCount(); ++i) {
        const auto at = static_cast<std::size_t>(i);
        model.classNames[at] = classOf(model.languages[at]);
        model.slotOrder[at] = i;
    }
    model.listCount = std::max(model.listCount, model.GetLanguageCount());
    return dropped;
}

/// Whether a handle is one of the list's nodes, found by address alone: a position left by an
/// earlier parse may belong to an entry that has gone since.
bool holdsNode(const SyncList& list, Position pos)
{
    for (int row = 0; row < list.count(); ++row)
        if (list.at(row) == pos)
            return true;
    return false;
}

/// Parses a fragment into the current list after `start` (at the head for none) and returns
/// the current list's insertion position afterwards. CheckOrder is left to the caller.
Position parseFragment(SamiModel& model, Position start, std::string_view text, bool recordUndo,
                       bool merge)
{
    SamiModel::ParseState& state = model.parseState();
    const int current = model.GetCurrentSlot();
    for (int slot = 0; slot < SamiModel::kSlotCount; ++slot) {
        Position& at = state.insertAt[static_cast<std::size_t>(slot)];
        if (slot != current && at && !holdsNode(model.slotList(slot), at))
            at = model.slotList(slot).tail();
    }
    state.insertAt[static_cast<std::size_t>(current)] =
        model.list().contains(start) ? start : nullptr;
    const int listsBefore = model.listCount;
    {
        SamiModel::DeferredCheckOrder deferred(model);
        ParseInto(model, text, recordUndo, merge);
    }
    // A fragment may bring classes or style rules of its own: every list gets its language
    // and every language a list, so nothing the fragment brought is unreachable or unsaved.
    alignLanguages(model, listsBefore);
    coverLanguagesWithLists(model);
    return state.insertAt[static_cast<std::size_t>(current)];
}

}  // namespace

bool SamiModel::LoadText(std::string_view text)
{
    Reset(false);
    title.clear();
    ClearUndo();
    listCount = 0;
    m_parse.insertAt.fill(nullptr);
    // A new document: no paragraph of an earlier one lends this one its time or class.
    InitEntry(m_parse.pending);
    ParseInto(*this, text, false, true);

    bool changed = alignLanguages(*this, 0);
    if (listCount == 0) {
        // A file without syncs keeps the languages of its style sheet.
        changed = coverLanguagesWithLists(*this) || changed;
        if (listCount == 0) {
            // Without any language nothing would be saved, not even its comments or the
            // captions added to it: the list gets the class that new entries take.
            InsertLanguageClassAt(0, ".KRCC");
            classNames[0] = "KRCC";
            listCount = 1;
            changed = true;
        }
    } else if (languages.size() > static_cast<std::size_t>(listCount) && languages.size() > 1) {
        languages.resize(static_cast<std::size_t>(listCount));
        changed = true;
    }
    if (changed)
        messenger().showMessage(kLanguageRepairedMessage, MessageIcon::Information);

    for (int i = 0; i < listCount; ++i) slotOrder[static_cast<std::size_t>(i)] = i;
    playCursor = list().head();
    // The marked range covers each whole list.
    for (SyncList& l : m_lists) {
        if (l.empty())
            continue;
        l[0].rangeStart = 1;
        if (l.count() > 1)
            l[l.count() - 1].rangeEnd = 1;
    }
    CheckOrder();
    return true;
}

Position SamiModel::InsertTextBefore(int row, std::string_view text, bool merge)
{
    row = std::clamp(row, 0, GetCount());
    const Position last = parseFragment(*this, FindIndex(row - 1), text, true, merge);
    CheckOrder();
    return last;
}

Position SamiModel::InsertTextAfter(int row, std::string_view text)
{
    row = std::clamp(row, -1, GetCount() - 1);
    const Position last = parseFragment(*this, FindIndex(row), text, true, true);
    CheckOrder();
    return last;
}

Position SamiModel::AppendTextAt(Position pos, std::string_view text)
{
    const Position last = parseFragment(*this, pos, text, false, false);
    CheckOrder();
    return last;
}

void SamiModel::ReplaceAt(int row, std::string_view text)
{
    const Position pos = FindIndex(row);
    if (!pos)
        return;
    const SyncEntry old = pos->entry;
    UndoActionScope action(m_journal);
    const std::int64_t pushesBefore = m_journal.pushCount();
    bool modified = false;
    {
        DeferredCheckOrder deferred(*this);
        Remove(pos, false, true);
        const Position start = FindIndex(row - 1);
        const Position last = parseFragment(*this, start, text, true, false);
        // The marks stay with the row, on the first entry parsed into its place.
        if (const Position now = last != start ? FindIndex(row) : nullptr) {
            SyncEntry e = now->entry;
            e.checked = old.checked;
            e.replayMark = old.replayMark;
            e.bookmarked = old.bookmarked;
            e.rangeStart = old.rangeStart;
            e.rangeEnd = old.rangeEnd;
            SetAt(now, e, true);  // its CheckOrder runs when the deferral ends
            modified = true;
        }
    }
    if (!modified)
        CheckOrder();
    const std::int64_t pushed = m_journal.pushCount() - pushesBefore;
    if (pushed > 1) {
        const JournalPosition lastRecord = m_journal.lastPosition();
        GroupUndo(lastRecord - (pushed - 1), lastRecord);
    }
}

}  // namespace verbanta
