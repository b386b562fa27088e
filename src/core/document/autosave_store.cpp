#include "document/autosave_store.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <filesystem>
#include <random>

#include "document/file_operations.h"
#include "model/codepage.h"
#include "platform/atomic_file_writer.h"
#include "platform/system.h"

namespace verbanta {
namespace {

constexpr std::string_view kManifestHeader = "Verbanta recovery 1";
constexpr std::string_view kCopySuffix = ".smi";
constexpr std::string_view kManifestSuffix = ".manifest";
constexpr std::string_view kLockSuffix = ".lock";
constexpr std::string_view kTemporarySuffix = ".tmp";
constexpr std::size_t kSessionIdLength = 16;

std::string escape(std::string_view value)
{
    std::string out;
    out.reserve(value.size());
    for (const char c : value) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else
            out += c;
    }
    return out;
}

std::optional<std::string> unescape(std::string_view value)
{
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\') {
            out += value[i];
            continue;
        }
        if (++i == value.size())
            return std::nullopt;
        switch (value[i]) {
        case '\\': out += '\\'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        default: return std::nullopt;
        }
    }
    return out;
}

bool isRegularFile(const std::string& path, std::uintmax_t* size = nullptr)
{
    std::error_code ec;
    const auto status = std::filesystem::symlink_status(platform::fsPath(path), ec);
    if (ec || !std::filesystem::is_regular_file(status))
        return false;
    if (size) {
        *size = std::filesystem::file_size(platform::fsPath(path), ec);
        if (ec)
            return false;
    }
    return true;
}

}  // namespace

std::string formatManifest(const RecoveryManifest& manifest)
{
    std::string out(kManifestHeader);
    out += "\npath=" + escape(manifest.originalPath);
    out += "\ntitle=" + escape(manifest.title);
    out += "\ntime=" + std::to_string(manifest.savedAt);
    out += "\nencoding=" + escape(manifest.encoding);
    out += '\n';
    return out;
}

std::optional<RecoveryManifest> parseManifest(std::string_view text)
{
    const std::size_t firstEnd = text.find('\n');
    if (firstEnd == std::string_view::npos || text.substr(0, firstEnd) != kManifestHeader)
        return std::nullopt;
    RecoveryManifest manifest;
    bool havePath = false, haveTitle = false, haveTime = false, haveEncoding = false;
    std::string_view rest = text.substr(firstEnd + 1);
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        const std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        if (line.empty())
            continue;
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            return std::nullopt;
        const std::string_view key = line.substr(0, equals);
        const auto value = unescape(line.substr(equals + 1));
        if (!value)
            return std::nullopt;
        if (key == "path") {
            manifest.originalPath = *value;
            havePath = true;
        } else if (key == "title") {
            manifest.title = *value;
            haveTitle = true;
        } else if (key == "time") {
            const char* first = value->data();
            const char* last = first + value->size();
            const auto [ptr, ec] = std::from_chars(first, last, manifest.savedAt);
            if (ec != std::errc() || ptr != last || value->empty())
                return std::nullopt;
            haveTime = true;
        } else if (key == "encoding") {
            manifest.encoding = *value;
            haveEncoding = true;
        }
        // Other keys are from a later version and are ignored.
    }
    if (!havePath || !haveTitle || !haveTime || !haveEncoding)
        return std::nullopt;
    return manifest;
}

RecoveryStore::RecoveryStore(std::string folder, std::string sessionId, FileOperations& files)
    : m_folder(std::move(folder)), m_sessionId(std::move(sessionId)), m_files(files)
{
    while (m_folder.size() > 1 && m_folder.back() == '/')
        m_folder.pop_back();
}

RecoveryStore::~RecoveryStore()
{
    if (m_lockFd < 0)
        return;
    // A run that ends normally leaves nothing behind; a copy that is still there (autosave
    // turned off before the document was saved) is then offered like a crashed run's.
    if (!hasOwnCopy())
        platform::removeFile(lockPathOf(m_sessionId));
    platform::closeHandle(m_lockFd);
}

std::string RecoveryStore::newSessionId()
{
    std::random_device device;
    std::mt19937_64 engine((static_cast<std::uint64_t>(device()) << 32) ^ device() ^
                           platform::processId());
    const std::uint64_t value = engine();
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string id(kSessionIdLength, '0');
    for (std::size_t i = 0; i < kSessionIdLength; ++i)
        id[i] = kDigits[(value >> (4 * (kSessionIdLength - 1 - i))) & 0xf];
    return id;
}

