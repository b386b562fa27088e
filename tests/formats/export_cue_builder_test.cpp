#include "formats/cue_builder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/sami_model.h"
#include "model/text_format.h"
#include "settings/app_settings.h"
#include "support/cp949.h"

namespace verbanta {
namespace {

using test::cp949;

class CueBuilderTest : public ::testing::Test {
protected:
    AppSettings settings;
    SamiModel model{settings};

    void caption(int ms, const std::string& text)
    {
        SyncEntry e;
        model.InitEntry(e);
        e.startMs = ms;
        e.text = text;
        model.AddTail(e, false);
    }
    void endSync(int ms) { model.InsertEndSync(model.GetTailPosition(), ms, false); }
    void comment(const std::string& text)
    {
        SyncEntry e;
        model.InitEntry(e);
        e.isComment = 1;
        e.text = text;
        model.AddTail(e, false);
    }
    std::vector<Cue> cues() { return buildCues(model, 0); }
};

TEST_F(CueBuilderTest, CaptionLastsUntilTheFollowingEndSync)
{
    caption(1000, "a");
    endSync(2500);
    EXPECT_EQ(cues(), (std::vector<Cue>{{1000, 2500, "a"}}));
}

TEST_F(CueBuilderTest, CaptionWithoutEndSyncLastsUntilTheNextCaption)
{
    caption(1000, "a");
    caption(3000, "b");
    endSync(4000);
    EXPECT_EQ(cues(), (std::vector<Cue>{{1000, 3000, "a"}, {3000, 4000, "b"}}));
}

TEST_F(CueBuilderTest, LastCaptionLastsItsLetterCountTimesOneLetterSync)
{
    caption(10000, cp949("안녕하세요"));  // five letters
    EXPECT_EQ(cues().at(0).endMs, 11000);
    settings.OneLetterSync = 100;
    EXPECT_EQ(cues().at(0).endMs, 10500);
    // Counted like the SAMI writer's automatic end sync: tags removed, "<br>" one letter.
    model.Reset(true);
    settings.OneLetterSync = 200;
    caption(0, "<i>one</i><br>two");
    EXPECT_EQ(cues().at(0).endMs, 1400);
}

TEST_F(CueBuilderTest, CommentsAndEndSyncsGiveNoCueAndDoNotEndCaptions)
{
    comment("note");
    caption(1000, "a");
    comment("between");
    endSync(2000);
    endSync(2500);
    caption(3000, "b");
    comment("after");
    endSync(3500);
    EXPECT_EQ(cues(), (std::vector<Cue>{{1000, 2000, "a"}, {3000, 3500, "b"}}));
}

TEST_F(CueBuilderTest, CaptionsWithOneStartTimeBecomeOneCueWithALineBreak)
{
    caption(1000, "first");
    comment("kept apart by a comment only");
    caption(1000, "second");
    caption(1000, "third");
    endSync(2000);
    caption(5000, "x");
    caption(5000, "abc");  // the last of the group decides the automatic end
    EXPECT_EQ(cues(),
              (std::vector<Cue>{{1000, 2000, "first\nsecond\nthird"}, {5000, 5600, "x\nabc"}}));
}

TEST_F(CueBuilderTest, CaptionsWithOneStartTimeAfterAnEndSyncStaySeparate)
{
    // Overlapping SubRip cues import like this; they must come back as they were.
    caption(1000, "a");
    endSync(3000);
    caption(1000, "b");
    endSync(2000);
    EXPECT_EQ(cues(), (std::vector<Cue>{{1000, 3000, "a"}, {1000, 2000, "b"}}));
}

TEST_F(CueBuilderTest, NextEntryThatIsNotLaterFallsBackToTheLetterCount)
{
    caption(2000, "ab");
    caption(1000, "c");  // a timing error: it starts before the caption above
    endSync(1000);       // and ends where it starts
    EXPECT_EQ(cues(), (std::vector<Cue>{{1000, 1200, "c"}, {2000, 2400, "ab"}}));
}

TEST_F(CueBuilderTest, AutomaticEndIsNeverZeroLength)
{
    settings.OneLetterSync = 0;
    caption(1000, "abc");
    EXPECT_EQ(cues(), (std::vector<Cue>{{1000, 1001, "abc"}}));
}

TEST_F(CueBuilderTest, NegativeTimesAreClampedAndCuesBeforeZeroDropped)
{
    caption(-3000, "gone");
    endSync(-1000);
    caption(-500, "a");
    endSync(1000);
    EXPECT_EQ(cues(), (std::vector<Cue>{{0, 1000, "a"}}));
}

TEST_F(CueBuilderTest, CaptionsWithoutVisibleTextGiveNoCue)
{
    caption(1000, "<font color=red></font>");
    caption(2000, " \r\n<br>");
    caption(3000, "a");
    endSync(4000);
    EXPECT_EQ(cues(), (std::vector<Cue>{{3000, 4000, "a"}}));
}

TEST_F(CueBuilderTest, ReadsTheListOfTheLanguageThroughItsSlot)
{
    model.AddLanguageClass(".ENCC");
    model.listCount = 2;
    model.classNames[1] = "ENCC";
    caption(1000, cp949("한국어"));
    model.SetCurrentSlot(1);
    caption(1000, "English");
    EXPECT_EQ(buildCues(model, 0).at(0).text, "한국어");
    EXPECT_EQ(buildCues(model, 1).at(0).text, "English");
    // Moving a language changes which slot its index reads.
    std::swap(model.slotOrder[0], model.slotOrder[1]);
    EXPECT_EQ(buildCues(model, 0).at(0).text, "English");
    EXPECT_TRUE(buildCues(model, 2).empty());
    EXPECT_TRUE(buildCues(model, -1).empty());
}

TEST(CueMarkup, BrBreaksTheLineAndEmptyLinesGo)
{
    EXPECT_EQ(captionToNeutralMarkup("a<br>\r\nb"), "a\nb");
    EXPECT_EQ(captionToNeutralMarkup("a<BR/>b<br />c"), "a\nb\nc");
    EXPECT_EQ(captionToNeutralMarkup("<br>a<br><br> <br>b<br>"), "a\nb");
    EXPECT_EQ(captionToNeutralMarkup("a</br>b"), "ab");
}

TEST(CueMarkup, KeepsBoldItalicUnderlineAndFontColour)
{
    EXPECT_EQ(captionToNeutralMarkup("<B>a</B> <i>b</I> <u>c</u>"), "<b>a</b> <i>b</i> <u>c</u>");
    EXPECT_EQ(captionToNeutralMarkup("<font color=red>a</font>"),
              "<font color=\"#ff0000\">a</font>");
    EXPECT_EQ(captionToNeutralMarkup("<FONT face=x COLOR = \"#00FF80\" size=3>a</FONT>"),
              "<font color=\"#00ff80\">a</font>");
    EXPECT_EQ(captionToNeutralMarkup("<font color='#f80'>a</font>"),
              "<font color=\"#ff8800\">a</font>");
}

TEST(CueMarkup, FontWithoutUsableColourIsDroppedButStillPairsItsEndTag)
{
    EXPECT_EQ(captionToNeutralMarkup("<font color=red>a<font color=nocolour>b</font>c</font>d"),
              "<font color=\"#ff0000\">abc</font>d");
    EXPECT_EQ(captionToNeutralMarkup("<font face=x>a</font>"), "a");
}

TEST(CueMarkup, DropsOtherTags)
{
    EXPECT_EQ(captionToNeutralMarkup("<span class=x>a</span><P Class=KRCC>b<ruby>c"), "abc");
}

TEST(CueMarkup, NestsAndClosesElements)
{
    EXPECT_EQ(captionToNeutralMarkup("<b>a<i>b</b>c</i>"), "<b>a<i>b</i></b><i>c</i>");
    EXPECT_EQ(captionToNeutralMarkup("<i>abc"), "<i>abc</i>");
    EXPECT_EQ(captionToNeutralMarkup("</i>a<i></i>b<u> </u>"), "ab");
    EXPECT_EQ(captionToNeutralMarkup("<i>a<br>b</i>"), "<i>a\nb</i>");
    EXPECT_EQ(captionToNeutralMarkup("a<br><i>b</i>"), "a\n<i>b</i>");
    EXPECT_EQ(captionToNeutralMarkup("a <i> b </i> c"), "a <i>b</i> c");
}

TEST(CueMarkup, DecodesEntitiesAndEscapesTheMarkupCharacters)
{
    const std::string neutral = captionToNeutralMarkup("AT&amp;T &lt;b&gt; &unknown; 1&nbsp;2");
    EXPECT_EQ(neutral, "AT&amp;T &lt;b&gt; &amp;unknown; 1 2");
    EXPECT_EQ(cuePlainText(neutral), "AT&T <b> &unknown; 1 2");
}

TEST(CueMarkup, CollapsesWhiteSpace)
{
    EXPECT_EQ(captionToNeutralMarkup("  a \r\n  b\t c  "), "a b c");
}

TEST(CueMarkup, ConvertsCp949ToUtf8)
{
    EXPECT_EQ(captionToNeutralMarkup(cp949("가나<br>\r\n<i>다</i>")), "가나\n<i>다</i>");
    // A character CP949 lacks travels as a numeric reference and comes back as itself.
    EXPECT_EQ(captionToNeutralMarkup("&#128512;"), "\xf0\x9f\x98\x80");
}

TEST(CueMarkup, TurnsSubRipOverrideCodesBackIntoElements)
{
    EXPECT_EQ(captionToNeutralMarkup("{\\i1}Hello{\\i} {\\b1}{\\u1}x{\\u}{\\b}"),
              "<i>Hello</i> <b><u>x</u></b>");
    EXPECT_EQ(captionToNeutralMarkup("{x} {\\pos(1,2)}"), "{x} {\\pos(1,2)}");
}

TEST(CueMarkup, FollowsTheTagRulesOfTheListDisplay)
{
    EXPECT_EQ(captionToNeutralMarkup("a<b<br>c"), "a&lt;b\nc");
    EXPECT_EQ(captionToNeutralMarkup("ab<font color=red"), "ab");
    const std::string longTag = "<" + std::string(127, 'a');  // 128 bytes: no tag any more
    EXPECT_EQ(captionToNeutralMarkup("x" + longTag + ">y"),
              "x&lt;" + std::string(127, 'a') + "&gt;y");
    EXPECT_EQ(captionToNeutralMarkup("x<" + std::string(126, 'a') + ">y"), "xy");
}

TEST(CueMarkup, PlainTextMatchesTheListsPlainText)
{
    const std::string text = cp949("<b>가</b>&amp;<font color=blue>b</font><br>\r\nc");
    std::string expected = StripTags(text, false);
    DecodeEntities(expected);
    expected = test::utf8(expected);
    expected.replace(expected.find("\r\n"), 2, "\n");
    EXPECT_EQ(expected, "가&b\nc");
    EXPECT_EQ(cuePlainText(captionToNeutralMarkup(text)), expected);
}

TEST(CueColor, ParsesNamesAndHexForms)
{
    EXPECT_EQ(parseColor("Yellow"), 0xFFFF00u);
    EXPECT_EQ(parseColor(" lightgoldenrodyellow "), 0xFAFAD2u);
    EXPECT_EQ(parseColor("#1A2b3C"), 0x1A2B3Cu);
    EXPECT_EQ(parseColor("#abc"), 0xAABBCCu);
    EXPECT_EQ(parseColor("00ff00"), 0x00FF00u);
    EXPECT_EQ(parseColor("green"), 0x008000u);  // CSS, not X11
    EXPECT_FALSE(parseColor("#12345").has_value());
    EXPECT_FALSE(parseColor("#gggggg").has_value());
    EXPECT_FALSE(parseColor("reddish").has_value());
    EXPECT_FALSE(parseColor("").has_value());
}

TEST(CueColor, NamesColoursThatHaveAName)
{
    EXPECT_EQ(colorName(0xFFFF00), "yellow");
    EXPECT_EQ(colorName(0x00FFFF), "aqua");
    EXPECT_EQ(colorName(0x123456), "");
}

TEST(CueTokens, SplitsNeutralMarkup)
{
    const std::vector<CueToken> tokens =
        tokenizeCueText("a&lt;<i>b</i>\n<font color=\"#ff8000\">c</font>");
    ASSERT_EQ(tokens.size(), 8u);
    EXPECT_EQ(tokens[0].text, "a&lt;");
    EXPECT_EQ(tokens[1].kind, CueToken::Kind::Open);
    EXPECT_EQ(tokens[1].style, CueToken::Style::Italic);
    EXPECT_EQ(tokens[3].kind, CueToken::Kind::Close);
    EXPECT_EQ(tokens[4].kind, CueToken::Kind::LineBreak);
    EXPECT_EQ(tokens[5].style, CueToken::Style::Color);
    EXPECT_EQ(tokens[5].color, 0xFF8000u);
    EXPECT_EQ(tokens[7].kind, CueToken::Kind::Close);
    EXPECT_EQ(tokens[7].style, CueToken::Style::Color);
}

}  // namespace
}  // namespace verbanta
