#include "formats/foreign_import.h"

#include <cstdio>
#include <memory>

#include "formats/reader_table.h"
#include "model/codepage.h"
#include "model/sami_model.h"
#include "platform/messenger.h"

namespace verbanta {

const std::string_view kCannotOpenSubtitleMessage = "지정한 자막 파일을 열 수 없습니다.";
const std::string_view kUnsupportedFormatMessage =
    "지정한 파일은 지원하는 자막 파일 형식이 아닙니다.";

namespace {

void ResetToNewDocument(SamiModel& model)
{
    model.Reset(true);
    model.ClearUndo();
}

}  // namespace

std::optional<std::string> ReadFileBytes(const std::string& path)
{
    struct Closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, Closer> file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return std::nullopt;
    std::string bytes;
    char buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
        bytes.append(buffer, got);
    // A directory opens but does not read.
    if (std::ferror(file.get()))
        return std::nullopt;
    return bytes;
}

bool ImportForeignBytes(SamiModel& model, std::string_view bytes, const std::vector<int>& slots,
                        double framesPerSecond)
{
    ResetToNewDocument(model);
    // Converting the whole file first means every reader sees CP949 bytes, whatever the file's
    // encoding; so plain searching for wide text is never needed.
    const std::string text = ToCp949(bytes, DetectEncoding(bytes));
    ReaderOptions options;
    options.frameRate = framesPerSecond;
    for (int slot : slots) {
        if (slot < 0 || slot >= kReaderCount)
            continue;
        LineReader lines(text);
        if (ReaderAt(slot).Read(lines, model, options) && model.GetCount() > 0) {
            model.CheckOrder();
            return true;
        }
        ResetToNewDocument(model);
    }
    model.messenger().showMessage(kUnsupportedFormatMessage, MessageIcon::Error);
    return false;
}

bool ImportForeignBytes(SamiModel& model, std::string_view bytes, int filterEntry,
                        double framesPerSecond)
{
    return ImportForeignBytes(model, bytes, ReadersForFilterEntry(filterEntry), framesPerSecond);
}

bool ImportForeignFile(SamiModel& model, const std::string& path, const std::vector<int>& slots,
                       double framesPerSecond)
{
    ResetToNewDocument(model);
    const auto bytes = ReadFileBytes(path);
    if (!bytes) {
        model.messenger().showMessage(kCannotOpenSubtitleMessage, MessageIcon::Error);
        return false;
    }
    return ImportForeignBytes(model, *bytes, slots, framesPerSecond);
}

bool ImportForeignFile(SamiModel& model, const std::string& path, int filterEntry,
                       double framesPerSecond)
{
    return ImportForeignFile(model, path, ReadersForFilterEntry(filterEntry), framesPerSecond);
}

}  // namespace verbanta
