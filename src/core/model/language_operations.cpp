#include "model/language_operations.h"

#include <algorithm>
#include <utility>

#include "model/sami_model.h"
#include "platform/messenger.h"

namespace verbanta {

const std::array<LanguagePreset, 11> kLanguagePresets = {{
    {".KRCC", "\xc7\xd1\xb1\xb9\xbe\xee", "ko-KR", "CC"},                  // 한국어
    {".ENCC", "\xbf\xb5\xbe\xee", "en-US", "CC"},                          // 영어
    {".JPCC", "\xc0\xcf\xba\xbb\xbe\xee", "ja-JP", "CC"},                  // 일본어
    {".CNCC", "\xc1\xdf\xb1\xb9\xbe\xee", "zh-CN", "CC"},                  // 중국어
    {".DECC", "\xb5\xb6\xc0\xcf\xbe\xee", "de-DE", "CC"},                  // 독일어
    {".FRCC", "\xc7\xc1\xb6\xfb\xbd\xba\xbe\xee", "fr-FR", "CC"},          // 프랑스어
    {".RUCC", "\xb7\xaf\xbd\xc3\xbe\xc6\xbe\xee", "ru-RU", "CC"},          // 러시아어
    {".ITCC", "\xc0\xcc\xc5\xc2\xb8\xae\xbe\xee", "it-IT", "CC"},          // 이태리어
    {".NLCC", "\xb3\xd7\xb5\xa8\xb6\xf5\xb5\xe5\xbe\xee", "nl-NL", "CC"},  // 네델란드어
    {".ESCC", "\xbd\xba\xc6\xe4\xc0\xce\xbe\xee", "es-ES", "CC"},          // 스페인어
    {".PTCC", "\xc6\xf7\xb8\xa3\xc5\xf5\xb0\xa5\xbe\xee", "pt-PT", "CC"},  // 포르투갈어
}};

namespace {

constexpr const char* kEndSyncText = "&nbsp;";
constexpr const char* kDuplicateClass =
    "입력하신 클래스명과 동일한 언어 정보가 존재합니다.\n다시 입력해 주십시오.";

std::size_t at(int index)
{
    return static_cast<std::size_t>(index);
}

void showLimit(SamiModel& model)
{
    model.messenger().showMessage("총 " + std::to_string(SamiModel::kMaxLanguages) +
                                      "개의 다국어 정보만을 등록할 수 있습니다.",
                                  MessageIcon::Warning);
}

/// Whether a language other than `except` has exactly this selector.
bool classInUse(const SamiModel& model, std::string_view selector, int except = -1)
{
    for (int i = 0; i < model.GetLanguageCount(); ++i)
        if (i != except && model.languages[at(i)].selector == selector)
            return true;
    return false;
}

/// The list slot for a new language: slot n as the languages normally fill 0..n-1, or else
/// the lowest slot no language uses.
int freeSlot(const SamiModel& model)
{
    const int n = model.GetLanguageCount();
    const auto used = [&](int slot) {
        return std::find(model.slotOrder.begin(), model.slotOrder.begin() + n, slot) !=
               model.slotOrder.begin() + n;
    };
    if (!used(n))
        return n;
    for (int slot = 0; slot < SamiModel::kSlotCount; ++slot)
        if (!used(slot))
            return slot;
    return -1;
}

/// Appends a language record and gives it a slot; the new language index, its list emptied.
int appendLanguage(SamiModel& model, LanguageInfo language, int slot)
{
    const int n = model.GetLanguageCount();
    model.classNames[at(n)] = language.selector.substr(1);
    model.languages.push_back(std::move(language));
    model.listCount = n + 1;
    model.slotOrder[at(n)] = slot;
    model.slotList(slot).clear();
    model.parseState().insertAt[at(slot)] = nullptr;
    return n;
}

}  // namespace

std::string classSelector(std::string_view className)
{
    if (!className.empty() && className.front() == '.')
        return std::string(className);
    return "." + std::string(className);
}

LanguageFields fieldsOf(const LanguageInfo& language)
{
    const std::string_view selector = language.selector;
    return {std::string(selector.substr(std::min<std::size_t>(1, selector.size()))),
            language.name(), language.lang(), language.samiType()};
}

LanguageFields fieldsOf(const LanguagePreset& preset)
{
    return {std::string(preset.selector.substr(1)), std::string(preset.name),
            std::string(preset.code), std::string(preset.samiType)};
}

bool canAddLanguage(SamiModel& model)
{
    if (model.GetLanguageCount() < SamiModel::kMaxLanguages)
        return true;
    showLimit(model);
    return false;
}

bool addLanguage(SamiModel& model, const LanguageFields& fields, int baseIndex)
{
    if (!canAddLanguage(model))
        return false;
    const std::string selector = classSelector(fields.className);
    if (classInUse(model, selector)) {
        model.messenger().showMessage(kDuplicateClass, MessageIcon::Warning);
        return false;
    }
    const int n = model.GetLanguageCount();
    const int baseSlot = baseIndex >= 0 && baseIndex < n ? model.slotOrder[at(baseIndex)] : -1;

    LanguageInfo language;
    language.selector = selector;
    language.setName(fields.name);
    language.setLang(fields.code);
    language.setSamiType(fields.samiType);
    language.flags = ParagraphStyle::kLanguageFlags;
    const int slot = freeSlot(model);
    appendLanguage(model, std::move(language), slot);

    // The new language starts with the base language's timing and empty captions.
    if (baseSlot >= 0) {
        SyncList& target = model.slotList(slot);
        const std::string className = selector.substr(1);
        model.slotList(baseSlot).forEach([&](const SyncEntry& e) {
            SyncEntry copy = e;
            copy.className = className;
            copy.checked = 0;
            copy.bookmarked = 0;
            copy.text = e.isEndSync ? kEndSyncText : "";
            target.insertAt(target.count(), std::move(copy));
        });
    }
    return true;
}

bool modifyLanguage(SamiModel& model, int index, const LanguageFields& fields)
{
    if (index < 0 || index >= model.GetLanguageCount())
        return false;
    const std::string selector = classSelector(fields.className);
    if (classInUse(model, selector, index)) {
        model.messenger().showMessage(kDuplicateClass, MessageIcon::Warning);
        return false;
    }
    // The class keeps the style properties it has in the style sheet: renaming a language
    // must not lose its colours or fonts.
    LanguageInfo& language = model.languages[at(index)];
    const bool renamed = language.selector != selector;
    language.selector = selector;
    language.setName(fields.name);
    language.setLang(fields.code);
    language.setSamiType(fields.samiType);
    language.flags |= ParagraphStyle::kLanguageFlags;

    const std::string className = selector.substr(1);
    model.classNames[at(index)] = className;
    model.slotList(model.slotOrder[at(index)]).forEach([&](SyncEntry& e) {
        e.className = className;
    });
    // Recorded entries still carry the old class, and undoing them would bring it back.
    if (renamed)
        model.ClearUndo();
    return true;
}

bool deleteLanguage(SamiModel& model, int index)
{
    const int n = model.GetLanguageCount();
    if (n <= 1) {
        model.messenger().showMessage(
            "현재 열린 자막에는 하나의 언어 정보만이 존재합니다.\n선택한 다국어 정보를 삭제할 "
            "수 없습니다.",
            MessageIcon::Warning);
        return false;
    }
    if (!model.messenger().askYesNo("다국어 정보 삭제시 해당 언어의 자막이 모두 삭제됩니다.\n"
                                    "정말로 삭제하시겠습니까?"))
        return false;
    if (index < 0 || index >= n)
        return false;

    model.languages.erase(model.languages.begin() + index);
    std::move(model.classNames.begin() + index + 1, model.classNames.end(),
              model.classNames.begin() + index);
    model.classNames.back().clear();

    // The lists above the deleted one move down a slot; their entries get new positions.
    const int deletedSlot = model.slotOrder[at(index)];
    auto& state = model.parseState();
    for (int slot = deletedSlot; slot < SamiModel::kSlotCount; ++slot) {
        SyncList& target = model.slotList(slot);
        target.clear();
        state.insertAt[at(slot)] = nullptr;
        if (slot + 1 == SamiModel::kSlotCount) {
            state.foundClasses[at(slot)].clear();
            break;
        }
        SyncList& source = model.slotList(slot + 1);
        source.forEach([&](SyncEntry& e) { target.insertAt(target.count(), std::move(e)); });
        state.foundClasses[at(slot)] = std::move(state.foundClasses[at(slot + 1)]);
    }
    for (std::int32_t& slot : model.slotOrder)
        if (slot > deletedSlot)
            --slot;
    std::move(model.slotOrder.begin() + index + 1, model.slotOrder.end(),
              model.slotOrder.begin() + index);
    model.slotOrder.back() = SamiModel::kSlotCount - 1;
    model.listCount = n - 1;

    // The current language stays current unless it was deleted; then the first one is.
    if (model.currentSlot == deletedSlot)
        model.currentSlot = model.slotOrder[0];
    else if (model.currentSlot > deletedSlot)
        --model.currentSlot;
    model.playCursor = model.list().head();
    // The journal names lists by slot, and the slots have moved.
    model.ClearUndo();
    return true;
}

bool moveLanguageUp(SamiModel& model, int index)
{
    if (index <= 0 || index >= model.GetLanguageCount())
        return false;
    std::swap(model.languages[at(index)], model.languages[at(index - 1)]);
    std::swap(model.slotOrder[at(index)], model.slotOrder[at(index - 1)]);
    std::swap(model.classNames[at(index)], model.classNames[at(index - 1)]);
    return true;
}

bool moveLanguageDown(SamiModel& model, int index)
{
    if (index < 0 || index + 1 >= model.GetLanguageCount())
        return false;
    return moveLanguageUp(model, index + 1);
}

int addLanguagesFrom(SamiModel& model, const SamiModel& other)
{
    const int count = other.GetLanguageCount();
    if (model.GetLanguageCount() + count > SamiModel::kMaxLanguages) {
        showLimit(model);
        return -1;
    }
    for (int i = 0; i < count; ++i) {
        LanguageInfo language = other.languages[at(i)];
        const std::string original = language.selector.size() > 1 ? language.selector : ".CC";
        language.selector = original;
        for (int suffix = 2; classInUse(model, language.selector); ++suffix)
            language.selector = original + std::to_string(suffix);
        const int slot = freeSlot(model);
        appendLanguage(model, language, slot);

        SyncList& target = model.slotList(slot);
        const std::string className = language.selector.substr(1);
        other.slotList(other.slotOrder[at(i)]).forEach([&](const SyncEntry& e) {
            SyncEntry copy = e;
            copy.className = className;
            target.insertAt(target.count(), std::move(copy));
        });
    }
    return count;
}

}  // namespace verbanta
