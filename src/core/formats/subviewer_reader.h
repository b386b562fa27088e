#pragma once

#include "formats/subtitle_reader.h"

namespace verbanta {

/// SubViewer 2 (.sub): "[TAG]value" header lines, then a "h:m:s.cc,h:m:s.cc" time line and one
/// text line per caption, "[br]" for a line break. SubViewer 1, known by its "[h:m:s]" time
/// lines, is read too: the caption's lines lie between two such times.
class SubViewerReader : public SubtitleReader {
public:
    std::string_view name() const override { return "subviewer"; }
    bool read(LineReader& lines, SamiModel& model, const ReaderOptions& options) const override;
};

}  // namespace verbanta
