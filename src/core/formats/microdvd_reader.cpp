#include "formats/microdvd_reader.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <utility>

#include "model/ascii_case.h"
#include "model/sami_model.h"
#include "model/text_format.h"

namespace verbanta {

namespace {

// The frames an end frame left empty ("{100}{}") adds to the start.
constexpr std::int64_t kDefaultDurationFrames = 60;

bool isLower(char c)
{
    return c >= 'a' && c <= 'z';
}

std::string formatSize(std::string_view value)
{
    // "%f" of the size as read; to_chars keeps the text independent of the C locale.
    double size = 0;
    std::from_chars(value.data(), value.data() + value.size(), size);
    if (!std::isfinite(size))
        size = 0;
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, size, std::chars_format::fixed, 6);
    return result.ec == std::errc() ? std::string(buffer, result.ptr) : std::string("0.000000");
}

// One code block's content (between the braces) as an override block, with the codes that close
// it again when it was written in lower case; nothing for a block that is not a code.
struct Rewritten {
    std::string block;
    std::string closing;
};

std::optional<Rewritten> rewriteCode(std::string_view content)
{
    if (content.size() < 2 || content[1] != ':')
        return std::nullopt;
    const char code = lowerAscii(content[0]);
    const bool lower = isLower(content[0]);
    const std::string_view value = content.substr(2);
    Rewritten r;
    switch (code) {
        case 'c': {
            if (value.empty() || value[0] != '$')
                return std::nullopt;
            const auto number = parseNumberField("&H" + std::string(value.substr(1)));
            char buffer[32];
            std::snprintf(buffer, sizeof buffer, "{\\c&H%llx&}",
                          static_cast<unsigned long long>(number.value_or(0)));
            r = {buffer, "{\\c}"};
            break;
        }
        case 'f':
            r = {"{\\fn" + std::string(value) + "}", "{\\fn}"};
            break;
        case 's':
            r = {"{\\fs" + formatSize(value) + "}", "{\\fs}"};
            break;
        case 'h': {
            const ScanResult scan = scanPattern(value, "%d");
            r = {"{\\fe" + std::to_string(scan.count == 1 ? scan.fields[0] : 0) + "}", "{\\fe}"};
            break;
        }
        case 'y': {
            r.block = "{";
            for (char letter : value) {
                const char l = lowerAscii(letter);
                if (l == 'b' || l == 'i' || l == 'u' || l == 's') {
                    r.block += std::string("\\") + l + "1";
                    r.closing += std::string("{\\") + l + "}";
                }
            }
            r.block += "}";
            break;
        }
        case 'o': {
            const ScanResult scan = scanPattern(value, "%d%c%d");
            r.block = "{\\move(" + std::to_string(scan.count >= 1 ? scan.fields[0] : 0) + "," +
                      std::to_string(scan.count >= 3 ? scan.fields[2] : 0) + ",0,0,0,0)}";
            break;
        }
        default:
            return std::nullopt;
    }
    if (!lower)
        r.closing.clear();
    return r;
}

std::string convertPart(std::string_view part, bool wide, int charset)
{
    std::string out;
    std::string closing;
    std::string_view rest = part;
    while (true) {
        const std::ptrdiff_t open = FindCharDbcs(rest, '{', 0, wide, charset);
        if (open < 0)
            break;
        const std::ptrdiff_t close =
            FindCharDbcs(rest, '}', static_cast<std::size_t>(open), wide, charset);
        if (close < 0)
            break;
        const auto o = static_cast<std::size_t>(open);
        const auto c = static_cast<std::size_t>(close);
        out.append(rest.substr(0, o));
        if (auto code = rewriteCode(rest.substr(o + 1, c - o - 1))) {
            out += code->block;
            closing += code->closing;
        } else {
            out.append(rest.substr(o, c - o + 1));
        }
        rest.remove_prefix(c + 1);
    }
    out.append(rest);
    return out + closing;
}

// A "/" at the start of a line part, before or after its leading codes, sets it in italics.
std::string convertLinePart(std::string_view part, bool wide, int charset)
{
    std::size_t at = 0;
    while (at < part.size() && part[at] == '{') {
        const std::ptrdiff_t close = FindCharDbcs(part, '}', at, wide, charset);
        if (close < 0)
            break;
        at = static_cast<std::size_t>(close) + 1;
    }
    if (at >= part.size() || part[at] != '/')
        return convertPart(part, wide, charset);
    const std::string rest = std::string(part.substr(0, at)) + std::string(part.substr(at + 1));
    return "<i>" + convertPart(rest, wide, charset) + "</i>";
}

std::optional<double> declaredFrameRate(std::string_view text)
{
    text = trimWhiteSpace(text);
    double rate = 0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), rate, std::chars_format::fixed);
    // A rate no video has is a caption that happens to be a number.
    if (error != std::errc() || end != text.data() + text.size() || !(rate > 3 && rate < 100))
        return std::nullopt;
    return rate;
}

}  // namespace

