#include "platform/cp949_system.h"

#include "platform/windows_support.h"

namespace verbanta::platform {
namespace {

constexpr UINT kCodePage = 949;

/// The characters as UTF-16 (all of them are in the BMP when they are in CP949).
std::wstring utf16(std::u32string_view text)
{
    std::wstring out;
    out.reserve(text.size());
    for (const char32_t c : text) {
        if (c >= 0x10000) {
            out += static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += static_cast<wchar_t>(c);
        }
    }
    return out;
}

/// Encodes all of `wide`, or nothing when the system would put its default character in the
/// place of any of it.
bool encodeAll(std::wstring_view wide, std::string& out)
{
    if (wide.empty())
        return true;
    const int size = static_cast<int>(wide.size());
    BOOL usedDefault = FALSE;
    const int length = ::WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), size,
                                             nullptr, 0, nullptr, &usedDefault);
    if (length <= 0 || usedDefault)
        return false;
    const std::size_t at = out.size();
    out.resize(at + static_cast<std::size_t>(length));
    usedDefault = FALSE;
    const int written = ::WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), size,
                                              out.data() + at, length, nullptr, &usedDefault);
    if (written != length || usedDefault) {
        out.resize(at);
        return false;
    }
    return true;
}

}  // namespace

Cp949PairDecoder::Cp949PairDecoder() : m_state(nullptr) {}

Cp949PairDecoder::~Cp949PairDecoder() = default;

std::optional<char32_t> Cp949PairDecoder::decode(unsigned char lead, unsigned char trail)
{
    const char pair[] = {static_cast<char>(lead), static_cast<char>(trail)};
    wchar_t wide[2] = {};
    // A pair is a character only when it makes exactly one: an invalid pair fails here
    // instead of becoming the default character.
    if (::MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, pair, 2, wide, 2) != 1)
        return std::nullopt;
    return static_cast<char32_t>(wide[0]);
}

Cp949Encoder::Cp949Encoder() : m_state(nullptr) {}

Cp949Encoder::~Cp949Encoder() = default;

void Cp949Encoder::append(std::u32string_view text, std::string& out,
                          const std::function<void(char32_t character, std::string& out)>& onError)
{
    if (encodeAll(utf16(text), out))
        return;
    // Something would have been replaced: character by character, each refused one reported.
    for (const char32_t c : text) {
        const char32_t one[] = {c};
        if (!encodeAll(utf16({one, 1}), out))
            onError(c, out);
    }
}

}  // namespace verbanta::platform
