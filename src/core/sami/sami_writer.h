#pragma once

#include <string>

#include "model/paragraph_style.h"
#include "model/sync_entry.h"

namespace verbanta {

class SamiModel;

/// Which kind of rule `FormatStyle` writes: the P rule, an ID style or a language class.
enum class StyleKind { Paragraph, Id, Class };

/// The text of one style rule, e.g. ".KRCC { Name:한국어; lang:ko-KR; SAMIType:CC; }\r\n";
/// a line break follows every third CSS property.
std::string FormatStyle(const ParagraphStyle& style, StyleKind kind);

/// Appends the header, from "<SAMI>" to "<BODY>", with every language class (index -1) or only
/// the class of one language.
void appendSamiHeader(std::string& out, const SamiModel& model, int languageIndex);

/// Appends one entry: a comment block, or "<SYNC Start=…><P Class=…>" and its text.
void appendSamiEntry(std::string& out, const SyncEntry& entry);

/// Appends "</BODY>\r\n</SAMI>", without a line end after it.
void appendSamiFooter(std::string& out);

/// The whole model (language index -1) or one language as SAMI bytes, exactly as `SaveFile`
/// writes them. An index outside the languages writes every language.
std::string writeSami(const SamiModel& model, int languageIndex);

/// The captions of the current list as plain text, as `ExportPlainText` writes them.
std::string writePlainText(const SamiModel& model);

}  // namespace verbanta
