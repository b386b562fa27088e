#pragma once

#include <QString>

#include <span>
#include <string_view>

class QComboBox;

namespace verbanta::app {

/// One entry of a style list: the Korean label shown and the English value stored.
struct StyleChoice {
    const char* label;
    const char* value;
};

inline constexpr StyleChoice kWeightChoices[] = {{"보통", "normal"}, {"굵게", "bold"}};
inline constexpr StyleChoice kAlignChoices[] = {
    {"중앙", "center"}, {"왼쪽", "left"}, {"오른쪽", "right"}};

/// The lists of style values shared by the paragraph format dialog and the batch format page.
class StyleChoiceLists {
public:
    /// Fills a list with the labels; each entry carries its stored value as item data.
    static void fill(QComboBox& list, std::span<const StyleChoice> choices);
    /// The entry whose stored value equals the text (case ignored), or -1.
    static int indexOf(std::span<const StyleChoice> choices, std::string_view value);
    /// The stored value of the selected entry; empty with none selected.
    static QString selectedValue(const QComboBox& list);

    /// Fills a list with the installed font families, in the font database's order, and
    /// selects the one equal to `wanted` (case ignored). A wanted family that is not installed
    /// is put first and selected, so that the list shows the style's own value and an
    /// unrelated choice elsewhere never replaces it with some other family; an empty `wanted`
    /// puts an empty entry first when `allowEmpty` is set, else selects the first family.
    static void fillFontFamilies(QComboBox& list, const QString& wanted, bool allowEmpty);
};

}  // namespace verbanta::app
