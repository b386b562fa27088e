// Reads arbitrary bytes as a SAMI file is read (encoding detection, conversion to CP949, the
// scanner) and writes the model back in the encoding found: that file must be detected as the
// same encoding where a mark or UTF-16 says so, and read and written again to the same bytes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "model/codepage.h"
#include "model/sami_model.h"
#include "sami/sami_file.h"
#include "sami/sami_writer.h"
#include "settings/app_settings.h"

namespace {

void check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "%s\n", what);
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using verbanta::TextEncoding;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const verbanta::DecodedText decoded = verbanta::decodeFileText(bytes);
    if (decoded.encoding == TextEncoding::Cp949)
        check(decoded.text == bytes, "CP949 input was changed");

    verbanta::AppSettings settings;
    verbanta::SamiModel model(settings);
    model.LoadText(decoded.text);
    const std::string written =
        verbanta::fromCp949(verbanta::writeSami(model, -1), decoded.encoding);

    // Without a mark, UTF-8 output that happens to hold few multi-byte characters may read as
    // CP949; every other encoding announces itself.
    if (decoded.encoding != TextEncoding::Utf8 && decoded.encoding != TextEncoding::Cp949)
        check(verbanta::detectEncoding(written) == decoded.encoding, "encoding not found again");

    verbanta::SamiModel again(settings);
    again.LoadText(verbanta::toCp949(written, decoded.encoding));
    const std::string rewritten =
        verbanta::fromCp949(verbanta::writeSami(again, -1), decoded.encoding);
    check(rewritten == written, "a file the program wrote changed when read and written again");
    return 0;
}
