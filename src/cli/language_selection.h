#pragma once

#include <iostream>
#include <string>

#include "model/sami_model.h"

namespace verbanta::cli {

/// Makes each chosen language current in turn and runs f(languageIndex) on it: every language
/// for an index of -1, else only that one. False, with a message, for an index that does not
/// exist or when f returns false.
template <class F>
bool forEachLanguage(SamiModel& model, int languageIndex, F f)
{
    const int count = model.GetLanguageCount();
    if (languageIndex >= count || languageIndex < -1) {
        std::cerr << "--language " << languageIndex << ": the file has " << count
                  << " language(s), numbered from 0\n";
        return false;
    }
    const int first = languageIndex < 0 ? 0 : languageIndex;
    const int last = languageIndex < 0 ? count - 1 : languageIndex;
    for (int i = first; i <= last; ++i) {
        model.SetCurrentSlot(model.slotOrder[static_cast<std::size_t>(i)]);
        if (!f(i))
            return false;
    }
    return true;
}

}  // namespace verbanta::cli