bool RecoveryStore::isSessionId(std::string_view id)
{
    return id.size() == kSessionIdLength &&
           std::all_of(id.begin(), id.end(),
                       [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

std::string RecoveryStore::copyPathOf(const std::string& id) const
{
    return m_folder + "/" + id + std::string(kCopySuffix);
}

std::string RecoveryStore::manifestPathOf(const std::string& id) const
{
    return m_folder + "/" + id + std::string(kManifestSuffix);
}

std::string RecoveryStore::lockPathOf(const std::string& id) const
{
    return m_folder + "/" + id + std::string(kLockSuffix);
}

bool RecoveryStore::ensureFolder()
{
    std::error_code ec;
    std::filesystem::create_directories(platform::fsPath(m_folder), ec);
    if (ec) {
        errno = ec.value();
        return false;
    }
    if (!m_files.isDirectory(m_folder)) {
        errno = ENOTDIR;
        return false;
    }
    // The copies hold the user's unsaved work: only the user may enter the folder.
    std::filesystem::permissions(platform::fsPath(m_folder),
                                 std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::replace, ec);
    if (ec) {
        errno = ec.value();
        return false;
    }
    return true;
}

bool RecoveryStore::takeLock()
{
    if (m_lockFd >= 0)
        return true;
    const std::string path = lockPathOf(m_sessionId);
    const int fd = platform::lockFile(path);
    if (fd < 0)
        return false;
    m_lockFd = fd;
    return true;
}

namespace {

/// Replaces one of the store's files whole, readable by its owner only.
bool replaceAtomically(FileOperations& files, const std::string& target, std::string_view bytes)
{
    AtomicWriteOptions options;
    options.temporaryPath = target + std::string(kTemporarySuffix);
    options.newFileMode = 0600;
    options.keepAttributes = false;
    options.syncFolder = false;  // once for the copy and its manifest
    const AtomicWriteResult result = writeFileAtomically(target, bytes, files, options);
    errno = result.error;
    return result.ok();
}

}  // namespace

bool RecoveryStore::writeCopy(std::string_view bytes, const RecoveryManifest& manifest)
{
    if (!ensureFolder() || !takeLock())
        return false;
    // The copy goes first: a manifest never points at a copy older than itself.
    if (!replaceAtomically(m_files, copyPathOf(m_sessionId), bytes) ||
        !replaceAtomically(m_files, manifestPathOf(m_sessionId), formatManifest(manifest)))
        return false;
    return m_files.syncDirectory(m_folder);
}

bool RecoveryStore::removeOwnCopy()
{
    bool removed = true;
    for (const std::string& path : {manifestPathOf(m_sessionId), copyPathOf(m_sessionId)})
        if (m_files.exists(path) && !m_files.remove(path))
            removed = false;
    return removed;
}

bool RecoveryStore::hasOwnCopy() const
{
    return m_files.exists(manifestPathOf(m_sessionId)) || m_files.exists(copyPathOf(m_sessionId));
}

std::optional<RecoveryEntry> RecoveryStore::readEntry(const std::string& id) const
{
    RecoveryEntry entry;
    entry.id = id;
    entry.copyPath = copyPathOf(id);
    entry.manifestPath = manifestPathOf(id);
    std::uintmax_t size = 0, copySize = 0;
    if (!isRegularFile(entry.manifestPath, &size) || size > kMaxManifestBytes ||
        !isRegularFile(entry.copyPath, &copySize) || copySize > kMaxCopyBytes)
        return std::nullopt;
    std::string text;
    if (!m_files.readFile(entry.manifestPath, text))
        return std::nullopt;
    auto manifest = parseManifest(text);
    // A copy in an encoding this version cannot read could not be restored.
    if (!manifest || !encodingFromName(manifest->encoding))
        return std::nullopt;
    entry.manifest = std::move(*manifest);
    return entry;
}

std::vector<RecoveryEntry> RecoveryStore::listLeftCopies() const
{
    std::vector<RecoveryEntry> entries;
    if (!m_files.isDirectory(m_folder))
        return entries;
    for (const std::string& name : m_files.listDirectory(m_folder)) {
        if (name.size() <= kManifestSuffix.size() ||
            name.compare(name.size() - kManifestSuffix.size(), kManifestSuffix.size(),
                         kManifestSuffix) != 0)
            continue;
        const std::string id = name.substr(0, name.size() - kManifestSuffix.size());
        // A live run holds its lock: its copy is not left over.
        if (!isSessionId(id) || id == m_sessionId || m_files.isLocked(lockPathOf(id)))
            continue;
        if (auto entry = readEntry(id))
            entries.push_back(std::move(*entry));
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const RecoveryEntry& a, const RecoveryEntry& b) {
                         return a.manifest.savedAt > b.manifest.savedAt;
                     });
    return entries;
}

bool RecoveryStore::removeEntry(const RecoveryEntry& entry)
{
    // The paths come from the id, never from the files' content.
    if (!isSessionId(entry.id) || entry.id == m_sessionId)
        return false;
    bool removed = true;
    for (const std::string& path :
         {manifestPathOf(entry.id), copyPathOf(entry.id), lockPathOf(entry.id)})
        if (m_files.exists(path) && !m_files.remove(path))
            removed = false;
    m_files.syncDirectory(m_folder);
    return removed;
}

bool RecoveryStore::readCopy(const RecoveryEntry& entry, std::string& bytes) const
{
    if (!isSessionId(entry.id) || !isRegularFile(copyPathOf(entry.id)))
        return false;
    return m_files.readFile(copyPathOf(entry.id), bytes);
}

}  // namespace verbanta
