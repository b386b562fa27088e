#include "formats/subrip_writer.h"

#include <cstdio>

namespace verbanta {

namespace {

constexpr std::string_view kByteOrderMark = "\xef\xbb\xbf";

// SubRip has no escapes: the characters go out as they are, and any colour as a font tag.
std::string fontColorTag(std::uint32_t rgb)
{
    char tag[32];
    std::snprintf(tag, sizeof tag, "<font color=\"#%06x\">", static_cast<unsigned>(rgb));
    return tag;
}

constexpr CueTagSyntax kSubRipTags{false, fontColorTag, "</font>"};

}  // namespace

std::string SubRipWriter::formatTime(std::int32_t ms)
{
    std::string out;
    appendCueTime(out, ms, 2, ',', false);
    return out;
}

std::string SubRipWriter::write(const std::vector<Cue>& cues) const
{
    std::string out(kByteOrderMark);
    out.reserve(cues.size() * 64);
    int number = 0;
    for (const Cue& cue : cues) {
        out += std::to_string(++number);
        out += "\r\n";
        appendCueTime(out, cue.startMs, 2, ',', false);
        out += " --> ";
        appendCueTime(out, cue.endMs, 2, ',', false);
        out += "\r\n";
        appendTaggedCueText(out, cue.text, kSubRipTags);
        out += "\r\n\r\n";
    }
    return out;
}

}  // namespace verbanta
