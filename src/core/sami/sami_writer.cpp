#include "sami/sami_writer.h"

#include <algorithm>
#include <limits>

#include "model/sami_model.h"
#include "model/text_format.h"
#include "sami/sami_ascii.h"
#include "sami/sami_file.h"
#include "sami/sami_reader.h"
#include "settings/app_settings.h"

namespace verbanta {
namespace {

constexpr const char* kLineEnd = "\r\n";

bool isSingleLanguage(const SamiModel& model, int languageIndex)
{
    return languageIndex >= 0 && languageIndex < model.listCount;
}

void appendProperty(std::string& body, int& count, const std::string& name,
                    const std::string& value)
{
    body += ' ';
    body += name;
    body += ':';
    body += value;
    body += ';';
    if (++count % 3 == 0)
        body += "\r\n   ";
}

/// The automatic end sync after a list's last caption: the caption's time plus its letter
/// count times `OneLetterSync`, kept within the 32-bit range.
SyncEntry automaticEndSync(const SyncEntry& last, const AppSettings& settings)
{
    SyncEntry end = last;
    end.isEndSync = 1;
    end.text = "&nbsp;";
    const std::int64_t ms =
        std::int64_t{last.startMs} +
        std::int64_t{CountCharacters(StripTags(last.text, true))} * settings.OneLetterSync;
    end.startMs = static_cast<std::int32_t>(std::clamp<std::int64_t>(
        ms, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
    return end;
}

void appendLanguageBlock(std::string& out, const SamiModel& model, int languageIndex, bool alone)
{
    const int slot = model.slotOrder[static_cast<std::size_t>(languageIndex)];
    if (slot < 0 || slot >= SamiModel::kSlotCount)
        return;
    const SyncList& list = model.slotList(slot);
    // A file with more than ten classes keeps the further ones in the tenth list, each caption
    // with its own class. Saved alone, that list is one language and takes the list's class.
    const std::string& listClass = model.classNames[static_cast<std::size_t>(languageIndex)];
    const auto append = [&](const SyncEntry& e) {
        if (alone && !sami::equalsIgnoringCase(e.className, listClass)) {
            SyncEntry renamed = e;
            renamed.className = listClass;
            appendSamiEntry(out, renamed);
        } else {
            appendSamiEntry(out, e);
        }
    };
    list.forEach(append);
    if (list.empty())
        return;
    const SyncEntry& last = list[list.count() - 1];
    if (!last.isComment && !last.isEndSync)
        append(automaticEndSync(last, model.settings()));
}

}  // namespace

std::string FormatStyle(const ParagraphStyle& style, StyleKind kind)
{
    int count = 0;
    std::string body;
    for (const StyleProperty& p : style.pointProperties)
        if (style.has(p.bit))
            appendProperty(body, count, p.name, std::to_string(p.points) + "pt");
    for (const StyleProperty& p : style.stringProperties)
        if (style.has(p.bit))
            appendProperty(body, count, p.name, p.value);
    body += " }\r\n";

    // The descriptors come first and are not counted for the line breaks.
    if (kind == StyleKind::Paragraph)
        return "P {" + body;
    std::string rule = style.selector + " { Name:" + style.name() + ";";
    if (kind == StyleKind::Class) {
        if (style.has(ParagraphStyle::kLang))
            rule += " lang:" + style.lang() + ";";
        if (style.has(ParagraphStyle::kSamiType))
            rule += " SAMIType:" + style.samiType() + ";";
    }
    return rule + body;
}

void appendSamiHeader(std::string& out, const SamiModel& model, int languageIndex)
{
    out += "<SAMI>\r\n<HEAD>\r\n<TITLE>";
    out += model.title;
    out += "</TITLE>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\n";
    out += FormatStyle(model.paragraphStyle, StyleKind::Paragraph);
    if (isSingleLanguage(model, languageIndex)) {
        if (static_cast<std::size_t>(languageIndex) < model.languages.size())
            out += FormatStyle(model.languages[static_cast<std::size_t>(languageIndex)],
                               StyleKind::Class);
    } else {
        for (const LanguageInfo& language : model.languages)
            out += FormatStyle(language, StyleKind::Class);
    }
    for (const ParagraphStyle& style : model.idStyles) out += FormatStyle(style, StyleKind::Id);
    out += "-->\r\n</STYLE>\r\n</HEAD>\r\n<BODY>\r\n";
}

void appendSamiEntry(std::string& out, const SyncEntry& entry)
{
    if (entry.isComment) {
        // Any ">" ends a comment when it is read, and the rest of a typed comment would join
        // the caption before it; a comment that was read never holds one.
        out += "<!--\r\n";
        for (std::size_t from = 0; from < entry.text.size();) {
            const std::size_t close = std::min(entry.text.find('>', from), entry.text.size());
            out.append(entry.text, from, close - from);
            if (close < entry.text.size())
                out += "&gt;";
            from = close + 1;
        }
        out += "\r\n-->\r\n";
        return;
    }
    if (entry.flags & SyncEntry::kWriteStart)
        out += "<SYNC Start=" + std::to_string(entry.startMs) + ">";
    out += '<';
    if (entry.flags & SyncEntry::kWriteClass)
        out += "P Class=" + entry.className;
    if ((entry.flags & SyncEntry::kWriteId) && !entry.id.empty())
        out += " ID=" + entry.id;
    out += '>';
    if (entry.isEndSync) {
        out += "&nbsp;";
    } else {
        out += kLineEnd;
        if (entry.text.find('<') == std::string::npos) {
            out += entry.text;
        } else {
            // Text typed, pasted or imported may hold markup that would swallow the next sync
            // once written; the reader makes text it reads safe in the same way, so a file it
            // read is written back unchanged.
            std::string safe = entry.text;
            neutraliseJoinedMarkup(safe);
            out += safe;
        }
    }
    out += kLineEnd;
}

void appendSamiFooter(std::string& out)
{
    out += "</BODY>\r\n</SAMI>";
}

std::string writeSami(const SamiModel& model, int languageIndex)
{
    std::string out;
    appendSamiHeader(out, model, languageIndex);
    if (isSingleLanguage(model, languageIndex)) {
        appendLanguageBlock(out, model, languageIndex, true);
    } else {
        const int count = std::min(model.listCount, SamiModel::kSlotCount);
        for (int i = 0; i < count; ++i) {
            appendLanguageBlock(out, model, i, false);
            if (i + 1 < count)
                out += kLineEnd;  // an empty line between language blocks
        }
    }
    appendSamiFooter(out);
    return out;
}

std::string writePlainText(const SamiModel& model)
{
    std::string out;
    bool first = true;
    model.list().forEach([&](const SyncEntry& e) {
        if (e.isEndSync || e.isComment)
            return;
        if (!first)
            out += "\r\n\r\n";
        first = false;
        out += PlainText(e);
    });
    return out;
}

// The model is never changed by writing: the automatic end syncs exist only in the output.
// Both write in the encoding the document was opened in.
bool SamiModel::SaveFile(const std::string& path, int languageIndex)
{
    return sami::saveSamiFile(*this, path, languageIndex, fileEncoding);
}

bool SamiModel::ExportPlainText(const std::string& path)
{
    return sami::exportPlainTextFile(*this, path, fileEncoding);
}

std::string SamiModel::BuildPreviewHtml(const SyncEntry& entry) const
{
    return "<HTML><HEAD><STYLE TYPE=\"text/css\"><!--" +
           FormatStyle(paragraphStyle, StyleKind::Paragraph) + "--></STYLE></HEAD><P>" +
           entry.text + "</P></HTML>";
}

}  // namespace verbanta
