#pragma once

// Passes of a decoder over the shown video stream of a file, for the shot detector: reading
// past damaged data, leaving out what each pass does not need, and signing each picture.

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include "frame_signature.h"
#include "media_file.h"
#include "shot_detector.h"

namespace verbanta::media {

struct CodecContextDeleter {
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct PacketDeleter {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct FrameDeleter {
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};

/// Keeps the share told to the caller rising across passes that each count from 0 to 1.
class ProgressReport {
public:
    explicit ProgressReport(const std::function<void(double)>& report) : m_report(report) {}
    /// A pass that covers [from, to] of the work is `share` of the way through.
    void operator()(double from, double to, double share)
    {
        const double f = std::clamp(from + (to - from) * std::clamp(share, 0.0, 1.0), 0.0, 1.0);
        if (m_report && f > m_done) {
            m_done = f;
            m_report(f);
        }
    }
    double done() const { return m_done; }

private:
    const std::function<void(double)>& m_report;
    double m_done = 0.0;
};

/// What the passes over one file share.
/// Opens the file for finding shot changes; null with the failure set in `result` when it
/// cannot be.
std::unique_ptr<MediaFile> openForShots(const std::string& path, const std::atomic<bool>* cancel,
                                        ShotAnalysis& result);

struct Scan {
    const std::string& path;
    int stream;
    const std::atomic<bool>* cancel;
    ShotAnalysis& result;
    ProgressReport& progress;
    std::int64_t zeroUs = 0;
    double endSeconds = 0.0;
    AVRational timeBase{1, 1};

    bool cancelled() const { return cancel && cancel->load(std::memory_order_relaxed); }
    std::int64_t playerUs(std::int64_t ts) const
    {
        return av_rescale_q_rnd(ts, timeBase, AV_TIME_BASE_Q,
                                AVRounding(AV_ROUND_DOWN | AV_ROUND_PASS_MINMAX)) -
               zeroUs;
    }
    double shareAtUs(std::int64_t us) const
    {
        return endSeconds > 0 ? double(us) / 1e6 / endSeconds : 0.0;
    }
    double shareAt(std::int64_t ts) const { return shareAtUs(playerUs(ts)); }
    /// The file opened again for one more pass, reading only the shown stream; null with the
    /// failure set when it cannot be.
    std::unique_ptr<MediaFile> reopen() const;
};

enum class PassEnd { Finished, Stopped, Failed };

/// Reads the stream's packets in order and hands each to `use`, which returns false to stop.
/// Damaged data is read past as the player does, a few times, before the video counts as
/// cut short.
PassEnd readPackets(Scan& scan, AVFormatContext* context, AVPacket* packet,
                    const std::function<bool(const AVPacket*)>& use);

/// Which groups of pictures one of several decoders sharing a pass takes, by their number
/// from 0 in the order read, each decoded on its own from its key frame.
struct GroupShare {
    std::function<bool(long)> takes;
    std::function<void(const AVPacket&)> starts;  ///< one of its groups starts at this packet
    std::function<void()> ended;                  ///< and has handed on its last picture
};

/// One pass of the decoder over the shown stream from its start. `skipFor` says how much of
/// each packet's frame the decoder may leave out; `take` hears each picture and returns false
/// to stop.
PassEnd decodePass(Scan& scan, const std::function<AVDiscard(const AVPacket&)>& skipFor,
                   const std::function<bool(const AVFrame&)>& take,
                   const GroupShare* share = nullptr);

/// Makes each picture's signature and its difference from the previous one's.
class Signer {
public:
    explicit Signer(Scan& scan) : m_scan(scan) {}
    /// The picture's difference from the last one signed, or a negative value (and the
    /// failure set) when its layout cannot be read.
    float sign(const AVFrame& frame);

    const FrameSignature& last() const { return m_previous; }
    bool fresh() const { return m_first; }
    void restart() { m_first = true; }

private:
    Scan& m_scan;
    FrameSignature m_previous, m_current;
    bool m_first = true;
};

}  // namespace verbanta::media
