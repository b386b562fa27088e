#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/sync_list.h"

namespace verbanta {

class FileOperations;
class Messenger;
class SamiModel;

/// One part of a split: the sync it begins at and the file it goes to.
struct SplitPart {
    int number = 0;  ///< 0-based, one per part
    Position firstSync = nullptr;
    std::int32_t startMs = 0;
    bool isComment = false;
    std::string caption;  ///< the first sync's single-line display form (CP949)
    std::string path;     ///< the file to write; empty: the part is not written
};

/// Where the parts of an untitled document go when no last folder is stored.
std::string defaultSplitBase();

/// The split command's first steps over the current list: the first sync and every bookmarked
/// one begin a part, named after the document's path (or the stored last folder, or the
/// default) with "_%02d" from 1. Nothing, after its message, when no sync is bookmarked or the
/// only bookmark is on the first sync.
std::optional<std::vector<SplitPart>> prepareSplitParts(const SamiModel& model,
                                                        const std::string& documentPath,
                                                        const std::string& lastDirectory,
                                                        FileOperations& files,
                                                        Messenger& messenger);

/// The split dialog's texts: "나누기 가능 파일 수: %d개", the time column (the start time, or
/// "(코멘트)"), and the file column (name and extension).
std::string splitCountLabel(std::size_t parts);
std::string splitTimeText(const SplitPart& part);
std::string splitFileText(const SplitPart& part);

/// The dialog's "수정(&E)": stores the edit box's text as the part's path; an empty text is
/// refused with its message.
bool setSplitPartPath(SplitPart& part, const std::string& text, Messenger& messenger);

/// The dialog's OK: writes every part that has a path, the header with all language classes,
/// its syncs up to the next part's first sync with times less the part's own start (the first
/// part keeps its times), and the footer. A file that cannot be written is skipped silently.
/// The number of parts written, or -1 when no part has a path (message shown, the dialog stays).
int writeSplitParts(const SamiModel& model, const std::vector<SplitPart>& parts,
                    FileOperations& files, Messenger& messenger);

/// The command's last message, once the dialog has closed with OK.
void reportSplitResult(int written, Messenger& messenger);

}  // namespace verbanta
