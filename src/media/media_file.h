#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <vector>

struct AVFormatContext;

namespace verbanta::media {

/// One audio stream of a media file, with the numbers the player knows it by.
struct AudioStreamInfo {
    int index = -1;       ///< the container's stream index: mpv's "ff-index", ffprobe's "index"
    int audioNumber = 0;  ///< 1 for the file's first audio stream: mpv's audio track "id"
    std::string codec;    ///< FFmpeg's codec name, such as "aac"
    int sampleRate = 0;
    int channels = 0;
    std::string language;  ///< the language tag, empty when untagged or "und"
    std::string title;
    bool isDefault = false;  ///< flagged as the default track
};

/// Why a media file or one of its streams cannot be analysed.
enum class OpenFailure {
    None,
    Cancelled,   ///< cancelled while opening
    Unreadable,  ///< missing, unreadable, or not a media file libavformat knows
    NoAudio,     ///< a media file without an audio stream
    NotAudio,    ///< the stream asked for does not exist or is not audio
    NoDecoder,   ///< the audio codec cannot be decoded
};

/// A media file opened through libavformat the way the player opens it, so that timestamps
/// mean the same here and there. Blocking reads stop when the cancel flag is set.
class MediaFile {
public:
    /// The open file, or null with the failure and FFmpeg's reason in `detail`.
    static std::unique_ptr<MediaFile> open(const std::string& path, const std::atomic<bool>* cancel,
                                           OpenFailure& failure, std::string& detail);
    ~MediaFile();
    MediaFile(const MediaFile&) = delete;
    MediaFile& operator=(const MediaFile&) = delete;

    AVFormatContext* context() const { return m_context; }

    /// Where the player's time 0 lies on the container's timeline, in seconds. libmpv moves
    /// the container's start time to 0, except for MP4/QuickTime, whose timestamps it keeps.
    double playerZero() const { return m_playerZero; }

    std::vector<AudioStreamInfo> audioStreams() const;

    /// The audio stream the player starts with when the user chose none: the first one
    /// flagged default, else the first; -1 without audio.
    int defaultAudioStream() const;

    /// Where the file ends on the player's timeline by the container's own account, in
    /// seconds; negative when it does not say.
    double containerEnd() const;

private:
    MediaFile() = default;

    AVFormatContext* m_context = nullptr;
    const std::atomic<bool>* m_cancel = nullptr;
    double m_playerZero = 0.0;
};

/// What a media file holds for the audio views: its audio streams and the default one.
struct MediaProbe {
    OpenFailure failure = OpenFailure::None;
    std::string detail;  ///< FFmpeg's reason when the file could not be opened
    std::vector<AudioStreamInfo> streams;
    int defaultStream = -1;
};

/// Lists the audio streams of a file without decoding any; for the app's track mapping.
MediaProbe probeMedia(const std::string& path);

/// Keeps FFmpeg's own diagnostics off the terminal: the analyses report what matters in their
/// states. For programs without a log of their own (libmpv installs one in the app).
void quietFFmpegLog();

/// FFmpeg's text for an error code.
std::string errorText(int averror);

}  // namespace verbanta::media
