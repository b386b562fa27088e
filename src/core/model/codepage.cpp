#include "model/codepage.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <vector>

#include "platform/cp949_system.h"

namespace verbanta {
namespace {

// How bytes that no encoding can read survive a conversion:
// - a byte of a Unicode file that is not well-formed there is held as U+DC00 + byte (a lone
//   surrogate, which no real text contains), written into CP949 as its reference;
// - a byte of the CP949 model that cannot be decoded is written to a Unicode file as the
//   private-use character U+EF00 + byte, which keeps that file well-formed in its encoding and
//   turns back into the byte when the file is read again.
constexpr char32_t kEscapeBase = 0xDC00;
constexpr char32_t kRawByteBase = 0xEF00;
constexpr char32_t kReplacement = 0xFFFD;
// Unmarked UTF-16: at least one unit in this many has a zero on one side, and that side has
// at least this many times the zeros of the other.
constexpr std::size_t kUtf16ZeroShare = 8;
constexpr std::size_t kUtf16ZeroDominance = 4;

constexpr auto inRange = [](char32_t first, char32_t last) {
    return [=](char32_t c) { return c >= first && c <= last; };
};
constexpr auto isSurrogate = inRange(0xD800, 0xDFFF);
constexpr auto isHighSurrogate = inRange(0xD800, 0xDBFF);
constexpr auto isLowSurrogate = inRange(0xDC00, 0xDFFF);
constexpr auto isEscape = inRange(kEscapeBase + 0x80, kEscapeBase + 0xFF);
constexpr auto isRawByte = inRange(kRawByteBase + 0x80, kRawByteBase + 0xFF);

/// CP949 as the system knows it, read once pair by pair: which BMP characters it has, and
/// what each two-byte pair decodes to (0 when the pair is not a character). Decoding goes
/// through this table rather than the library's streaming converter, which steps over some
/// invalid pairs (such as 0xA2 0xE8) before it reports them, so that both bytes would be lost.
/// Asking per character also lets runs of convertible text go to the encoder whole.
struct Cp949Tables {
    std::vector<bool> has = std::vector<bool>(0x10000, false);
    std::vector<char32_t> pairs = std::vector<char32_t>(0x7E * 0x100, 0);
};

constexpr unsigned kFirstLead = 0x81;
constexpr unsigned kLastLead = 0xFE;

const Cp949Tables& cp949Tables()
{
    static const Cp949Tables tables = [] {
        Cp949Tables t;
        for (char32_t c = 0; c < 0x80; ++c) t.has[c] = true;
        platform::Cp949PairDecoder decoder;
        for (unsigned lead = kFirstLead; lead <= kLastLead; ++lead) {
            for (unsigned trail = 0x41; trail <= 0xFE; ++trail) {
                const char32_t cp = decoder.decode(static_cast<unsigned char>(lead),
                                                   static_cast<unsigned char>(trail))
                                        .value_or(0);
                if (cp != 0) {
                    t.pairs[(lead - kFirstLead) * 0x100 + trail] = cp;
                    if (cp < t.has.size())
                        t.has[cp] = true;
                }
            }
        }
        return t;
    }();
    return tables;
}

/// The character of the CP949 pair at the start of `s`, or 0 when it does not start with one.
char32_t cp949Pair(std::string_view s)
{
    if (s.size() < 2)
        return 0;
    const auto lead = static_cast<unsigned char>(s[0]);
    if (lead < kFirstLead || lead > kLastLead)
        return 0;
    return cp949Tables().pairs[(lead - kFirstLead) * 0x100 + static_cast<unsigned char>(s[1])];
}

/// Decodes CP949 onto `out`; a byte that starts no character becomes onError(byte).
template <class OnError>
void decodeCp949(std::string_view in, std::u32string& out, OnError onError)
{
    out.reserve(out.size() + in.size());
    for (std::size_t i = 0; i < in.size();) {
        const auto byte = static_cast<unsigned char>(in[i]);
        if (byte < 0x80) {
            out.push_back(byte);
            ++i;
        } else if (const char32_t cp = cp949Pair(in.substr(i, 2))) {
            out.push_back(cp);
            i += 2;
        } else {
            out.push_back(onError(byte));
            ++i;
        }
    }
}

bool cp949Has(char32_t cp)
{
    return cp <= 0xFFFF && cp949Tables().has[cp];
}

/// Length of the well-formed UTF-8 sequence that starts `s` (0 if none): no overlong forms,
/// no surrogates, nothing past U+10FFFF, no truncation.
std::size_t utf8Sequence(std::string_view s, char32_t& cp)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    if (lead < 0x80) {
        cp = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2, cp = lead & 0x1F;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3, cp = lead & 0x0F;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4, cp = lead & 0x07;
    if (length == 0 || s.size() < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (byte(i) & 0x3F);
    }
    if ((length == 3 && cp < 0x800) || (length == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        isSurrogate(cp))
        return 0;
    return length;
}

std::u32string decodeUtf8(std::string_view s, bool escapeInvalid)
{
    std::u32string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        char32_t cp = 0;
        const std::size_t length = utf8Sequence(s.substr(i), cp);
        if (length == 0) {
            out.push_back(escapeInvalid ? kEscapeBase + static_cast<unsigned char>(s[i])
                                        : kReplacement);
            ++i;
        } else {
            out.push_back(cp);
            i += length;
        }
    }
    return out;
}

// Zero units are ordinary characters here; only the end of the bytes ends the text.
std::u32string decodeUtf16(std::string_view s, bool bigEndian)
{
    const auto unitAt = [&](std::size_t i) -> char32_t {
        const auto a = static_cast<unsigned char>(s[i]);
        const auto b = static_cast<unsigned char>(s[i + 1]);
        return bigEndian ? (a << 8 | b) : (b << 8 | a);
    };
    std::u32string out;
    out.reserve(s.size() / 2 + 1);
    for (std::size_t i = 0; i + 1 < s.size(); i += 2) {
        const char32_t unit = unitAt(i);
        if (isHighSurrogate(unit) && i + 3 < s.size() && isLowSurrogate(unitAt(i + 2))) {
            out.push_back(0x10000 + ((unit - 0xD800) << 10) + (unitAt(i + 2) - 0xDC00));
            i += 2;
        } else {
            out.push_back(unit);  // a lone surrogate stays itself and becomes a reference
        }
    }
    if (s.size() % 2 != 0)
        out.push_back(kReplacement);
    return out;
}

void appendReference(std::string& out, char32_t cp)
{
    out += "&#";
    out += std::to_string(static_cast<std::uint32_t>(cp));
    out += ';';
}

// A raw byte must come back undecodable, or reading the model would fuse it with the byte
// after it; where it would pair, the character is kept as its reference instead.
std::string settleRawBytes(const std::string& text, const std::vector<std::size_t>& rawAt)
{
    std::string out;
    out.reserve(text.size() + 8 * rawAt.size());
    std::size_t copied = 0;
    for (const std::size_t at : rawAt) {
        out.append(text, copied, at - copied);
        copied = at + 1;
        const auto byte = static_cast<unsigned char>(text[at]);
        if (cp949Pair(std::string_view(text).substr(at, 2)) != 0)
            appendReference(out, kRawByteBase + byte);
        else
            out += static_cast<char>(byte);
    }
    out.append(text, copied);
    return out;
}

std::string encodeCp949(const std::u32string& text, bool restoreRawBytes)
{
    platform::Cp949Encoder encoder;
    std::string out;
    std::vector<std::size_t> rawAt;
    const auto onError = [](char32_t cp, std::string& piece) { appendReference(piece, cp); };
    const auto run = [&](std::size_t from, std::size_t to) {
        encoder.append(std::u32string_view(text).substr(from, to - from), out, onError);
    };
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool raw = restoreRawBytes && isRawByte(text[i]);
        if (!raw && cp949Has(text[i]))
            continue;
        run(start, i);
        start = i + 1;
        if (raw) {
            rawAt.push_back(out.size());
            out += static_cast<char>(text[i] - kRawByteBase);
        } else {
            appendReference(out, text[i]);
        }
    }
    run(start, text.size());
    return rawAt.empty() ? out : settleRawBytes(out, rawAt);
}

struct Reference {
    char32_t value;
    std::size_t length;
};

/// The numeric character reference "&#N;" or "&#xH;" (at most 8 digits) that starts `s`.
std::optional<Reference> parseReference(std::string_view s)
{
    if (s.size() < 4 || s[0] != '&' || s[1] != '#')
        return std::nullopt;
    const bool hex = s[2] == 'x' || s[2] == 'X';
    const char* digits = s.data() + (hex ? 3 : 2);
    const char* end = s.data() + s.size();
    std::uint32_t value = 0;
    const auto [stop, error] = std::from_chars(digits, end, value, hex ? 16 : 10);
    if (error != std::errc() || stop - digits > 8 || stop == end || *stop != ';' ||
        value > 0x10FFFF)
        return std::nullopt;
    return Reference{value, static_cast<std::size_t>(stop - s.data()) + 1};
}

// Only references toCp949 could have written are expanded: a literal "&#44032;" names a
// character CP949 has, so it is the user's own text. U+0000 and the raw-byte range stay
// literal too, since expanding them would not read back as the same reference.
bool cp949Lacks(char32_t cp)
{
    return cp != 0 && !isRawByte(cp) && !cp949Has(cp);
}

bool allUndecodableUtf8(std::string_view bytes)
{
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        char32_t cp = 0;
        if (utf8Sequence(bytes.substr(i), cp) != 0)
            return false;
    }
    return true;
}

