#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "document/autosave_store.h"

namespace verbanta {

struct AppSettings;
class Messenger;

/// A monotonic clock in milliseconds; tests drive a fake one.
class AutosaveClock {
public:
    virtual ~AutosaveClock() = default;
    virtual std::int64_t nowMs() const = 0;
};

/// One recovery copy, serialised on the user-interface thread: the bytes as they go to disk
/// and the manifest that describes them.
struct RecoverySnapshot {
    std::string bytes;
    RecoveryManifest manifest;
};

/// Takes the copies off the user-interface thread. Requests are carried out in the order
/// given, so a removal is never overtaken by an earlier write; a failed write is reported
/// back through `AutosaveScheduler::writeFailed` on the user-interface thread.
class AutosaveWriter {
public:
    virtual ~AutosaveWriter() = default;
    virtual void writeCopy(RecoverySnapshot snapshot) = 0;
    virtual void removeCopy() = 0;
};

/// Decides when a recovery copy is due: while the document is modified, once every
/// `AutoSaveSeconds` (0 or less: never), only when the content differs from the last copy.
/// A failed write shows one message and turns autosave off for the rest of the run.
class AutosaveScheduler {
public:
    using Serialise = std::function<RecoverySnapshot()>;

    /// The failure message; %1 is the recovery folder.
    static constexpr const char* kWriteFailedMessage =
        "복구용 자동 저장 파일을 \"%1\" 폴더에 쓸 수 없습니다.\n"
        "이번 실행 동안 자동 저장을 하지 않습니다.";

    AutosaveScheduler(const AppSettings& settings, const AutosaveClock& clock,
                      AutosaveWriter& writer, Messenger& messenger);

    /// Called periodically on the user-interface thread; serialises and hands a copy to the
    /// writer when one is due, and removes the copy of a document found clean. Returns
    /// whether it wrote.
    bool tick(bool documentModified, const Serialise& serialise);
    /// Makes the next tick write at once (a restored document must be safe again soon).
    void makeDue() { m_due = true; }
    /// The document is clean or replaced (saved, new, opened, closed without saving): the
    /// copy goes and the interval starts again.
    void documentClean();
    /// The writer could not write into the folder.
    void writeFailed(const std::string& folder);

    bool disabled() const { return m_disabled; }
    /// Whether a copy was handed to the writer since the document was last clean.
    bool hasCopy() const { return m_hasCopy; }

private:
    std::int64_t intervalMs() const;

    const AppSettings& m_settings;
    const AutosaveClock& m_clock;
    AutosaveWriter& m_writer;
    Messenger& m_messenger;
    std::int64_t m_lastCopyMs;
    /// What the last copy held: an unchanged document is not written again.
    std::string m_lastBytes;
    RecoveryManifest m_lastManifest;
    bool m_hasCopy = false;
    bool m_due = false;
    bool m_disabled = false;
};

}  // namespace verbanta
