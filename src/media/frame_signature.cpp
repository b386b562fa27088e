#include "frame_signature.h"

#include <algorithm>
#include <cstdlib>

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/pixdesc.h>
}

namespace verbanta::media {
namespace {

constexpr int kLumaColumns = 32;
constexpr int kLumaRows = 18;
constexpr int kChromaColumns = 16;
constexpr int kChromaRows = 9;
constexpr int kSamplesPerCellSide = 8;

/// Reads one component of a planar or semi-planar YUV picture, scaled to 8 bits.
class ComponentReader {
public:
    ComponentReader(const AVFrame* frame, const AVPixFmtDescriptor* desc, int component)
        : m_component(desc->comp[component]),
          m_bigEndian((desc->flags & AV_PIX_FMT_FLAG_BE) != 0),
          m_data(frame->data[desc->comp[component].plane]),
          m_stride(frame->linesize[desc->comp[component].plane])
    {
        const bool colour = component > 0;
        m_width = colour ? AV_CEIL_RSHIFT(frame->width, desc->log2_chroma_w) : frame->width;
        m_height = colour ? AV_CEIL_RSHIFT(frame->height, desc->log2_chroma_h) : frame->height;
    }
    int width() const { return m_width; }
    int height() const { return m_height; }
    /// Plain bytes, one per sample: the common case, read without the general decoding.
    bool plainBytes() const
    {
        return m_component.depth == 8 && m_component.step == 1 && m_component.shift == 0;
    }
    const std::uint8_t* row(int y) const
    {
        return m_data + std::ptrdiff_t(y) * m_stride + m_component.offset;
    }

    unsigned at(int x, int y) const
    {
        const std::uint8_t* p = row(y) + std::ptrdiff_t(x) * m_component.step;
        if (m_component.depth <= 8)
            return unsigned(*p >> m_component.shift);
        const unsigned word = m_bigEndian ? unsigned(p[0]) << 8 | p[1] : unsigned(p[1]) << 8 | p[0];
        return (word >> m_component.shift) >> (m_component.depth - 8);
    }

private:
    AVComponentDescriptor m_component;
    bool m_bigEndian;
    const std::uint8_t* m_data;
    int m_stride;
    int m_width = 0;
    int m_height = 0;
};

void cellMeans(const ComponentReader& plane, int columns, int rows, std::vector<std::uint8_t>& out)
{
    const bool plain = plane.plainBytes();
    for (int row = 0; row < rows; ++row) {
        const int top = plane.height() * row / rows;
        const int bottom = std::max(top + 1, plane.height() * (row + 1) / rows);
        const int stepY = std::max(1, (bottom - top) / kSamplesPerCellSide);
        for (int column = 0; column < columns; ++column) {
            const int left = plane.width() * column / columns;
            const int right = std::max(left + 1, plane.width() * (column + 1) / columns);
            const int stepX = std::max(1, (right - left) / kSamplesPerCellSide);
            unsigned sum = 0, count = 0;
            for (int y = top; y < bottom && y < plane.height(); y += stepY) {
                const int end = std::min(right, plane.width());
                if (plain) {
                    const std::uint8_t* p = plane.row(y);
                    for (int x = left; x < end; x += stepX) sum += p[x];
                } else {
                    for (int x = left; x < end; x += stepX) sum += plane.at(x, y);
                }
                count += unsigned((end - left + stepX - 1) / stepX);
            }
            out.push_back(std::uint8_t(count ? sum / count : 0));
        }
    }
}

float meanAbsoluteDifference(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b)
{
    if (a.empty() || a.size() != b.size())
        return 0.0f;
    unsigned sum = 0;
    for (std::size_t i = 0; i < a.size(); ++i) sum += unsigned(std::abs(int(a[i]) - int(b[i])));
    return float(sum) / float(a.size());
}

}  // namespace

bool signatureReadable(const AVPixFmtDescriptor* desc)
{
    if (!desc || desc->nb_components < 1)
        return false;
    constexpr auto kUnreadable = AV_PIX_FMT_FLAG_RGB | AV_PIX_FMT_FLAG_PAL |
                                 AV_PIX_FMT_FLAG_BITSTREAM | AV_PIX_FMT_FLAG_HWACCEL |
                                 AV_PIX_FMT_FLAG_FLOAT;
    return (desc->flags & kUnreadable) == 0 && desc->comp[0].depth <= 16;
}

void signatureOf(const AVFrame* frame, const AVPixFmtDescriptor* desc, FrameSignature& s)
{
    s.luma.clear();
    s.chroma.clear();
    cellMeans(ComponentReader(frame, desc, 0), kLumaColumns, kLumaRows, s.luma);
    if (desc->nb_components >= 3) {
        cellMeans(ComponentReader(frame, desc, 1), kChromaColumns, kChromaRows, s.chroma);
        cellMeans(ComponentReader(frame, desc, 2), kChromaColumns, kChromaRows, s.chroma);
    }
}

float signatureDifference(const FrameSignature& a, const FrameSignature& b)
{
    return meanAbsoluteDifference(a.luma, b.luma) + meanAbsoluteDifference(a.chroma, b.chroma);
}

}  // namespace verbanta::media