enum class Target { Utf8File, Utf16File, Display };

/// Decodes CP949 model text into characters for `target`, expanding references.
std::u32string expandCp949(std::string_view text, Target target)
{
    std::u32string out;
    const auto onError = [target](unsigned char byte) {
        return target == Target::Display ? kReplacement : kRawByteBase + byte;
    };
    // '&' is never a CP949 trail byte, so cutting the text before it leaves characters whole.
    std::size_t segment = 0;
    bool afterHighSurrogate = false;
    const auto flush = [&](std::size_t end) {
        if (end > segment) {
            decodeCp949(text.substr(segment, end - segment), out, onError);
            afterHighSurrogate = false;
        }
    };
    std::size_t at = text.find('&');
    while (at != std::string_view::npos) {
        const auto ref = parseReference(text.substr(at));
        if (!ref) {
            at = text.find('&', at + 1);
            continue;
        }
        std::size_t end = at + ref->length;
        if (target == Target::Utf8File && isEscape(ref->value)) {
            // A run of escaped bytes goes back raw only if it reads back as the same run.
            std::string bytes(1, static_cast<char>(ref->value - kEscapeBase));
            for (auto next = parseReference(text.substr(end)); next && isEscape(next->value);
                 next = parseReference(text.substr(end))) {
                bytes += static_cast<char>(next->value - kEscapeBase);
                end += next->length;
            }
            if (allUndecodableUtf8(bytes)) {
                flush(at);
                for (const char b : bytes)
                    out.push_back(kEscapeBase + static_cast<unsigned char>(b));
                segment = end;
            }
        } else {
            const char32_t cp = ref->value;
            // In UTF-16 a lone surrogate is written back as itself, but never completes a
            // pair with the one before it: two references must not read back as one.
            const bool expand =
                isSurrogate(cp) ? target == Target::Utf16File &&
                                      !(afterHighSurrogate && segment == at && isLowSurrogate(cp))
                                : cp949Lacks(cp);
            if (expand) {
                flush(at);
                out.push_back(cp);
                afterHighSurrogate = isHighSurrogate(cp);
                segment = end;
            }
        }
        at = text.find('&', end);
    }
    flush(text.size());
    return out;
}

