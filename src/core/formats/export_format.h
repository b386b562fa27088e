#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace verbanta {

class Messenger;
class SamiModel;

/// The subtitle formats one language of a model can be exported to.
enum class ExportFormat { SubRip, WebVtt, Ass };

/// The format a file name asks for by its extension: ".srt", ".vtt" or ".ass" in any case.
std::optional<ExportFormat> exportFormatFromPath(std::string_view path);

/// The bytes of the file that holds language index `languageIndex` of the model in the format;
/// a language index out of range gives a file without cues.
std::string exportSubtitles(const SamiModel& model, int languageIndex, ExportFormat format);

/// Writes that file to `path`, replacing an existing one. A language index out of range, a file
/// that cannot be created or a failed write is reported through the messenger with the reason
/// and gives false; a partly written file is deleted.
bool exportSubtitlesToFile(const SamiModel& model, int languageIndex, ExportFormat format,
                           const std::string& path, Messenger& messenger);

}  // namespace verbanta
