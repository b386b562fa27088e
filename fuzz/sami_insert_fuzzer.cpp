// Pastes arbitrary bytes as a SAMI fragment into a loaded two-language document; the result
// must be written, read and written again to the very same bytes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "model/sami_model.h"
#include "platform/messenger.h"
#include "sami/sami_writer.h"
#include "settings/app_settings.h"

namespace {

/// Counts the messages the reader shows.
class MessageCounter : public verbanta::SilentMessenger {
public:
    void showMessage(std::string_view, verbanta::MessageIcon) override { ++shown; }
    int shown = 0;
};

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

    const std::string first = verbanta::writeSami(model, -1);
    // A paste can leave a language without any caption; reading such a file repairs its
    // languages and says so, and only the repaired file must then stay as it is.
    MessageCounter counter;
    verbanta::SamiModel again(settings);
    again.setMessenger(counter);
    again.LoadText(first);
    const std::string second = verbanta::writeSami(again, -1);
    verbanta::SamiModel third(settings);
    third.LoadText(second);
    if ((counter.shown == 0 && second != first) || verbanta::writeSami(third, -1) != second) {
        std::fprintf(stderr, "writing what was read changed the bytes\n--- first\n%s\n"
                             "--- second\n%s\n",
                     first.c_str(), second.c_str());
        std::abort();
    }
    return 0;
}
