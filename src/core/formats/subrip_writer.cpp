#include "formats/subrip_writer.h"

#include <cstdio>

namespace verbanta {

namespace {

constexpr std::string_view kByteOrderMark = "\xef\xbb\xbf";

void AppendText(std::string& out, std::string_view neutral)
{
    for (const CueToken& t : TokenizeCueText(neutral)) {
        switch (t.kind) {
            case CueToken::Kind::Text:
                // SubRip has no escapes: the characters go out as they are.
                AppendUnescaped(out, t.text);
                break;
            case CueToken::Kind::LineBreak:
                out += "\r\n";
                break;
            case CueToken::Kind::Open:
            case CueToken::Kind::Close: {
                const bool close = t.kind == CueToken::Kind::Close;
                out += close ? "</" : "<";
                switch (t.style) {
                    case CueToken::Style::Bold:
                        out += 'b';
                        break;
                    case CueToken::Style::Italic:
                        out += 'i';
                        break;
                    case CueToken::Style::Underline:
                        out += 'u';
                        break;
                    case CueToken::Style::Color:
                        out += "font";
                        if (!close) {
                            char color[24];
                            std::snprintf(color, sizeof color, " color=\"#%06x\"",
                                          static_cast<unsigned>(t.color));
                            out += color;
                        }
                        break;
                }
                out += '>';
                break;
            }
        }
    }
}

}  // namespace

std::string SubRipWriter::formatTime(std::int32_t ms)
{
    std::string out;
    AppendCueTime(out, ms, 2, ',', false);
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
        AppendCueTime(out, cue.startMs, 2, ',', false);
        out += " --> ";
        AppendCueTime(out, cue.endMs, 2, ',', false);
        out += "\r\n";
        AppendText(out, cue.text);
        out += "\r\n\r\n";
    }
    return out;
}

}  // namespace verbanta
