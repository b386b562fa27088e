#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace verbanta {

struct AppSettings;
class SyncList;

/// The rules a caption is checked against, in the order the findings of one row are listed.
enum class CheckRule : std::uint8_t {
    ReadingSpeed,        ///< letters per second over the caption's duration
    LettersPerLine,      ///< letters of its longest line
    LineCount,           ///< number of lines
    MinDuration,         ///< shown too briefly
    MaxDuration,         ///< shown too long before its end sync
    MinGap,              ///< its end sync comes too close to the next caption
    NoEndBeforeSilence,  ///< no end sync, and nothing follows within the maximum duration
    EmptyCaption,        ///< a caption without visible text
    UnbalancedTags,      ///< start and end tags that do not pair within the caption
};
inline constexpr int kCheckRuleCount = 9;

/// A set of rules, bit i standing for rule i.
using CheckRuleSet = std::uint16_t;

constexpr CheckRuleSet ruleBit(CheckRule rule)
{
    return static_cast<CheckRuleSet>(1u << static_cast<unsigned>(rule));
}

/// The rule's stable English identifier, as scripts read it ("reading_speed", …).
std::string_view checkRuleId(CheckRule rule);
/// The rule's Korean name for the user interface (UTF-8).
std::string_view checkRuleName(CheckRule rule);

/// The limits captions are checked against; the defaults follow the common guidance for Korean
/// subtitles.
struct CheckProfile {
    int maxLettersPerSecond = 12;
    int maxLettersPerLine = 16;
    int maxLines = 2;
    std::int32_t minDurationMs = 1000;
    std::int32_t maxDurationMs = 7000;
    int minGapFrames = 2;

    /// The profile as the options store it.
    static CheckProfile fromSettings(const AppSettings& settings);
    bool operator==(const CheckProfile&) const = default;
};

/// The frame rate the gap is counted in when no video is open.
inline constexpr double kDefaultFramesPerSecond = 24.0;

/// One rule broken by one caption.
struct CheckFinding {
    int slot = 0;  ///< the list slot of the caption's language
    int row = -1;
    std::int32_t startMs = 0;
    CheckRule rule = CheckRule::ReadingSpeed;
    /// What was measured, in the rule's unit: letters per second (rounded up to hundredths),
    /// letters (halves show as .5), lines, ms of duration, ms of gap, ms until the next entry
    /// (none after the last one), none for an empty caption, the number of unpaired tags.
    std::optional<double> value;
};

/// Where a caption's time on screen ends. Comments are looked past: they carry no time.
struct CaptionSpan {
    int next = -1;        ///< the next entry, -1 when the caption is the last one
    bool hasEnd = false;  ///< that entry is an end sync
    /// With an end sync: the next caption after it (end syncs looked past too), -1 for none.
    int following = -1;
};

/// The span of the caption at `row`.
CaptionSpan spanOf(const SyncList& list, int row);

/// The first row whose findings may change when the row `row` changes: the nearest caption
/// before it (its span may reach the row), or `row` itself when there is none.
int firstAffectedRow(const SyncList& list, int row);

/// Whether the entry is checked at all: captions are, comments and end syncs are not.
bool isCheckedEntry(const SyncList& list, int row);

/// A profile at a frame rate, in the units the rules compare. A caption's findings depend on
/// its own entry and on the entries of its span only.
///
/// Duration is the time to the next entry (an end sync or the next caption). A caption with an
/// end sync is checked for the maximum duration and for the gap between its end and the next
/// caption; one without lasts until the next caption, which is no gap, and lasting longer than
/// the maximum makes it one with no end before a silence, as does being the last caption. An
/// empty caption is checked for its tags only.
class CaptionRules {
public:
    /// A frame rate that is not a positive number counts as 24 per second.
    CaptionRules(const CheckProfile& profile, double framesPerSecond);

    const CheckProfile& profile() const { return m_profile; }
    double framesPerSecond() const { return m_framesPerSecond; }
    /// The minimum gap in ms: the profile's frames at the frame rate, to the nearest ms.
    std::int32_t minGapMs() const { return m_minGapMs; }

    /// The rules the entry at `row` breaks; none for a comment or an end sync.
    CheckRuleSet rulesAt(const SyncList& list, int row) const;
    /// The same as findings with their values, appended to `out` in rule order.
    void appendFindings(const SyncList& list, int slot, int row,
                        std::vector<CheckFinding>& out) const;

private:
    template <class Report>
    void check(const SyncList& list, int row, Report&& report) const;

    CheckProfile m_profile;
    double m_framesPerSecond;
    std::int32_t m_minGapMs;
};

/// Every finding of one list, by row.
std::vector<CheckFinding> checkList(const SyncList& list, int slot, const CaptionRules& rules);

}  // namespace verbanta
