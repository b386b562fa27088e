#include "model/time_field.h"

#include <gtest/gtest.h>

#include <string>

namespace verbanta {
namespace {

using Result = TimeFieldLogic::KeyResult;
constexpr char32_t kBack = TimeFieldLogic::kBackspace;

// Types the characters one after another from `caret`, following the caret each key returns.
Result typeKeys(TimeFieldLogic& field, std::u32string_view keys, int caret)
{
    Result last;
    for (char32_t key : keys) {
        last = field.handleKey(key, caret, 0);
        caret = last.caret;
    }
    return last;
}

TimeFieldLogic timeField(std::int32_t value)
{
    TimeFieldLogic field;
    EXPECT_TRUE(field.setMode(TimeFieldLogic::kTimeMode));
    EXPECT_TRUE(field.setValue(value));
    return field;
}

TEST(TimeField, StartsAtZeroInMillisecondsWithTheDefaultRange)
{
    TimeFieldLogic field;
    EXPECT_EQ(field.minimum(), -18000000);
    EXPECT_EQ(field.maximum(), 18000000);
    EXPECT_EQ(field.mode(), 0);
    EXPECT_EQ(field.value(), 0);
    EXPECT_EQ(field.text(), "0");
    EXPECT_TRUE(field.selectsAllOnClick());
}

TEST(TimeField, RedrawsTextWhenTheModeChangesAndRefusesOtherModes)
{
    TimeFieldLogic field;
    ASSERT_TRUE(field.setValue(-1500));
    EXPECT_EQ(field.text(), "-1500");
    ASSERT_TRUE(field.setMode(1));
    EXPECT_EQ(field.text(), "-0:00:01.500");
    EXPECT_FALSE(field.selectsAllOnClick());
    EXPECT_FALSE(field.setMode(2));
    EXPECT_FALSE(field.setMode(-1));
    EXPECT_EQ(field.mode(), 1);
    ASSERT_TRUE(field.setMode(0));
    EXPECT_EQ(field.text(), "-1500");
}

TEST(TimeField, TimeModeTextIsSignAndTwelveCharacters)
{
    EXPECT_EQ(TimeFieldLogic::timeModeText(3723004), " 1:02:03.004");
    EXPECT_EQ(TimeFieldLogic::timeModeText(-1500), "-0:00:01.500");
    EXPECT_EQ(TimeFieldLogic::timeModeText(0).size(), 12u);
}

TEST(TimeField, RefusesValuesOutsideTheRangeAndLeavesTheFieldUnchanged)
{
    TimeFieldLogic field = timeField(18000000);
    EXPECT_EQ(field.text(), " 5:00:00.000");
    EXPECT_FALSE(field.setValue(18000001));
    EXPECT_FALSE(field.setValue(-18000001));
    EXPECT_EQ(field.value(), 18000000);
    EXPECT_EQ(field.text(), " 5:00:00.000");
    EXPECT_TRUE(field.setValue(-18000000));

    EXPECT_FALSE(field.setRange(10, 9));
    ASSERT_TRUE(field.setRange(0, 100));
    EXPECT_FALSE(field.setValue(101));
    EXPECT_TRUE(field.setValue(100));
}

TEST(TimeField, TimeModeAcceptsOnlyEachPositionsCharacters)
{
    TimeFieldLogic field = timeField(0);
    ASSERT_TRUE(field.setRange(-100000000, 100000000));
    const std::string before = field.text();
    // Typing "7" where the tens of minutes go is refused.
    Result r = field.handleKey(U'7', 3, 0);
    EXPECT_FALSE(r.accepted);
    EXPECT_EQ(r.text, before);
    EXPECT_EQ(r.caret, 3);
    for (int separator : {2, 5, 8}) {
        for (char32_t key : {U'0', U':', U'.', U'-'})
            EXPECT_FALSE(field.handleKey(key, separator, 0).accepted) << separator;
    }
    EXPECT_FALSE(field.handleKey(U'7', 6, 0).accepted);
    EXPECT_FALSE(field.handleKey(U'1', 0, 0).accepted);
    EXPECT_FALSE(field.handleKey(U'a', 4, 0).accepted);
    EXPECT_FALSE(field.handleKey(U'가', 4, 0).accepted);
    EXPECT_EQ(field.text(), before);
    EXPECT_EQ(field.value(), 0);

    for (int digitPos : {1, 4, 7, 9, 10, 11})
        EXPECT_TRUE(field.handleKey(U'9', digitPos, 0).accepted) << digitPos;
    EXPECT_TRUE(field.handleKey(U'5', 3, 0).accepted);
    EXPECT_TRUE(field.handleKey(U'5', 6, 0).accepted);
    EXPECT_EQ(field.text(), " 9:59:59.999");
}

TEST(TimeField, TimeModeOverwritesAndReadsTheTextBack)
{
    TimeFieldLogic field = timeField(0);
    const Result r = typeKeys(field, U"1020304", 1);
    EXPECT_TRUE(r.valueTaken);
    EXPECT_EQ(field.text(), " 1:02:03.040");
    EXPECT_EQ(field.value(), 3723040);
    EXPECT_EQ(typeKeys(field, U"04", 10).text, " 1:02:03.004");
    EXPECT_EQ(field.value(), 3723004);
}

TEST(TimeField, TimeModeCaretSkipsSeparatorsAndStaysOnTheLastCharacter)
{
    TimeFieldLogic field = timeField(0);
    EXPECT_EQ(field.handleKey(U'-', 0, 0).caret, 1);
    EXPECT_EQ(field.handleKey(U'1', 1, 0).caret, 3);
    EXPECT_EQ(field.handleKey(U'1', 4, 0).caret, 6);
    EXPECT_EQ(field.handleKey(U'1', 7, 0).caret, 9);
    EXPECT_EQ(field.handleKey(U'1', 11, 0).caret, 11);
    // A caret put after the end types on the last character.
    const Result r = field.handleKey(U'2', 12, 0);
    EXPECT_EQ(r.caret, 11);
    EXPECT_EQ(r.text.back(), '2');
    EXPECT_EQ(field.restingCaret(12), 11);
    EXPECT_EQ(field.restingCaret(-3), 0);
}

TEST(TimeField, TimeModeBackspaceOnlyMovesTheCaretLeft)
{
    TimeFieldLogic field = timeField(3723004);
    const Result r = field.handleKey(kBack, 3, 0);
    EXPECT_TRUE(r.accepted);
    EXPECT_EQ(r.caret, 2);
    EXPECT_EQ(r.text, " 1:02:03.004");
    EXPECT_FALSE(r.valueTaken);
    EXPECT_EQ(field.handleKey(kBack, 0, 0).caret, 0);
    EXPECT_EQ(field.value(), 3723004);
}

TEST(TimeField, TimeModeTakesFiveHoursAndRefusesOneMillisecondMore)
{
    TimeFieldLogic field = timeField(4 * 3600000);
    Result r = field.handleKey(U'5', 1, 0);
    ASSERT_TRUE(r.accepted);
    EXPECT_EQ(field.value(), 18000000);
    EXPECT_EQ(r.text, " 5:00:00.000");

    r = field.handleKey(U'1', 11, 0);
    EXPECT_FALSE(r.accepted);
    EXPECT_FALSE(r.valueTaken);
    EXPECT_EQ(r.text, " 5:00:00.000");
    EXPECT_EQ(field.value(), 18000000);
}

TEST(TimeField, TimeModeSignNegatesAndKeepsATypedMinusOnZero)
{
    TimeFieldLogic field = timeField(1500);
    EXPECT_EQ(field.handleKey(U'-', 0, 0).text, "-0:00:01.500");
    EXPECT_EQ(field.value(), -1500);
    EXPECT_EQ(field.handleKey(U'+', 0, 0).text, " 0:00:01.500");
    EXPECT_EQ(field.value(), 1500);

    TimeFieldLogic zero = timeField(0);
    EXPECT_EQ(zero.handleKey(U'-', 0, 0).text, "-0:00:00.000");
    zero.handleKey(U'2', 1, 0);
    EXPECT_EQ(zero.value(), -7200000);

    ASSERT_TRUE(field.setRange(0, 100000000));
    EXPECT_FALSE(field.handleKey(U'-', 0, 0).accepted);
    EXPECT_EQ(field.value(), 1500);
}

TEST(TimeField, TimeModeKeepsTheLayoutFromTenHoursOn)
{
    TimeFieldLogic field;
    ASSERT_TRUE(field.setRange(0, 100000000));
    ASSERT_TRUE(field.setMode(1));
    ASSERT_TRUE(field.setValue(36000000));
    EXPECT_EQ(field.text(), " 10:00:00.000");
    EXPECT_FALSE(field.handleKey(U'7', 4, 0).accepted);
    EXPECT_FALSE(field.handleKey(U'1', 3, 0).accepted);
    EXPECT_EQ(field.handleKey(U'5', 4, 0).caret, 5);
    EXPECT_EQ(field.value(), 39000000);
    // Typing the first hour digit away shortens the text; the caret follows the layout.
    const Result r = field.handleKey(U'0', 1, 0);
    EXPECT_EQ(r.text, " 0:50:00.000");
    EXPECT_EQ(field.value(), 3000000);
    EXPECT_EQ(r.caret, 1);
}

TEST(TimeField, MillisecondsModeAcceptsDigitsAndALeadingMinus)
{
    TimeFieldLogic field;
    Result r = field.handleKey(U'-', 0, 1);  // replaces the selected "0"
    EXPECT_TRUE(r.accepted);
    EXPECT_EQ(r.text, "-");
    EXPECT_FALSE(r.valueTaken);
    r = typeKeys(field, U"42", 1);
    EXPECT_EQ(r.text, "-42");
    EXPECT_EQ(r.caret, 3);
    EXPECT_TRUE(r.valueTaken);
    EXPECT_EQ(field.value(), -42);

    EXPECT_FALSE(field.handleKey(U'-', 0, 0).accepted);  // a second minus
    EXPECT_FALSE(field.handleKey(U'1', 0, 0).accepted);  // a digit before the minus
    EXPECT_FALSE(field.handleKey(U'-', 2, 0).accepted);  // something precedes the caret
    EXPECT_FALSE(field.handleKey(U'a', 3, 0).accepted);
    EXPECT_FALSE(field.handleKey(U'+', 3, 0).accepted);
    EXPECT_FALSE(field.handleKey(U':', 3, 0).accepted);
    EXPECT_EQ(field.text(), "-42");
    // With the minus selected, typing replaces it.
    EXPECT_EQ(field.handleKey(U'7', 0, 1).text, "742");
    EXPECT_EQ(field.value(), 742);
}

TEST(TimeField, MillisecondsModeBackspaceDeletesBeforeTheCaretOrTheSelection)
{
    TimeFieldLogic field;
    ASSERT_TRUE(field.setValue(12345));
    Result r = field.handleKey(kBack, 5, 0);
    EXPECT_EQ(r.text, "1234");
    EXPECT_EQ(r.caret, 4);
    EXPECT_EQ(field.value(), 1234);
    r = field.handleKey(kBack, 1, 2);
    EXPECT_EQ(r.text, "14");
    EXPECT_EQ(r.caret, 1);
    EXPECT_EQ(field.value(), 14);
    r = field.handleKey(kBack, 0, 0);
    EXPECT_TRUE(r.accepted);
    EXPECT_EQ(r.text, "14");
}

TEST(TimeField, MillisecondsModeChecksTheRangeOnEveryChange)
{
    TimeFieldLogic field;
    field.handleKey(kBack, 1, 0);
    Result r = typeKeys(field, U"1800000", 0);
    EXPECT_FALSE(r.message.has_value());
    r = field.handleKey(U'0', 7, 0);
    EXPECT_FALSE(r.message.has_value());
    EXPECT_EQ(field.value(), 18000000);

    r = field.handleKey(U'1', 7, 1);  // 18000001
    ASSERT_TRUE(r.message.has_value());
    EXPECT_EQ(*r.message, "18000000 보다 큰 값은 입력할 수 없습니다 ");
    EXPECT_TRUE(r.recovered);
    EXPECT_EQ(r.text, "0");
    EXPECT_EQ(field.text(), "0");
    EXPECT_EQ(field.value(), 0);
    EXPECT_TRUE(r.valueTaken);

    ASSERT_TRUE(field.setValue(0));
    r = field.handleKey(U'-', 0, 1);
    r = typeKeys(field, U"18000001", 1);
    ASSERT_TRUE(r.message.has_value());
    EXPECT_EQ(*r.message, "-18000000 보다 작은 값은 입력할 수 없습니다 ");
    EXPECT_TRUE(r.recovered);
    EXPECT_EQ(field.text(), "0");
}

TEST(TimeField, MillisecondsModeRangeMessageUsesTheFieldsOwnRange)
{
    TimeFieldLogic field;
    ASSERT_TRUE(field.setRange(-100, 250));
    ASSERT_TRUE(field.setValue(25));
    EXPECT_FALSE(field.handleKey(U'0', 2, 0).message.has_value());
    EXPECT_EQ(field.value(), 250);
    ASSERT_TRUE(field.setValue(25));
    const Result above = field.handleKey(U'1', 2, 0);
    ASSERT_TRUE(above.message.has_value());
    EXPECT_EQ(*above.message, "250 보다 큰 값은 입력할 수 없습니다 ");
    ASSERT_TRUE(field.setValue(-10));
    const Result below = field.handleKey(U'1', 3, 0);
    ASSERT_TRUE(below.message.has_value());
    EXPECT_EQ(*below.message, "-100 보다 작은 값은 입력할 수 없습니다 ");
}

TEST(TimeField, MillisecondsModeDoesNotOverflowOnLongNumbers)
{
    TimeFieldLogic field;
    const Result r = field.applyText("99999999999999999999999999");
    ASSERT_TRUE(r.message.has_value());
    EXPECT_EQ(*r.message, "18000000 보다 큰 값은 입력할 수 없습니다 ");
    const Result n = field.applyText("-99999999999999999999999999");
    ASSERT_TRUE(n.message.has_value());
    EXPECT_EQ(*n.message, "-18000000 보다 작은 값은 입력할 수 없습니다 ");
}

TEST(TimeField, MillisecondsModeLeftEmptyAsksForAValueAndRecovers)
{
    TimeFieldLogic field;
    ASSERT_TRUE(field.setValue(7));
    field.handleKey(kBack, 1, 0);
    EXPECT_EQ(field.text(), "");
    EXPECT_EQ(field.value(), 7);
    Result r = field.onFocusLost();
    ASSERT_TRUE(r.message.has_value());
    EXPECT_EQ(*r.message, "값을 입력해 주십시요");
    EXPECT_TRUE(r.recovered);
    EXPECT_EQ(r.text, "0");
    EXPECT_EQ(field.value(), 0);

    // A lone minus holds no number either.
    field.handleKey(U'-', 0, 1);
    EXPECT_TRUE(field.onFocusLost().message.has_value());

    ASSERT_TRUE(field.setValue(5));
    r = field.onFocusLost();
    EXPECT_FALSE(r.message.has_value());
    EXPECT_FALSE(r.recovered);
    EXPECT_EQ(field.text(), "5");
}

TEST(TimeField, TimeModeLosingFocusShowsNothing)
{
    TimeFieldLogic field = timeField(0);
    const Result r = field.onFocusLost();
    EXPECT_FALSE(r.message.has_value());
    EXPECT_FALSE(r.recovered);
}

TEST(TimeField, RecoveryOutsideTheRangeKeepsTheValue)
{
    TimeFieldLogic field;
    ASSERT_TRUE(field.setRange(10, 500));
    ASSERT_TRUE(field.setValue(20));
    const Result r = field.applyText("5");
    ASSERT_TRUE(r.message.has_value());
    EXPECT_EQ(*r.message, "10 보다 작은 값은 입력할 수 없습니다 ");
    EXPECT_FALSE(r.valueTaken);
    EXPECT_EQ(field.text(), "0");
    EXPECT_EQ(field.value(), 20);
}

TEST(TimeField, PastedTextIsTakenOnlyWhenWellFormed)
{
    TimeFieldLogic field;
    EXPECT_FALSE(field.applyText("12a").accepted);
    EXPECT_FALSE(field.applyText("1-2").accepted);
    EXPECT_EQ(field.text(), "0");
    EXPECT_TRUE(field.applyText("-42").valueTaken);
    EXPECT_EQ(field.value(), -42);

    ASSERT_TRUE(field.setMode(1));
    EXPECT_TRUE(field.applyText("-1:02:03.004").valueTaken);
    EXPECT_EQ(field.value(), -3723004);
    EXPECT_EQ(field.text(), "-1:02:03.004");
    EXPECT_TRUE(field.applyText("+0:00:01.000").accepted);
    EXPECT_EQ(field.text(), " 0:00:01.000");
    for (const char* bad : {" 1:72:00.000", " 1:02:03,004", "1:02:03.004", " 6:00:00.000",
                            " 1:02:03.0045", "-x:00:00.000"}) {
        EXPECT_FALSE(field.applyText(bad).accepted) << bad;
    }
    EXPECT_EQ(field.value(), 1000);
}

}  // namespace
}  // namespace verbanta
