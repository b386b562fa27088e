#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/sync_entry.h"

namespace verbanta {

// Conversions between a caption's stored form (CP949 SAMI markup, times in milliseconds) and
// what the user sees or types. Every text is CP949 bytes: a byte with its high bit set starts a
// two-byte character.

/// "↘" (U+2198) in CP949: the line break mark of the display form.
inline constexpr std::string_view kLineBreakMark = "\xa2\xd9";  // ↘

/// The list display keeps at most this many bytes of a caption.
inline constexpr std::size_t kListDisplayBytes = 256;

/// A tag longer than this is not a tag: its bytes are kept as text.
inline constexpr std::size_t kTagBufferBytes = 128;

/// Walks SAMI markup as `StripTags` reads it, calling onText(run) for each run of text and
/// onTag(tag) for each whole tag from "<" to ">", in order. A second "<" or a tag of 128 bytes
/// gives the part buffered so far up as text; a tag still open at the end is dropped.
template <class OnText, class OnTag>
void forEachMarkupPiece(std::string_view text, OnText&& onText, OnTag&& onTag)
{
    constexpr std::size_t kNone = std::string_view::npos;
    std::size_t runBegin = 0;
    std::size_t tagBegin = kNone;
    const auto textUpTo = [&](std::size_t end) {
        if (end > runBegin)
            onText(text.substr(runBegin, end - runBegin));
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (tagBegin != kNone && i - tagBegin >= kTagBufferBytes)
            tagBegin = kNone;  // its bytes stay in the text run
        if (tagBegin == kNone) {
            if (text[i] == '<') {
                textUpTo(i);
                tagBegin = runBegin = i;
            }
        } else if (text[i] == '>') {
            onTag(text.substr(tagBegin, i + 1 - tagBegin));
            tagBegin = kNone;
            runBegin = i + 1;
        } else if (text[i] == '<') {
            textUpTo(i);
            tagBegin = runBegin = i;
        }
    }
    if (tagBegin == kNone)
        textUpTo(text.size());
}

/// A time as the user sees it: "h:mm:ss.mmm" (hours unlimited, "-" before a negative time) when
/// `displayAsTime` is on, else the signed decimal milliseconds.
std::string FormatTime(std::int32_t ms, bool displayAsTime);

/// The text without tags; "<br>" (any case, written exactly so) becomes "↘" in display mode and
/// "\r\n" in plain mode. Display mode turns CR and tab into a space and drops LF; plain mode
/// drops CR and LF and keeps tabs.
std::string StripTags(std::string_view text, bool display);

/// The raw text for the list: "\r\n" becomes "↘", a tab a space, cut to 256 bytes without
/// splitting a two-byte character.
std::string ListDisplayText(std::string_view text);

/// True when the text, trimmed and ignoring case, is empty, "&nbsp;", "&nbsp" or "<br>".
bool IsEndSyncText(std::string_view text);

/// The number of characters, a two-byte character counting one.
int CountCharacters(std::string_view text);

/// The entry's text for plain-text export: tags stripped (plain mode), entities decoded, trimmed.
std::string PlainText(const SyncEntry& entry);

/// Replaces every known "&name;" of at most 10 bytes by its replacement from the entity table;
/// unknown names stay as written.
void DecodeEntities(std::string& text);

/// One caption as it travels through the clipboard and the insert commands:
/// "<SYNC Start=t><P Class=c>\r\n" + trimmed text + "\r\n".
std::string FormatSyncBlock(std::string_view text, std::string_view className, std::int32_t timeMs);

/// The offset of the last non-overlapping occurrence of `pattern`, counted from the start, that
/// begins before byte `limit`; −1 when there is none or the pattern is empty.
std::ptrdiff_t FindLast(std::string_view text, std::string_view pattern, std::size_t limit);

/// The file name with its extension: what follows the last "/" or "\".
std::string FileNameOf(std::string_view path);

/// The text without ASCII white space (space, tab, CR, LF, VT, FF) at either end.
std::string_view trimWhiteSpace(std::string_view text);

/// At most `maxBytes` bytes of the text, shortened by one more byte rather than ending in the
/// first half of a two-byte character.
std::string_view truncateText(std::string_view text, std::size_t maxBytes);

}  // namespace verbanta
