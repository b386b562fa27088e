#include <iconv.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "model/codepage.h"

using verbanta::TextEncoding;

namespace {

constexpr TextEncoding kUnicode[] = {TextEncoding::Utf8, TextEncoding::Utf8Bom,
                                     TextEncoding::Utf16Le, TextEncoding::Utf16Be};

void check(bool condition)
{
    if (!condition)
        std::abort();
}

// Whether the C library reads all of `text` in `encoding` without complaint.
bool readsAs(std::string_view text, const char* encoding)
{
    iconv_t cd = iconv_open("UTF-32LE", encoding);
    std::string out(text.size() * 4 + 4, '\0');
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    const bool ok = iconv(cd, &in, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1);
    iconv_close(cd);
    return ok;
}

// Hexadecimal references and zero-padded ones to characters CP949 lacks are written out as
// the characters and read back in the decimal form toCp949 writes, so model text holding them
// changes once; every other reference reads back exactly as it was.
bool hasNonCanonicalReference(std::string_view text)
{
    for (std::size_t at = text.find("&#"); at != std::string_view::npos;
         at = text.find("&#", at + 1)) {
        if (at + 2 < text.size() &&
            (text[at + 2] == 'x' || text[at + 2] == 'X' || text[at + 2] == '0'))
            return true;
    }
    return false;
}

// A file read and written again must be a fixed point from then on: the file the program
// writes, opened and saved unedited, comes back byte for byte, and so does its model text.
void checkFile(std::string_view bytes, TextEncoding encoding)
{
    const std::string model1 = verbanta::toCp949(bytes, encoding);
    const std::string file2 = verbanta::fromCp949(model1, encoding);
    const std::string model2 = verbanta::toCp949(file2, encoding);
    const std::string file3 = verbanta::fromCp949(model2, encoding);
    check(file3 == file2);
    check(verbanta::toCp949(file3, encoding) == model2);
    if (!hasNonCanonicalReference(model1))
        check(model2 == model1);
}

// Text without references and without U+EF80..U+EFFF (which stand for undecodable model
// bytes) comes back from its first save byte for byte, malformed parts included; only an odd
// final UTF-16 byte cannot.
void checkFirstSave(std::string_view bytes, TextEncoding encoding)
{
    // Byte-order marks in TextEncoding order.
    static constexpr std::string_view kMarks[] = {"", "", "\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"};
    const std::string_view mark = kMarks[static_cast<int>(encoding)];
    const std::string_view body = bytes.starts_with(mark) ? bytes.substr(mark.size()) : bytes;
    if (bytes.find('&') != std::string_view::npos)
        return;
    if (encoding == TextEncoding::Utf16Le || encoding == TextEncoding::Utf16Be) {
        if (body.size() % 2 != 0)
            return;
        const bool le = encoding == TextEncoding::Utf16Le;
        for (std::size_t i = 0; i < body.size(); i += 2) {
            const auto unit = static_cast<unsigned char>(body[i + (le ? 1 : 0)]);
            const auto low = static_cast<unsigned char>(body[i + (le ? 0 : 1)]);
            if (unit == 0xEF && low >= 0x80)
                return;
        }
    } else if (body.find("\xEE\xBE") != std::string_view::npos ||
               body.find("\xEE\xBF") != std::string_view::npos) {
        return;
    }
    const std::string model = verbanta::toCp949(bytes, encoding);
    check(verbanta::fromCp949(model, encoding) == std::string(mark) + std::string(body));
}

// Model text (any bytes, valid CP949 or not) written to a Unicode file and read back comes
// back exactly, undecodable bytes included.
void checkModel(std::string_view model, TextEncoding encoding)
{
    const std::string file1 = verbanta::fromCp949(model, encoding);
    const std::string model1 = verbanta::toCp949(file1, encoding);
    check(verbanta::fromCp949(model1, encoding) == file1);
    if (!hasNonCanonicalReference(model))
        check(model1 == model);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    checkFile(bytes, verbanta::detectEncoding(bytes));
    for (const TextEncoding encoding : kUnicode) {
        checkFile(bytes, encoding);
        checkFirstSave(bytes, encoding);
        checkModel(bytes, encoding);
    }
    // Display text must always be valid UTF-8 (it goes into JSON), typed text valid CP949.
    check(readsAs(verbanta::cp949ToUtf8(bytes), "UTF-8"));
    check(readsAs(verbanta::utf8ToCp949(bytes), "CP949"));
    return 0;
}
