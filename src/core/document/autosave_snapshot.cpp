#include "document/autosave_snapshot.h"

#include "document/document.h"
#include "document/message_text.h"
#include "platform/messenger.h"
#include "sami/sami_writer.h"

namespace verbanta {

TextEncoding recoveryEncodingOf(const Document& document)
{
    return document.encoding();
}

RecoverySnapshot makeRecoverySnapshot(const Document& document, std::int64_t savedAt)
{
    const TextEncoding encoding = recoveryEncodingOf(document);
    RecoverySnapshot snapshot;
    snapshot.bytes = fromCp949(writeSami(document.model(), -1), encoding);
    snapshot.manifest.originalPath = document.pathName();
    std::string title = document.title();
    if (title.size() >= 2 && title.compare(title.size() - 2, 2, " *") == 0)
        title.resize(title.size() - 2);
    snapshot.manifest.title = std::move(title);
    snapshot.manifest.savedAt = savedAt;
    snapshot.manifest.encoding = encodingName(encoding);
    return snapshot;
}

bool restoreRecoveryCopy(Document& document, const RecoveryStore& store,
                         const RecoveryEntry& entry, Messenger& messenger)
{
    std::string bytes;
    const auto encoding = encodingFromName(entry.manifest.encoding);
    if (!encoding || !store.readCopy(entry, bytes)) {
        messenger.showMessage(fillIn(kRecoveryUnreadableMessage, {entry.copyPath}),
                              MessageIcon::Error);
        return false;
    }
    const std::string text = toCp949(bytes, *encoding);
    document.newDocument();
    document.model().LoadText(text);
    // The restored document saves in the encoding its file had.
    document.model().fileEncoding = *encoding;
    // Bound to the file it came from, so that a save writes there with the usual backup; the
    // recent-file list is for files the user opened.
    if (!entry.manifest.originalPath.empty())
        document.setPathName(entry.manifest.originalPath, false);
    document.setModifiedFlag(true);
    // The work goes on where it stopped: with the video beside the file, as after an open.
    document.openCompanionVideo();
    return true;
}

}  // namespace verbanta