void appendUtf8(std::string& out, const std::u32string& text)
{
    out.reserve(out.size() + text.size() * 3);
    for (char32_t c : text) {
        if (isEscape(c) || c < 0x80) {
            out += static_cast<char>(isEscape(c) ? c - kEscapeBase : c);
            continue;
        }
        if (isSurrogate(c))
            c = kReplacement;
        const int tail = c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
        out += static_cast<char>((0xF0 << (3 - tail) & 0xFF) | c >> (6 * tail));
        for (int shift = 6 * (tail - 1); shift >= 0; shift -= 6)
            out += static_cast<char>(0x80 | (c >> shift & 0x3F));
    }
}

void appendUtf16(std::string& out, const std::u32string& text, bool bigEndian)
{
    out.reserve(out.size() + text.size() * 2);
    const auto unit = [&](char32_t u) {
        const char high = static_cast<char>(u >> 8);
        const char low = static_cast<char>(u & 0xFF);
        out += bigEndian ? high : low;
        out += bigEndian ? low : high;
    };
    for (const char32_t c : text) {
        if (c >= 0x10000) {
            unit(0xD800 + ((c - 0x10000) >> 10));
            unit(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            unit(c);
        }
    }
}

struct EncodingInfo {
    TextEncoding encoding;
    const char* name;
    std::string_view byteOrderMark;
};
constexpr EncodingInfo kEncodings[] = {
    {TextEncoding::Cp949, "cp949", ""},
    {TextEncoding::Utf8, "utf-8", ""},
    {TextEncoding::Utf8Bom, "utf-8-bom", "\xEF\xBB\xBF"},
    {TextEncoding::Utf16Le, "utf-16le", "\xFF\xFE"},
    {TextEncoding::Utf16Be, "utf-16be", "\xFE\xFF"},
};

const EncodingInfo& info(TextEncoding encoding)
{
    for (const EncodingInfo& e : kEncodings) {
        if (e.encoding == encoding)
            return e;
    }
    return kEncodings[0];
}

bool isUtf16(TextEncoding e)
{
    return e == TextEncoding::Utf16Le || e == TextEncoding::Utf16Be;
}

// UTF-16 without a mark shows itself by its zero bytes: the high byte of every ASCII
// character, and markup, digits and line ends are ASCII. A zero on one side of the units must
// be common and clearly outnumber the other side, where a UTF-16 text has few (U+AC00 "가"
// among them) and where zero padding or stray zeros of an 8-bit file fall as often.
std::optional<TextEncoding> detectUnmarkedUtf16(std::string_view bytes)
{
    // Most files hold no zero byte at all: memchr skips the stretches between zeros at
    // memory speed; from each zero found, a short window is counted byte by byte, so that a
    // file dense with them does not pay a call for every zero.
    constexpr std::size_t kWindow = 64;
    std::size_t zeros[2] = {0, 0};
    for (std::size_t i = 0; i < bytes.size();) {
        const void* zero = std::memchr(bytes.data() + i, 0, bytes.size() - i);
        if (!zero)
            break;
        i = static_cast<std::size_t>(static_cast<const char*>(zero) - bytes.data());
        const std::size_t stop = std::min(bytes.size(), i + kWindow);
        for (; i < stop; ++i) zeros[i % 2] += bytes[i] == '\0' ? 1 : 0;
    }
    const std::size_t units = bytes.size() / 2;
    for (const auto& [side, encoding] :
         {std::pair{1, TextEncoding::Utf16Le}, std::pair{0, TextEncoding::Utf16Be}}) {
        const std::size_t here = zeros[side];
        const std::size_t there = zeros[1 - side];
        if (here > 0 && here * kUtf16ZeroShare >= units && there * kUtf16ZeroDominance <= here)
            return encoding;
    }
    return std::nullopt;
}

}  // namespace

