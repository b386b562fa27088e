#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "formats/reader_table.h"
#include "model/sami_model.h"
#include "settings/app_settings.h"
#include "support/recording_messenger.h"

namespace verbanta::test {

/// One entry of the current list, reduced to what an import decides.
struct ImportedEntry {
    int startMs;
    bool isEndSync;
    std::string text;
    bool operator==(const ImportedEntry&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const ImportedEntry& e)
{
    return os << "{" << e.startMs << (e.isEndSync ? ", end" : "") << ", \"" << e.text << "\"}";
}

inline std::vector<ImportedEntry> entriesOf(const SamiModel& model)
{
    std::vector<ImportedEntry> out;
    model.list().forEach([&](const SyncEntry& e) {
        out.push_back({e.startMs, e.isEndSync != 0, e.text});
    });
    return out;
}

/// A caption followed by its end sync, as the readers append them.
inline std::vector<ImportedEntry> withEnd(int start, int end, std::string text)
{
    return {{start, false, std::move(text)}, {end, true, "&nbsp;"}};
}

inline std::vector<ImportedEntry> concat(std::initializer_list<std::vector<ImportedEntry>> parts)
{
    std::vector<ImportedEntry> out;
    for (const auto& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

inline std::string dataPath(const std::string& name)
{
    return std::string(VERBANTA_TEST_DATA_DIR) + "/formats/" + name;
}

inline std::string readData(const std::string& name)
{
    std::ifstream in(dataPath(name), std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

/// A model with a recording messenger, for running one reader or a whole import.
struct ImportFixture {
    AppSettings settings;
    RecordingMessenger messenger;
    SamiModel model{settings};

    ImportFixture() { model.setMessenger(messenger); }

    /// Runs one reader over the text, as the import does after its reset.
    bool read(int slot, std::string_view text, double fps = 25.0)
    {
        model.Reset(true);
        model.ClearUndo();
        LineReader lines(text);
        ReaderOptions options;
        options.frameRate = fps;
        return readerAt(slot).read(lines, model, options);
    }
    std::vector<ImportedEntry> entries() const { return entriesOf(model); }
};

enum Slot { kSrt = 0, kSrtBraces, kMicroDvd, kSubViewer, kSsa, kVPlayer, kXombie };

}  // namespace verbanta::test
