#include "settings/memory_key_value_store.h"

namespace verbanta {

std::string MemoryKeyValueStore::key(std::string_view section, std::string_view name)
{
    std::string k(section);
    k += '\\';
    k += name;
    return k;
}

std::optional<std::int32_t> MemoryKeyValueStore::readInt(std::string_view section,
                                                         std::string_view name) const
{
    const auto it = m_values.find(key(section, name));
    if (it == m_values.end())
        return std::nullopt;
    if (const auto* v = std::get_if<std::int32_t>(&it->second))
        return *v;
    return std::nullopt;
}

std::optional<std::string> MemoryKeyValueStore::readString(std::string_view section,
                                                           std::string_view name) const
{
    const auto it = m_values.find(key(section, name));
    if (it == m_values.end())
        return std::nullopt;
    if (const auto* v = std::get_if<std::string>(&it->second))
        return *v;
    return std::to_string(std::get<std::int32_t>(it->second));
}

void MemoryKeyValueStore::writeInt(std::string_view section, std::string_view name,
                                   std::int32_t value)
{
    m_values[key(section, name)] = value;
}

void MemoryKeyValueStore::writeString(std::string_view section, std::string_view name,
                                      std::string_view value)
{
    m_values[key(section, name)] = std::string(value);
}

bool MemoryKeyValueStore::contains(std::string_view section, std::string_view name) const
{
    return m_values.count(key(section, name)) != 0;
}

}  // namespace verbanta
