#include "model/paragraph_style.h"

#include <utility>

namespace verbanta {

ParagraphStyle::ParagraphStyle()
    : descriptors{{
          {"Name", kName, "", 0},
          {"lang", kLang, "ko-KR", 0},
          {"SAMIType", kSamiType, "CC", 0},
      }},
      pointProperties{{
          {"margin-left", kMarginLeft, "", 8},
          {"margin-right", kMarginRight, "", 8},
          {"margin-bottom", kMarginBottom, "", 2},
          {"margin-top", kMarginTop, "", 2},
          {"font-size", kFontSize, "", 14},
      }},
      stringProperties{{
          {"text-align", kTextAlign, "center", 0},
          {"font-family", kFontFamily, "\xb1\xbc\xb8\xb2, Arial", 0},  // 굴림, Arial
          {"font-weight", kFontWeight, "normal", 0},
          {"color", kColor, "white", 0},
          {"background-color", kBackgroundColor, "black", 0},
      }}
{
}

StyleProperty* ParagraphStyle::find(std::string_view propertyName)
{
    return const_cast<StyleProperty*>(std::as_const(*this).find(propertyName));
}

const StyleProperty* ParagraphStyle::find(std::string_view propertyName) const
{
    for (const StyleProperty& p : descriptors)
        if (p.name == propertyName)
            return &p;
    for (const StyleProperty& p : pointProperties)
        if (p.name == propertyName)
            return &p;
    for (const StyleProperty& p : stringProperties)
        if (p.name == propertyName)
            return &p;
    return nullptr;
}

}  // namespace verbanta
