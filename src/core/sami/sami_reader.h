#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/sami_model.h"

namespace verbanta {

/// "이 파일은 10개가 넘는 언어를 사용합니다. …": shown once per parse when a class beyond the
/// ten list slots is met; its captions go to the tenth language's list.
extern const char* const kTooManyLanguagesMessage;

/// The forgiving single-pass SAMI scanner. It fills the model through its insertion positions
/// (`SamiModel::parseState()`); everything that is not TITLE, STYLE, SYNC, P, a comment or the
/// end of BODY/SAMI stays in the caption text verbatim. One reader serves one parse.
class SamiReader {
public:
    SamiReader(SamiModel& model, bool recordUndo);

    /// Scans the text up to its end or its first zero byte; with merge set, the undo records
    /// pushed by this parse become one undo step. Always succeeds.
    bool parse(std::string_view text, bool merge);

private:
    enum class TagMode { Sync, Paragraph, Other };
    enum State { kOutside = 0, kInTitle = 1, kInStyle = 2, kInSync = 3 };

    char byteAt(std::size_t i) const { return i < m_text.size() ? m_text[i] : '\0'; }
    bool startsWith(std::size_t i, std::string_view marker) const;

    std::size_t readTag(std::size_t nameStart);
    std::size_t readEndTag(std::size_t nameStart);
    std::size_t readComment(std::size_t bodyStart);
    std::size_t readAttributes(std::size_t start, TagMode mode);
    /// Scans to the tag's ">" (or an abandoning "<" or the end), collecting the attributes to
    /// apply in order.
    std::size_t scanAttributes(std::size_t start,
                               std::vector<std::pair<std::string, std::string>>& applied);
    void applyAttribute(TagMode mode, const std::string& name, const std::string& value);

    void flush();
    void flushText(std::string_view bytes);
    void applyPending(SyncEntry& entry) const;
    void commitCurrent();
    void commitCaption(SyncEntry entry);
    void placeComment(SyncEntry comment);
    void placeQueuedComments();
    void placeHeldComments();
    int languageFor(const std::string& className);
    void insertInto(int slot, SyncEntry entry);

    SamiModel& m_model;
    SamiModel::ParseState& m_state;
    std::string_view m_text;
    int m_scanState = kOutside;
    std::string m_accumulator;
    SyncEntry m_current;
    int m_paragraphsSinceSync = 0;
    int m_lastLanguage = -1;
    /// Comments met before any caption: they go, in order, to the current list's insertion
    /// position when the first caption is placed (or when the text ends).
    std::vector<SyncEntry> m_heldComments;
    /// Comments met inside a SYNC: they follow the caption being read, once it is committed.
    std::vector<SyncEntry> m_queuedComments;
    bool m_overflowReported = false;
    /// The attributes of the tag being read, kept to spare an allocation per tag.
    std::vector<std::pair<std::string, std::string>> m_applied;
};

/// Text that the scanner pieced together around something it took out (a comment inside a
/// caption, the parts of a title) can form markup that was never written: an unclosed SYNC, P,
/// STYLE or TITLE tag that now meets a ">", or a "<!--". Their "<" becomes "&lt;", so that the
/// saved text reads back as the same text. Unclosed tags that were read as text stay verbatim.
void neutraliseJoinedMarkup(std::string& text);

/// The same for the title, where every end tag is neutralised too: none can be read there.
void neutraliseTitle(std::string& title);

/// Runs the scanner over a text into the model's lists (see `SamiReader`).
bool ParseInto(SamiModel& model, std::string_view text, bool recordUndo, bool merge);

/// Reads the rules of a style sheet ("P {…}", ".KRCC {…}", "#STDPrn {…}") into the model.
void ParseStyleSheet(SamiModel& model, std::string_view text);

}  // namespace verbanta
