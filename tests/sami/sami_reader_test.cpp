// The SAMI scanner: elements, attributes, paragraphs, comments, style sheets and the language
// repair of a whole load, plus the fragment inserts of the editing commands.
#include "sami/sami_reader.h"
#include "sami/sami_writer.h"

#include <gtest/gtest.h>

#include "model/sami_model.h"
#include "model/text_format.h"
#include "sami/sami_test_util.h"
#include "settings/app_settings.h"
#include "support/cp949.h"
#include "support/recording_messenger.h"

namespace verbanta {
namespace {

using test::cp949;
using test::entriesOf;
using test::samiWithBody;
using test::textsOf;

constexpr const char* kRepaired = "다국어 정보에 오류가 있어 수정하였습니다.";

class SamiReaderTest : public ::testing::Test {
protected:
    AppSettings settings;
    test::RecordingMessenger messenger;
    SamiModel model{settings};

    void SetUp() override { model.setMessenger(messenger); }

    void load(std::string_view bytes) { ASSERT_TRUE(model.LoadText(bytes)); }
    void loadBody(std::string_view bodyUtf8) { load(samiWithBody(bodyUtf8)); }

    std::vector<std::string> messages() const
    {
        std::vector<std::string> out;
        for (const auto& m : messenger.shown) out.push_back(m.text);
        return out;
    }
};

// ---- captions and attributes ------------------------------------------------------------

TEST_F(SamiReaderTest, KeepsEndTagsInCaptionAtEndOfBody)
{
    loadBody("<SYNC Start=1000><P Class=KRCC>Hello</P>");
    ASSERT_EQ(model.slotList(0).count(), 1);
    const SyncEntry e = model.slotList(0)[0];
    EXPECT_EQ(e.startMs, 1000);
    EXPECT_EQ(e.className, "KRCC");
    EXPECT_EQ(e.text, "Hello</P>");
    EXPECT_FALSE(e.isEndSync);
    EXPECT_EQ(e.flags, 7u);
}

TEST_F(SamiReaderTest, RecognisesEndSyncTexts)
{
    loadBody(
        "<SYNC Start=1000><P Class=KRCC>a\r\n"
        "<SYNC Start=2000><P Class=KRCC>&nbsp;\r\n"
        "<SYNC Start=3000><P Class=KRCC>\r\n"
        "<SYNC Start=4000><P Class=KRCC> <BR> \r\n"
        "<SYNC Start=5000><P Class=KRCC>&nbsp;&nbsp;");
    const auto entries = entriesOf(model, 0);
    ASSERT_EQ(entries.size(), 5u);
    EXPECT_FALSE(entries[0].isEndSync);
    EXPECT_TRUE(entries[1].isEndSync);
    EXPECT_TRUE(entries[2].isEndSync);
    EXPECT_EQ(entries[2].text, "");
    EXPECT_TRUE(entries[3].isEndSync);
    EXPECT_EQ(entries[3].text, "<BR>");
    EXPECT_FALSE(entries[4].isEndSync);
}

TEST_F(SamiReaderTest, ReadsStartInAnyCase)
{
    loadBody(
        "<SYNC start=1000><P Class=KRCC>lower\r\n"
        "<SYNC START=2000><P Class=KRCC>upper\r\n"
        "<SYNC Start='1500'><P Class=KRCC>quoted\r\n"
        "<SYNC Start=\" 2500 \"><P Class=KRCC>double\r\n"
        "<SYNC Start = 3000 ><P Class=KRCC>spaced\r\n"
        "<SYNC Start=-40><P Class=KRCC>negative\r\n"
        "<SYNC Start=x><P Class=KRCC>none");
    std::vector<int> times;
    for (const SyncEntry& e : entriesOf(model, 0)) times.push_back(e.startMs);
    EXPECT_EQ(times, (std::vector<int>{1000, 2000, 1500, 2500, 3000, -40, 0}));
}

TEST_F(SamiReaderTest, SaturatesHugeStartTimes)
{
    loadBody(
        "<SYNC Start=99999999999><P Class=KRCC>far\r\n<SYNC Start=-99999999999><P "
        "Class=KRCC>before");
    const auto entries = entriesOf(model, 0);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].startMs, 2147483647);
    EXPECT_EQ(entries[1].startMs, -2147483647 - 1);
}

TEST_F(SamiReaderTest, DoesNotLendTheTimeOfTheLastDocumentToASyncWithoutStart)
{
    loadBody("<SYNC Start=5000><P Class=KRCC>earlier");
    // A SYNC without START takes no time of its own; the file read before must not give one.
    loadBody("<SYNC><P Class=KRCC>later");
    const auto entries = entriesOf(model, 0);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].text, "later");
    EXPECT_EQ(entries[0].startMs, 0);
}

