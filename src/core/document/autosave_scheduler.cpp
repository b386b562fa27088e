#include "document/autosave_scheduler.h"

#include "document/message_text.h"
#include "platform/messenger.h"
#include "settings/app_settings.h"

namespace verbanta {

AutosaveScheduler::AutosaveScheduler(const AppSettings& settings, const AutosaveClock& clock,
                                     AutosaveWriter& writer, Messenger& messenger)
    : m_settings(settings),
      m_clock(clock),
      m_writer(writer),
      m_messenger(messenger),
      m_lastCopyMs(clock.nowMs())
{
}

std::int64_t AutosaveScheduler::intervalMs() const
{
    // Read at the moment of use, like every option.
    return static_cast<std::int64_t>(m_settings.AutoSaveSeconds) * 1000;
}

bool AutosaveScheduler::tick(bool documentModified, const Serialise& serialise)
{
    // A document that became clean by a way nobody reported (a reload, a save from a prompt)
    // has no work left to lose.
    if (!documentModified && m_hasCopy)
        documentClean();
    const std::int64_t interval = intervalMs();
    if (m_disabled || interval <= 0 || !documentModified)
        return false;
    const std::int64_t now = m_clock.nowMs();
    if (!m_due && now - m_lastCopyMs < interval)
        return false;
    m_due = false;
    m_lastCopyMs = now;
    RecoverySnapshot snapshot = serialise();
    const bool sameDocument = snapshot.manifest.originalPath == m_lastManifest.originalPath &&
                              snapshot.manifest.title == m_lastManifest.title &&
                              snapshot.manifest.encoding == m_lastManifest.encoding;
    if (m_hasCopy && sameDocument && snapshot.bytes == m_lastBytes)
        return false;
    m_lastBytes = snapshot.bytes;
    m_lastManifest = snapshot.manifest;
    m_hasCopy = true;
    m_writer.writeCopy(std::move(snapshot));
    return true;
}

void AutosaveScheduler::documentClean()
{
    m_lastCopyMs = m_clock.nowMs();
    m_due = false;
    m_lastBytes.clear();
    m_lastManifest = RecoveryManifest();
    // Removed even when this run wrote nothing: a write may still be on its way.
    m_hasCopy = false;
    m_writer.removeCopy();
}

void AutosaveScheduler::writeFailed(const std::string& folder)
{
    // Later failures of writes already queued say nothing new.
    if (m_disabled)
        return;
    m_disabled = true;
    m_hasCopy = false;
    m_messenger.showMessage(fillIn(kWriteFailedMessage, {folder}), MessageIcon::Error);
}

}  // namespace verbanta
