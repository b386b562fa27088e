#include "formats/export_format.h"

#include "formats/ass_writer.h"
#include "formats/cue_builder.h"
#include "formats/subrip_writer.h"
#include "formats/webvtt_writer.h"
#include "model/ascii_case.h"
#include "model/sami_model.h"
#include "platform/messenger.h"
#include "sami/sami_file.h"

namespace verbanta {

std::optional<ExportFormat> exportFormatFromPath(std::string_view path)
{
    if (endsWithIgnoringCase(path, ".srt"))
        return ExportFormat::SubRip;
    if (endsWithIgnoringCase(path, ".vtt"))
        return ExportFormat::WebVtt;
    if (endsWithIgnoringCase(path, ".ass"))
        return ExportFormat::Ass;
    return std::nullopt;
}

std::string exportSubtitles(const SamiModel& model, int languageIndex, ExportFormat format)
{
    const std::vector<Cue> cues = buildCues(model, languageIndex);
    switch (format) {
        case ExportFormat::SubRip:
            return SubRipWriter().write(cues);
        case ExportFormat::WebVtt:
            return WebVttWriter().write(cues);
        case ExportFormat::Ass:
            return AssWriter(model.paragraphStyle, model.title).write(cues);
    }
    return {};
}

bool exportSubtitlesToFile(const SamiModel& model, int languageIndex, ExportFormat format,
                           const std::string& path, Messenger& messenger)
{
    if (languageIndex < 0 || languageIndex >= model.listCount ||
        languageIndex >= SamiModel::kSlotCount) {
        messenger.showMessage(
            "이 자막 파일에는 " + std::to_string(languageIndex) + "번 언어가 없습니다.",
            MessageIcon::Error);
        return false;
    }
    // Formatted completely first: only the writing itself can fail once the file exists.
    return sami::writeFileReporting(path, exportSubtitles(model, languageIndex, format), messenger);
}

}  // namespace verbanta
