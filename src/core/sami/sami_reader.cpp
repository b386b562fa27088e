#include "sami/sami_reader.h"

#include <algorithm>
#include <cstring>

#include "model/text_format.h"
#include "platform/messenger.h"
#include "sami/sami_ascii.h"

namespace verbanta {

using sami::equalsIgnoringCase;
using sami::isMarkupSpace;
using sami::upperAscii;

const char* const kTooManyLanguagesMessage =
    "이 파일은 10개가 넘는 언어를 사용합니다.\n"
    "11번째 언어부터의 자막은 10번째 언어의 목록에 넣었습니다.";

namespace {

/// A class or ID value as the writer can give it back: a quote left open by the ">" is closed
/// (it protected the white space in the value) and a "/" before the ">" is dropped, since
/// written again they would run into the next attribute or close the tag.
std::string cleanNameValue(std::string value)
{
    for (const char quote : {'"', '\''}) {
        if (std::count(value.begin(), value.end(), quote) % 2 != 0)
            value += quote;
    }
    while (!value.empty() && value.back() == '/') value.pop_back();
    return value;
}

/// A class as HTML means it: 'ENCC', "ENCC" and " ENCC " in quotes are ENCC. A value that
/// needs its quotes to be written back (white space inside) keeps them.
std::string unquotedClass(std::string value)
{
    value = cleanNameValue(std::move(value));
    if (value.size() < 2 || (value.front() != '"' && value.front() != '\'') ||
        value.back() != value.front())
        return value;
    std::string_view inner = trimWhiteSpace(std::string_view(value).substr(1, value.size() - 2));
    // Unquoted, a "/" before the ">" would be dropped on the next load.
    const bool plain = !inner.empty() && inner.back() != '/' &&
                       std::none_of(inner.begin(), inner.end(), [](char c) {
                           return sami::isMarkupSpace(c) || c == '"' || c == '\'' || c == '=';
                       });
    return plain || inner.empty() ? std::string(inner) : value;
}

bool isStructuralTag(std::string_view upperName)
{
    return upperName == "SYNC" || upperName == "P" || upperName == "STYLE" || upperName == "TITLE";
}

bool isStructuralEndTag(std::string_view name)
{
    return equalsIgnoringCase(name, "BODY") || equalsIgnoringCase(name, "SAMI") ||
           equalsIgnoringCase(name, "TITLE");
}

}  // namespace

void neutraliseJoinedMarkup(std::string& text)
{
    // Each "&lt;" can let an earlier unclosed tag reach a ">", so passes repeat until none
    // changes anything; every pass that does removes a "<".
    for (bool changed = true; changed;) {
        changed = false;
        for (std::size_t i = text.find('<'); i != std::string::npos; i = text.find('<', i + 1)) {
            if (text.compare(i, 4, "<!--") == 0) {
                text.replace(i, 1, "&lt;");
                changed = true;
                continue;
            }
            if (text.compare(i, 2, "</") == 0) {
                // An end tag runs to its ">" whatever lies between, as the reader reads it; one
                // left open would run on into the next sync once written. The end of BODY,
                // SAMI or TITLE would end the caption there and drop the rest of its text.
                const std::size_t close = text.find('>', i);
                if (close == std::string::npos) {
                    // No ">" follows: every later end tag is left open as well.
                    text.replace(i, 1, "&lt;");
                    continue;
                }
                if (isStructuralEndTag(std::string_view(text).substr(i + 2, close - i - 2))) {
                    text.replace(i, 1, "&lt;");
                    changed = true;
                    continue;
                }
                i = close;
                continue;
            }
            std::size_t nameEnd = i + 1;
            while (nameEnd < text.size() && !isMarkupSpace(text[nameEnd]) && text[nameEnd] != '>' &&
                   text[nameEnd] != '<')
                ++nameEnd;
            const std::string_view name = std::string_view(text).substr(i + 1, nameEnd - i - 1);
            if (!isStructuralTag(upperAscii(name)))
                continue;
            const std::size_t stop = text.find_first_of("<>", nameEnd);
            if (stop != std::string::npos && text[stop] == '>') {
                text.replace(i, 1, "&lt;");
                changed = true;
            }
        }
    }
}

void neutraliseTitle(std::string& title)
{
    // A title drops every end tag when it is read; one pieced together around a tag that the
    // scanner took out ("<" + "<P>" + "/b>") would be lost on the next load.
    for (std::size_t i = title.find("</"); i != std::string::npos; i = title.find("</", i + 4))
        title.replace(i, 1, "&lt;");
    neutraliseJoinedMarkup(title);
}

SamiReader::SamiReader(SamiModel& model, bool recordUndo)
    : m_model(model), m_state(model.parseState())
{
    m_state.recordUndo = recordUndo;
    m_state.paragraphCounter = 0;
    m_model.InitEntry(m_current);
}

bool SamiReader::startsWith(std::size_t i, std::string_view marker) const
{
    return i <= m_text.size() && m_text.compare(i, marker.size(), marker) == 0;
}

bool SamiReader::parse(std::string_view text, bool merge)
{
    // The first zero byte ends the text, as a file read into a zero-terminated buffer does.
    if (const void* zero = std::memchr(text.data(), 0, text.size()))
        text =
            text.substr(0, static_cast<std::size_t>(static_cast<const char*>(zero) - text.data()));
    m_text = text;

    UndoJournal& journal = m_model.journal();
    const bool recordUndo = m_state.recordUndo;
    // The cap must never cut the records of one paste apart.
    UndoActionScope action(journal);
    const std::int64_t pushesBefore = journal.pushCount();

    std::size_t i = 0;
    while (i < m_text.size()) {
        if (m_text[i] != '<') {
            const std::size_t next = std::min(m_text.find('<', i), m_text.size());
            m_accumulator.append(m_text.substr(i, next - i));
            i = next;
        } else if (byteAt(i + 1) == '/') {
            flush();
            i = readEndTag(i + 2);
        } else if (byteAt(i + 1) == '!' && startsWith(i, "<!--")) {
            flush();
            i = readComment(i + 4);
        } else {
            flush();
            i = readTag(i + 1);
        }
    }
    flush();
    if (!m_current.text.empty()) {
        applyPending(m_current);
        commitCurrent();
    }
    placeQueuedComments();
    placeHeldComments();

    const std::int64_t pushed = journal.pushCount() - pushesBefore;
    if (recordUndo && merge && pushed > 1) {
        // The records of this parse are the newest ones and their serials run consecutively.
        const JournalPosition last = journal.lastPosition();
        journal.GroupUndo(last - (pushed - 1), last);
    }
    neutraliseTitle(m_model.title);
    m_state.recordUndo = false;
    return true;
}

// ---- tags -------------------------------------------------------------------------------

std::size_t SamiReader::readTag(std::size_t nameStart)
{
    const std::size_t tagStart = nameStart - 1;
    std::size_t i = nameStart;
    // The name runs from nameStart to the first white space, ">" or "<".
    std::size_t nameEnd = std::string_view::npos;
    const auto nameIs = [&](std::string_view upper) {
        return equalsIgnoringCase(m_text.substr(nameStart, std::min(nameEnd, i) - nameStart),
                                  upper);
    };
    for (;;) {
        const char c = byteAt(i);
        if (c == '\0') {
            // The end of the text abandons the tag as a "<" does: a caption typed as "a < b"
            // reaches the reader as a block that ends with its text and must keep it.
            flushText(m_text.substr(tagStart));
            return m_text.size();
        }
        if (isMarkupSpace(c)) {
            nameEnd = i;
            TagMode mode = TagMode::Other;
            if (nameIs("SYNC")) {
                mode = TagMode::Sync;
                m_paragraphsSinceSync = 0;
            } else if (nameIs("P")) {
                mode = TagMode::Paragraph;
            }
            // STYLE and TITLE take their state at the ">", so that an unclosed one is text.
            i = readAttributes(i + 1, mode);
            continue;  // normally at the tag's ">"
        }
        if (c == '>') {
            if (nameIs("SYNC")) {
                m_paragraphsSinceSync = 0;
                m_scanState = kInSync;
            } else if (nameIs("P")) {
                // A second P in one SYNC ends the paragraph before it.
                if (m_paragraphsSinceSync > 0 && m_scanState == kInSync)
                    commitCurrent();
                ++m_paragraphsSinceSync;
            } else if (nameIs("STYLE")) {
                m_scanState = kInStyle;
            } else if (nameIs("TITLE")) {
                m_scanState = kInTitle;
            } else {
                flushText(m_text.substr(tagStart, i + 1 - tagStart));
            }
            return i + 1;
        }
        if (c == '<') {
            // A tag that is never closed is text; the new "<" starts the next tag.
            flushText(m_text.substr(tagStart, i - tagStart));
            return i;
        }
        ++i;
    }
}

std::size_t SamiReader::readEndTag(std::size_t nameStart)
{
    const std::size_t close = m_text.find('>', nameStart);
    if (close == std::string_view::npos) {
        // Never closed, it is no end tag: in a caption its bytes are text like any other.
        if (m_scanState == kInSync)
            flushText(m_text.substr(nameStart - 2));
        return m_text.size();
    }
    const std::string_view name = m_text.substr(nameStart, close - nameStart);
    if (equalsIgnoringCase(name, "TITLE")) {
        m_scanState = kOutside;
    } else if (equalsIgnoringCase(name, "BODY") || equalsIgnoringCase(name, "SAMI")) {
        if (m_scanState == kInSync && !m_current.text.empty()) {
            applyPending(m_current);
            commitCurrent();
        }
        placeQueuedComments();
        m_scanState = kOutside;
    } else if (m_scanState == kInSync) {
        flushText(m_text.substr(nameStart - 2, close + 1 - (nameStart - 2)));
    }
    return close + 1;
}

std::size_t SamiReader::readComment(std::size_t bodyStart)
{
    for (std::size_t i = bodyStart; i < m_text.size(); ++i) {
        std::size_t terminator = 0;
        if (startsWith(i, "-->"))
            terminator = 3;
        else if (startsWith(i, "->"))
            terminator = 2;
        else if (m_text[i] == '>')
            terminator = 1;
        if (terminator == 0)
            continue;
        const std::string_view body = m_text.substr(bodyStart, i - bodyStart);
        if (m_scanState == kInStyle) {
            ParseStyleSheet(m_model, body);
            m_scanState = kOutside;
        } else {
            SyncEntry comment;
            m_model.InitEntry(comment);
            comment.isComment = 1;
            comment.text = trimWhiteSpace(body);
            // Inside a SYNC the comment came after the caption being read: it waits for that
            // caption, so that neither loses its place.
            if (m_scanState == kInSync)
                m_queuedComments.push_back(std::move(comment));
            else
                placeComment(std::move(comment));
        }
        return i + terminator;
    }
    return m_text.size();  // a comment the text ends in is dropped
}

// ---- attributes -------------------------------------------------------------------------

std::size_t SamiReader::readAttributes(std::size_t start, TagMode mode)
{
    // The attributes take effect only when the tag is closed: a tag that is never closed is
    // caption text and nothing else, or reading the saved text again would cut the caption.
    std::vector<std::pair<std::string, std::string>>& applied = m_applied;
    applied.clear();
    const std::size_t end = scanAttributes(start, applied);
    if (end >= m_text.size() || m_text[end] != '>')
        return end;
    if (m_state.paragraphCounter > 0)
        applyPending(m_current);
    if (mode == TagMode::Sync) {
        if (m_scanState == kInSync)
            commitCurrent();  // a new SYNC ends the previous one
        m_state.paragraphCounter = 0;
    } else if (mode == TagMode::Paragraph) {
        ++m_state.paragraphCounter;
    }
    for (const auto& [name, value] : applied) applyAttribute(mode, name, value);
    return end;
}

std::size_t SamiReader::scanAttributes(std::size_t start,
                                       std::vector<std::pair<std::string, std::string>>& applied)
{
    const auto apply = [&applied](const std::string& name, const std::string& value) {
        applied.emplace_back(name, value);
    };
    std::string name;
    std::string value;
    bool inSingle = false;
    bool inDouble = false;
    bool readingName = false;
    bool readingValue = false;
    bool valueExpected = false;
    for (std::size_t i = start;; ++i) {
        const char c = byteAt(i);
        const bool quoted = inSingle || inDouble;
        if (c == '\0')
            return m_text.size();
        if (isMarkupSpace(c)) {
            if (quoted) {
                if (readingName)
                    name += c;
                else if (readingValue)
                    value += c;
            } else if (readingName) {
                readingName = false;
            } else if (readingValue) {
                readingValue = false;
                apply(name, value);
            }
        } else if (static_cast<unsigned char>(c) >= 0x80) {
            // Names and values keep only ASCII bytes.
            if (readingValue) {
                readingValue = false;
                apply(name, value);
            }
        } else if (c == '/' && byteAt(i + 1) == '>') {
            apply(name, value);
            return i + 1;
        } else if (c == '>') {
            apply(name, value);
            return i;
        } else if (c == '<') {
            return i;  // abandoned: the tag reader keeps its bytes as text
        } else if (c == '=' && !quoted) {
            readingName = false;
            readingValue = false;
            valueExpected = true;
        } else {
            if (c == '\'')
                inSingle = !inSingle;
            else if (c == '"')
                inDouble = !inDouble;
            if (readingName) {
                name += c;
            } else if (readingValue) {
                value += c;
            } else if (valueExpected) {
                value.assign(1, c);
                readingValue = true;
                valueExpected = false;
            } else {
                name.assign(1, c);  // a name that got no "=" is dropped
                value.clear();
                readingName = true;
            }
        }
    }
}

void SamiReader::applyAttribute(TagMode mode, const std::string& name, const std::string& value)
{
    if (name.empty())
        return;
    // Attribute names are HTML's: "start", "START" and "Start" are one name.
    if (mode == TagMode::Sync && equalsIgnoringCase(name, "START")) {
        std::string_view v = value;
        const auto strip = [](char c) { return c == '"' || c == '\'' || c == '\t' || c == ' '; };
        while (!v.empty() && strip(v.front())) v.remove_prefix(1);
        while (!v.empty() && strip(v.back())) v.remove_suffix(1);
        const std::int32_t ms = sami::parseDecimal(v);
        m_current.startMs = ms;
        m_model.InitEntry(m_state.pending);
        m_state.pending.startMs = ms;
    } else if (mode == TagMode::Paragraph && equalsIgnoringCase(name, "CLASS")) {
        std::string cls = unquotedClass(value);
        // The class is also a selector in the saved style sheet, where a brace would let part
        // of it read as a rule of its own: "a}P" would empty the P rule on the next load.
        std::replace_if(
            cls.begin(), cls.end(), [](char c) { return c == '{' || c == '}'; }, '_');
        // An empty class names no language, and written back before an ID ("Class= ID=x") it
        // would read as the class "x": the paragraph keeps the class it has.
        if (!cls.empty())
            (m_state.paragraphCounter == 0 ? m_current : m_state.pending).className = cls;
    } else if (mode == TagMode::Paragraph && equalsIgnoringCase(name, "ID")) {
        (m_state.paragraphCounter == 0 ? m_current : m_state.pending).id = cleanNameValue(value);
    }
}

// ---- text and commits ---------------------------------------------------------------------

void SamiReader::flush()
{
    if (m_accumulator.empty())
        return;
    flushText(m_accumulator);
    m_accumulator.clear();
}

void SamiReader::flushText(std::string_view bytes)
{
    if (m_scanState == kInTitle)
        m_model.title += bytes;
    else if (m_scanState == kInSync)
        m_current.text += bytes;
}

void SamiReader::applyPending(SyncEntry& entry) const
{
    if (m_state.paragraphCounter <= 0)
        return;
    entry.startMs = m_state.pending.startMs;
    entry.className = m_state.pending.className;
    entry.id = m_state.pending.id;
}

void SamiReader::commitCurrent()
{
    // The caption takes a copy of its trimmed text in one allocation of its size; the buffer
    // that grew while it was read serves the next caption, so a large file is read without a
    // reallocation for every tag of every caption.
    std::string buffer = std::move(m_current.text);
    SyncEntry entry = std::move(m_current);
    entry.text.assign(trimWhiteSpace(buffer));
    m_model.InitEntry(m_current);
    buffer.clear();
    m_current.text = std::move(buffer);
    commitCaption(std::move(entry));
}

int SamiReader::languageFor(const std::string& className)
{
    for (int b = 0; b < m_model.listCount; ++b)
        if (equalsIgnoringCase(m_model.classNames[static_cast<std::size_t>(b)], className))
            return b;
    if (m_model.listCount >= SamiModel::kSlotCount) {
        // Only ten lists exist: further classes share the tenth.
        if (!m_overflowReported) {
            m_overflowReported = true;
            m_model.messenger().showMessage(kTooManyLanguagesMessage, MessageIcon::Warning);
        }
        return SamiModel::kSlotCount - 1;
    }
    const int b = m_model.listCount++;
    const auto at = static_cast<std::size_t>(b);
    m_model.classNames[at] = className;
    m_state.foundClasses[at] = className;
    m_model.slotOrder[at] = b;
    m_state.insertAt[at] = nullptr;
    return b;
}

void SamiReader::commitCaption(SyncEntry entry)
{
    // Trimmed in place: every caption read from a file has a line end on either side.
    const std::string_view trimmed = trimWhiteSpace(entry.text);
    const auto begin = static_cast<std::size_t>(trimmed.data() - entry.text.data());
    entry.text.erase(begin + trimmed.size());
    entry.text.erase(0, begin);
    neutraliseJoinedMarkup(entry.text);
    entry.isEndSync = IsEndSyncText(entry.text) ? 1 : 0;
    const int b = languageFor(entry.className);
    placeHeldComments();
    insertInto(m_model.slotOrder[static_cast<std::size_t>(b)], std::move(entry));
    m_lastLanguage = b;
    placeQueuedComments();
}

void SamiReader::placeComment(SyncEntry comment)
{
    if (m_lastLanguage < 0) {
        m_heldComments.push_back(std::move(comment));
        return;
    }
    insertInto(m_model.slotOrder[static_cast<std::size_t>(m_lastLanguage)], std::move(comment));
}

void SamiReader::placeQueuedComments()
{
    std::vector<SyncEntry> queued = std::move(m_queuedComments);
    m_queuedComments.clear();
    for (SyncEntry& c : queued) placeComment(std::move(c));
}

void SamiReader::placeHeldComments()
{
    for (SyncEntry& c : m_heldComments) insertInto(m_model.GetCurrentSlot(), std::move(c));
    m_heldComments.clear();
}

void SamiReader::insertInto(int slot, SyncEntry entry)
{
    Position& at = m_state.insertAt[static_cast<std::size_t>(slot)];
    at = m_model.insertAfterInSlot(slot, at, std::move(entry), m_state.recordUndo);
}

bool ParseInto(SamiModel& model, std::string_view text, bool recordUndo, bool merge)
{
    SamiReader reader(model, recordUndo);
    return reader.parse(text, merge);
}

}  // namespace verbanta
