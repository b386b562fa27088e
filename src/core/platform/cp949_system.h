#pragma once

// The system's own CP949 tables, behind the core's codepage helper: iconv on POSIX systems,
// code page 949 of MultiByteToWideChar and WideCharToMultiByte on Windows. Neither ever puts
// a substitute in place of a character it cannot convert: that is reported instead.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace verbanta::platform {

/// The character one CP949 byte pair decodes to, asked once per pair while the table is
/// built; nothing when the pair is not a character. Call only from one thread at a time.
class Cp949PairDecoder {
public:
    Cp949PairDecoder();
    ~Cp949PairDecoder();
    Cp949PairDecoder(const Cp949PairDecoder&) = delete;
    Cp949PairDecoder& operator=(const Cp949PairDecoder&) = delete;
    std::optional<char32_t> decode(unsigned char lead, unsigned char trail);

private:
    void* m_state;
};

/// Encodes characters into CP949, one object per conversion (they share no state).
class Cp949Encoder {
public:
    Cp949Encoder();
    ~Cp949Encoder();
    Cp949Encoder(const Cp949Encoder&) = delete;
    Cp949Encoder& operator=(const Cp949Encoder&) = delete;
    /// Appends the text's bytes to `out`; a character the system cannot encode goes to
    /// onError, which appends what stands for it.
    void append(std::u32string_view text, std::string& out,
                const std::function<void(char32_t character, std::string& out)>& onError);

private:
    void* m_state;
};

}  // namespace verbanta::platform
