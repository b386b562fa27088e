#pragma once

#include <iconv.h>

#include <stdexcept>
#include <string>
#include <string_view>

namespace verbanta::test {

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

/// UTF-8 text as CP949 bytes.
inline std::string cp949(std::string_view utf8) { return iconvConvert(utf8, "CP949", "UTF-8"); }

/// CP949 bytes as UTF-8 text.
inline std::string utf8(std::string_view cp949Bytes)
{
    return iconvConvert(cp949Bytes, "UTF-8", "CP949");
}

}  // namespace verbanta::test
