#include "checks/check_rules.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "checks/caption_measure.h"
#include "model/sync_list.h"
#include "settings/app_settings.h"
#include "support/cp949.h"

namespace verbanta {
namespace {

using test::cp949;

SyncEntry Caption(std::int32_t ms, const std::string& utf8)
{
    SyncEntry e;
    e.startMs = ms;
    e.text = cp949(utf8);
    return e;
}

SyncEntry EndSync(std::int32_t ms)
{
    SyncEntry e;
    e.startMs = ms;
    e.isEndSync = 1;
    e.text = "&nbsp;";
    return e;
}

SyncEntry Comment(const std::string& text)
{
    SyncEntry e;
    e.isComment = 1;
    e.text = text;
    return e;
}

/// The findings of the list's first row as "rule=value" ("rule" alone without a value).
std::set<std::string> FirstRowFindings(std::vector<SyncEntry> entries, double fps = 24)
{
    SyncList list;
    for (SyncEntry& e : entries) list.insertAt(list.count(), std::move(e));
    const CaptionRules rules(CheckProfile(), fps);
    std::vector<CheckFinding> findings;
    rules.appendFindings(list, 0, 0, findings);
    std::set<std::string> out;
    CheckRuleSet bits = 0;
    for (const CheckFinding& f : findings) {
        std::string s(checkRuleId(f.rule));
        if (f.value) {
            std::string v = std::to_string(*f.value);
            v.erase(v.find_last_not_of('0') + 1);
            if (v.back() == '.')
                v.pop_back();
            s += "=" + v;
        }
        out.insert(s);
        bits |= ruleBit(f.rule);
    }
    EXPECT_EQ(bits, rules.rulesAt(list, 0)) << "the marks and the findings disagree";
    return out;
}

using Found = std::set<std::string>;

TEST(CaptionMeasure, CountsDoubleByteLettersOneAndOthersAHalfWithoutMarkup)
{
    // 가나다 is 3 letters, " abc" 2: ten halves.
    EXPECT_EQ(measureCaption(cp949("가나다 abc")).halfLetters, 10);
    // Tags are left out; "&amp;" is one half, "&copy;" a double-byte character.
    EXPECT_EQ(measureCaption(cp949("<font color=red>가</font>&amp;&copy;&bogus")).halfLetters,
              2 + 1 + 2 + 6);
    // Lines split at <br>; blank lines at either end do not count, one between does.
    const CaptionMeasure m = measureCaption(cp949("<br>가 <br>\r\n<br>나나나<br> "));
    EXPECT_EQ(m.lines, 3);
    EXPECT_EQ(m.halfLetters, 8);
    EXPECT_EQ(m.longestLineHalfLetters, 6);
    EXPECT_EQ(measureCaption("<i> </i>&nbsp;<br>").lines, 0);
}

TEST(CaptionMeasure, CountsTagsThatDoNotPair)
{
    EXPECT_EQ(measureCaption("<i>a</i><B>b</b>").unbalancedTags, 0);
    EXPECT_EQ(measureCaption("<font color=red>a").unbalancedTags, 1);
    EXPECT_EQ(measureCaption("a</u>").unbalancedTags, 1);
    EXPECT_EQ(measureCaption("<b><i>a</b>").unbalancedTags, 1);  // <i> ended across </b>
    // Elements standing alone, the caption's own paragraph and text that is no tag.
    EXPECT_EQ(measureCaption("a<br>b<br/><img src=x><u/></P>a < b <3").unbalancedTags, 0);
}

TEST(CaptionRules, ReadingSpeedIsLettersPerSecondOverTheDuration)
{
    const std::string twelve = "가나다라마바사아자차카타";
    EXPECT_EQ(FirstRowFindings({Caption(0, twelve), EndSync(1000)}), Found{});
    EXPECT_EQ(FirstRowFindings({Caption(0, twelve + "a"), EndSync(1000)}),
              Found{"reading_speed=12.5"});
    // Without an end sync the duration runs to the next caption; a broken limit is rounded up.
    EXPECT_EQ(FirstRowFindings({Caption(0, twelve + twelve + "a"), Caption(2001, "가")}),
              (Found{"reading_speed=12.25", "letters_per_line=24.5"}));
}

TEST(CaptionRules, LinesAndLettersPerLine)
{
    const std::string sixteen = "가나다라마바사아자차카타파하가나";
    EXPECT_EQ(FirstRowFindings({Caption(0, sixteen + "<br>a<br>b"), EndSync(5000)}),
              Found{"line_count=3"});
    EXPECT_EQ(FirstRowFindings({Caption(0, sixteen + "!<br>a"), EndSync(5000)}),
              Found{"letters_per_line=16.5"});
}

TEST(CaptionRules, DurationsGapAndSilence)
{
    EXPECT_EQ(FirstRowFindings({Caption(0, "가"), EndSync(999)}), Found{"min_duration=999"});
    EXPECT_EQ(FirstRowFindings({Caption(0, "가"), Caption(1000, "나")}), Found{});
    EXPECT_EQ(FirstRowFindings({Caption(0, "가"), EndSync(7001)}), Found{"max_duration=7001"});
    // With no end sync a long wait for the next caption is a missing end, not a long duration.
    EXPECT_EQ(FirstRowFindings({Caption(0, "가"), Caption(7001, "나")}),
              Found{"no_end_before_silence=7001"});
    EXPECT_EQ(FirstRowFindings({Caption(0, "가"), Comment("x")}), Found{"no_end_before_silence"});
    // Two frames are 83 ms at 24 per second and 80 at 25; comments and a second end sync are
    // looked past.
    const std::vector<SyncEntry> close = {Caption(0, "가"), Comment("x"), EndSync(2000),
                                          EndSync(2010), Caption(2082, "나")};
    EXPECT_EQ(FirstRowFindings(close), Found{"min_gap=82"});
    EXPECT_EQ(FirstRowFindings(close, 25), Found{});
    // A caption running into the next one has no gap to keep.
    EXPECT_EQ(FirstRowFindings({Caption(0, "가"), Caption(1500, "나")}), Found{});
}

TEST(CaptionRules, EmptyCaptionsAndTags)
{
    EXPECT_EQ(FirstRowFindings({Caption(0, "<font color=red>&nbsp; "), Caption(500, "가")}),
              (Found{"empty_caption", "unbalanced_tags=1"}));
    EXPECT_EQ(FirstRowFindings({Caption(0, "<i>가"), EndSync(2000)}), Found{"unbalanced_tags=1"});
}

TEST(CaptionRules, CommentsAndEndSyncsAreNeverChecked)
{
    SyncList list;
    list.insertAt(0, Comment(std::string(500, 'x')));
    list.insertAt(1, EndSync(0));
    list.insertAt(2, Caption(100, "가"));
    list.insertAt(3, EndSync(1500));
    const std::vector<CheckFinding> findings = checkList(list, 4, CaptionRules(CheckProfile(), 24));
    ASSERT_EQ(findings.size(), 0u);
    list[3].startMs = 500;
    const std::vector<CheckFinding> late = checkList(list, 4, CaptionRules(CheckProfile(), 24));
    ASSERT_EQ(late.size(), 1u);
    EXPECT_EQ(late[0].slot, 4);
    EXPECT_EQ(late[0].row, 2);
    EXPECT_EQ(late[0].startMs, 100);
    EXPECT_EQ(late[0].rule, CheckRule::MinDuration);
}

TEST(CheckProfile, ComesFromTheOptionsWithTheGuidanceAsDefaults)
{
    AppSettings settings;
    EXPECT_EQ(CheckProfile::fromSettings(settings), CheckProfile());
    settings.CheckMaxLines = 3;
    settings.CheckMinGapFrames = 4;
    const CheckProfile p = CheckProfile::fromSettings(settings);
    EXPECT_EQ(p.maxLines, 3);
    EXPECT_EQ(p.minGapFrames, 4);
    EXPECT_EQ(CaptionRules(p, 0).minGapMs(), 167);  // no frame rate: 24 per second
}

}  // namespace
}  // namespace verbanta