TEST_F(SamiReaderTest, QuotedClassIsTheClassItself)
{
    loadBody(
        "<SYNC Start=1000><p class=KRCC>a\r\n<SYNC Start=2000><P Class='ENCC'>b\r\n"
        "<SYNC Start=3000><P CLASS=\" KRCC \">c\r\n<SYNC Start=4000><P Class=\"ENCC\"/>d");
    ASSERT_EQ(model.listCount, 2);
    EXPECT_EQ(model.classNames[1], "ENCC");
    EXPECT_EQ(model.languages[1].selector, ".ENCC");
    EXPECT_EQ(textsOf(model, 0), (std::vector<std::string>{"a", "c"}));
    EXPECT_EQ(textsOf(model, 1), (std::vector<std::string>{"b", "d"}));
    // ENCC is missing from the style sheet, so the language is made for it.
    EXPECT_EQ(messages(), (std::vector<std::string>{kRepaired}));
}

TEST_F(SamiReaderTest, CleansClassValuesThatCouldNotBeWrittenBack)
{
    loadBody(
        "<SYNC Start=1><P Class='A\r\nB{}'>a\r\n<SYNC Start=2><P Class='C D>c\r\n"
        "<SYNC Start=3><P Class=E//>e");
    // Quoted white space stays; a brace, a quote left open and a "/" before the ">" do not.
    EXPECT_EQ(model.classNames[0], "'A\r\nB__'");
    EXPECT_EQ(model.classNames[1], "'C D'");
    EXPECT_EQ(model.classNames[2], "E");
    EXPECT_EQ(model.listCount, 3);
}

TEST_F(SamiReaderTest, DoesNotLetAnEmptyClassTakeTheIdForItsClassOnTheNextLoad)
{
    // Written back as "<P Class= ID=q>", it would read as the class "q": an empty class names
    // no language.
    loadBody("<SYNC Start=1><P Class=KRCC>k\r\n<SYNC Start=2><P ID=q Class=>f");
    ASSERT_EQ(model.listCount, 1);
    const auto entries = entriesOf(model, 0);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1].className, "KRCC");
    EXPECT_EQ(entries[1].id, "q");
    const std::string first = writeSami(model, -1);
    SamiModel again(settings);
    again.LoadText(first);
    EXPECT_EQ(writeSami(again, -1), first);
    EXPECT_TRUE(messages().empty());
    // Nor does a style sheet make a nameless class, whose captions would take it.
    load(samiWithBody("<SYNC Start=1><P>x", ". { Name:none; }\r\n.KRCC { Name:k; }"));
    ASSERT_EQ(model.languages.size(), 1u);
    EXPECT_EQ(model.languages[0].selector, ".KRCC");
    EXPECT_EQ(entriesOf(model, 0).at(0).className, "KRCC");
}

TEST_F(SamiReaderTest, DoesNotLetAQuoteLeftOpenSwallowTheIdOnTheNextLoad)
{
    loadBody("<SYNC Start=1><P Class=KRCC ID='a b>x\r\n<SYNC Start=2><P Class='K R>y");
    model.slotList(1)[0].id = "note";
    const std::string first = writeSami(model, -1);
    SamiModel again(settings);
    again.LoadText(first);
    EXPECT_EQ(again.slotList(0)[0].id, "'a b'");
    ASSERT_EQ(again.slotList(1).count(), 2);
    EXPECT_EQ(again.slotList(1)[0].className, "'K R'");
    EXPECT_EQ(again.slotList(1)[0].id, "note");
}

TEST_F(SamiReaderTest, DoesNotLetABraceInAClassEmptyTheParagraphRuleOnTheNextLoad)
{
    load(samiWithBody("<SYNC Start=1><P Class=KRCC>k\r\n<SYNC Start=2><P Class=a}P>x",
                      "P { color:yellow; }\r\n.KRCC { Name:k; }"));
    EXPECT_EQ(model.classNames[1], "a_P");
    SamiModel again(settings);
    again.LoadText(writeSami(model, -1));
    EXPECT_EQ(again.paragraphStyle.flags, ParagraphStyle::kColor);
    EXPECT_EQ(again.paragraphStyle.find("color")->value, "yellow");
    EXPECT_EQ(again.languages.size(), 2u);
}

TEST_F(SamiReaderTest, SplitsTwoParagraphsOfOneSyncIntoTheirLanguages)
{
    load(
        samiWithBody("<SYNC Start=1000><P Class=KRCC>한국어<P Class=ENCC>English\r\n"
                     "<SYNC Start=2000><P Class=KRCC>&nbsp;<P Class=ENCC>&nbsp;",
                     ".KRCC { Name:한국어; lang:ko-KR; SAMIType:CC; }\r\n"
                     ".ENCC { Name:영어; lang:en-US; SAMIType:CC; }"));
    ASSERT_EQ(model.listCount, 2);
    const auto kr = entriesOf(model, 0);
    const auto en = entriesOf(model, 1);
    ASSERT_EQ(kr.size(), 2u);
    ASSERT_EQ(en.size(), 2u);
    EXPECT_EQ(kr[0].text, cp949("한국어"));
    EXPECT_EQ(en[0].text, "English");
    EXPECT_EQ(kr[0].startMs, 1000);
    EXPECT_EQ(en[0].startMs, 1000);
    EXPECT_EQ(en[0].className, "ENCC");
    EXPECT_TRUE(kr[1].isEndSync);
    EXPECT_TRUE(en[1].isEndSync);
    EXPECT_TRUE(messages().empty());
}

