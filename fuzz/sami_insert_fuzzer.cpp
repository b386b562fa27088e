// Pastes arbitrary bytes as a SAMI fragment into a loaded two-language document; the result
// must be written, read and written again to the very same bytes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "model/sami_model.h"
#include "sami/sami_writer.h"
#include "settings/app_settings.h"

namespace {

constexpr const char* kDocument =
    "<SAMI>\r\n<HEAD>\r\n<TITLE>t</TITLE>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\n"
    "P { font-size:14pt; }\r\n.KRCC { Name:k; lang:ko-KR; SAMIType:CC; }\r\n"
    ".ENCC { Name:e; lang:en-US; SAMIType:CC; }\r\n-->\r\n</STYLE>\r\n</HEAD>\r\n<BODY>\r\n"
    "<!--\r\nhead\r\n-->\r\n"
    "<SYNC Start=1000><P Class=KRCC>\r\none\r\n<SYNC Start=2000><P Class=KRCC>&nbsp;\r\n"
    "<SYNC Start=3000><P Class=KRCC>\r\ntwo\r\n<!--\r\nnote\r\n-->\r\n"
    "<SYNC Start=4000><P Class=KRCC>&nbsp;\r\n\r\n"
    "<SYNC Start=1000><P Class=ENCC>\r\nuno\r\n<SYNC Start=2000><P Class=ENCC>&nbsp;\r\n"
    "</BODY>\r\n</SAMI>";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    verbanta::AppSettings settings;
    settings.DisplayErrorSync = true;
    verbanta::SamiModel model(settings);
    model.LoadText(kDocument);
    // The first byte picks the row and whether the paste is one undo step.
    const int row = data[0] % (model.GetCount() + 2);
    const std::string_view fragment(reinterpret_cast<const char*>(data) + 1, size - 1);
    model.InsertTextBefore(row, fragment, (data[0] & 0x80) != 0);

    const std::string first = verbanta::WriteSami(model, -1);
    verbanta::SamiModel again(settings);
    again.LoadText(first);
    if (verbanta::WriteSami(again, -1) != first) {
        std::fprintf(stderr, "writing what was read changed the bytes\n");
        std::abort();
    }
    return 0;
}