const char* encodingName(TextEncoding encoding)
{
    return info(encoding).name;
}

std::optional<TextEncoding> encodingFromName(std::string_view name)
{
    const auto same = [](char a, char b) { return (a >= 'A' && a <= 'Z' ? a + 32 : a) == b; };
    for (const EncodingInfo& e : kEncodings) {
        const std::string_view known = e.name;
        if (std::equal(name.begin(), name.end(), known.begin(), known.end(), same))
            return e.encoding;
    }
    return std::nullopt;
}

// Real CP949 Korean is practically never well-formed UTF-8: its most common leads 0xB0..0xC1
// cannot start a sequence, so any text of a few words breaks it. Well-formed UTF-8 with a
// multi-byte sequence is therefore UTF-8, a Latin text such as "Karantæne" included.
TextEncoding detectEncoding(std::string_view bytes)
{
    for (const EncodingInfo& e : kEncodings) {
        if (!e.byteOrderMark.empty() && bytes.starts_with(e.byteOrderMark))
            return e.encoding;
    }
    if (const auto utf16 = detectUnmarkedUtf16(bytes))
        return *utf16;
    bool multiByte = false;
    for (std::size_t i = 0; i < bytes.size();) {
        char32_t cp = 0;
        const std::size_t length = utf8Sequence(bytes.substr(i), cp);
        if (length == 0)
            return TextEncoding::Cp949;
        multiByte = multiByte || length > 1;
        i += length;
    }
    return multiByte ? TextEncoding::Utf8 : TextEncoding::Cp949;
}

std::string toCp949(std::string_view bytes, TextEncoding from)
{
    if (from == TextEncoding::Cp949)
        return std::string(bytes);
    const std::string_view mark = info(from).byteOrderMark;
    const std::string_view body = bytes.starts_with(mark) ? bytes.substr(mark.size()) : bytes;
    return encodeCp949(
        isUtf16(from) ? decodeUtf16(body, from == TextEncoding::Utf16Be) : decodeUtf8(body, true),
        true);
}

std::string fromCp949(std::string_view cp949, TextEncoding to)
{
    if (to == TextEncoding::Cp949)
        return std::string(cp949);
    std::string out(info(to).byteOrderMark);
    if (isUtf16(to))
        appendUtf16(out, expandCp949(cp949, Target::Utf16File), to == TextEncoding::Utf16Be);
    else
        appendUtf8(out, expandCp949(cp949, Target::Utf8File));
    return out;
}

std::string cp949ToUtf8(std::string_view cp949)
{
    std::string out;
    appendUtf8(out, expandCp949(cp949, Target::Display));
    return out;
}

std::string utf8ToCp949(std::string_view utf8)
{
    return encodeCp949(decodeUtf8(utf8, false), false);
}

}  // namespace verbanta