TEST_F(SamiReaderTest, TrimsTextAroundTheParagraph)
{
    loadBody(
        "<SYNC Start=1000>\r\n  <P Class=KRCC>\r\n  caption text \r\n\r\n"
        "<SYNC Start=2000>stray<P Class=KRCC>\r\nsecond");
    EXPECT_EQ(textsOf(model, 0), (std::vector<std::string>{"caption text", "stray\r\nsecond"}));
}

TEST_F(SamiReaderTest, ReadsTheIdAttribute)
{
    loadBody("<SYNC Start=1000><P Class=KRCC ID=note>a\r\n<SYNC Start=2000><P id='x y'>b");
    const auto entries = entriesOf(model, 0);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].id, "note");
    EXPECT_EQ(entries[1].id, "'x y'");
}

TEST_F(SamiReaderTest, CommitsLastCaptionWithoutEndOfBody)
{
    load(
        cp949("<SAMI><BODY><SYNC Start=1000><P Class=KRCC>first\r\n"
              "<SYNC Start=2000><P Class=KRCC>last"));
    EXPECT_EQ(textsOf(model, 0), (std::vector<std::string>{"first", "last"}));
    EXPECT_EQ(model.slotList(0)[1].startMs, 2000);
}

TEST_F(SamiReaderTest, KeepsUnclosedTagVerbatim)
{
    loadBody("<SYNC Start=1000><P Class=KRCC>a<b<br>c<font color=red<i>d</i>");
    EXPECT_EQ(textsOf(model, 0), (std::vector<std::string>{"a<b<br>c<font color=red<i>d</i>"}));
}

TEST_F(SamiReaderTest, DoesNotLoseAnUnclosedTagAtTheEndOfTheText)
{
    // The end of the text abandons a tag as a "<" does: its bytes stay caption text.
    load("<SAMI><BODY><SYNC Start=1><P Class=KRCC>if a < b");
    EXPECT_EQ(textsOf(model, 0), (std::vector<std::string>{"if a < b"}));
    load("<SAMI><BODY><SYNC Start=1><P Class=KRCC>x<y");
    EXPECT_EQ(textsOf(model, 0), (std::vector<std::string>{"x<y"}));
    load("<SAMI><BODY><SYNC Start=1><P Class=KRCC>x </y");
    EXPECT_EQ(textsOf(model, 0), (std::vector<std::string>{"x &lt;/y"}));
    // Outside a caption such bytes are dropped as before.
    load("<SAMI><BODY><SYNC Start=1><P Class=KRCC>x</BODY> <i");
    EXPECT_EQ(textsOf(model, 0), (std::vector<std::string>{"x"}));
}

TEST_F(SamiReaderTest, DoesNotCutACaptionAtAnUnclosedSyncTag)
{
    // An unclosed tag is text only: it neither ends the caption nor changes the state.
    loadBody(
        "<SYNC Start=1000><P Class=KRCC>a<SYNC Start=2<br>b<P Class=X<i>c<STYLE x<br>d\r\n"
        "<SYNC Start=3000><P Class=KRCC>next");
    const auto entries = entriesOf(model, 0);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].text, "a<SYNC Start=2<br>b<P Class=X<i>c<STYLE x<br>d");
    EXPECT_EQ(entries[0].startMs, 1000);
    EXPECT_EQ(entries[1].text, "next");
    EXPECT_EQ(model.listCount, 1);
}

TEST_F(SamiReaderTest, DoesNotLetARemovedCommentCloseAnUnclosedTag)
{
    // Without the comment "<SYNC a" would meet "b>" and be read as a SYNC after a save.
    loadBody("<SYNC Start=1000><P Class=KRCC>x<SYNC a<!-- c -->b> <!-<!-- d -->-y <b<!-- e -->>");
    EXPECT_EQ(textsOf(model, 0),
              (std::vector<std::string>{"x&lt;SYNC ab> &lt;!--y <b>", "c", "d", "e"}));
    load(cp949("<TITLE>a<P x</TITLE>junk<TITLE>></TITLE>"));
    EXPECT_EQ(model.title, "a&lt;P x>");
    // In a title an end tag pieced together around a tag taken out would be dropped.
    load("<TITLE>t<<P>/b>u<<P>/TITLE>v</TITLE>");
    EXPECT_EQ(model.title, "t&lt;/b>u&lt;/TITLE>v");
    SamiModel again(settings);
    again.LoadText(writeSami(model, -1));
    EXPECT_EQ(again.title, model.title);
    // An end of BODY pieced together would end the caption where it stands.
    loadBody("<SYNC Start=1000><P Class=KRCC>x<<!-- c -->/BODY>y<<!-- -->/title>z");
    EXPECT_EQ(textsOf(model, 0), (std::vector<std::string>{"x&lt;/BODY>y&lt;/title>z", "c", ""}));
}

