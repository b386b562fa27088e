#include "formats/webvtt_writer.h"

namespace verbanta {

namespace {

struct ColorClass {
    std::uint32_t rgb;
    std::string_view name;
};

// The colours WebVTT renderers know by class name.
constexpr ColorClass kDefaultColorClasses[] = {
    {0xFFFFFF, "white"},  {0x00FF00, "lime"},    {0x00FFFF, "cyan"}, {0xFF0000, "red"},
    {0xFFFF00, "yellow"}, {0xFF00FF, "magenta"}, {0x0000FF, "blue"}, {0x000000, "black"},
};

// The neutral escapes are WebVTT's own; a colour shows only as one of the default classes.
std::string colorClassTag(std::uint32_t rgb)
{
    const std::string_view name = WebVttWriter::colorClass(rgb);
    return name.empty() ? std::string() : "<c." + std::string(name) + ">";
}

constexpr CueTagSyntax kWebVttTags{true, colorClassTag, "</c>"};

}  // namespace

std::string WebVttWriter::formatTime(std::int32_t ms)
{
    std::string out;
    appendCueTime(out, ms, 2, '.', false);
    return out;
}

std::string_view WebVttWriter::colorClass(std::uint32_t rgb)
{
    for (const ColorClass& c : kDefaultColorClasses) {
        if (c.rgb == rgb)
            return c.name;
    }
    return {};
}

std::string WebVttWriter::write(const std::vector<Cue>& cues) const
{
    std::string out = "WEBVTT\r\n\r\n";
    out.reserve(cues.size() * 64);
    for (const Cue& cue : cues) {
        appendCueTime(out, cue.startMs, 2, '.', false);
        out += " --> ";
        appendCueTime(out, cue.endMs, 2, '.', false);
        out += "\r\n";
        appendTaggedCueText(out, cue.text, kWebVttTags);
        out += "\r\n\r\n";
    }
    return out;
}

}  // namespace verbanta
