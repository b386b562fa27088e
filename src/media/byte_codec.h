#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

namespace verbanta::media {

/// Little-endian fields appended to a byte string: the cache files' layout on every machine.
class ByteWriter {
public:
    template <typename T>
    void put(T value)
    {
        static_assert(std::is_integral_v<T>);
        using U = std::make_unsigned_t<T>;
        const auto bits = static_cast<U>(value);
        for (std::size_t i = 0; i < sizeof(T); ++i)
            m_bytes.push_back(char((bits >> (8 * i)) & 0xFF));
    }
    void putText(std::string_view text)
    {
        put(std::uint32_t(text.size()));
        m_bytes.append(text);
    }
    /// Plain records of 16-bit fields, such as peaks.
    template <typename T>
    void putRecords(std::span<const T> records)
    {
        static_assert(std::is_trivially_copyable_v<T> && sizeof(T) % 2 == 0);
        if (records.empty())  // an empty span may hold no pointer, which memcpy must not get
            return;
        const std::size_t at = m_bytes.size();
        m_bytes.resize(at + records.size_bytes());
        std::memcpy(m_bytes.data() + at, records.data(), records.size_bytes());
        if constexpr (std::endian::native == std::endian::big)
            swapPairs(m_bytes.data() + at, records.size_bytes());
    }
    std::string& bytes() { return m_bytes; }

    static void swapPairs(char* bytes, std::size_t size)
    {
        for (std::size_t i = 0; i + 1 < size; i += 2) std::swap(bytes[i], bytes[i + 1]);
    }

private:
    std::string m_bytes;
};

/// Reads what ByteWriter wrote; a read past the end gives zero.
class ByteReader {
public:
    explicit ByteReader(std::string_view bytes) : m_bytes(bytes) {}

    template <typename T>
    T get()
    {
        static_assert(std::is_integral_v<T>);
        using U = std::make_unsigned_t<T>;
        if (!take(sizeof(T)))
            return T{};
        U bits = 0;
        for (std::size_t i = 0; i < sizeof(T); ++i)
            bits |= U(U(static_cast<unsigned char>(m_bytes[m_at - sizeof(T) + i])) << (8 * i));
        return static_cast<T>(bits);
    }

private:
    bool take(std::size_t size)
    {
        if (size > m_bytes.size() - m_at)
            return false;
        m_at += size;
        return true;
    }

    std::string_view m_bytes;
    std::size_t m_at = 0;
};

}  // namespace verbanta::media
