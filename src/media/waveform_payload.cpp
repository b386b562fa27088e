#include "waveform_payload.h"

#include <bit>
#include <cmath>

#include "byte_codec.h"
#include "media_cache.h"

namespace verbanta::media {
namespace {

constexpr std::uint32_t kPayloadVersion = 1;
// The fields before the peaks, from the version to the peak count.
constexpr std::size_t kFixedBytes = 4 * 5 + 8 * 3 + 1 + 8;

}  // namespace

std::string encodePeaks(const WaveformState& state, const PeakPyramid& pyramid)
{
    ByteWriter out;
    out.put(kPayloadVersion);
    out.put(std::int32_t(PeakPyramid::kBaseMs));
    out.put(std::int32_t(state.status));
    out.put(std::int32_t(state.sampleRate));
    out.put(std::int32_t(state.channels));
    out.put(std::int64_t(std::llround(state.startMs * 1000)));
    out.put(std::int64_t(std::llround(state.endMs * 1000)));
    out.put(std::int64_t(std::llround(state.expectedEndMs * 1000)));
    out.put(std::uint8_t(state.hasSound));
    const std::span<const Peak> base = pyramid.level(0);
    out.put(std::uint64_t(base.size()));
    out.putRecords(base);
    out.putText(state.detail);
    return std::move(out.bytes());
}

bool decodePeaks(CacheReader& in, WaveformState& state, PeakPyramid& pyramid)
{
    char fixed[kFixedBytes];
    if (!in.read(fixed, sizeof fixed))
        return false;
    ByteReader f(std::string_view(fixed, sizeof fixed));
    if (f.get<std::uint32_t>() != kPayloadVersion || f.get<std::int32_t>() != PeakPyramid::kBaseMs)
        return false;
    WaveformState read;
    read.status = WaveformStatus(f.get<std::int32_t>());
    if (read.status != WaveformStatus::Complete && read.status != WaveformStatus::CutShort)
        return false;
    read.sampleRate = f.get<std::int32_t>();
    read.channels = f.get<std::int32_t>();
    read.startMs = double(f.get<std::int64_t>()) / 1000;
    read.endMs = double(f.get<std::int64_t>()) / 1000;
    read.expectedEndMs = double(f.get<std::int64_t>()) / 1000;
    read.hasSound = f.get<std::uint8_t>() != 0;
    const auto count = f.get<std::uint64_t>();
    if (count > in.remaining() / sizeof(Peak))
        return false;
    PeakPyramid::Level base(count);
    if (!in.read(base.data(), count * sizeof(Peak)))
        return false;
    if constexpr (std::endian::native == std::endian::big)
        ByteWriter::swapPairs(reinterpret_cast<char*>(base.data()), count * sizeof(Peak));
    char length[4];
    if (!in.read(length, sizeof length))
        return false;
    // The reason is the last thing: its length must be what is left.
    const auto reasonLength = ByteReader(std::string_view(length, 4)).get<std::uint32_t>();
    if (reasonLength != in.remaining())
        return false;
    read.detail.resize(reasonLength);
    if (!in.read(read.detail.data(), read.detail.size()))
        return false;
    read.stream = state.stream;
    read.cache = CacheUse::Read;
    state = std::move(read);
    pyramid = PeakPyramid::fromBase(std::move(base));
    return true;
}

}  // namespace verbanta::media
