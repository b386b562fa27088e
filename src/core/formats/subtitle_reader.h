#pragma once

#include <string_view>
#include <vector>

#include "formats/reader_helpers.h"

namespace verbanta {

class SamiModel;

/// What every reader is given beside the lines and the model.
struct ReaderOptions {
    /// Plain searching instead of double-byte scanning by the styles' character sets. The
    /// import sets it for text it converted from UTF-8 or UTF-16, which is CP949 whatever the
    /// file's styles name.
    bool wide = false;
    /// The Windows character-set number of texts whose style names none: 1, the system's.
    int defaultCharset = kDefaultCharset;
    /// Frames per second, for MicroDVD's frame numbers.
    double frameRate = 25.0;
    /// Where a reader that skips a malformed entry instead of failing notes its line
    /// (counted from 1); none when nobody asks.
    std::vector<int>* skippedLines = nullptr;
};

/// One foreign subtitle format: turns the lines of a file into caption syncs and end syncs at
/// the end of the model's current list. Readers keep no state between runs.
class SubtitleReader {
public:
    virtual ~SubtitleReader() = default;
    /// A short name for messages and the command line ("srt", "ssa", ...).
    virtual std::string_view name() const = 0;
    /// False on the first line the format cannot account for; the captions read so far stay in
    /// the model, and the caller resets it.
    virtual bool read(LineReader& lines, SamiModel& model, const ReaderOptions& options) const = 0;
};

}  // namespace verbanta
