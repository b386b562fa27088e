#include "formats/text_export.h"

#include "model/sami_model.h"

namespace verbanta {

std::string defaultTextExportName(std::string_view title)
{
    std::string name(title);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot != 0)
        name.erase(dot);
    if (!name.empty() && name.back() == '*') {
        name.pop_back();
        while (!name.empty() && name.back() == ' ')
            name.pop_back();
    }
    return name + ".txt";
}

bool exportText(SamiModel& model, const std::string& path)
{
    // The SAMI writer's plain-text export is this format exactly, and writes a caption of any
    // length whole.
    return model.ExportPlainText(path);
}

}  // namespace verbanta
