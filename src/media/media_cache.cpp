#include "media_cache.h"

extern "C" {
#include <libavutil/adler32.h>
#include <libavutil/md5.h>
}

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

#include "byte_codec.h"
#include "platform/system.h"

namespace verbanta::media {
namespace {

constexpr std::string_view kMagic = "VBTMEDIA";
constexpr std::uint32_t kFormatVersion = 1;

// Adler-32: damage is caught as surely as by a CRC here, and it reads megabytes in a moment.
std::uint32_t checksum(std::uint32_t sum, std::string_view bytes)
{
    return std::uint32_t(
        av_adler32_update(sum, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

void putKey(ByteWriter& out, const CacheKey& key, AnalysisKind kind)
{
    out.bytes().append(kMagic);
    out.put(kFormatVersion);
    out.put(std::uint32_t(kind));
    out.put(key.size);
    out.put(key.modifiedNs);
    out.put(std::int32_t(key.stream));
    out.putText(key.path);
}

bool writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n <= 0)
            return false;
        bytes.remove_prefix(std::size_t(n));
    }
    return true;
}

}  // namespace

std::optional<CacheKey> CacheKey::of(const std::string& path, int stream)
{
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    CacheKey key;
    key.path = error ? path : absolute.lexically_normal().string();
    key.size = std::uint64_t(info.st_size);
    key.modifiedNs = std::int64_t(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
    key.stream = stream;
    return key;
}

std::string MediaCache::defaultFolder()
{
    return platform::userCacheFolder();
}

MediaCache::MediaCache(std::string folder, std::uint64_t limitBytes)
    : m_folder(std::move(folder)), m_limitBytes(limitBytes)
{
}

std::string MediaCache::fileFor(const CacheKey& key, AnalysisKind kind) const
{
    std::uint8_t digest[16];
    av_md5_sum(digest, reinterpret_cast<const std::uint8_t*>(key.path.data()),
               int(key.path.size()));
    char name[64];
    int at = 0;
    for (std::uint8_t byte : digest)
        at += std::snprintf(name + at, sizeof name - std::size_t(at), "%02x", byte);
    std::snprintf(name + at, sizeof name - std::size_t(at), "-%d.%u", key.stream, unsigned(kind));
    return m_folder + "/" + name;
}

bool CacheReader::read(void* to, std::size_t size)
{
    if (size > m_left || std::fread(to, 1, size, m_file) != size) {
        m_left = 0;
        return false;
    }
    m_left -= size;
    m_sum = checksum(m_sum, {static_cast<const char*>(to), size});
    return true;
}

bool MediaCache::read(const CacheKey& key, AnalysisKind kind,
                      const std::function<bool(CacheReader&)>& parse) const
{
    if (m_folder.empty())
        return false;
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(
        std::fopen(fileFor(key, kind).c_str(), "rb"), std::fclose);
    struct stat info {};
    if (!file || ::fstat(::fileno(file.get()), &info) != 0)
        return false;
    ByteWriter expected;
    putKey(expected, key, kind);
    const std::string& keyBytes = expected.bytes();
    // Another file's entry (same name by chance), an older layout or a cut header all differ.
    std::string found(keyBytes.size() + 12, '\0');  // the key, the payload's length and sum
    if (std::fread(found.data(), 1, found.size(), file.get()) != found.size() ||
        found.compare(0, keyBytes.size(), keyBytes) != 0)
        return false;
    ByteReader fields(std::string_view(found).substr(keyBytes.size()));
    const auto size = fields.get<std::uint64_t>();
    const auto sum = fields.get<std::uint32_t>();
    if (std::uint64_t(info.st_size) != found.size() + size)
        return false;
    CacheReader reader(file.get(), size);
    if (!parse(reader) || reader.remaining() != 0 || reader.m_sum != sum)
        return false;
    // A used entry is a recent one: the oldest go first when the folder is full.
    ::futimens(::fileno(file.get()), nullptr);
    return true;
}

bool MediaCache::write(const CacheKey& key, AnalysisKind kind, std::string_view payload)
{
    std::error_code error;
    if (!m_folder.empty())
        std::filesystem::create_directories(m_folder, error);
    const std::string target = fileFor(key, kind);
    std::string temporary = target + ".XXXXXX";
    const int fd = m_folder.empty() || error ? -1 : ::mkstemp(temporary.data());
    bool written = fd >= 0;
    if (written) {
        ByteWriter out;
        putKey(out, key, kind);
        out.put(std::uint64_t(payload.size()));
        out.put(checksum(1, payload));
        written = writeAll(fd, out.bytes()) && writeAll(fd, payload);
        written = ::close(fd) == 0 && written;
        written = written && std::rename(temporary.c_str(), target.c_str()) == 0;
        if (!written)
            ::unlink(temporary.c_str());
    }
    if (!written)
        m_writeFailed = true;
    else
        trimTo(m_limitBytes, target);
    return written;
}

void MediaCache::trimTo(std::uint64_t limit, const std::string& keep) const
{
    struct Entry {
        std::filesystem::file_time_type used;
        std::uint64_t size;
        std::filesystem::path path;
    };
    std::vector<Entry> entries;
    std::uint64_t total = 0;
    std::error_code error;
    for (const auto& item : std::filesystem::directory_iterator(m_folder, error)) {
        std::error_code ignored;
        // Another writer's temporary file ("<entry>.XXXXXX") is left to its writer.
        const std::string name = item.path().filename().string();
        if (!item.is_regular_file(ignored) || item.path() == keep ||
            std::count(name.begin(), name.end(), '.') != 1)
            continue;
        entries.push_back({item.last_write_time(ignored), item.file_size(ignored), item.path()});
        total += entries.back().size;
    }
    total += std::filesystem::file_size(keep, error);
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return a.used < b.used; });
    for (const Entry& entry : entries) {
        if (total <= limit)
            break;
        if (std::filesystem::remove(entry.path, error))
            total -= entry.size;
    }
}

bool MediaCache::takeUnwritableNote()
{
    return m_writeFailed.load() && !m_noted.exchange(true);
}

}  // namespace verbanta::media
