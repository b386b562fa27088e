#include "formats/reader_table.h"

#include "formats/microdvd_reader.h"
#include "formats/ssa_reader.h"
#include "formats/subrip_brace_reader.h"
#include "formats/subrip_reader.h"
#include "formats/subviewer_reader.h"
#include "formats/vplayer_reader.h"
#include "formats/xombie_reader.h"

namespace verbanta {

namespace {

const SubRipReader kSubRip;
const SubRipBraceReader kSubRipBraces;
const MicroDvdReader kMicroDvd;
const SubViewerReader kSubViewer;
const SsaReader kSsa;
const VPlayerReader kVPlayer;
const XombieReader kXombie;

// The one list of readers; its order is the detection order.
const std::array<const SubtitleReader*, kReaderCount> kReaders{
    &kSubRip, &kSubRipBraces, &kMicroDvd, &kSubViewer, &kSsa, &kVPlayer, &kXombie,
};

}  // namespace

const std::array<const SubtitleReader*, kReaderCount>& readerTable() { return kReaders; }

const SubtitleReader& readerAt(int slot) { return *kReaders.at(static_cast<std::size_t>(slot)); }

int findReaderSlot(std::string_view name)
{
    for (int slot = 0; slot < kReaderCount; ++slot)
        if (kReaders[static_cast<std::size_t>(slot)]->name() == name)
            return slot;
    return -1;
}

std::vector<int> readersForFilterEntry(int filterEntry)
{
    if (filterEntry == 2)
        return {0, 1};
    if (filterEntry >= 3 && filterEntry <= 7)
        return {filterEntry - 1};
    std::vector<int> all;
    for (int slot = 0; slot < kReaderCount; ++slot)
        all.push_back(slot);
    return all;
}

}  // namespace verbanta
