#include "formats/foreign_import.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "formats/reader_table.h"
#include "model/codepage.h"
#include "model/sami_model.h"
#include "platform/messenger.h"
#include "platform/system.h"

namespace verbanta {

const std::string_view kCannotOpenSubtitleMessage = "지정한 자막 파일을 열 수 없습니다.";
const std::string_view kUnsupportedFormatMessage =
    "지정한 파일은 지원하는 자막 파일 형식이 아닙니다.";
const std::string_view kSkippedEntriesMessage =
    "%s번째 줄의 자막은 시간을 읽을 수 없어 건너뛰었습니다.";

namespace {

void resetToNewDocument(SamiModel& model)
{
    model.Reset(true);
    model.ClearUndo();
}

// The first lines are named; a file broken throughout names no more than these.
constexpr std::size_t kSkippedLinesNamed = 10;

std::string skippedEntriesMessage(const std::vector<int>& lines)
{
    std::string numbers;
    for (std::size_t i = 0; i < lines.size() && i < kSkippedLinesNamed; ++i)
        numbers += (i > 0 ? ", " : "") + std::to_string(lines[i]);
    if (lines.size() > kSkippedLinesNamed)
        numbers += " …";
    return std::string(kSkippedEntriesMessage)
        .replace(kSkippedEntriesMessage.find("%s"), 2, numbers);
}

}  // namespace

std::optional<std::string> readFileBytes(const std::string& path, std::size_t limit)
{
    return platform::readRegularFile(path, limit);
}

bool importForeignBytes(SamiModel& model, std::string_view bytes, const std::vector<int>& slots,
                        double framesPerSecond)
{
    resetToNewDocument(model);
    // Every reader sees CP949 bytes, whatever the file's encoding. Text converted from Unicode
    // is CP949 whatever its styles' character sets say, so it is searched plainly, as wide text
    // is: CP949 trail bytes are never "{", "}", "|" or "\", while scanning it as another code
    // page could swallow a brace after a trail byte.
    const TextEncoding encoding = detectEncoding(bytes);
    const std::string text = toCp949(bytes, encoding);
    ReaderOptions options;
    options.wide = encoding != TextEncoding::Cp949;
    options.frameRate = framesPerSecond;
    std::vector<int> skippedLines;
    options.skippedLines = &skippedLines;
    for (int slot : slots) {
        if (slot < 0 || slot >= kReaderCount)
            continue;
        LineReader lines(text);
        skippedLines.clear();
        if (readerAt(slot).read(lines, model, options) && model.GetCount() > 0) {
            model.CheckOrder();
            // Only the reader that read the file speaks of its lines.
            if (!skippedLines.empty())
                model.messenger().showMessage(skippedEntriesMessage(skippedLines),
                                              MessageIcon::Warning);
            return true;
        }
        resetToNewDocument(model);
    }
    model.messenger().showMessage(kUnsupportedFormatMessage, MessageIcon::Error);
    return false;
}

bool importForeignBytes(SamiModel& model, std::string_view bytes, int filterEntry,
                        double framesPerSecond)
{
    return importForeignBytes(model, bytes, readersForFilterEntry(filterEntry), framesPerSecond);
}

bool importForeignFile(SamiModel& model, const std::string& path, const std::vector<int>& slots,
                       double framesPerSecond)
{
    resetToNewDocument(model);
    const auto bytes = readFileBytes(path);
    if (!bytes) {
        model.messenger().showMessage(kCannotOpenSubtitleMessage, MessageIcon::Error);
        return false;
    }
    if (bytes->size() > kMaxImportFileBytes) {
        model.messenger().showMessage(kUnsupportedFormatMessage, MessageIcon::Error);
        return false;
    }
    return importForeignBytes(model, *bytes, slots, framesPerSecond);
}

bool importForeignFile(SamiModel& model, const std::string& path, int filterEntry,
                       double framesPerSecond)
{
    return importForeignFile(model, path, readersForFilterEntry(filterEntry), framesPerSecond);
}

}  // namespace verbanta
