#pragma once

#include <array>
#include <string_view>
#include <vector>

#include "formats/subtitle_reader.h"

namespace verbanta {

/// The number of foreign-format readers.
inline constexpr int kReaderCount = 7;

/// The readers in slot order, the order automatic detection tries them: SubRip, SubRip braces,
/// MicroDVD, SubViewer, Sub Station Alpha, VPlayer, Xombie.
const std::array<const SubtitleReader*, kReaderCount>& readerTable();

/// The reader in a slot 0..6.
const SubtitleReader& readerAt(int slot);

/// The slot of the reader with this name ("srt", "microdvd", ...), or -1.
int findReaderSlot(std::string_view name);

/// The slots the import file dialog's filter entry (numbered from 1) tries: every slot for 1
/// ("all supported"), 8 ("all files") and any number out of range; slots 0 and 1 for 2
/// (SubRip); slot n - 1 for 3..7.
std::vector<int> readersForFilterEntry(int filterEntry);

}  // namespace verbanta
