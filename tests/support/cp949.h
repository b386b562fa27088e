#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>

namespace verbanta::test {

#ifdef _WIN32
/// The POSIX version's conversion by encoding name ("UTF-8", "CP949", "UTF-16LE",
/// "UTF-16BE"), through UTF-16 with the system's own calls, refusing anything either step
/// cannot convert exactly.
inline std::string iconvConvert(std::string_view text, const std::string& to,
                                const std::string& from)
{
    const auto swapped = [](std::wstring units) {
        for (wchar_t& u : units) u = static_cast<wchar_t>(((u & 0xFF) << 8) | ((u >> 8) & 0xFF));
        return units;
    };
    std::wstring wide;
    if (from == "UTF-16LE" || from == "UTF-16BE") {
        if (text.size() % 2 != 0)
            throw std::runtime_error("odd UTF-16 length");
        wide.resize(text.size() / 2);
        std::memcpy(wide.data(), text.data(), text.size());
        if (from == "UTF-16BE")
            wide = swapped(wide);
    } else if (!text.empty()) {
        const UINT page = from == "CP949" ? 949 : CP_UTF8;
        const int size = static_cast<int>(text.size());
        wide.resize(text.size());
        const int units =
            MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, text.data(), size, wide.data(), size);
        if (units <= 0)
            throw std::runtime_error("the text is not valid in its code page");
        wide.resize(static_cast<std::size_t>(units));
    }
    if (to == "UTF-16LE" || to == "UTF-16BE") {
        if (to == "UTF-16BE")
            wide = swapped(wide);
        return std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * 2);
    }
    if (wide.empty())
        return {};
    const UINT page = to == "CP949" ? 949 : CP_UTF8;
    std::string out(wide.size() * 4 + 16, '\0');
    BOOL usedDefault = FALSE;
    const int length =
        WideCharToMultiByte(page, page == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS, wide.data(),
                            static_cast<int>(wide.size()), out.data(),
                            static_cast<int>(out.size()), nullptr,
                            page == CP_UTF8 ? nullptr : &usedDefault);
    if (length <= 0 || usedDefault)
        throw std::runtime_error("the text has no form in the code page");
    out.resize(static_cast<std::size_t>(length));
    return out;
}
#else
/// Converts between UTF-8 and CP949 with the C library's iconv, independently of the core's
/// own codepage helper, so tests can write Korean as UTF-8 and check the bytes the core keeps.
inline std::string iconvConvert(std::string_view text, const char* to, const char* from)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error("iconv_open failed");
    std::string out(text.size() * 4 + 16, '\0');
    char* in = const_cast<char*>(text.data());
    size_t inLeft = text.size();
    char* outPtr = out.data();
    size_t outLeft = out.size();
    const size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (rc == static_cast<size_t>(-1))
        throw std::runtime_error("iconv could not convert the text");
    out.resize(out.size() - outLeft);
    return out;
}

#endif

/// UTF-8 text as CP949 bytes.
inline std::string cp949(std::string_view utf8) { return iconvConvert(utf8, "CP949", "UTF-8"); }

/// CP949 bytes as UTF-8 text.
inline std::string utf8(std::string_view cp949Bytes)
{
    return iconvConvert(cp949Bytes, "UTF-8", "CP949");
}

}  // namespace verbanta::test
