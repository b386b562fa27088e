// The style sheet reader and the rule setters of the model: how the properties of one rule
// ("P { margin-left:8pt; … }", ".KRCC { Name:…; lang:…; }", "#STDPrn { … }") are taken.
#include <algorithm>

#include "model/sami_model.h"
#include "model/text_format.h"
#include "sami/sami_ascii.h"
#include "sami/sami_reader.h"

namespace verbanta {
namespace {

bool isSelectorByte(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '#';
}

/// Whether the ";" at `at` closes a numeric character reference ("&#231;", "&#xE7;"): a
/// character CP949 lacks, from a UTF-8 or UTF-16 file, is held so and belongs to its value.
bool closesReference(std::string_view rule, std::size_t at)
{
    // A reference is short: only the bytes just before the ";" are searched.
    constexpr std::size_t kLongestReference = 12;
    const std::size_t from = at > kLongestReference ? at - kLongestReference : 0;
    std::size_t amp = rule.substr(from, at - from).rfind("&#");
    if (amp == std::string_view::npos)
        return false;
    amp += from;
    std::string_view digits = rule.substr(amp + 2, at - amp - 2);
    const bool hex = !digits.empty() && (digits[0] == 'x' || digits[0] == 'X');
    if (hex)
        digits.remove_prefix(1);
    return !digits.empty() && std::all_of(digits.begin(), digits.end(), [hex](char c) {
        return (c >= '0' && c <= '9') ||
               (hex && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')));
    });
}

/// The ";" or "}" that ends the declaration starting at `from`, or the end of the rule.
std::size_t declarationEnd(std::string_view rule, std::size_t from)
{
    for (std::size_t i = rule.find_first_of(";}", from); i != std::string_view::npos;
         i = rule.find_first_of(";}", i + 1)) {
        if (rule[i] == '}' || !closesReference(rule, i))
            return i;
    }
    return rule.size();
}

/// Where a property's value starts (just after its ":"), or npos when the rule lacks it. The
/// name must be a whole property name, the text between the rule's "{" or a ";" and the next
/// ":": "color" is not read from inside "background-color", nor from inside another value.
std::size_t findPropertyValue(std::string_view rule, std::string_view name)
{
    const std::size_t open = rule.find('{');
    for (std::size_t start = open == std::string_view::npos ? 0 : open + 1; start < rule.size();) {
        const std::size_t end = declarationEnd(rule, start);
        const std::string_view declaration = rule.substr(start, end - start);
        const std::size_t colon = declaration.find(':');
        if (colon != std::string_view::npos && trimWhiteSpace(declaration.substr(0, colon)) == name)
            return start + colon + 1;
        if (end == rule.size() || rule[end] == '}')
            break;
        start = end + 1;
    }
    return std::string_view::npos;
}

/// Takes one property from rule text: sets its bit and value when the rule has it. The value
/// runs to the next ";" (not one of a character reference), or to the rule's closing "}" when
/// the last property has no ";".
void takeProperty(std::string_view rule, StyleProperty& property, bool pointValued,
                  std::uint32_t& flags)
{
    const std::size_t start = findPropertyValue(rule, property.name);
    if (start == std::string_view::npos)
        return;
    const std::size_t end = declarationEnd(rule, start);
    std::string_view value = trimWhiteSpace(rule.substr(start, end - start));
    flags |= property.bit;
    if (!pointValued) {
        property.value = value;
        return;
    }
    if (value.size() > 1) {
        const std::size_t unit = value.find("pt", 1);
        if (unit != std::string_view::npos)
            value = value.substr(0, unit);
    }
    property.points = sami::parseDecimal(value);
}

void takeCssProperties(std::string_view rule, ParagraphStyle& style)
{
    for (StyleProperty& p : style.pointProperties) takeProperty(rule, p, true, style.flags);
    for (StyleProperty& p : style.stringProperties) takeProperty(rule, p, false, style.flags);
}

/// The rule text before "{" without trailing white space: the selector as written.
std::string_view selectorOf(std::string_view rule)
{
    std::string_view head = rule.substr(0, std::min(rule.find('{'), rule.size()));
    while (!head.empty() && sami::isMarkupSpace(head.back())) head.remove_suffix(1);
    return head;
}

}  // namespace

void SamiModel::SetParagraphRule(std::string_view ruleText)
{
    paragraphStyle.flags = 0;
    takeCssProperties(ruleText, paragraphStyle);
}

void SamiModel::SetIdStyleRule(std::string_view selector, std::string_view ruleText)
{
    int index = FindStyle(selector);
    if (index < 0)
        index = AddIdStyle(selector);
    ParagraphStyle& style = idStyles[static_cast<std::size_t>(index)];
    style.flags = 0;
    takeCssProperties(ruleText, style);
    style.selector = selectorOf(ruleText);
    takeProperty(ruleText, style.descriptors[0], false, style.flags);
}

void SamiModel::SetClassRule(std::string_view selector, std::string_view ruleText)
{
    int index = FindStyle(selector);
    if (index < 0)
        index = AddLanguageClass(selector);
    LanguageInfo& language = languages[static_cast<std::size_t>(index)];
    language.flags = 0;
    takeCssProperties(ruleText, language);
    language.selector = selectorOf(ruleText);
    for (StyleProperty& d : language.descriptors) takeProperty(ruleText, d, false, language.flags);
}

void ParseStyleSheet(SamiModel& model, std::string_view text)
{
    std::size_t from = 0;
    for (;;) {
        const std::size_t open = text.find('{', from);
        if (open == std::string_view::npos)
            return;
        const std::size_t close = text.find('}', open);
        if (close == std::string_view::npos)
            return;  // an unclosed rule ends the style sheet
        std::size_t end = open;
        while (end > 0 && sami::isMarkupSpace(text[end - 1])) --end;
        std::size_t begin = end;
        while (begin > 0 && isSelectorByte(text[begin - 1])) --begin;
        const std::string_view selector = text.substr(begin, end - begin);
        const std::string_view rule = text.substr(begin, close + 1 - begin);
        // Only a whole selector counts: "ptENCC" at the end of ".ENC//ptENCC" is no P rule.
        const bool whole =
            begin == 0 || sami::isMarkupSpace(text[begin - 1]) || text[begin - 1] == '}';
        if (!selector.empty() && whole) {
            if (selector[0] == 'P' || selector[0] == 'p')
                model.SetParagraphRule(rule);
            else if (selector[0] == '.' && selector.size() > 1)
                model.SetClassRule(selector, rule);  // "." alone names no class a P can take
            else if (selector[0] == '#')
                model.SetIdStyleRule(selector, rule);
        }
        from = close;
    }
}

}  // namespace verbanta
