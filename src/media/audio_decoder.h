#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "media_file.h"

struct AVCodecContext;
struct AVFrame;
struct AVPacket;
struct SwrContext;

namespace verbanta::media {

/// Decodes one audio stream, streaming, into 16-bit mono blocks placed on the player's
/// timeline. One block at a time is held; nothing keeps the whole sound.
class AudioDecoder {
public:
    /// A run of decoded samples; valid until the next call.
    struct Block {
        const std::int16_t* samples = nullptr;
        int count = 0;
        int sampleRate = 0;
        double start = 0.0;  ///< the first sample's time on the player's timeline, in seconds
    };

    /// Why decoding ended.
    enum class End { NotYet, EndOfFile, ReadError, Cancelled };

    /// Opens `stream` of the file (-1: the default audio stream) for decoding at
    /// `outputRate` samples per second (0: the stream's own rate). Null on failure.
    static std::unique_ptr<AudioDecoder> open(const std::string& path, int stream, int outputRate,
                                              const std::atomic<bool>* cancel, OpenFailure& failure,
                                              std::string& detail);
    ~AudioDecoder();
    AudioDecoder(const AudioDecoder&) = delete;
    AudioDecoder& operator=(const AudioDecoder&) = delete;

    const MediaFile& file() const { return *m_file; }
    int stream() const { return m_stream; }
    int sampleRate() const;  ///< the stream's own rate, as the container declares it
    int channels() const;
    /// Where the stream should end on the player's timeline by the file's own account, in
    /// seconds: the earliest and latest of its readings, which differ where containers
    /// disagree on what a duration counts from; negative when the file says nothing.
    struct StatedEnd {
        double earliest = -1.0;
        double latest = -1.0;
        bool ofTrack = false;  ///< read from the track itself, not the whole file
    };
    StatedEnd statedEnd() const;

    /// Moves so that the next blocks start at or before `seconds` on the player's timeline.
    bool seek(double seconds);

    /// The next block of samples, or false at the end (then see `end()`).
    bool next(Block& block);

    End end() const { return m_end; }
    const std::string& endDetail() const { return m_endDetail; }
    /// Packets the decoder refused and skipped, as a player skips them.
    int skippedPackets() const { return m_skippedPackets; }

private:
    AudioDecoder() = default;
    bool receive(Block& block);
    bool convert(Block& block);
    bool finish(End end, int status);

    std::unique_ptr<MediaFile> m_file;
    const std::atomic<bool>* m_cancel = nullptr;
    int m_stream = -1;
    int m_outputRate = 0;
    AVCodecContext* m_codec = nullptr;
    AVPacket* m_packet = nullptr;
    AVFrame* m_frame = nullptr;
    SwrContext* m_resampler = nullptr;
    int m_resamplerRate = 0;  ///< the input rate the resampler was set up for
    std::uint64_t m_resamplerLayout = 0;
    int m_resamplerFormat = -1;
    int m_resamplerChannels = 0;
    std::vector<std::int16_t> m_buffer;
    double m_nextStart = 0.0;  ///< where a frame without a timestamp starts
    End m_end = End::NotYet;
    std::string m_endDetail;
    int m_skippedPackets = 0;
    int m_readFailures = 0;  ///< failed reads in a row
};

}  // namespace verbanta::media
