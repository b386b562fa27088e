#include "checks/check_rules.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "checks/caption_measure.h"
#include "model/sync_list.h"
#include "settings/app_settings.h"

namespace verbanta {
namespace {

struct RuleText {
    std::string_view id;
    std::string_view name;
};

constexpr std::array<RuleText, kCheckRuleCount> kRuleTexts{{
    {"reading_speed", "초당 글자 수"},
    {"letters_per_line", "줄당 글자 수"},
    {"line_count", "줄 수"},
    {"min_duration", "최소 지속 시간"},
    {"max_duration", "최대 지속 시간"},
    {"min_gap", "다음 자막과의 간격"},
    {"no_end_before_silence", "긴 공백 앞 종료 싱크 없음"},
    {"empty_caption", "빈 자막"},
    {"unbalanced_tags", "짝이 맞지 않는 태그"},
}};

bool isComment(const SyncList& list, int row)
{
    return list[row].isComment != 0;
}

bool isCommentOrEnd(const SyncList& list, int row)
{
    return list[row].isComment || list[row].isEndSync;
}

/// a / b rounded up, for a >= 0 and b > 0.
std::int64_t ceilDiv(std::int64_t a, std::int64_t b)
{
    return (a + b - 1) / b;
}

}  // namespace

std::string_view checkRuleId(CheckRule rule)
{
    return kRuleTexts[static_cast<std::size_t>(rule)].id;
}

std::string_view checkRuleName(CheckRule rule)
{
    return kRuleTexts[static_cast<std::size_t>(rule)].name;
}

CheckProfile CheckProfile::fromSettings(const AppSettings& s)
{
    return {s.CheckMaxReadingSpeed, s.CheckMaxLineLetters, s.CheckMaxLines,
            s.CheckMinDuration,     s.CheckMaxDuration,    s.CheckMinGapFrames};
}

CaptionSpan spanOf(const SyncList& list, int row)
{
    const int count = list.count();
    CaptionSpan span;
    int next = row + 1;
    while (next < count && isComment(list, next)) ++next;
    if (next >= count)
        return span;
    span.next = next;
    span.hasEnd = list[next].isEndSync != 0;
    if (span.hasEnd) {
        int following = next + 1;
        while (following < count && isCommentOrEnd(list, following)) ++following;
        span.following = following < count ? following : -1;
    }
    return span;
}

int firstAffectedRow(const SyncList& list, int row)
{
    int caption = row - 1;
    while (caption >= 0 && isCommentOrEnd(list, caption)) --caption;
    return caption >= 0 ? caption : row;
}

bool isCheckedEntry(const SyncList& list, int row)
{
    return !isCommentOrEnd(list, row);
}

CaptionRules::CaptionRules(const CheckProfile& profile, double framesPerSecond)
    : m_profile(profile),
      m_framesPerSecond(std::isfinite(framesPerSecond) && framesPerSecond > 0
                            ? framesPerSecond
                            : kDefaultFramesPerSecond),
      m_minGapMs(static_cast<std::int32_t>(
          std::lround(std::clamp(profile.minGapFrames * 1000.0 / m_framesPerSecond, 0.0,
                                 double{std::numeric_limits<std::int32_t>::max()}))))
{
}

template <class Report>
void CaptionRules::check(const SyncList& list, int row, Report&& report) const
{
    if (!isCheckedEntry(list, row))
        return;
    const SyncEntry& caption = list[row];
    const CaptionMeasure m = measureCaption(caption.text);
    const auto reportTags = [&] {
        if (m.unbalancedTags > 0)
            report(CheckRule::UnbalancedTags, m.unbalancedTags);
    };
    if (m.lines == 0) {
        report(CheckRule::EmptyCaption, std::nullopt);
        reportTags();
        return;
    }
    const CaptionSpan span = spanOf(list, row);
    // Widened: two times far apart differ by more than an int32 holds.
    const std::int64_t duration =
        span.next < 0 ? 0 : std::int64_t{list[span.next].startMs} - caption.startMs;
    const bool timed = span.next >= 0;

    // Letters per second over the duration, in halves against the limit doubled; the value is
    // rounded up so that a broken limit never shows as the limit itself.
    if (timed && duration > 0 &&
        std::int64_t{m.halfLetters} * 1000 >
            std::int64_t{m_profile.maxLettersPerSecond} * 2 * duration)
        report(CheckRule::ReadingSpeed,
               static_cast<double>(ceilDiv(std::int64_t{m.halfLetters} * 50000, duration)) / 100);
    if (m.longestLineHalfLetters > std::int64_t{m_profile.maxLettersPerLine} * 2)
        report(CheckRule::LettersPerLine, m.longestLineHalfLetters / 2.0);
    if (m.lines > m_profile.maxLines)
        report(CheckRule::LineCount, m.lines);
    if (timed && duration < m_profile.minDurationMs)
        report(CheckRule::MinDuration, static_cast<double>(duration));
    if (span.hasEnd && duration > m_profile.maxDurationMs)
        report(CheckRule::MaxDuration, static_cast<double>(duration));
    if (span.hasEnd && span.following >= 0) {
        const std::int64_t gap =
            std::int64_t{list[span.following].startMs} - list[span.next].startMs;
        if (gap < m_minGapMs)
            report(CheckRule::MinGap, static_cast<double>(gap));
    }
    if (!span.hasEnd && (!timed || duration > m_profile.maxDurationMs))
        report(CheckRule::NoEndBeforeSilence,
               timed ? std::optional<double>(static_cast<double>(duration)) : std::nullopt);
    reportTags();
}

CheckRuleSet CaptionRules::rulesAt(const SyncList& list, int row) const
{
    CheckRuleSet rules = 0;
    check(list, row, [&](CheckRule rule, std::optional<double>) { rules |= ruleBit(rule); });
    return rules;
}

void CaptionRules::appendFindings(const SyncList& list, int slot, int row,
                                  std::vector<CheckFinding>& out) const
{
    check(list, row, [&](CheckRule rule, std::optional<double> value) {
        out.push_back({slot, row, list[row].startMs, rule, value});
    });
}

std::vector<CheckFinding> checkList(const SyncList& list, int slot, const CaptionRules& rules)
{
    std::vector<CheckFinding> findings;
    for (int row = 0; row < list.count(); ++row) rules.appendFindings(list, slot, row, findings);
    return findings;
}

}  // namespace verbanta
