// Imports arbitrary bytes with one foreign-format reader (chosen at build time by its slot) or,
// for slot -1, as plain text. Whatever is imported must survive a save and a reload; a failed
// import leaves a new empty document.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "formats/foreign_import.h"
#include "formats/text_import.h"
#include "model/sami_model.h"
#include "platform/messenger.h"
#include "sami/sami_writer.h"
#include "settings/app_settings.h"

#ifndef VERBANTA_READER_SLOT
#error "VERBANTA_READER_SLOT names the reader under test (-1: text import)"
#endif

namespace {

[[noreturn]] void fail(const char* what)
{
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    verbanta::AppSettings settings;
    verbanta::SilentMessenger silent;
    verbanta::SamiModel model(settings);
    model.setMessenger(silent);
    constexpr int kSlot = VERBANTA_READER_SLOT;
    if constexpr (kSlot < 0) {
        verbanta::importTextBytes(model, bytes, size % 2 == 0);
    } else {
        const bool imported = verbanta::importForeignBytes(model, bytes, std::vector<int>{kSlot},
                                                           size % 3 == 0 ? 23.976 : 25.0);
        if (!imported && model.GetCount() != 0)
            fail("a failed import left captions behind");
    }
    // A save and a reload lose no caption and move none: the imported start times are found in
    // the reloaded list in order (the writer adds an end sync after a last caption that has
    // none). The reader may tidy a text once, after which the document stays as it is.
    const std::string first = verbanta::writeSami(model, -1);
    verbanta::SamiModel again(settings);
    again.setMessenger(silent);
    again.LoadText(first);
    if (again.GetLanguageCount() != model.GetLanguageCount())
        fail("a save and a reload changed the languages");
    for (int slot = 0; slot < verbanta::SamiModel::kSlotCount; ++slot) {
        const auto& before = model.slotList(slot);
        const auto& after = again.slotList(slot);
        int found = 0;
        for (int row = 0; row < after.count() && found < before.count(); ++row)
            if (after[row].startMs == before[found].startMs &&
                after[row].isComment == before[found].isComment)
                ++found;
        if (found != before.count()) {
            std::fprintf(stderr, "--- saved\n%s\n", first.c_str());
            fail("a save and a reload lost or moved a caption");
        }
    }
    const std::string second = verbanta::writeSami(again, -1);
    verbanta::SamiModel third(settings);
    third.setMessenger(silent);
    third.LoadText(second);
    if (verbanta::writeSami(third, -1) != second) {
        std::fprintf(stderr, "--- saved\n%s\n", second.c_str());
        fail("the imported document changed on a second save and reload");
    }
    return 0;
}