TEST_F(SamiReaderTest, KeepsOtherTagsInCaptionsAndDropsThemOutside)
{
    loadBody(
        "<div>outside</div><SYNC Start=1000><P Class=KRCC><font color=\"red\">x</font>"
        "<b/><br/>y");
    EXPECT_EQ(textsOf(model, 0),
              (std::vector<std::string>{"<font color=\"red\">x</font><b/><br/>y"}));
}

TEST_F(SamiReaderTest, StopsAtAZeroByte)
{
    std::string text = samiWithBody("<SYNC Start=1000><P Class=KRCC>before");
    text.insert(text.find("before") + 3, std::string(1, '\0'));
    load(text);
    EXPECT_EQ(textsOf(model, 0), (std::vector<std::string>{"bef"}));
}

TEST_F(SamiReaderTest, ReadsTheTitle)
{
    load(cp949("<SAMI><HEAD><TITLE>제목 <b>굵게</TITLE></HEAD><BODY></BODY></SAMI>"));
    EXPECT_EQ(model.title, cp949("제목 <b>굵게"));
}

TEST_F(SamiReaderTest, SurvivesTruncatedMarkup)
{
    for (const char* text : {"<", "</", "<!--", "<SYNC", "<SYNC Start=1", "<SYNC Start=1><P",
                             "<SYNC Start=1><P Class=K", "<STYLE><!-- P { color:red;",
                             "<SYNC Start=1><P Class=KRCC>x<!-- open", "</BODY", "<P Class='"}) {
        SCOPED_TRACE(text);
        EXPECT_TRUE(model.LoadText(text));
    }
    EXPECT_TRUE(model.LoadText("<SYNC Start=1><P Class=KRCC>x<!-- never closed"));
    EXPECT_EQ(textsOf(model, 0), (std::vector<std::string>{"x"}));
}

// ---- comments ---------------------------------------------------------------------------

TEST_F(SamiReaderTest, KeepsEveryCommentBeforeTheFirstCaptionInOrder)
{
    load(
        cp949("<SAMI><HEAD><!-- 하나 --><TITLE>t</TITLE><!-- two -->"
              "<STYLE><!-- .KRCC { Name:k; } --></STYLE></HEAD><BODY><!-- three -->"
              "<SYNC Start=1000><P Class=KRCC>caption</BODY></SAMI>"));
    const auto entries = entriesOf(model, 0);
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].text, cp949("하나"));
    EXPECT_EQ(entries[1].text, "two");
    EXPECT_EQ(entries[2].text, "three");
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(entries[static_cast<std::size_t>(i)].isComment);
        EXPECT_FALSE(entries[static_cast<std::size_t>(i)].isEndSync);
    }
    EXPECT_EQ(entries[3].text, "caption");
}

TEST_F(SamiReaderTest, CommentInsideCaptionFollowsItAndKeepsItsText)
{
    // As the writer puts it: the comment right after the caption's text.
    loadBody(
        "<SYNC Start=1000><P Class=KRCC>\r\nfirst\r\n<!--\r\nnote\r\n-->\r\n"
        "<SYNC Start=2000><P Class=KRCC>\r\nsecond\r\n<!--\r\nlast note\r\n-->");
    const auto entries = entriesOf(model, 0);
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].text, "first");
    EXPECT_EQ(entries[0].startMs, 1000);
    EXPECT_EQ(entries[1].text, "note");
    EXPECT_TRUE(entries[1].isComment);
    EXPECT_EQ(entries[2].text, "second");
    EXPECT_EQ(entries[3].text, "last note");
    EXPECT_TRUE(entries[3].isComment);
}

TEST_F(SamiReaderTest, CommentFollowsTheLanguageThatGotTheLastEntry)
{
    load(
        samiWithBody("<SYNC Start=1000><P Class=KRCC>k<P Class=ENCC>e<!-- after e -->\r\n"
                     "<SYNC Start=2000><P Class=KRCC>k2</BODY><!-- after k2 -->",
                     ".KRCC { Name:k; }\r\n.ENCC { Name:e; }"));
    EXPECT_EQ(textsOf(model, 0), (std::vector<std::string>{"k", "k2", "after k2"}));
    EXPECT_EQ(textsOf(model, 1), (std::vector<std::string>{"e", "after e"}));
}

TEST_F(SamiReaderTest, DoesNotTakeAnEmptyCommentForAnEndSync)
{
    // Were it one, deleting the caption before it with its end sync would delete the comment.
    loadBody("<SYNC Start=1000><P Class=KRCC>a<!-- -->\r\n<SYNC Start=2000><P Class=KRCC>b");
    const auto entries = entriesOf(model, 0);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_TRUE(entries[1].isComment);
    EXPECT_EQ(entries[1].text, "");
    EXPECT_FALSE(entries[1].isEndSync);
    EXPECT_FALSE(model.Remove(model.FindIndex(0), true, false));
    EXPECT_EQ(textsOf(model, 0), (std::vector<std::string>{"", "b"}));
}

