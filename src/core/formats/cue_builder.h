#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/cue_text.h"

namespace verbanta {

class SamiModel;
class SyncList;

/// One timed cue of an exported subtitle file.
///
/// The text is UTF-8 in a neutral markup that every writer maps to its own: "\n" between
/// lines (never at either end, never two in a row), the elements <b>, <i>, <u> and
/// <font color="#rrggbb"> (lower-case hex), always properly nested and closed within the cue,
/// and "&lt;", "&gt;", "&amp;" for those three characters. Nothing else is markup.
struct Cue {
    std::int32_t startMs = 0;
    std::int32_t endMs = 0;
    std::string text;

    bool operator==(const Cue&) const = default;
};

/// The cues of one language's list, sorted by start time (stable), times clamped to 0.
///
/// A caption lasts until the next entry that is not a comment (an end sync or a caption); after
/// the last entry, or when the next entry is not later (a timing error), it lasts its letter
/// count times `oneLetterSync`, as the SAMI writer's automatic end sync does. Consecutive
/// captions with one start time become one cue, their texts joined by a line break. Comments
/// and end syncs give no cue, nor do captions without visible text or cues wholly before 0.
std::vector<Cue> buildCues(const SyncList& list, std::int32_t oneLetterSync);

/// The cues of language index `languageIndex` (0 .. listCount - 1) of the model, with the
/// model's `OneLetterSync`; empty for an index out of range.
std::vector<Cue> buildCues(const SamiModel& model, int languageIndex);

/// A caption's CP949 SAMI markup in the neutral markup of `Cue::text`: "<br>" (also "<br/>")
/// breaks the line, <b>, <i>, <u> and <font color=...> are kept, the override codes that the
/// SubRip import leaves for its own tags ("{\i1}", "{\i}", ...) become the same elements, other
/// tags are dropped, entities are decoded and white space runs become one space.
std::string captionToNeutralMarkup(std::string_view cp949Text);

}  // namespace verbanta
