#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace verbanta {

/// The byte encodings a text file can arrive in; the model itself always holds CP949.
enum class TextEncoding { Cp949, Utf8, Utf8Bom, Utf16Le, Utf16Be };

/// "cp949", "utf-8", "utf-8-bom", "utf-16le" or "utf-16be".
const char* encodingName(TextEncoding encoding);

/// The encoding named as encodingName() names it (ASCII case ignored), or nothing.
std::optional<TextEncoding> encodingFromName(std::string_view name);

/// Guesses the encoding of a whole file. A byte-order mark decides; otherwise UTF-16 is known
/// by its zero bytes, and a text that is well-formed UTF-8 throughout with at least one
/// multi-byte sequence is UTF-8. Everything else, pure ASCII included, is CP949.
TextEncoding detectEncoding(std::string_view bytes);

/// Converts file bytes to CP949 for the model, dropping the byte-order mark of Utf8Bom and
/// UTF-16. A character CP949 lacks becomes "&#N;" (decimal); a byte that is not part of
/// well-formed UTF-8 becomes "&#N;" of U+DC00 + the byte, a lone UTF-16 surrogate "&#N;" of
/// itself, an odd final UTF-16 byte "&#65533;"; U+EF80..U+EFFF (see fromCp949) become the raw
/// byte again unless it would pair with the byte after it. CP949 input is returned unchanged.
std::string toCp949(std::string_view bytes, TextEncoding from);

/// Converts CP949 model text to file bytes, with a byte-order mark for Utf8Bom and UTF-16.
/// References to characters CP949 lacks ("&#N;", "&#xH;") become the characters. Surrogate
/// references become the lone UTF-16 unit, or in UTF-8 the malformed bytes, that toCp949 read
/// them from, where that reads back as the same references; otherwise they stay text. A byte
/// CP949 cannot decode becomes U+EF00 + the byte, which toCp949 turns back into the byte.
/// Cp949 returns the bytes unchanged.
std::string fromCp949(std::string_view cp949, TextEncoding to);

/// CP949 model text as UTF-8 for display and JSON: references to characters CP949 lacks are
/// expanded, undecodable bytes become U+FFFD, surrogate references stay literal text.
std::string cp949ToUtf8(std::string_view cp949);

/// Text typed or pasted by the user, or read from settings, as CP949: characters CP949 lacks
/// become "&#N;", bytes that are not UTF-8 become "&#65533;".
std::string utf8ToCp949(std::string_view utf8);

}  // namespace verbanta
