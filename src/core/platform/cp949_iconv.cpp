#include "platform/cp949_system.h"

#include <iconv.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>

namespace verbanta::platform {
namespace {

const char* const kUtf32 = std::endian::native == std::endian::little ? "UTF-32LE" : "UTF-32BE";

/// One iconv descriptor per call, so that no conversion state is shared between threads.
class Converter {
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Converter()
    {
        if (ok())
            iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    /// Converts `in` onto the end of `out` in large chunks. Where iconv stops at a sequence it
    /// cannot convert (or cannot open at all), onError puts a replacement into its second
    /// argument and returns how many input bytes it stands for.
    template <class Out, class OnError>
    void run(std::string_view in, Out& out, OnError onError)
    {
        using Unit = typename Out::value_type;
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        std::size_t used = out.size();
        if (ok())
            iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        while (srcLeft > 0) {
            // One output unit per input byte is enough for CP949 <-> UTF-32 either way.
            if (out.size() - used < srcLeft + 16)
                out.resize(used + srcLeft + 16);
            char* dst = reinterpret_cast<char*>(out.data() + used);
            std::size_t dstLeft = (out.size() - used) * sizeof(Unit);
            const std::size_t rc =
                ok() ? iconv(m_cd, &src, &srcLeft, &dst, &dstLeft) : static_cast<std::size_t>(-1);
            const int error = ok() ? errno : EILSEQ;
            used =
                static_cast<std::size_t>(dst - reinterpret_cast<char*>(out.data())) / sizeof(Unit);
            if (rc != static_cast<std::size_t>(-1))
                break;
            if (error == E2BIG) {
                out.resize(out.size() * 2);
                continue;
            }
            Out piece;
            const std::size_t skip =
                std::clamp<std::size_t>(onError(std::string_view(src, srcLeft), piece), 1, srcLeft);
            src += skip;
            srcLeft -= skip;
            if (out.size() - used < piece.size() + srcLeft)
                out.resize(2 * out.size() + piece.size());
            std::copy(piece.begin(), piece.end(), out.begin() + static_cast<std::ptrdiff_t>(used));
            used += piece.size();
        }
        out.resize(used);
    }

    /// Converts all of a short `in` (a character or two) into `out`: the bytes written, or
    /// nothing when iconv refuses any of it.
    std::optional<std::size_t> convertShort(std::string_view in, char* out, std::size_t outSize)
    {
        if (!ok())
            return std::nullopt;
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        char* dst = out;
        std::size_t dstLeft = outSize;
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(m_cd, &src, &srcLeft, &dst, &dstLeft) == static_cast<std::size_t>(-1) ||
            srcLeft != 0)
            return std::nullopt;
        return outSize - dstLeft;
    }

private:
    bool ok() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    iconv_t m_cd;
};

constexpr char32_t kReplacement = 0xFFFD;

}  // namespace

Cp949PairDecoder::Cp949PairDecoder() : m_state(new Converter(kUtf32, "CP949")) {}

Cp949PairDecoder::~Cp949PairDecoder()
{
    delete static_cast<Converter*>(m_state);
}

std::optional<char32_t> Cp949PairDecoder::decode(unsigned char lead, unsigned char trail)
{
    const char pair[] = {static_cast<char>(lead), static_cast<char>(trail)};
    char32_t cp = 0;
    if (!static_cast<Converter*>(m_state)->convertShort({pair, 2}, reinterpret_cast<char*>(&cp),
                                                        sizeof cp))
        return std::nullopt;
    return cp;
}

Cp949Encoder::Cp949Encoder() : m_state(new Converter("CP949", kUtf32)) {}

Cp949Encoder::~Cp949Encoder()
{
    delete static_cast<Converter*>(m_state);
}

void Cp949Encoder::append(std::u32string_view text, std::string& out,
                          const std::function<void(char32_t character, std::string& out)>& onError)
{
    Converter& encoder = *static_cast<Converter*>(m_state);
    const std::string_view bytes(reinterpret_cast<const char*>(text.data()),
                                 text.size() * sizeof(char32_t));
    encoder.run(bytes, out, [&](std::string_view rest, std::string& piece) {
        char32_t cp = kReplacement;
        if (rest.size() >= sizeof cp)
            std::memcpy(&cp, rest.data(), sizeof cp);
        onError(cp, piece);
        return sizeof cp;
    });
}

}  // namespace verbanta::platform
