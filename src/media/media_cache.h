#pragma once

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace verbanta::media {

/// What identifies one stream of one media file as it is now: a file that was replaced or
/// changed has another size or modification time, and so another key.
struct CacheKey {
    std::string path;  ///< absolute
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;
    int stream = -1;

    /// The key of the file as it is on the disk now; nullopt when it cannot be examined.
    static std::optional<CacheKey> of(const std::string& path, int stream);
    friend bool operator==(const CacheKey&, const CacheKey&) = default;
};

/// The analyses kept for a key, each in a cache file of its own.
enum class AnalysisKind : std::uint32_t {
    AudioPeaks = 1,
    ShotChanges = 2,  ///< reserved for the video's shot changes
};

/// The payload of a cache entry, read from the disk front to back as the parser asks for it,
/// straight into the parser's own memory.
class CacheReader {
public:
    /// The next `size` bytes into `to`; false past the payload's end or when reading failed.
    bool read(void* to, std::size_t size);
    std::uint64_t remaining() const { return m_left; }

private:
    friend class MediaCache;
    CacheReader(std::FILE* file, std::uint64_t size) : m_file(file), m_left(size) {}

    std::FILE* m_file;
    std::uint64_t m_left;
    std::uint32_t m_sum = 1;
};

/// Results of media analyses kept between sessions, one file per key and kind, in the user's
/// cache folder. A file that is missing, damaged or made for another key reads as nothing,
/// and the next write replaces it. Safe to share between threads.
class MediaCache {
public:
    /// "$XDG_CACHE_HOME/Verbanta", else "~/.cache/Verbanta"; empty when neither is known.
    static std::string defaultFolder();

    static constexpr std::uint64_t kDefaultLimitBytes = std::uint64_t(1) << 30;

    /// The least recently used entries give way once the folder's take more than
    /// `limitBytes` (a two-hour film's peaks take 14 MB).
    explicit MediaCache(std::string folder, std::uint64_t limitBytes = kDefaultLimitBytes);
    const std::string& folder() const { return m_folder; }

    /// Reads the entry of the key through `parse`, which takes its payload from the reader
    /// and says whether it makes sense. True when it did and the whole entry was read intact;
    /// false when there is none, or it is damaged or stale (then what `parse` made is void).
    bool read(const CacheKey& key, AnalysisKind kind,
              const std::function<bool(CacheReader&)>& parse) const;

    /// Stores the payload through a temporary file and a rename; false when the folder cannot
    /// be written, and the analysis goes on without the cache.
    bool write(const CacheKey& key, AnalysisKind kind, std::string_view payload);

    /// True once, after the first write that failed: the one note the user gets about it.
    bool takeUnwritableNote();

    /// The cache file of a key and kind (named after the path and stream, so that a changed
    /// file replaces its old entry).
    std::string fileFor(const CacheKey& key, AnalysisKind kind) const;

private:
    /// Removes the least recently used entries but `keep` until the folder holds `limit`.
    void trimTo(std::uint64_t limit, const std::string& keep) const;

    std::string m_folder;
    std::uint64_t m_limitBytes;
    std::atomic<bool> m_writeFailed{false};
    std::atomic<bool> m_noted{false};
};

}  // namespace verbanta::media