TEST_F(SamiReaderTest, AcceptsShortCommentTerminators)
{
    loadBody("<!-- a -><!-- b ><SYNC Start=1><P Class=KRCC>x");
    EXPECT_EQ(textsOf(model, 0), (std::vector<std::string>{"a", "b", "x"}));
}

TEST_F(SamiReaderTest, KeepsCommentsOfAFileWithoutCaptions)
{
    loadBody("<!-- only a note -->");
    EXPECT_EQ(textsOf(model, 0), (std::vector<std::string>{"only a note"}));
}

TEST_F(SamiReaderTest, GivesAFileWithoutAnyLanguageOneSoThatItsContentIsSaved)
{
    load("<SAMI><BODY><!-- a note --></BODY></SAMI>");
    ASSERT_EQ(model.languages.size(), 1u);
    EXPECT_EQ(model.listCount, 1);
    EXPECT_EQ(model.languages[0].selector, ".KRCC");
    EXPECT_EQ(model.languages[0].flags, 0x1C00u);
    EXPECT_EQ(model.classNames[0], "KRCC");
    EXPECT_EQ(messages(), (std::vector<std::string>{kRepaired}));
    SyncEntry added;
    model.InitEntry(added);
    added.startMs = 500;
    added.text = "added";
    model.AddTail(added, true);
    const std::string saved = writeSami(model, -1);
    EXPECT_NE(saved.find("<!--\r\na note\r\n-->\r\n<SYNC Start=500><P Class=KRCC>\r\nadded\r\n"),
              std::string::npos);

    load("");
    EXPECT_EQ(model.listCount, 1);
    EXPECT_EQ(model.CurrentClassName(), "KRCC");
}

// ---- style sheet ------------------------------------------------------------------------

TEST_F(SamiReaderTest, ReadsRulesOfTheStyleSheet)
{
    load(
        cp949("<SAMI><HEAD><STYLE TYPE=\"text/css\"><!--\r\n"
              "P { margin-left:3pt; font-size: 18pt ; color:yellow; font-family:돋움; }\r\n"
              ".KRCC { Name:한국어; lang:ko-KR; SAMIType:CC; }\r\n"
              ".ENCC { Name:English; lang:en-US; }\r\n"
              "#Big { Name:Big Print; font-size:30pt; }\r\n"
              "--></STYLE></HEAD><BODY></BODY></SAMI>"));
    const ParagraphStyle& p = model.paragraphStyle;
    EXPECT_EQ(p.flags, ParagraphStyle::kMarginLeft | ParagraphStyle::kFontSize |
                           ParagraphStyle::kColor | ParagraphStyle::kFontFamily);
    EXPECT_EQ(p.find("margin-left")->points, 3);
    EXPECT_EQ(p.find("font-size")->points, 18);
    EXPECT_EQ(p.find("color")->value, "yellow");
    EXPECT_EQ(p.find("font-family")->value, cp949("돋움"));
    EXPECT_EQ(p.find("margin-right")->points, 8);  // absent keeps its old value

    ASSERT_EQ(model.languages.size(), 2u);
    EXPECT_EQ(model.languages[0].name(), cp949("한국어"));
    EXPECT_EQ(model.languages[0].flags, 0x1C00u);
    EXPECT_EQ(model.languages[1].lang(), "en-US");
    EXPECT_EQ(model.languages[1].flags, ParagraphStyle::kName | ParagraphStyle::kLang);
    EXPECT_EQ(model.listCount, 2);
    EXPECT_EQ(model.classNames[1], "ENCC");

    ASSERT_EQ(model.idStyles.size(), 1u);
    EXPECT_EQ(model.idStyles[0].selector, "#Big");
    EXPECT_EQ(model.idStyles[0].name(), "Big Print");
    EXPECT_EQ(model.idStyles[0].flags, ParagraphStyle::kName | ParagraphStyle::kFontSize);
    EXPECT_EQ(model.idStyles[0].find("font-size")->points, 30);
}

TEST_F(SamiReaderTest, DoesNotReadColorFromInsideBackgroundColor)
{
    model.SetParagraphRule("P { background-color:navy; }");
    EXPECT_EQ(model.paragraphStyle.flags, ParagraphStyle::kBackgroundColor);
    EXPECT_EQ(model.paragraphStyle.find("color")->value, "white");

    model.SetParagraphRule("P { background-color:navy; color :red; }");
    EXPECT_EQ(model.paragraphStyle.flags,
              ParagraphStyle::kBackgroundColor | ParagraphStyle::kColor);
    EXPECT_EQ(model.paragraphStyle.find("color")->value, "red");
    EXPECT_EQ(model.paragraphStyle.find("background-color")->value, "navy");
}

