#include "formats/cue_builder.h"

#include <algorithm>
#include <array>
#include <climits>

#include "model/ascii_case.h"
#include "model/codepage.h"
#include "model/sami_model.h"
#include "model/sync_list.h"
#include "model/text_format.h"
#include "settings/app_settings.h"

namespace verbanta {

namespace {

// While a caption is still CP949 its elements are control bytes, which the caption itself
// cannot contain (its control characters become white space or are dropped). They survive the
// code page conversion and are written out as markup afterwards, so that decoded "<", ">" and
// "&" can never be mistaken for markup.
constexpr char kMarkOpen[] = {'\x01', '\x02', '\x03', '\x04'};   // by CueToken::Style
constexpr char kMarkClose[] = {'\x05', '\x06', '\x07', '\x08'};  // by CueToken::Style

using Style = CueToken::Style;

bool isSpaceByte(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// Control characters other than white space are dropped: they would clash with the markers.
bool isControlByte(char c)
{
    return static_cast<unsigned char>(c) < 0x20 || c == '\x7f';
}

void appendHex6(std::string& out, std::uint32_t rgb)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    for (int shift = 20; shift >= 0; shift -= 4) out += kDigits[(rgb >> shift) & 0xF];
}

// The value of one attribute of a tag ("<font color=red size=3>"), unquoted; empty if absent.
std::string_view attributeValue(std::string_view tag, std::string_view lowerName)
{
    std::size_t i = 1;
    while (i < tag.size() && !isSpaceByte(tag[i]) && tag[i] != '>') ++i;  // the tag's own name
    while (i < tag.size()) {
        while (i < tag.size() && (isSpaceByte(tag[i]) || tag[i] == '/')) ++i;
        const std::size_t nameBegin = i;
        while (i < tag.size() && !isSpaceByte(tag[i]) && tag[i] != '=' && tag[i] != '>') ++i;
        const std::string_view name = tag.substr(nameBegin, i - nameBegin);
        while (i < tag.size() && isSpaceByte(tag[i])) ++i;
        std::string_view value;
        if (i < tag.size() && tag[i] == '=') {
            ++i;
            while (i < tag.size() && isSpaceByte(tag[i])) ++i;
            if (i < tag.size() && (tag[i] == '"' || tag[i] == '\'')) {
                const char quote = tag[i++];
                const std::size_t end = std::min(tag.find(quote, i), tag.size());
                value = tag.substr(i, end - i);
                i = end + 1;
            } else {
                const std::size_t begin = i;
                while (i < tag.size() && !isSpaceByte(tag[i]) && tag[i] != '>') ++i;
                value = tag.substr(begin, i - begin);
            }
        }
        bool same = name.size() == lowerName.size();
        for (std::size_t k = 0; same && k < name.size(); ++k)
            same = lowerAscii(name[k]) == lowerName[k];
        if (same)
            return value;
        if (name.empty() && (i >= tag.size() || tag[i] == '>'))
            break;
    }
    return {};
}

// The SubRip import rewrites <i>, <b> and <u> as these override codes; they come back as the
// elements they were.
struct OverrideCode {
    std::string_view code;
    Style style;
    bool open;
};
constexpr OverrideCode kOverrideCodes[] = {
    {"{\\i1}", Style::Italic, true},    {"{\\i0}", Style::Italic, false},
    {"{\\i}", Style::Italic, false},    {"{\\b1}", Style::Bold, true},
    {"{\\b0}", Style::Bold, false},     {"{\\b}", Style::Bold, false},
    {"{\\u1}", Style::Underline, true}, {"{\\u0}", Style::Underline, false},
    {"{\\u}", Style::Underline, false},
};

/// Builds one caption's text with element markers: white space collapsed, empty lines and
/// empty elements dropped, elements nested and closed.
class MarkupBuilder {
public:
    void addText(std::string_view run)
    {
        // Override codes are recognised before entities are decoded, so "&#123;" stays text.
        std::size_t begin = 0;
        for (std::size_t brace = run.find('{'); brace != std::string_view::npos;
             brace = run.find('{', brace + 1)) {
            for (const OverrideCode& oc : kOverrideCodes) {
                if (run.substr(brace, oc.code.size()) != oc.code)
                    continue;
                addDecoded(run.substr(begin, brace - begin));
                if (oc.open)
                    open(oc.style, 0, true);
                else
                    close(oc.style);
                begin = brace + oc.code.size();
                brace = begin - 1;
                break;
            }
        }
        addDecoded(run.substr(begin));
    }

    void lineBreak()
    {
        if (m_lineHasText)
            m_breakPending = true;
        m_lineHasText = false;
        m_spacePending = false;
    }

    /// An element opens when text follows it; a <font> without a usable colour is kept only
    /// so that its end tag closes it and not an outer one.
    void open(Style style, std::uint32_t color, bool shown)
    {
        m_open.push_back({style, color, shown, false});
        m_elementsPending = m_elementsPending || shown;
    }

