#include "document/message_text.h"

namespace verbanta {

std::string fillIn(std::string_view format, std::initializer_list<std::string_view> texts)
{
    std::string out;
    out.reserve(format.size() + 64);
    auto next = texts.begin();
    for (std::size_t i = 0; i < format.size(); ++i) {
        const bool placeholder = format[i] == '%' && i + 1 < format.size() &&
                                 (format[i + 1] == 's' || format[i + 1] == 'd' ||
                                  format[i + 1] == '1');
        if (placeholder && next != texts.end()) {
            out += *next++;
            ++i;
        } else {
            out += format[i];
        }
    }
    return out;
}

}  // namespace verbanta
