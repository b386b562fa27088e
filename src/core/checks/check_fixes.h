#pragma once

#include <span>

#include "checks/check_rules.h"

namespace verbanta {

class SamiModel;
class SyncList;

/// Whether the finding, checked again on the list as it is now, has one clear fix:
/// - a caption shown too briefly whose end sync can move to the minimum duration and still
///   leave the minimum gap before the next caption (it is extended into free time);
/// - an end sync too close to the next caption that can move back to the minimum gap and stay
///   after its caption's start (it is pulled back);
/// - a caption with no end before a silence: an end sync is added at the maximum duration, or
///   earlier where the next caption needs its gap.
/// Other rules, and a finding that no longer holds, have none.
bool hasClearFix(const SyncList& list, const CheckFinding& finding, const CaptionRules& rules);

/// Applies the clear fix of each finding (of any language), recorded as one undo step for the
/// whole run; findings without one are passed over. The number of end syncs moved or added.
///
/// The caller collects what changed in the current language from the journal, as after the
/// end-sync tools: note `journal().nextPosition()` before the call, then give the records from
/// it to the change collector with the current slot.
int fixFindings(SamiModel& model, std::span<const CheckFinding> findings,
                const CaptionRules& rules);

}  // namespace verbanta
