#include "formats/language_import.h"

#include <string_view>

#include "formats/foreign_import.h"
#include "formats/reader_helpers.h"
#include "model/codepage.h"
#include "model/language_operations.h"
#include "model/sami_model.h"

namespace verbanta {
namespace {

/// The import dialog's first filter entry: every foreign reader, tried in slot order.
constexpr int kAllForeignReaders = 1;
/// MicroDVD frame numbers are read at the import command's default rate.
constexpr double kDefaultFramesPerSecond = 25.0;

/// How much of a file is looked at for a SAMI element when its name does not say.
constexpr std::size_t kSniffBytes = 4096;

bool isSamiPath(std::string_view path)
{
    const std::size_t dot = path.find_last_of('.');
    const std::size_t slash = path.find_last_of("/\\");
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return false;
    const std::string ext = toLowerAscii(path.substr(dot + 1));
    return ext == "smi" || ext == "sami";
}

/// A SAMI file under another name (".txt" is common) opens with its SAMI element.
bool startsLikeSami(const std::string& path)
{
    const auto head = readFileBytes(path, kSniffBytes);
    if (!head)
        return false;
    return toLowerAscii(toCp949(*head, detectEncoding(*head))).find("<sami") != std::string::npos;
}

}  // namespace

LanguageImportResult addLanguagesFromFile(SamiModel& model, const std::string& path)
{
    // The other file is read into a model of its own, so that a file that cannot be read or
    // does not fit leaves the open document as it was.
    SamiModel other(model.settings());
    other.setMessenger(model.messenger());
    const bool read =
        isSamiPath(path) || startsLikeSami(path)
            ? other.LoadFile(path, true)
            : importForeignFile(other, path, kAllForeignReaders, kDefaultFramesPerSecond);
    if (!read)
        return {};
    const int added = addLanguagesFrom(model, other);
    if (added < 0)
        return {};
    return {true, added};
}

}  // namespace verbanta