    void close(Style style)
    {
        auto it = std::find_if(m_open.rbegin(), m_open.rend(),
                               [style](const Element& e) { return e.style == style; });
        if (it == m_open.rend())
            return;  // an end tag without its start tag
        const std::size_t index = static_cast<std::size_t>(m_open.rend() - it) - 1;
        // Elements opened inside the closed one end with it and open again after it.
        for (std::size_t k = m_open.size(); k-- > index;) {
            if (m_open[k].written)
                m_out += kMarkClose[static_cast<int>(m_open[k].style)];
            m_open[k].written = false;
        }
        m_open.erase(m_open.begin() + static_cast<std::ptrdiff_t>(index));
        m_elementsPending = std::any_of(m_open.begin(), m_open.end(),
                                        [](const Element& e) { return e.shown && !e.written; });
    }

    /// The caption's CP949 text with element markers.
    std::string finish()
    {
        for (std::size_t k = m_open.size(); k-- > 0;) {
            if (m_open[k].written)
                m_out += kMarkClose[static_cast<int>(m_open[k].style)];
        }
        return std::move(m_out);
    }

    /// Converted marked text in the neutral markup of `Cue::text`.
    static std::string toNeutral(std::string_view utf8)
    {
        static constexpr std::string_view kOpenTags[] = {"<b>", "<i>", "<u>", "<font color=\"#"};
        static constexpr std::string_view kCloseTags[] = {"</b>", "</i>", "</u>", "</font>"};
        static constexpr std::string_view kSpecial = "<>&\x01\x02\x03\x04\x05\x06\x07\x08";
        std::string out;
        out.reserve(utf8.size() + 16);
        for (std::size_t i = 0; i < utf8.size(); ++i) {
            const std::size_t special = std::min(utf8.find_first_of(kSpecial, i), utf8.size());
            out.append(utf8, i, special - i);
            i = special;
            if (i == utf8.size())
                break;
            const char c = utf8[i];
            if (c >= kMarkOpen[0] && c <= kMarkOpen[3]) {
                out += kOpenTags[c - kMarkOpen[0]];
                if (c == kMarkOpen[3]) {
                    out += utf8.substr(i + 1, 6);
                    out += "\">";
                    i += 6;
                }
            } else if (c >= kMarkClose[0] && c <= kMarkClose[3]) {
                out += kCloseTags[c - kMarkClose[0]];
            } else {
                out += c == '<' ? "&lt;" : c == '>' ? "&gt;" : "&amp;";
            }
        }
        return out;
    }

private:
    struct Element {
        Style style;
        std::uint32_t color;
        bool shown;
        bool written;
    };

    void addDecoded(std::string_view raw)
    {
        if (raw.empty())
            return;
        std::string decoded;
        if (raw.find('&') != std::string_view::npos) {
            decoded.assign(raw);
            DecodeEntities(decoded);
            raw = decoded;
        }
        // Words go out whole; white space between them waits as one pending space.
        for (std::size_t i = 0; i < raw.size();) {
            const char c = raw[i];
            if (isSpaceByte(c)) {
                m_spacePending = true;
                ++i;
                continue;
            }
            if (isControlByte(c)) {
                ++i;
                continue;
            }
            std::size_t end = i + 1;
            while (end < raw.size() && !isSpaceByte(raw[end]) && !isControlByte(raw[end])) ++end;
            if (!m_lineHasText || m_spacePending || m_breakPending || m_elementsPending)
                startText();
            m_out.append(raw, i, end - i);
            i = end;
        }
    }

    // Writes what waits for the next character: a line break or a space, then open elements.
    void startText()
    {
        if (m_breakPending)
            m_out += '\n';
        else if (m_spacePending && m_lineHasText)
            m_out += ' ';
        m_breakPending = m_spacePending = false;
        m_lineHasText = true;
        for (Element& e : m_open) {
            if (e.written || !e.shown)
                continue;
            m_out += kMarkOpen[static_cast<int>(e.style)];
            if (e.style == Style::Color)
                appendHex6(m_out, e.color);
            e.written = true;
        }
        m_elementsPending = false;
    }

