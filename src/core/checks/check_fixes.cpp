// The clear fixes of the caption checks. Each only moves or adds the end sync of the caption
// it fixes, never a caption, so the fixes of one run do not disturb each other.

#include "checks/check_fixes.h"

#include <algorithm>
#include <functional>
#include <limits>
#include <map>
#include <optional>
#include <vector>

#include "model/sami_model.h"
#include "model/sync_list.h"

namespace verbanta {
namespace {

struct Fix {
    enum class Kind { MoveEnd, AddEnd };
    Kind kind = Kind::MoveEnd;
    int row = -1;  ///< MoveEnd: the end sync; AddEnd: the caption it follows
    std::int32_t timeMs = 0;
};

/// The time if it fits the model's times, else nothing.
std::optional<std::int32_t> asTime(std::int64_t ms)
{
    if (ms < std::numeric_limits<std::int32_t>::min() ||
        ms > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(ms);
}

std::optional<Fix> planFix(const SyncList& list, int row, CheckRule rule, const CaptionRules& rules)
{
    if (row < 0 || row >= list.count() || !(rules.rulesAt(list, row) & ruleBit(rule)))
        return std::nullopt;
    const std::int64_t start = list[row].startMs;
    const CaptionSpan span = spanOf(list, row);
    const std::int64_t gap = rules.minGapMs();
    // The latest an end may come: the minimum gap before the next caption, if any.
    const auto latestEnd = [&](int next) {
        return next < 0 ? std::numeric_limits<std::int64_t>::max()
                        : std::int64_t{list[next].startMs} - gap;
    };
    switch (rule) {
        case CheckRule::MinDuration: {
            if (!span.hasEnd)
                return std::nullopt;  // it lasts until the next caption: no free time
            const CaptionSpan afterEnd = spanOf(list, span.next);
            if (afterEnd.next >= 0 && list[afterEnd.next].isEndSync)
                return std::nullopt;  // a second end sync: which one is meant is unclear
            const std::int64_t end = start + rules.profile().minDurationMs;
            if (end > latestEnd(span.following))
                return std::nullopt;
            if (const auto t = asTime(end))
                return Fix{Fix::Kind::MoveEnd, span.next, *t};
            return std::nullopt;
        }
        case CheckRule::MinGap: {
            const std::int64_t end = latestEnd(span.following);
            if (end <= start)
                return std::nullopt;  // the end would come before the caption itself
            return Fix{Fix::Kind::MoveEnd, span.next, static_cast<std::int32_t>(end)};
        }
        case CheckRule::NoEndBeforeSilence: {
            const std::int64_t end =
                std::min(start + rules.profile().maxDurationMs, latestEnd(span.next));
            const auto t = asTime(end);
            if (end <= start || !t)
                return std::nullopt;
            return Fix{Fix::Kind::AddEnd, row, *t};
        }
        default:
            return std::nullopt;
    }
}

}  // namespace

bool hasClearFix(const SyncList& list, const CheckFinding& finding, const CaptionRules& rules)
{
    return planFix(list, finding.row, finding.rule, rules).has_value();
}

int fixFindings(SamiModel& model, std::span<const CheckFinding> findings, const CaptionRules& rules)
{
    // Planned on each list as it is, one fix per caption, applied from the last row up so that
    // an added end sync never moves a row still to be fixed.
    std::map<int, std::map<int, Fix, std::greater<>>> plans;  // slot → caption row → fix
    for (const CheckFinding& f : findings) {
        if (f.slot < 0 || f.slot >= SamiModel::kSlotCount)
            continue;
        if (const auto fix = planFix(model.slotList(f.slot), f.row, f.rule, rules))
            plans[f.slot].emplace(f.row, *fix);
    }
    SamiModel::DeferredCheckOrder defer(model);
    UndoActionScope action(model.journal());
    const JournalPosition first = model.journal().nextPosition();
    int changes = 0;
    for (const auto& [slot, fixes] : plans) {
        SamiModel::RowBatch rows(model, slot);
        for (const auto& [caption, fix] : fixes) {
            if (fix.kind == Fix::Kind::AddEnd) {
                SyncEntry end = model.endSyncEntry(fix.timeMs);
                end.className = rows[caption].className;
                rows.insertAt(caption + 1, std::move(end), true);
            } else {
                SyncEntry moved = rows[fix.row];
                moved.startMs = fix.timeMs;
                rows.setAt(fix.row, std::move(moved), true);
            }
            ++changes;
        }
    }
    if (changes > 1)
        model.GroupUndo(first, model.journal().lastPosition());
    return changes;
}

}  // namespace verbanta