TEST_F(SamiReaderTest, DoesNotReadAPropertyFromInsideAnotherValue)
{
    // A value written back as it was read must not lend a later property its value.
    model.SetParagraphRule("P { font-family:a P { color:red 0; color:white; }");
    EXPECT_EQ(model.paragraphStyle.find("font-family")->value, "a P { color:red 0");
    EXPECT_EQ(model.paragraphStyle.find("color")->value, "white");
    model.SetParagraphRule("P {\r\n  font-size : 9pt ;margin-left:1pt}");
    EXPECT_EQ(model.paragraphStyle.flags, ParagraphStyle::kFontSize | ParagraphStyle::kMarginLeft);
    EXPECT_EQ(model.paragraphStyle.find("font-size")->points, 9);
    EXPECT_EQ(model.paragraphStyle.find("margin-left")->points, 1);
}

TEST_F(SamiReaderTest, TakesTheLastPropertyWithoutSemicolon)
{
    model.SetParagraphRule("P {color:red; font-size:12pt}");
    EXPECT_EQ(model.paragraphStyle.find("color")->value, "red");
    EXPECT_EQ(model.paragraphStyle.find("font-size")->points, 12);
    EXPECT_TRUE(model.paragraphStyle.has(ParagraphStyle::kFontSize));
}

TEST_F(SamiReaderTest, CutsPointValuesAtPt)
{
    model.SetParagraphRule("P { margin-top:7px; margin-left:12pt; font-size:pt; }");
    EXPECT_EQ(model.paragraphStyle.find("margin-top")->points, 7);
    EXPECT_EQ(model.paragraphStyle.find("margin-left")->points, 12);
    EXPECT_EQ(model.paragraphStyle.find("font-size")->points, 0);
}

TEST_F(SamiReaderTest, IgnoresStyleSheetOutsideAComment)
{
    load(
        cp949("<SAMI><HEAD><STYLE>P { color:red; } .ENCC { Name:e; }</STYLE></HEAD>"
              "<BODY><SYNC Start=1><P Class=KRCC>x</BODY></SAMI>"));
    EXPECT_EQ(model.paragraphStyle.flags, 0xEBFFu);
    EXPECT_EQ(model.paragraphStyle.find("color")->value, "white");
    ASSERT_EQ(model.languages.size(), 1u);
    EXPECT_EQ(model.languages[0].selector, ".KRCC");
}

TEST_F(SamiReaderTest, StopsTheStyleSheetAtAnUnclosedRule)
{
    ParseStyleSheet(model, "#A { Name:a; } .X { Name:x; #B { Name:b; }");
    EXPECT_NE(model.FindStyle("#A"), -1);
    EXPECT_NE(model.FindStyle(".X"), -1);  // its rule runs to the next "}"
    EXPECT_EQ(model.FindStyle("#B"), -1);
    ParseStyleSheet(model, "#C { Name:c; } #D { Name:d;");
    EXPECT_NE(model.FindStyle("#C"), -1);
    EXPECT_EQ(model.FindStyle("#D"), -1);
}

TEST_F(SamiReaderTest, DoesNotTakeTheTailOfAnInventedClassForAParagraphRule)
{
    // As the writer writes an invented class such as "x/P": were its tail read as a P rule, it
    // would empty the P rule of every file saved with such a class.
    ParseStyleSheet(model, ".x/P { Name:x/P; }\r\n#A{ Name:a; }.B { Name:b; }");
    EXPECT_EQ(model.paragraphStyle.flags, 0xEBFFu);
    EXPECT_NE(model.FindStyle("#A"), -1);
    EXPECT_NE(model.FindStyle(".B"), -1);
}

TEST_F(SamiReaderTest, KeepsDefaultsWithoutParagraphRuleOrTitle)
{
    loadBody("<SYNC Start=1><P Class=KRCC>x");
    EXPECT_EQ(model.title, "");
    EXPECT_EQ(model.paragraphStyle.flags, 0xEBFFu);
}

// ---- language repair ----------------------------------------------------------------------

TEST_F(SamiReaderTest, InventsALanguageForAnUndefinedClass)
{
    loadBody("<SYNC Start=1><P Class=KRCC>k\r\n<SYNC Start=2><P Class=JPCC>j");
    ASSERT_EQ(model.languages.size(), 2u);
    const LanguageInfo& jp = model.languages[1];
    EXPECT_EQ(jp.selector, ".JPCC");
    EXPECT_EQ(jp.name(), "JPCC");
    EXPECT_EQ(jp.lang(), "ko-KR");
    EXPECT_EQ(jp.samiType(), "CC");
    EXPECT_EQ(jp.flags, 0x1C00u);
    EXPECT_EQ(messages(), (std::vector<std::string>{kRepaired}));
}

TEST_F(SamiReaderTest, DropsLanguagesTheSyncsDoNotUse)
{
    load(samiWithBody("<SYNC Start=1><P Class=KRCC>k",
                      ".KRCC { Name:k; }\r\n.ENCC { Name:e; }\r\n.JPCC { Name:j; }"));
    ASSERT_EQ(model.languages.size(), 1u);
    EXPECT_EQ(model.languages[0].selector, ".KRCC");
    EXPECT_EQ(model.listCount, 1);
    EXPECT_EQ(messages(), (std::vector<std::string>{kRepaired}));
}

