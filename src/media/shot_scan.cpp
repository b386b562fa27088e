#include "shot_scan.h"

#include <algorithm>
#include <map>
#include <memory>
#include <thread>
#include <utility>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include "frame_signature.h"
#include "media_file.h"

namespace verbanta::media {
namespace {

// Two decoded frames with frames left out between them that differ this much may have a cut
// among those: half a cut's least difference, for the shot drifting on either side of it.
constexpr float kSuspectGap = kLeastCut / 2;

// The shares of the work: reading the packets' times, then the first pass; the second
// pass, when needed, does the rest.
constexpr double kIndexShare = 0.05;
constexpr double kSecondPassFrom = 0.9;

/// Every frame's presentation time in the stream's time base, in order, as the packets say
/// without decoding, and where the key frames are among them.
struct FrameIndex {
    static constexpr std::size_t kNone = std::size_t(-1);
    std::vector<std::int64_t> pts;
    std::vector<std::size_t> keyframes;
    std::vector<long> group;    ///< each frame's group of pictures, by number in reading order
    bool opensWithKey = false;  ///< the first packet is a key frame

    std::size_t at(std::int64_t ts) const
    {
        const auto it = std::lower_bound(pts.begin(), pts.end(), ts);
        return it != pts.end() && *it == ts ? std::size_t(it - pts.begin()) : kNone;
    }
};

Sparse indexFrames(Scan& scan, FrameIndex& index)
{
    const std::unique_ptr<MediaFile> file = scan.reopen();
    if (!file)
        return Sparse::Failed;
    const std::unique_ptr<AVPacket, PacketDeleter> packet(av_packet_alloc());
    if (!packet)
        return Sparse::Unusable;
    bool timed = true;
    std::vector<std::int64_t> keys;
    std::vector<std::pair<std::int64_t, long>> groups;
    const PassEnd end = readPackets(scan, file->context(), packet.get(), [&](const AVPacket* p) {
        if (!p)
            return true;
        if (p->pts == AV_NOPTS_VALUE) {
            timed = false;
            return false;
        }
        if (index.pts.empty())
            index.opensWithKey = (p->flags & AV_PKT_FLAG_KEY) != 0;
        index.pts.push_back(p->pts);
        if (p->flags & AV_PKT_FLAG_KEY)
            keys.push_back(p->pts);
        groups.emplace_back(p->pts, long(keys.size()) - 1);
        scan.progress(0.0, kIndexShare, scan.shareAt(p->pts));
        return true;
    });
    if (end == PassEnd::Failed)
        return Sparse::Failed;
    std::sort(index.pts.begin(), index.pts.end());
    if (!timed || index.pts.empty() ||
        std::adjacent_find(index.pts.begin(), index.pts.end()) != index.pts.end())
        return Sparse::Unusable;
    for (std::int64_t key : keys) index.keyframes.push_back(index.at(key));
    std::sort(groups.begin(), groups.end());
    for (const auto& g : groups) index.group.push_back(g.second);
    return Sparse::Done;
}

/// A frame of a pass, by its place in the index.
struct Decoded {
    std::size_t at;
    float difference;  ///< from the frame decoded before it in the same pass
};

/// How many decoders share the first pass: one per core, each without threads of its own,
/// which wastes less than threads inside one decoder; one when there are too few groups.
int sharingDecoders(const FrameIndex& index)
{
    const int cores = int(std::clamp(std::thread::hardware_concurrency(), 1u, 4u));
    return index.opensWithKey && index.keyframes.size() >= std::size_t(2 * cores) ? cores : 1;
}

/// A pass over several decoders, each taking every n-th of the groups of pictures wanted (all
/// when none are named). Where two groups meet, the pictures come from two decoders, so their
/// difference is taken from the signatures kept at the groups' edges; with `openings`, the
/// frames that open the groups are listed there instead, for the caller to join. Unusable
/// when a decoder could not make a picture `whole` names from its group alone, or the groups'
/// pictures overlap.
Sparse sharedPass(Scan& scan, const FrameIndex& index,
                  const std::function<AVDiscard(const AVPacket&)>& skipFor,
                  const std::vector<std::uint8_t>& whole, int decoders, double from, double to,
                  std::vector<Decoded>& out, const std::vector<std::uint8_t>* groupsWanted,
                  std::vector<std::size_t>* openings)
{
    // Each decoder takes every n-th of the groups wanted, all when none are named.
    std::vector<int> owner(index.keyframes.size(), -1);
    for (std::size_t g = 0, taken = 0; g < owner.size(); ++g)
        if (!groupsWanted || (*groupsWanted)[g])
            owner[g] = int(taken++ % std::size_t(decoders));
    struct Share {
        ShotAnalysis result;
        std::function<void(double)> silent;
        ProgressReport quiet{silent};
        std::unique_ptr<Scan> scan;
        std::vector<Decoded> got;
        std::map<std::size_t, FrameSignature> opening, closing;
        bool unordered = false;
        PassEnd end = PassEnd::Finished;
    };
    std::vector<std::unique_ptr<Share>> shares;
    for (int i = 0; i < decoders; ++i) {
        auto& s = *shares.emplace_back(std::make_unique<Share>());
        // Only the caller's thread tells the progress.
        s.scan = std::make_unique<Scan>(Scan{scan.path, scan.stream, scan.cancel, s.result,
                                             i == 0 ? scan.progress : s.quiet, scan.zeroUs,
                                             scan.endSeconds, scan.timeBase});
    }
    const auto run = [&](int i) {
        Share& s = *shares[std::size_t(i)];
        Signer signer(*s.scan);
        std::int64_t keyPts = 0;
        std::size_t lastAt = FrameIndex::kNone;
        const GroupShare group{[&](long g) {
                                   return g >= 0 && std::size_t(g) < owner.size() &&
                                          owner[std::size_t(g)] == i;
                               },
                               [&](const AVPacket& p) {
                                   keyPts = p.pts;
                                   signer.restart();
                               },
                               [&] {
                                   if (lastAt != FrameIndex::kNone)
                                       s.closing[lastAt] = signer.last();
                                   lastAt = FrameIndex::kNone;
                                   signer.restart();
                               }};
        s.end = decodePass(
            *s.scan, skipFor,
            [&](const AVFrame& frame) {
                const std::int64_t ts = frame.pts;
                // Pictures shown before the group's key frame are made from the group before,
                // and a picture the decoder had to patch up is not trusted.
                if (ts == AV_NOPTS_VALUE || ts < keyPts || frame.decode_error_flags ||
                    (frame.flags & AV_FRAME_FLAG_CORRUPT))
                    return true;
                const std::size_t at = index.at(ts);
                if (at == FrameIndex::kNone || (lastAt != FrameIndex::kNone && at <= lastAt)) {
                    s.unordered = true;
                    return false;
                }
                const bool opens = signer.fresh();
                const float d = signer.sign(frame);
                if (d < 0)
                    return false;
                if (opens)
                    s.opening[at] = signer.last();
                s.got.push_back({at, d});
                lastAt = at;
                s.scan->progress(from, to, s.scan->shareAt(ts));
                return true;
            },
            &group);
    };
    std::vector<std::thread> threads;
    for (int i = 1; i < decoders; ++i) threads.emplace_back(run, i);
    run(0);
    for (std::thread& t : threads) t.join();

    bool unordered = false;
    for (const auto& s : shares) {
        if (s->end == PassEnd::Failed) {
            scan.result.failure = s->result.failure;
            scan.result.detail = s->result.detail;
            return Sparse::Failed;
        }
        unordered = unordered || s->unordered;
    }
    for (const auto& s : shares) {
        if (s->result.changes.cutShort) {
            scan.result.changes.cutShort = true;
            scan.result.detail = s->result.detail;
        }
        out.insert(out.end(), s->got.begin(), s->got.end());
    }
    std::sort(out.begin(), out.end(),
              [](const Decoded& a, const Decoded& b) { return a.at < b.at; });
    std::vector<std::uint8_t> seen(index.pts.size(), 0);
    for (const Decoded& d : out) {
        unordered = unordered || seen[d.at];
        seen[d.at] = 1;
    }
    for (std::size_t i = 0; i < seen.size(); ++i) {
        const bool taken =
            !groupsWanted || (index.group[i] >= 0 && (*groupsWanted)[std::size_t(index.group[i])]);
        unordered = unordered || (taken && whole[i] && !seen[i]);
    }
    if (openings) {
        for (const auto& s : shares)
            for (const auto& o : s->opening) openings->push_back(o.first);
        return unordered ? Sparse::Unusable : Sparse::Done;
    }
    for (std::size_t k = 1; k < out.size() && !unordered; ++k) {
        const auto find = [&](auto member, std::size_t at) -> const FrameSignature* {
            for (const auto& s : shares)
                if (const auto it = ((*s).*member).find(at); it != ((*s).*member).end())
                    return &it->second;
            return nullptr;
        };
        const FrameSignature* opening = find(&Share::opening, out[k].at);
        if (!opening)
            continue;
        const FrameSignature* closing = find(&Share::closing, out[k - 1].at);
        unordered = !closing;
        if (closing)
            out[k].difference = signatureDifference(*closing, *opening);
    }
    if (!out.empty())
        out.front().difference = 0.0f;
    return unordered ? Sparse::Unusable : Sparse::Done;
}

/// The second pass over only the groups of pictures that hold a frame it wants, shared among
/// decoders; the first pass's frames stand elsewhere. A group's opening frame is one the first
/// pass decoded too, so its difference from the frame before is the first pass's. False when
/// the groups could not be decoded on their own (or the pass failed, with the failure set):
/// the second pass then runs from the start.
bool secondPassOverGroups(Scan& scan, const FrameIndex& index,
                          const std::function<AVDiscard(const AVPacket&)>& skipFor,
                          const std::vector<std::uint8_t>& whole,
                          const std::vector<std::uint8_t>& wanted,
                          const std::vector<std::uint8_t>& seenFirst, int decoders,
                          const std::vector<Decoded>& first, std::vector<Decoded>& merged)
{
    const std::size_t n = index.pts.size();
    std::vector<std::uint8_t> groups(index.keyframes.size(), 0);
    for (std::size_t i = 0; i < n; ++i) {
        if (!wanted[i] || whole[i] || seenFirst[i])
            continue;
        if (index.group[i] < 0)
            return false;
        groups[std::size_t(index.group[i])] = 1;
    }
    const auto regrouped = [&](std::size_t at) {
        return index.group[at] >= 0 && groups[std::size_t(index.group[at])];
    };
    const long needed = long(std::count(groups.begin(), groups.end(), 1));
    std::vector<Decoded> again;
    std::vector<std::size_t> openings;
    if (sharedPass(scan, index, skipFor, wanted, int(std::min<long>(decoders, needed)),
                   kSecondPassFrom, 1.0, again, &groups, &openings) != Sparse::Done)
        return false;
    std::vector<std::size_t> before(n, FrameIndex::kNone);  // the first pass's previous frame
    std::vector<float> firstDifference(n, -1.0f);
    for (std::size_t k = 0; k < first.size(); ++k) {
        before[first[k].at] = k ? first[k - 1].at : FrameIndex::kNone;
        firstDifference[first[k].at] = first[k].difference;
    }
    std::vector<std::uint8_t> opens(n, 0);
    for (std::size_t at : openings) opens[at] = 1;
    for (Decoded d : again) {
        if (opens[d.at])
            d.difference = firstDifference[d.at];
        merged.push_back(d);
    }
    for (const Decoded& d : first)
        if (!regrouped(d.at))
            merged.push_back(d);
    std::sort(merged.begin(), merged.end(),
              [](const Decoded& a, const Decoded& b) { return a.at < b.at; });
    // A difference taken from the first pass must be from the same frame before.
    for (std::size_t k = 0; k < merged.size(); ++k) {
        const std::size_t at = merged[k].at;
        const std::size_t previous = k ? merged[k - 1].at : FrameIndex::kNone;
        const bool fromFirst = !regrouped(at) || opens[at];
        if ((k && previous == at) ||
            (fromFirst && (firstDifference[at] < 0 || before[at] != previous))) {
            merged.clear();
            return false;
        }
    }
    return true;
}

}  // namespace

std::int64_t floorDiv(std::int64_t a, std::int64_t b)
{
    const std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

bool scanEveryFrame(Scan& scan, double from, Series& series)
{
    Signer signer(scan);
    std::int64_t lastUs = 0;
    const PassEnd end = decodePass(
        scan, [](const AVPacket&) { return AVDISCARD_DEFAULT; },
        [&](const AVFrame& frame) {
            const float d = signer.sign(frame);
            if (d < 0)
                return false;
            if (frame.best_effort_timestamp != AV_NOPTS_VALUE)
                lastUs = scan.playerUs(frame.best_effort_timestamp);
            series.differences.push_back(d);
            series.timesMs.push_back(floorDiv(lastUs, 1000));
            scan.progress(from, 1.0, scan.shareAtUs(lastUs));
            return true;
        });
    if (end == PassEnd::Failed)
        return false;
    scan.result.changes.frameCount = std::int64_t(series.timesMs.size());
    return true;
}

Sparse scanSparsely(Scan& scan, Series& series)
{
    FrameIndex index;
    if (const Sparse indexed = indexFrames(scan, index); indexed != Sparse::Done)
        return indexed;
    const std::size_t n = index.pts.size();
    const auto mark = [n](std::vector<std::uint8_t>& marks, std::size_t first, std::size_t last) {
        for (std::size_t i = first; i <= std::min(last, n - 1); ++i) marks[i] = 1;
    };
    const auto before = [](std::size_t i, std::size_t count) { return i > count ? i - count : 0; };
    // The frames the rule reads for a cut at a key frame: the one before and the neighbours.
    std::vector<std::uint8_t> whole(n, 0);
    for (std::size_t k : index.keyframes) mark(whole, before(k, kNeighbours + 1), k + kNeighbours);
    mark(whole, before(n, kNeighbours + 1), n - 1);

    bool unordered = false;
    const auto skipOutside = [&](const std::vector<std::uint8_t>& full) {
        return [&index, &full](const AVPacket& p) {
            const std::size_t i = index.at(p.pts);
            return i != FrameIndex::kNone && full[i] ? AVDISCARD_DEFAULT : AVDISCARD_NONREF;
        };
    };
    const auto pass = [&](const std::vector<std::uint8_t>& full, std::size_t stopPast,
                          const std::vector<std::uint8_t>& stopOn, double from, double to,
                          std::vector<Decoded>& out) {
        Signer signer(scan);
        return decodePass(scan, skipOutside(full), [&](const AVFrame& frame) {
            const std::int64_t ts =
                frame.pts != AV_NOPTS_VALUE ? frame.pts : frame.best_effort_timestamp;
            const std::size_t i = ts == AV_NOPTS_VALUE ? FrameIndex::kNone : index.at(ts);
            // A picture the index does not know, or out of order: the times cannot be
            // trusted to find frames by, so every frame is decoded instead.
            if (i == FrameIndex::kNone || (!out.empty() && i <= out.back().at)) {
                unordered = true;
                return false;
            }
            const float d = signer.sign(frame);
            if (d < 0)
                return false;
            out.push_back({i, d});
            scan.progress(from, to, scan.shareAt(ts));
            return !(i > stopPast && stopOn[i]);
        });
    };

    std::vector<Decoded> first;
    const int decoders = sharingDecoders(index);
    const Sparse shared = decoders > 1
                              ? sharedPass(scan, index, skipOutside(whole), whole, decoders,
                                           kIndexShare, kSecondPassFrom, first, nullptr, nullptr)
                              : Sparse::Unusable;
    if (shared == Sparse::Failed)
        return Sparse::Failed;
    PassEnd end = PassEnd::Finished;
    if (shared == Sparse::Unusable) {
        first.clear();
        end = pass(whole, n, whole, kIndexShare, kSecondPassFrom, first);
        if (unordered)
            return Sparse::Unusable;
        if (end == PassEnd::Failed)
            return Sparse::Failed;
    }
    std::vector<std::uint8_t> seen(n, 0);
    for (const Decoded& d : first) seen[d.at] = 1;
    std::vector<std::uint8_t> wanted = whole;
    for (std::size_t k = 1; k < first.size(); ++k) {
        const std::size_t a = first[k - 1].at, b = first[k].at;
        if (first[k].difference >= (b - a == 1 ? kLeastCut : kSuspectGap))
            mark(wanted, before(a, kNeighbours), b + kNeighbours);
    }
    // A frame that was to be decoded whole and did not come is damaged; asking again won't help.
    std::size_t lastMissing = FrameIndex::kNone;
    for (std::size_t i = 0; i < n; ++i)
        if (wanted[i] && !whole[i] && !seen[i])
            lastMissing = i;

    std::vector<Decoded> merged;
    std::size_t covered = 0;  // frames up to here come from the second pass
    bool second = lastMissing != FrameIndex::kNone;
    if (second && decoders > 1 &&
        secondPassOverGroups(scan, index, skipOutside(wanted), whole, wanted, seen, decoders, first,
                             merged)) {
        covered = n - 1;
    } else if (!second) {
        merged = std::move(first);
    } else {
        merged.clear();
        if (scan.result.failure != ShotFailure::None)
            return Sparse::Failed;
        // The second pass stops at a frame the first one decoded too, so the first pass's
        // differences go on from there.
        end = pass(wanted, lastMissing, seen, kSecondPassFrom, 1.0, merged);
        if (unordered)
            return Sparse::Unusable;
        if (end == PassEnd::Failed)
            return Sparse::Failed;
        covered = end == PassEnd::Stopped && !merged.empty() ? merged.back().at : n - 1;
        for (const Decoded& d : first)
            if (d.at > covered)
                merged.push_back(d);
    }
    std::fill(seen.begin(), seen.end(), 0);
    for (const Decoded& d : merged) seen[d.at] = 1;
    std::int64_t damaged = 0;
    for (std::size_t i = 0; i < n; ++i)
        damaged += !seen[i] && (second && i <= covered ? wanted[i] : whole[i]);
    scan.result.changes.frameCount = std::int64_t(n) - damaged;
    for (std::size_t k = 0; k < merged.size(); ++k) {
        series.differences.push_back(k == 0 ? 0.0f : merged[k].difference);
        series.timesMs.push_back(floorDiv(scan.playerUs(index.pts[merged[k].at]), 1000));
    }
    return Sparse::Done;
}

}  // namespace verbanta::media
