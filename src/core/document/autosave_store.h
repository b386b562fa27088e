#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace verbanta {

class FileOperations;

/// What the small file beside a recovery copy says about it.
struct RecoveryManifest {
    std::string originalPath;    ///< the document's file; empty for an untitled document
    std::string title;           ///< the document's title without the modified mark
    std::int64_t savedAt = 0;    ///< seconds since 1970 (UTC) when the copy was made
    std::string encoding = "cp949";  ///< the copy's encoding, as encodingName() names it

    bool operator==(const RecoveryManifest&) const = default;
};

/// The manifest as text: a first line that names the format, then "key=value" lines with
/// backslash, carriage return and line feed escaped.
std::string formatManifest(const RecoveryManifest& manifest);
/// The manifest read back; nothing for a damaged or foreign text.
std::optional<RecoveryManifest> parseManifest(std::string_view text);

/// A recovery copy left by another run, as offered at start-up.
struct RecoveryEntry {
    std::string id;            ///< the session that wrote it
    std::string copyPath;      ///< the SAMI copy
    std::string manifestPath;
    RecoveryManifest manifest;
};

/// The per-user recovery folder: each run (session) keeps at most one copy there, written
/// atomically, with its manifest and a lock file that the run holds while it lives, so that
/// a copy whose lock is free was left by a run that ended abnormally.
class RecoveryStore {
public:
    /// The largest manifest read; anything bigger is not one of ours.
    static constexpr std::size_t kMaxManifestBytes = 64 * 1024;
    /// The largest copy offered: far above any document the editor can hold.
    static constexpr std::size_t kMaxCopyBytes = 64 * 1024 * 1024;

    RecoveryStore(std::string folder, std::string sessionId, FileOperations& files);
    ~RecoveryStore();
    RecoveryStore(const RecoveryStore&) = delete;
    RecoveryStore& operator=(const RecoveryStore&) = delete;

    /// A new random session id: 16 lowercase hexadecimal digits.
    static std::string newSessionId();
    /// Whether a text has the form of a session id; file names of any other form are foreign.
    static bool isSessionId(std::string_view id);

    const std::string& folder() const { return m_folder; }
    const std::string& sessionId() const { return m_sessionId; }
    std::string copyPathOf(const std::string& id) const;
    std::string manifestPathOf(const std::string& id) const;
    std::string lockPathOf(const std::string& id) const;

    /// Replaces this session's copy and manifest, each through a temporary file that is
    /// flushed before it is renamed, creating the folder and taking the session's lock first.
    /// False with errno set when anything failed; the previous copy then stays whole.
    bool writeCopy(std::string_view bytes, const RecoveryManifest& manifest);
    /// Removes this session's copy and manifest (nothing there is no failure).
    bool removeOwnCopy();
    /// Whether this session has a copy on disk.
    bool hasOwnCopy() const;

    /// The copies of other runs whose lock is free, newest first. Damaged manifests, unknown
    /// encodings, copies without their manifest or data, and files not named like ours are
    /// skipped.
    std::vector<RecoveryEntry> listLeftCopies() const;
    /// Deletes an ended run's copy, manifest and lock file; false when one of them stays.
    bool removeEntry(const RecoveryEntry& entry);
    /// The bytes of a copy, as written.
    bool readCopy(const RecoveryEntry& entry, std::string& bytes) const;

private:
    bool ensureFolder();
    bool takeLock();
    std::optional<RecoveryEntry> readEntry(const std::string& id) const;

    std::string m_folder;
    std::string m_sessionId;
    FileOperations& m_files;
    int m_lockFd = -1;
};

}  // namespace verbanta