TEST_F(SamiReaderTest, OrdersLanguagesAsTheSyncsMeetThem)
{
    load(samiWithBody("<SYNC Start=1><P Class=KRCC>k<P Class=ENCC>e",
                      ".ENCC { Name:e; }\r\n.KRCC { Name:k; }"));
    ASSERT_EQ(model.languages.size(), 2u);
    EXPECT_EQ(model.languages[0].selector, ".KRCC");
    EXPECT_EQ(model.languages[1].selector, ".ENCC");
    EXPECT_TRUE(messages().empty());
}

TEST_F(SamiReaderTest, KeepsAllLanguagesOfAFileWithoutSyncs)
{
    load(samiWithBody("", ".KRCC { Name:k; }\r\n.ENCC { Name:e; }\r\n.JPCC { Name:j; }"));
    EXPECT_EQ(model.listCount, 3);
    EXPECT_EQ(model.languages.size(), 3u);
    EXPECT_EQ(model.classNames[2], "JPCC");
    EXPECT_TRUE(messages().empty());
}

TEST_F(SamiReaderTest, PutsClassesBeyondTenIntoTheTenthListAndSaysSoOnce)
{
    std::string body;
    for (int i = 0; i < 13; ++i)
        body += "<SYNC Start=" + std::to_string(1000 * (i + 1)) + "><P Class=L" +
                std::to_string(i) + ">caption " + std::to_string(i) + "\r\n";
    loadBody(body);
    EXPECT_EQ(model.listCount, 10);
    EXPECT_EQ(model.languages.size(), 10u);
    EXPECT_EQ(textsOf(model, 9),
              (std::vector<std::string>{"caption 9", "caption 10", "caption 11", "caption 12"}));
    EXPECT_EQ(model.slotList(9)[3].className, "L12");
    const auto shown = messages();
    EXPECT_EQ(std::count(shown.begin(), shown.end(), std::string(kTooManyLanguagesMessage)), 1);
    // Saved alone, the tenth list is one language, and it reads back as that one language.
    const std::string alone = writeSami(model, 9);
    SamiModel again(settings);
    again.LoadText(alone);
    EXPECT_EQ(again.listCount, 1);
    EXPECT_EQ(again.classNames[0], "L9");
    // The written automatic end sync is read back as an entry of that one language.
    std::vector<std::string> expected = textsOf(model, 9);
    expected.push_back("&nbsp;");
    EXPECT_EQ(textsOf(again, 0), expected);
    EXPECT_EQ(writeSami(again, -1), alone);
}

TEST_F(SamiReaderTest, KeepsAtMostTenLanguagesOfAFileWithoutSyncs)
{
    std::string style;
    for (int i = 0; i < 12; ++i) style += ".L" + std::to_string(i) + " { Name:n; }\r\n";
    load(samiWithBody("", style));
    EXPECT_EQ(model.listCount, 10);
    EXPECT_EQ(model.languages.size(), 10u);
    EXPECT_EQ(messages(), (std::vector<std::string>{kRepaired}));
}

TEST_F(SamiReaderTest, MarksEachWholeListAsTheRangeAndChecksOrder)
{
    settings.DisplayErrorSync = true;
    load(
        samiWithBody("<SYNC Start=1000><P Class=KRCC>a<P Class=ENCC>x\r\n"
                     "<SYNC Start=500><P Class=KRCC>b\r\n<SYNC Start=3000><P Class=KRCC>c",
                     ".KRCC { Name:k; }\r\n.ENCC { Name:e; }"));
    const auto kr = entriesOf(model, 0);
    ASSERT_EQ(kr.size(), 3u);
    EXPECT_TRUE(kr[0].rangeStart);
    EXPECT_FALSE(kr[1].rangeStart || kr[1].rangeEnd);
    EXPECT_TRUE(kr[2].rangeEnd);
    EXPECT_TRUE(kr[0].syncError);  // 1000 before 500
    const auto en = entriesOf(model, 1);
    ASSERT_EQ(en.size(), 1u);
    EXPECT_TRUE(en[0].rangeStart);
    EXPECT_FALSE(en[0].rangeEnd);
    EXPECT_EQ(model.playCursor, model.slotList(0).head());
    EXPECT_FALSE(model.CanUndo());
}

// ---- fragments --------------------------------------------------------------------------

class SamiFragmentTest : public SamiReaderTest {
protected:
    void SetUp() override
    {
        SamiReaderTest::SetUp();
        loadBody(
            "<SYNC Start=1000><P Class=KRCC>one\r\n<SYNC Start=2000><P Class=KRCC>two\r\n"
            "<SYNC Start=3000><P Class=KRCC>three");
    }
    static std::string block(int ms, const std::string& text)
    {
        return "<SYNC Start=" + std::to_string(ms) + "><P Class=KRCC>\r\n" + text + "\r\n";
    }
};

TEST_F(SamiFragmentTest, InsertsBeforeARowAsOneUndoStep)
{
    const Position last = model.InsertTextBefore(1, block(1500, "a") + block(1600, "b"), true);
    EXPECT_EQ(textsOf(model, 0), (std::vector<std::string>{"one", "a", "b", "two", "three"}));
    EXPECT_EQ(model.IndexOf(last), 2);
    ASSERT_EQ(model.journal().size(), 2);
    EXPECT_TRUE(model.journal().at(model.journal().firstPosition())->groupBegin);
    EXPECT_TRUE(model.journal().at(model.journal().lastPosition())->groupEnd);
}

