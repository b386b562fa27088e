#pragma once

#include <cstdint>
#include <vector>

struct AVFrame;
struct AVPixFmtDescriptor;

namespace verbanta::media {

/// A picture reduced to the mean brightness of 32 x 18 cells and the mean colour of 16 x 9:
/// enough to tell one shot from another, and blind to the noise and fine motion that make
/// consecutive frames of one shot differ.
struct FrameSignature {
    std::vector<std::uint8_t> luma;
    std::vector<std::uint8_t> chroma;  ///< both colour planes, empty for grey pictures
};

/// Whether the picture layout is one a signature is made of: YUV or grey, planes of bytes or
/// of 9- to 16-bit words.
bool signatureReadable(const AVPixFmtDescriptor* desc);

/// Fills `s` from a decoded picture whose layout is readable.
void signatureOf(const AVFrame* frame, const AVPixFmtDescriptor* desc, FrameSignature& s);

/// How far two pictures differ, on a 0..255 scale per part (brightness plus colour).
float signatureDifference(const FrameSignature& a, const FrameSignature& b);

}  // namespace verbanta::media
