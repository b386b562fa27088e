#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace verbanta {

/// The message with its placeholders ("%s", "%d" or "%1") filled in order by the texts; a
/// placeholder inside an inserted text (a path may hold "%s") is not filled again.
std::string fillIn(std::string_view format, std::initializer_list<std::string_view> texts);

}  // namespace verbanta
