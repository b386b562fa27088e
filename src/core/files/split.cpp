#include "files/split.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "document/file_operations.h"
#include "document/path_parts.h"
#include "model/sami_model.h"
#include "model/text_format.h"
#include "platform/atomic_file_writer.h"
#include "platform/messenger.h"
#include "sami/sami_writer.h"

namespace verbanta {
namespace {

constexpr const char* kUntitledFile = "제목없음.smi";

std::int32_t shifted(std::int32_t ms, std::int32_t offset)
{
    const std::int64_t value = std::int64_t{ms} - offset;
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                 std::numeric_limits<std::int32_t>::max()));
}

/// The stored last folder as a base name. A folder (which is what the caption view stores)
/// gets the untitled file name inside it rather than naming files after the folder itself.
std::string baseFromLastDirectory(const std::string& lastDirectory, FileOperations& files)
{
    if (lastDirectory.empty())
        return {};
    const bool endsInSeparator = lastSeparator(lastDirectory) + 1 == lastDirectory.size();
    if (endsInSeparator)
        return lastDirectory + kUntitledFile;
    if (files.isDirectory(lastDirectory))
        return lastDirectory + "/" + kUntitledFile;
    return lastDirectory;
}

SplitPart makePart(const SamiModel& model, int number, Position pos, const PathParts& base)
{
    const SyncEntry& entry = *model.entryAt(pos);
    SplitPart part;
    part.number = number;
    part.firstSync = pos;
    part.startMs = entry.startMs;
    part.isComment = entry.isComment != 0;
    part.caption = StripTags(entry.text, true);
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "_%02d", number + 1);
    part.path = base.directory + base.baseName + suffix + base.extension;
    return part;
}

}  // namespace

std::string defaultSplitBase()
{
#ifdef _WIN32
    return std::string("C:\\") + kUntitledFile;
#else
    const char* home = std::getenv("HOME");
    return home && *home ? std::string(home) + "/" + kUntitledFile : std::string(kUntitledFile);
#endif
}

std::optional<std::vector<SplitPart>> prepareSplitParts(const SamiModel& model,
                                                        const std::string& documentPath,
                                                        const std::string& lastDirectory,
                                                        FileOperations& files,
                                                        Messenger& messenger)
{
    const SyncList& list = model.list();
    int bookmarks = 0;
    Position firstBookmark = nullptr;
    for (Position p = list.head(); p; p = list.next(p)) {
        if (p->entry.bookmarked) {
            if (bookmarks++ == 0)
                firstBookmark = p;
        }
    }
    if (bookmarks == 0) {
        messenger.showMessage("각각 나눌 자막이 시작되는 위치에 북마크를 설정해 주십시오.",
                              MessageIcon::Warning);
        return std::nullopt;
    }
    if (bookmarks == 1 && firstBookmark == list.head()) {
        messenger.showMessage("나눈 파일의 저장 결과가 현재 파일의 내용과 동일합니다.",
                              MessageIcon::Warning);
        return std::nullopt;
    }

    std::string base = documentPath;
    if (base.empty())
        base = baseFromLastDirectory(lastDirectory, files);
    if (base.empty())
        base = defaultSplitBase();
    const PathParts parts = splitPath(base);

    std::vector<SplitPart> rows;
    rows.push_back(makePart(model, 0, list.head(), parts));
    for (Position p = list.next(list.head()); p; p = list.next(p))
        if (p->entry.bookmarked)
            rows.push_back(makePart(model, static_cast<int>(rows.size()), p, parts));
    return rows;
}

std::string splitCountLabel(std::size_t parts)
{
    return "나누기 가능 파일 수: " + std::to_string(parts) + "개";
}

std::string splitTimeText(const SplitPart& part)
{
    return part.isComment ? std::string("(코멘트)") : std::to_string(part.startMs);
}

std::string splitFileText(const SplitPart& part)
{
    return nameOf(part.path);
}

bool setSplitPartPath(SplitPart& part, const std::string& text, Messenger& messenger)
{
    if (text.empty()) {
        messenger.showMessage("나눈 결과를 저장할 파일명을 입력해 주십시오", MessageIcon::Warning);
        return false;
    }
    part.path = text;
    return true;
}

int writeSplitParts(const SamiModel& model, const std::vector<SplitPart>& parts,
                    FileOperations& files, Messenger& messenger)
{
    const bool anyPath = std::any_of(parts.begin(), parts.end(),
                                     [](const SplitPart& p) { return !p.path.empty(); });
    if (!anyPath) {
        messenger.showMessage(
            "파일명이 입력된 북마크가 없습니다.\n나눈 결과를 저장할 파일명을 입력해 주십시오.",
            MessageIcon::Warning);
        return -1;
    }
    const SyncList& list = model.list();
    int written = 0;
    for (std::size_t k = 0; k < parts.size(); ++k) {
        const SplitPart& part = parts[k];
        // A part without a file name is one the user chose not to write.
        if (part.path.empty())
            continue;
        const std::int32_t offset = k == 0 ? 0 : part.startMs;
        const Position end = k + 1 < parts.size() ? parts[k + 1].firstSync : nullptr;
        std::string bytes;
        appendSamiHeader(bytes, model, -1);
        for (Position p = part.firstSync; p && p != end; p = list.next(p)) {
            SyncEntry entry = p->entry;
            entry.startMs = shifted(entry.startMs, offset);
            appendSamiEntry(bytes, entry);
        }
        appendSamiFooter(bytes);
        // A part that cannot be written is skipped; the count tells how many were.
        if (writeFileAtomically(part.path, bytes, files).ok())
            ++written;
    }
    return written;
}

void reportSplitResult(int written, Messenger& messenger)
{
    if (written > 0)
        messenger.showMessage("총 " + std::to_string(written) + "개의 자막 파일을 저장하였습니다.",
                              MessageIcon::Information);
    else
        messenger.showMessage("자막 파일을 나눈 결과를 저장하는데 실패하였습니다.",
                              MessageIcon::Error);
}

}  // namespace verbanta
