#include "model/language_operations.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/sami_model.h"
#include "settings/app_settings.h"
#include "support/cp949.h"
#include "support/recording_messenger.h"

namespace verbanta {
namespace {

constexpr const char* kLimitMessage = "총 10개의 다국어 정보만을 등록할 수 있습니다.";
constexpr const char* kDuplicateMessage =
    "입력하신 클래스명과 동일한 언어 정보가 존재합니다.\n다시 입력해 주십시오.";

class LanguageOperationsTest : public ::testing::Test {
protected:
    AppSettings settings;
    SamiModel model{settings};
    test::RecordingMessenger messenger;

    void SetUp() override { model.setMessenger(messenger); }

    static LanguageFields fields(std::string cls, std::string name = "name")
    {
        return {std::move(cls), std::move(name), "xx-XX", "CC"};
    }
    void addToSlot(int slot, int ms, std::string text)
    {
        SyncEntry e;
        e.className = model.classNames[static_cast<std::size_t>(slot)];
        e.startMs = ms;
        e.text = std::move(text);
        model.slotList(slot).insertAt(model.slotList(slot).count(), e);
    }
    /// "time:text" of every entry of a language's list, by language index.
    std::vector<std::string> captions(int index) const
    {
        std::vector<std::string> out;
        model.slotList(model.slotOrder[static_cast<std::size_t>(index)])
            .forEach([&](const SyncEntry& e) {
                out.push_back(std::to_string(e.startMs) + ":" + e.text);
            });
        return out;
    }
    std::vector<std::string> selectors() const
    {
        std::vector<std::string> out;
        for (const LanguageInfo& l : model.languages) out.push_back(l.selector);
        return out;
    }
    using Strings = std::vector<std::string>;
};

TEST(LanguagePresets, AreTheElevenLanguagesInDialogOrder)
{
    const char* names[] = {"한국어",     "영어",     "일본어",    "중국어",
                           "독일어",     "프랑스어", "러시아어",  "이태리어",
                           "네델란드어", "스페인어", "포르투갈어"};
    const char* codes[] = {"ko-KR", "en-US", "ja-JP", "zh-CN", "de-DE", "fr-FR",
                           "ru-RU", "it-IT", "nl-NL", "es-ES", "pt-PT"};
    const char* classes[] = {".KRCC", ".ENCC", ".JPCC", ".CNCC", ".DECC", ".FRCC",
                             ".RUCC", ".ITCC", ".NLCC", ".ESCC", ".PTCC"};
    ASSERT_EQ(kLanguagePresets.size(), 11u);
    for (std::size_t i = 0; i < kLanguagePresets.size(); ++i) {
        EXPECT_EQ(kLanguagePresets[i].name, test::cp949(names[i])) << i;
        EXPECT_EQ(kLanguagePresets[i].code, codes[i]);
        EXPECT_EQ(kLanguagePresets[i].selector, classes[i]);
        EXPECT_EQ(kLanguagePresets[i].samiType, "CC");
    }
    // The first preset is the language of a new document.
    AppSettings settings;
    SamiModel fresh(settings);
    EXPECT_EQ(fieldsOf(fresh.languages[0]).name, kLanguagePresets[0].name);
    EXPECT_EQ(fieldsOf(kLanguagePresets[0]).className, "KRCC");
}

TEST(ClassSelectorTest, AddsTheDotOnlyWhenMissing)
{
    EXPECT_EQ(classSelector("ENCC"), ".ENCC");
    EXPECT_EQ(classSelector(".ENCC"), ".ENCC");
}

TEST_F(LanguageOperationsTest, AddCopiesTheBaseTimingWithEmptyCaptions)
{
    SyncEntry e;
    model.InitEntry(e);
    e.startMs = 1000;
    e.text = "hello";
    e.checked = 1;
    e.bookmarked = 1;
    model.AddTail(e, false);
    model.InsertEndSync(model.GetTailPosition(), 3000, false);
    SyncEntry note;
    model.InitEntry(note);
    note.isComment = 1;
    note.text = "a comment";
    model.AddTail(note, false);

    ASSERT_TRUE(addLanguage(model, fieldsOf(kLanguagePresets[1]), 0));
    EXPECT_EQ(model.GetLanguageCount(), 2);
    EXPECT_EQ(model.listCount, 2);
    const LanguageInfo& english = model.languages[1];
    EXPECT_EQ(english.selector, ".ENCC");
    EXPECT_EQ(english.name(), test::cp949("영어"));
    EXPECT_EQ(english.lang(), "en-US");
    EXPECT_EQ(english.flags, ParagraphStyle::kLanguageFlags);
    EXPECT_EQ(model.classNames[1], "ENCC");
    EXPECT_EQ(model.slotOrder[1], 1);
    EXPECT_EQ(captions(1), (Strings{"1000:", "3000:&nbsp;", "0:"}));
    const SyncList& list = model.slotList(1);
    EXPECT_TRUE(list[1].isEndSync);
    EXPECT_TRUE(list[2].isComment);
    for (int i = 0; i < list.count(); ++i) EXPECT_EQ(list[i].className, "ENCC");
    EXPECT_FALSE(list[0].checked || list[0].bookmarked);
    // The base language is untouched.
    EXPECT_EQ(captions(0), (Strings{"1000:hello", "3000:&nbsp;", "0:a comment"}));
    EXPECT_TRUE(messenger.shown.empty());
}

TEST_F(LanguageOperationsTest, AddRefusesAClassInUseAndAnEleventhLanguage)
{
    EXPECT_FALSE(addLanguage(model, fields("KRCC"), 0));
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(messenger.shown[0].text, kDuplicateMessage);
    // The comparison is exact: another letter case is another class.
    EXPECT_TRUE(addLanguage(model, fields("krcc"), 0));

    for (int i = 2; i < 10; ++i)
        ASSERT_TRUE(addLanguage(model, fields("L" + std::to_string(i)), 0));
    EXPECT_EQ(model.GetLanguageCount(), 10);
    messenger.shown.clear();
    EXPECT_FALSE(canAddLanguage(model));
    EXPECT_FALSE(addLanguage(model, fields("MORE"), 0));
    ASSERT_EQ(messenger.shown.size(), 2u);
    EXPECT_EQ(messenger.shown[0].text, kLimitMessage);
    EXPECT_EQ(messenger.shown[1].text, kLimitMessage);
    EXPECT_EQ(model.GetLanguageCount(), 10);
}

TEST_F(LanguageOperationsTest, ModifyRelabelsTheListAndKeepsStyleProperties)
{
    ASSERT_TRUE(addLanguage(model, fields("ENCC"), 0));
    addToSlot(1, 1000, "hi");
    model.languages[1].flags |= ParagraphStyle::kColor;
    model.languages[1].find("color")->value = "yellow";

    // Keeping the class is allowed; taking another language's is not.
    EXPECT_TRUE(modifyLanguage(model, 1, fields("ENCC", "English")));
    EXPECT_FALSE(modifyLanguage(model, 1, fields(".KRCC")));
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(messenger.shown[0].text, kDuplicateMessage);

    UndoRecord r;
    r.kind = UndoRecord::kModify;
    model.PushUndo(r);
    EXPECT_TRUE(modifyLanguage(model, 1, fields("USCC", "American")));
    EXPECT_EQ(selectors(), (Strings{".KRCC", ".USCC"}));
    EXPECT_EQ(model.languages[1].name(), "American");
    EXPECT_EQ(model.classNames[1], "USCC");
    EXPECT_EQ(model.slotList(1)[0].className, "USCC");
    EXPECT_TRUE(model.languages[1].has(ParagraphStyle::kColor));
    EXPECT_EQ(model.languages[1].find("color")->value, "yellow");
    EXPECT_FALSE(model.CanUndo());  // recorded entries carried the old class
    EXPECT_FALSE(modifyLanguage(model, 5, fields("X")));
}

TEST_F(LanguageOperationsTest, DeleteNeedsTwoLanguagesAndAYes)
{
    EXPECT_FALSE(deleteLanguage(model, 0));
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(messenger.shown[0].text,
              "현재 열린 자막에는 하나의 언어 정보만이 존재합니다.\n선택한 다국어 정보를 "
              "삭제할 수 없습니다.");
    EXPECT_TRUE(messenger.questions.empty());

    ASSERT_TRUE(addLanguage(model, fields("ENCC"), 0));
    messenger.answers = {Answer::No};
    EXPECT_FALSE(deleteLanguage(model, 0));
    ASSERT_EQ(messenger.questions.size(), 1u);
    EXPECT_EQ(messenger.questions[0],
              "다국어 정보 삭제시 해당 언어의 자막이 모두 삭제됩니다.\n정말로 삭제하시겠습니까?");
    EXPECT_EQ(model.GetLanguageCount(), 2);
}

TEST_F(LanguageOperationsTest, DeleteShiftsTheListsAndSlotsDown)
{
    ASSERT_TRUE(addLanguage(model, fields("ENCC"), 0));
    ASSERT_TRUE(addLanguage(model, fields("JPCC"), 0));
    addToSlot(0, 1000, "kr");
    addToSlot(1, 2000, "en");
    addToSlot(2, 3000, "jp");
    model.SetCurrentSlot(2);
    model.PushUndo(UndoRecord{});

    messenger.answers = {Answer::Yes};
    ASSERT_TRUE(deleteLanguage(model, 0));
    EXPECT_EQ(selectors(), (Strings{".ENCC", ".JPCC"}));
    EXPECT_EQ(model.listCount, 2);
    EXPECT_EQ(model.classNames[0], "ENCC");
    EXPECT_EQ(model.classNames[1], "JPCC");
    EXPECT_TRUE(model.classNames[2].empty());
    EXPECT_EQ(model.slotOrder[0], 0);
    EXPECT_EQ(model.slotOrder[1], 1);
    EXPECT_EQ(captions(0), (Strings{"2000:en"}));
    EXPECT_EQ(captions(1), (Strings{"3000:jp"}));
    EXPECT_TRUE(model.slotList(2).empty());
    // Japanese stays current in its new slot; the journal named the old slots.
    EXPECT_EQ(model.GetCurrentSlot(), 1);
    EXPECT_EQ(model.CurrentClassName(), "JPCC");
    EXPECT_FALSE(model.CanUndo());
}

TEST_F(LanguageOperationsTest, DeleteFollowsAReorderedSlotOrder)
{
    ASSERT_TRUE(addLanguage(model, fields("ENCC"), 0));
    ASSERT_TRUE(addLanguage(model, fields("JPCC"), 0));
    addToSlot(0, 1000, "kr");
    addToSlot(1, 2000, "en");
    addToSlot(2, 3000, "jp");
    ASSERT_TRUE(moveLanguageUp(model, 1));  // EN, KR, JP over slots 1, 0, 2
    model.SetCurrentSlot(0);                // Korean
    messenger.answers = {Answer::Yes};
    ASSERT_TRUE(deleteLanguage(model, 1));
    EXPECT_EQ(selectors(), (Strings{".ENCC", ".JPCC"}));
    EXPECT_EQ(captions(0), (Strings{"2000:en"}));
    EXPECT_EQ(captions(1), (Strings{"3000:jp"}));
    // The deleted language was current: the first one is now.
    EXPECT_EQ(model.GetCurrentSlot(), model.slotOrder[0]);
    EXPECT_EQ(model.CurrentClassName(), "ENCC");
}

TEST_F(LanguageOperationsTest, MoveSwapsLanguagesButNotLists)
{
    ASSERT_TRUE(addLanguage(model, fields("ENCC"), 0));
    addToSlot(1, 2000, "en");
    EXPECT_FALSE(moveLanguageUp(model, 0));
    EXPECT_FALSE(moveLanguageDown(model, 1));
    EXPECT_EQ(selectors(), (Strings{".KRCC", ".ENCC"}));

    ASSERT_TRUE(moveLanguageDown(model, 0));
    EXPECT_EQ(selectors(), (Strings{".ENCC", ".KRCC"}));
    EXPECT_EQ(model.classNames[0], "ENCC");
    EXPECT_EQ(model.slotOrder[0], 1);
    EXPECT_EQ(model.slotOrder[1], 0);
    EXPECT_EQ(captions(0), (Strings{"2000:en"}));
    EXPECT_EQ(model.slotList(1).count(), 1);

    ASSERT_TRUE(moveLanguageUp(model, 1));
    EXPECT_EQ(selectors(), (Strings{".KRCC", ".ENCC"}));
    EXPECT_EQ(model.slotOrder[0], 0);
}

TEST_F(LanguageOperationsTest, AddLanguagesFromRenamesClashingClasses)
{
    SamiModel other(settings);
    ASSERT_TRUE(addLanguage(other, fieldsOf(kLanguagePresets[1]), 0));
    SyncEntry e;
    other.InitEntry(e);
    e.startMs = 500;
    e.text = "ko";
    other.slotList(0).insertAt(0, e);
    e.className = "ENCC";
    e.text = "en";
    other.slotList(1).insertAt(0, e);
    addToSlot(0, 100, "mine");

    EXPECT_EQ(addLanguagesFrom(model, other), 2);
    EXPECT_EQ(selectors(), (Strings{".KRCC", ".KRCC2", ".ENCC"}));
    EXPECT_EQ(model.languages[1].name(), other.languages[0].name());
    EXPECT_EQ(model.listCount, 3);
    EXPECT_EQ(captions(0), (Strings{"100:mine"}));
    EXPECT_EQ(captions(1), (Strings{"500:ko"}));
    EXPECT_EQ(captions(2), (Strings{"500:en"}));
    EXPECT_EQ(model.slotList(model.slotOrder[1])[0].className, "KRCC2");

    // A second time the classes clash again and get the next free names.
    EXPECT_EQ(addLanguagesFrom(model, other), 2);
    EXPECT_EQ(selectors(), (Strings{".KRCC", ".KRCC2", ".ENCC", ".KRCC3", ".ENCC2"}));
}

TEST_F(LanguageOperationsTest, AddLanguagesFromAddsNothingPastTheLimit)
{
    for (int i = 1; i < 9; ++i) ASSERT_TRUE(addLanguage(model, fields("L" + std::to_string(i)), 0));
    SamiModel other(settings);
    ASSERT_TRUE(addLanguage(other, fields("ENCC"), 0));
    EXPECT_EQ(addLanguagesFrom(model, other), -1);
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(messenger.shown[0].text, kLimitMessage);
    EXPECT_EQ(model.GetLanguageCount(), 9);
}

}  // namespace
}  // namespace verbanta
