#include "files/batch_conversion.h"

#include <set>

#include "document/file_operations.h"
#include "document/path_parts.h"
#include "model/codepage.h"
#include "platform/atomic_file_writer.h"
#include "platform/messenger.h"
#include "settings/app_settings.h"

namespace verbanta {
namespace {

std::string points(int value)
{
    return std::to_string(value) + "pt";
}

}  // namespace

ConversionOptions ConversionOptions::fromSettings(const AppSettings& settings)
{
    // The settings hold UTF-8; the files hold CP949 (a Korean font family name, say).
    ConversionOptions options;
    options.alignment = utf8ToCp949(settings.FontAlign);
    options.weight = utf8ToCp949(settings.FontWeight);
    options.colour = utf8ToCp949(settings.FontColor);
    options.size = points(settings.FontSize);
    options.families = utf8ToCp949(settings.FontName1) + ", " + utf8ToCp949(settings.FontName2);
    options.topMargin = points(settings.TopMargin);
    options.bottomMargin = points(settings.BottomMargin);
    options.leftMargin = points(settings.LeftMargin);
    options.rightMargin = points(settings.RightMargin);
    return options;
}

bool ReplacePropertyValue(std::string& image, std::string_view name, char opener, char closer,
                          std::string_view value)
{
    const std::size_t found = image.find(name);
    if (name.empty() || found == std::string::npos)
        return true;
    std::size_t lineEnd = image.find('\n', found);
    lineEnd = lineEnd == std::string::npos ? image.size() : lineEnd + 1;
    std::size_t lastOpener = std::string::npos;
    for (std::size_t i = found + name.size(); i < lineEnd; ++i) {
        if (image[i] == closer) {
            // Without an opener there is no value to replace; the line stays as it is.
            if (lastOpener == std::string::npos)
                return false;
            image.replace(lastOpener + 1, i - lastOpener - 1, value);
            return true;
        }
        if (image[i] == opener)
            lastOpener = i;
    }
    return false;
}

bool ConvertStyleFile(const std::string& path, const ConversionOptions& options,
                      FileOperations& files, bool syncFolder)
{
    if (files.exists(path) && files.isReadOnly(path))
        files.makeWritable(path);
    std::string image;
    if (!files.readFile(path, image))
        return false;

    const std::pair<std::string_view, const std::string*> properties[] = {
        {"text-align", &options.alignment},   {"font-weight", &options.weight},
        {"color", &options.colour},           {"font-size", &options.size},
        {"font-family", &options.families},   {"margin-top", &options.topMargin},
        {"margin-bottom", &options.bottomMargin}, {"margin-left", &options.leftMargin},
        {"margin-right", &options.rightMargin},
    };
    for (const auto& [name, value] : properties)
        ReplacePropertyValue(image, name, ':', ';', *value);
    ReplacePropertyValue(image, "standard", ';', '}', "");

    AtomicWriteOptions writing;
    writing.syncFolder = syncFolder;
    return writeFileAtomically(path, image, files, writing).ok();
}

BatchResult convertStyleFiles(const std::vector<std::string>& paths,
                              const ConversionOptions& options, FileOperations& files,
                              const BatchProgress& progress)
{
    BatchResult result;
    std::set<std::string> folders;
    const int total = static_cast<int>(paths.size());
    for (const std::string& path : paths) {
        if (ConvertStyleFile(path, options, files, false)) {
            ++result.converted;
            folders.insert(directoryOf(path));
        } else {
            ++result.failed;
            result.failedNames.push_back(nameOf(path));
        }
        const int done = result.converted + result.failed;
        if (progress)
            progress(done, total, std::to_string(done * 100 / total) + "% 완료");
    }
    // The renames reach the disk folder by folder; each new content already did file by file.
    for (const std::string& folder : folders)
        files.syncDirectory(folder);
    return result;
}

std::string batchResultMessage(const BatchResult& result)
{
    std::string text = std::to_string(result.converted) + "개 자막 파일의 포맷을 변경하였습니다.";
    if (result.failed > 0) {
        text += "\n\n" + std::to_string(result.failed) + "개 파일은 문제가 있어 실패하였습니다.\n";
        for (std::size_t i = 0; i < result.failedNames.size(); ++i) {
            if (i > 0)
                text += "\n";
            text += result.failedNames[i];
        }
    }
    return text;
}

BatchResult runBatchConversion(const std::vector<std::string>& paths, const AppSettings& settings,
                               FileOperations& files, Messenger& messenger,
                               const BatchProgress& progress)
{
    const BatchResult result =
        convertStyleFiles(paths, ConversionOptions::fromSettings(settings), files, progress);
    messenger.showMessage(batchResultMessage(result),
                          result.failed > 0 ? MessageIcon::Warning : MessageIcon::Information);
    return result;
}

}  // namespace verbanta