std::optional<std::int32_t> frameToMs(std::int64_t frame, double framesPerSecond)
{
    if (!(framesPerSecond > 0) || !std::isfinite(framesPerSecond))
        return std::nullopt;
    const double ms = static_cast<double>(frame) * (1000.0 / framesPerSecond);
    // Checked before the conversion: a double out of the int range does not convert.
    if (!(ms > static_cast<double>(std::numeric_limits<std::int32_t>::min()) - 1.0 &&
          ms < static_cast<double>(std::numeric_limits<std::int32_t>::max()) + 1.0))
        return std::nullopt;
    return static_cast<std::int32_t>(ms);
}

std::string convertMicroDvdCodes(std::string_view text, bool wide, int charset)
{
    std::string out;
    std::size_t from = 0;
    for (std::size_t bar : findAllCharDbcs(text, '|', wide, charset)) {
        out += convertLinePart(text.substr(from, bar - from), wide, charset);
        out += kCaptionBreak;
        from = bar + 1;
    }
    out += convertLinePart(text.substr(from), wide, charset);
    return out;
}

int microDvdDefaultCharset(std::string_view codes)
{
    int charset = kDefaultCharset;
    std::size_t open = codes.find('{');
    while (open != std::string_view::npos) {
        const std::size_t close = codes.find('}', open);
        if (close == std::string_view::npos)
            break;
        std::string block(codes.substr(open, close - open + 1));
        if (block.size() > 2)
            block[1] = lowerAscii(block[1]);
        if (block.starts_with("{h:")) {
            const ScanResult scan = scanPattern(std::string_view(block).substr(3), "%d");
            if (scan.count == 1)
                charset = scan.fields[0];
        }
        open = codes.find('{', close);
    }
    return charset;
}

bool MicroDvdReader::read(LineReader& lines, SamiModel& model, const ReaderOptions& options) const
{
    int charset = kDefaultCharset;
    double frameRate = options.frameRate;
    bool firstEntry = true;
    std::string_view raw;
    while (lines.next(raw)) {
        const std::string_view line = trimWhiteSpace(raw);
        if (line.empty())
            continue;
        std::int64_t startFrame = 0;
        std::int64_t endFrame = 0;
        // Blanks inside the braces are allowed: "{ 100 }{ 200 }".
        const ScanResult both = scanPattern(line, "{%d }{%d }");
        if (both.count == ScanResult::kEndOfInput)
            continue;  // "{" alone ends before the first number: treated like a blank line
        if (both.count == 2) {
            startFrame = both.fields[0];
            endFrame = both.fields[1];
        } else if (const ScanResult open = scanPattern(line, "{%d }{ }"); open.count == 1) {
            startFrame = open.fields[0];
            endFrame = startFrame + kDefaultDurationFrames;
        } else {
            // "{name}{codes}": a default style for the lines after it.
            const std::size_t brace = line.find('}');
            if (line.front() == '{' && brace != std::string_view::npos && brace > 1 &&
                brace + 1 < line.size()) {
                charset = microDvdDefaultCharset(line.substr(brace + 1));
                continue;
            }
            return false;
        }
        // "{1}{1}23.976" first: the file's own frame rate, not a caption.
        const bool first = std::exchange(firstEntry, false);
        if (first && startFrame <= 1) {
            if (const auto declared = declaredFrameRate(textAfterBrace(line, 2))) {
                frameRate = *declared;
                continue;
            }
        }
        const auto start = frameToMs(startFrame, frameRate);
        const auto end = frameToMs(endFrame, frameRate);
        if (!start || !end)
            return false;
        const std::string text =
            convertMicroDvdCodes(textAfterBrace(line, 2), options.wide, charset);
        appendCaptionWithEnd(model, *start, *end, StripOverrideBlocks(text, options.wide, charset));
    }
    return true;
}

}  // namespace verbanta
