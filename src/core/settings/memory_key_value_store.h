#pragma once

#include <map>
#include <string>
#include <variant>

#include "settings/key_value_store.h"

namespace verbanta {

/// A key-value store held in memory, for tests and for runs that must not persist anything.
class MemoryKeyValueStore : public KeyValueStore {
public:
    using Value = std::variant<std::int32_t, std::string>;

    std::optional<std::int32_t> readInt(std::string_view section,
                                        std::string_view name) const override;
    std::optional<std::string> readString(std::string_view section,
                                          std::string_view name) const override;
    void writeInt(std::string_view section, std::string_view name, std::int32_t value) override;
    void writeString(std::string_view section, std::string_view name,
                     std::string_view value) override;

    /// Every stored value, keyed "Section\Name".
    const std::map<std::string, Value>& values() const { return m_values; }
    bool contains(std::string_view section, std::string_view name) const;

private:
    static std::string key(std::string_view section, std::string_view name);
    std::map<std::string, Value> m_values;
};

}  // namespace verbanta
