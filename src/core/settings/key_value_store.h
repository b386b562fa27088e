#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace verbanta {

/// Where settings persist: named values in named sections ("Options", "Settings").
/// The app backs it with QSettings; tests use MemoryKeyValueStore.
class KeyValueStore {
public:
    virtual ~KeyValueStore() = default;
    /// The stored number, or nothing when the value is missing or not a number.
    virtual std::optional<std::int32_t> readInt(std::string_view section,
                                                std::string_view name) const = 0;
    /// The stored UTF-8 string, or nothing when the value is missing.
    virtual std::optional<std::string> readString(std::string_view section,
                                                  std::string_view name) const = 0;
    virtual void writeInt(std::string_view section, std::string_view name,
                          std::int32_t value) = 0;
    virtual void writeString(std::string_view section, std::string_view name,
                             std::string_view value) = 0;
};

}  // namespace verbanta
