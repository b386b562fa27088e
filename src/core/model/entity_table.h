#pragma once

#include <cstddef>
#include <span>
#include <string_view>

namespace verbanta {

/// One character entity: its name with "&" and ";" and its CP949 replacement bytes.
struct EntityRow {
    std::string_view name;
    std::string_view replacement;
};

/// The number of entities the plain-text conversion knows.
inline constexpr std::size_t kEntityCount = 99;

/// All entities in table order: the markup ones, the Latin-1 symbols, then the Latin-1 letters.
std::span<const EntityRow, kEntityCount> entityTable();

/// The row whose name equals `name` exactly (case-sensitive), or nullptr.
const EntityRow* findEntity(std::string_view name);

}  // namespace verbanta
