// Loads arbitrary bytes as a SAMI file; whatever the scanner makes of them must be written,
// read and written again to the very same bytes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "model/sami_model.h"
#include "sami/sami_writer.h"
#include "settings/app_settings.h"

namespace {

std::string rewrite(const std::string& written, const verbanta::AppSettings& settings)
{
    verbanta::SamiModel model(settings);
    model.LoadText(written);
    return verbanta::writeSami(model, -1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    verbanta::AppSettings settings;
    settings.DisplayErrorSync = size % 2 == 0;
    verbanta::SamiModel model(settings);
    model.LoadText(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::string first = verbanta::writeSami(model, -1);
    if (rewrite(first, settings) != first) {
        std::fprintf(stderr, "writing what was read changed the bytes\n");
        std::abort();
    }
    for (int i = 0; i < model.listCount; ++i) {
        const std::string one = verbanta::writeSami(model, i);
        if (rewrite(one, settings) != one) {
            std::fprintf(stderr, "one language %d: writing what was read changed the bytes\n", i);
            std::abort();
        }
    }
    return 0;
}
