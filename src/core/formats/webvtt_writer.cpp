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

void AppendText(std::string& out, std::string_view neutral)
{
    std::vector<bool> spans;  // per open colour: whether it was written as a span
    for (const CueToken& t : TokenizeCueText(neutral)) {
        switch (t.kind) {
            case CueToken::Kind::Text:
                out += t.text;  // the neutral escapes are WebVTT's own
                break;
            case CueToken::Kind::LineBreak:
                out += "\r\n";
                break;
            case CueToken::Kind::Open:
            case CueToken::Kind::Close: {
                const bool close = t.kind == CueToken::Kind::Close;
                switch (t.style) {
                    case CueToken::Style::Bold:
                        out += close ? "</b>" : "<b>";
                        break;
                    case CueToken::Style::Italic:
                        out += close ? "</i>" : "<i>";
                        break;
                    case CueToken::Style::Underline:
                        out += close ? "</u>" : "<u>";
                        break;
                    case CueToken::Style::Color:
                        if (!close) {
                            const std::string_view name = WebVttWriter::colorClass(t.color);
                            spans.push_back(!name.empty());
                            if (!name.empty()) {
                                out += "<c.";
                                out += name;
                                out += '>';
                            }
                        } else if (!spans.empty()) {
                            if (spans.back())
                                out += "</c>";
                            spans.pop_back();
                        }
                        break;
                }
                break;
            }
        }
    }
}

}  // namespace

std::string WebVttWriter::formatTime(std::int32_t ms)
{
    std::string out;
    AppendCueTime(out, ms, 2, '.', false);
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
        AppendCueTime(out, cue.startMs, 2, '.', false);
        out += " --> ";
        AppendCueTime(out, cue.endMs, 2, '.', false);
        out += "\r\n";
        AppendText(out, cue.text);
        out += "\r\n\r\n";
    }
    return out;
}

}  // namespace verbanta