TEST_F(SamiFragmentTest, InsertsAtTheHeadForRowZero)
{
    model.InsertTextBefore(0, block(10, "head"), false);
    EXPECT_EQ(textsOf(model, 0).front(), "head");
    EXPECT_EQ(model.journal().size(), 1);
}

TEST_F(SamiFragmentTest, InsertsAfterARowAndReturnsTheStartWhenNothingWasParsed)
{
    model.InsertTextAfter(2, block(4000, "four"));
    EXPECT_EQ(textsOf(model, 0).back(), "four");
    const Position start = model.FindIndex(0);
    EXPECT_EQ(model.InsertTextAfter(0, "no markup here"), start);
}

TEST_F(SamiFragmentTest, AppendsWithoutUndo)
{
    model.AppendTextAt(model.GetTailPosition(), block(5000, "appended"));
    EXPECT_EQ(textsOf(model, 0).back(), "appended");
    EXPECT_FALSE(model.CanUndo());
}

TEST_F(SamiFragmentTest, PlacesAHeldCommentOfAPasteIntoTheCurrentList)
{
    model.InsertTextBefore(1, "<!-- pasted note -->" + block(1500, "a"), true);
    EXPECT_EQ(textsOf(model, 0),
              (std::vector<std::string>{"one", "pasted note", "a", "two", "three"}));
    model.InsertTextAfter(4, "<!-- alone -->");
    EXPECT_EQ(textsOf(model, 0).back(), "alone");
}

TEST_F(SamiFragmentTest, GivesANewClassOfAPasteALanguage)
{
    model.InsertTextBefore(3, "<SYNC Start=9><P Class=ENCC>\r\nenglish\r\n", true);
    ASSERT_EQ(model.listCount, 2);
    ASSERT_EQ(model.languages.size(), 2u);
    EXPECT_EQ(model.languages[1].selector, ".ENCC");
    EXPECT_EQ(textsOf(model, 1), (std::vector<std::string>{"english"}));
    EXPECT_EQ(model.GetCount(), 3);
}

TEST_F(SamiFragmentTest, KeepsAPasteOfMoreThanTheJournalHoldsInOneStep)
{
    std::string text;
    for (int i = 0; i < 1200; ++i) text += block(10000 + i, "p" + std::to_string(i));
    model.InsertTextBefore(3, text, true);
    EXPECT_EQ(model.GetCount(), 1203);
    const UndoJournal& j = model.journal();
    ASSERT_EQ(j.size(), 1200);
    EXPECT_TRUE(j.at(j.firstPosition())->groupBegin);
    EXPECT_TRUE(j.at(j.lastPosition())->groupEnd);
}

TEST_F(SamiFragmentTest, DoesNotCutATypedCaptionAtAnAngleBracket)
{
    // The edit panel and the paste send each caption as a block that ends with its text.
    model.ReplaceAt(1, FormatSyncBlock("a < b", "KRCC", 2000));
    model.InsertTextAfter(2, FormatSyncBlock("if x<y", "KRCC", 4000));
    model.InsertTextBefore(0, FormatSyncBlock("<- back", "KRCC", 500), true);
    EXPECT_EQ(textsOf(model, 0),
              (std::vector<std::string>{"<- back", "one", "a < b", "three", "if x<y"}));
    SamiModel again(settings);
    again.LoadText(writeSami(model, -1));
    EXPECT_EQ(textsOf(again, 0),
              (std::vector<std::string>{"<- back", "one", "a < b", "three", "if x<y", "&nbsp;"}));
}

TEST_F(SamiFragmentTest, ReplacesARowKeepingItsMarksInOneUndoStep)
{
    SyncEntry marked = model.GetAt(model.FindIndex(1));
    marked.checked = 1;
    marked.bookmarked = 1;
    model.SetAt(model.FindIndex(1), marked, false);

    model.ReplaceAt(1, block(2100, "replaced"));
    EXPECT_EQ(textsOf(model, 0), (std::vector<std::string>{"one", "replaced", "three"}));
    const SyncEntry now = model.GetAt(model.FindIndex(1));
    EXPECT_EQ(now.startMs, 2100);
    EXPECT_TRUE(now.checked);
    EXPECT_TRUE(now.bookmarked);
    const UndoJournal& j = model.journal();
    ASSERT_EQ(j.size(), 3);  // delete, insert, modify
    EXPECT_EQ(j.at(j.firstPosition())->kind, UndoRecord::kDelete);
    EXPECT_TRUE(j.at(j.firstPosition())->groupBegin);
    EXPECT_EQ(j.at(j.lastPosition())->kind, UndoRecord::kModify);
    EXPECT_TRUE(j.at(j.lastPosition())->groupEnd);
}

}  // namespace
}  // namespace verbanta