    std::string m_out;
    std::vector<Element> m_open;
    bool m_lineHasText = false;
    bool m_spacePending = false;
    bool m_breakPending = false;
    bool m_elementsPending = false;  ///< an open element is not written yet
};

void handleTag(MarkupBuilder& builder, std::string_view tag)
{
    // tag runs from "<" to ">" inclusive.
    std::size_t i = 1;
    const bool closing = i < tag.size() && tag[i] == '/';
    if (closing)
        ++i;
    std::string name;
    while (i < tag.size() && !isSpaceByte(tag[i]) && tag[i] != '/' && tag[i] != '>')
        name += lowerAscii(tag[i++]);
    if (name == "br") {
        if (!closing)
            builder.lineBreak();
        return;
    }
    Style style;
    if (name == "b")
        style = Style::Bold;
    else if (name == "i")
        style = Style::Italic;
    else if (name == "u")
        style = Style::Underline;
    else if (name == "font")
        style = Style::Color;
    else
        return;
    if (closing) {
        builder.close(style);
    } else if (style == Style::Color) {
        const std::optional<std::uint32_t> color = parseColor(attributeValue(tag, "color"));
        builder.open(style, color.value_or(0), color.has_value());
    } else {
        builder.open(style, 0, true);
    }
}

int automaticLetters(const SyncEntry& entry)
{
    return CountCharacters(StripTags(entry.text, true));
}

// The caption's CP949 text with element markers; see MarkupBuilder. Tags are read as the list
// display reads them: the export shows what the list shows.
std::string markedCaption(std::string_view cp949Text)
{
    MarkupBuilder builder;
    forEachMarkupPiece(
        cp949Text, [&](std::string_view run) { builder.addText(run); },
        [&](std::string_view tag) { handleTag(builder, tag); });
    return builder.finish();
}

// Marked CP949 texts in the neutral markup. One conversion for all of them: a code page
// converter is costly to set up, and a long list has tens of thousands of captions.
void convertMarkedTexts(std::vector<Cue>& cues)
{
    // A vertical tab separates the texts: MarkupBuilder turns every one in a caption into a space.
    constexpr char kSeparator = '\v';
    std::string joined;
    for (const Cue& cue : cues) {
        joined += cue.text;
        joined += kSeparator;
    }
    const std::string utf8 = cp949ToUtf8(joined);
    std::vector<std::string_view> pieces;
    for (std::size_t begin = 0, end; (end = utf8.find(kSeparator, begin)) != std::string::npos;
         begin = end + 1)
        pieces.emplace_back(utf8.data() + begin, end - begin);
    const bool aligned = pieces.size() == cues.size();
    for (std::size_t i = 0; i < cues.size(); ++i) {
        // Should a broken byte ever swallow a separator, each text is converted alone.
        cues[i].text = aligned ? MarkupBuilder::toNeutral(pieces[i])
                               : MarkupBuilder::toNeutral(cp949ToUtf8(cues[i].text));
    }
}

}  // namespace

std::string captionToNeutralMarkup(std::string_view cp949Text)
{
    return MarkupBuilder::toNeutral(cp949ToUtf8(markedCaption(cp949Text)));
}

std::vector<Cue> buildCues(const SyncList& list, std::int32_t oneLetterSync)
{
    std::vector<Cue> cues;
    const int count = list.count();
    auto nextTimed = [&](int row) {
        while (row < count && list[row].isComment) ++row;
        return row;
    };
    for (int row = nextTimed(0); row < count;) {
        const SyncEntry& first = list[row];
        if (first.isEndSync) {
            row = nextTimed(row + 1);
            continue;
        }
        std::string text = markedCaption(first.text);
        int last = row;
        int next = nextTimed(row + 1);
        // Captions sharing a start time are shown together, one under the other.
        while (next < count && !list[next].isEndSync && list[next].startMs == first.startMs) {
            std::string more = markedCaption(list[next].text);
            if (!text.empty() && !more.empty())
                text += '\n';
            text += more;
            last = next;
            next = nextTimed(next + 1);
        }
        const std::int64_t start = first.startMs;
        std::int64_t end;
        if (next < count && list[next].startMs > start) {
            end = list[next].startMs;
        } else {
            end = start + std::int64_t{automaticLetters(list[last])} * oneLetterSync;
            end = std::max(end, start + 1);  // never a cue that players would drop
        }
        row = next;
        if (text.empty() || end <= 0)
            continue;
        cues.push_back({static_cast<std::int32_t>(std::max<std::int64_t>(start, 0)),
                        static_cast<std::int32_t>(std::min<std::int64_t>(end, INT32_MAX)),
                        std::move(text)});
    }
    convertMarkedTexts(cues);
    auto byStart = [](const Cue& a, const Cue& b) { return a.startMs < b.startMs; };
    if (!std::is_sorted(cues.begin(), cues.end(), byStart))
        std::stable_sort(cues.begin(), cues.end(), byStart);
    return cues;
}

std::vector<Cue> buildCues(const SamiModel& model, int languageIndex)
{
    if (languageIndex < 0 || languageIndex >= model.listCount ||
        languageIndex >= SamiModel::kSlotCount)
        return {};
    const int slot = model.slotOrder[static_cast<std::size_t>(languageIndex)];
    if (slot < 0 || slot >= SamiModel::kSlotCount)
        return {};
    return buildCues(model.slotList(slot), model.settings().OneLetterSync);
}

}  // namespace verbanta
