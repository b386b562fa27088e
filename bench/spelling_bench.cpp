// The spelling check on a 2,000-caption Korean file: every word of every caption, markup and
// entities left out as the edit panel leaves them, judged by the Korean dictionary one by one
// (no verdict kept between words) in at most 1 s. Reading the dictionary is shown apart: the
// checker's thread does it once, while the user goes on typing.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <memory>
#include <string>
#include <vector>

#include "caption_codec.h"
#include "model/codepage.h"
#include "model/sami_model.h"
#include "settings/app_settings.h"
#include "spelling/spell_dictionary.h"
#include "spelling/spell_words.h"

namespace verbanta {
namespace {

constexpr int kCaptions = 2000;

// Lines of ordinary dialogue, a few of them misspelt as people type them.
const char* const kLines[] = {
    "지금 어디 가는 거야?",
    "<i>그건 내가 말했잖아요.</i>",
    "오늘은 날씨가 정말 좋네요",
    "잠깐만 기다려 줄래?<br>금방 올게",
    "<font color=\"yellow\">경찰</font>에 신고했어요",
    "아무도 믿을 수 없어",
    "우리가 처음 만났던 곳 기억나?",
    "그 사람은 벌써 떠났습니다",
    "배고프지 않아? 뭐 좀 먹을래?",
    "이번 주말에 영화 보러 갈까요",
    "안녕하세여 반갑습니다",
    "문을 열어 주세요&nbsp;빨리!",
    "너무 늦었어.<br>이제 돌아갈 수 없어",
    "그래서 어떻게 됐는데?",
    "미안해요 제가 잘못했어요",
    "학교에 가기 싫어",
    "내일 아침 일찍 출발합니다",
    "전화 좀 받아 봐",
    "정말 고마워요 덕분에 살았어요",
    "그게 무슨 소리야?",
    "여기서 뭐 하고 있었어?",
    "사실은 다 알고 있었어요",
    "조심해! 뒤에 누가 있어",
    "걱정하지 마세요 괜찮을 거예요",
    "언제부터 여기 있었던 거야",
    "<b>절대로</b> 포기하지 않을 거야",
    "그 편지를 아직도 가지고 있어?",
    "비밀을 지켜 줄 수 있지?",
    "이건 우리만의 약속이야",
    "다시는 그런 말 하지 마",
};

/// A SAMI file of 2,000 Korean captions, read into a model as the editor reads one.
std::vector<QString> captionTexts()
{
    std::string sami = "<SAMI><BODY>\r\n";
    for (int i = 0; i < kCaptions; ++i) {
        const char* line = kLines[(i * 7) % std::size(kLines)];
        sami += "<SYNC Start=" + std::to_string(i * 3000) + "><P Class=KRCC>\r\n" +
                utf8ToCp949(line) + "\r\n";
    }
    sami += "</BODY></SAMI>\r\n";
    AppSettings settings;
    SamiModel model(settings);
    model.LoadText(sami);
    std::vector<QString> texts;
    for (int row = 0; row < model.GetCount(); ++row)
        texts.push_back(app::CaptionCodec::toDisplay(model.list()[row].text));
    return texts;
}

void BM_SpellCheckKoreanFile(benchmark::State& state)
{
    static app::SpellDictionary dictionary;
    static double loadMs = 0;
    if (!dictionary.isLoaded()) {
        QElapsedTimer timer;
        timer.start();
        if (!dictionary.load(QStringLiteral("ko_KR"))) {
            state.SkipWithError("the Korean Hunspell dictionary is not installed");
            return;
        }
        loadMs = static_cast<double>(timer.elapsed());
    }
    const std::vector<QString> texts = captionTexts();
    int words = 0;
    int misspelt = 0;
    for (auto _ : state) {
        words = misspelt = 0;
        for (const QString& text : texts) {
            for (const app::SpellWord& w : app::spellWords(text)) {
                if (!w.hangul)
                    continue;
                ++words;
                misspelt += dictionary.check(text.mid(w.start, w.length)) ? 0 : 1;
            }
        }
    }
    state.counters["captions"] = static_cast<double>(texts.size());
    state.counters["words"] = words;
    state.counters["misspelt"] = misspelt;
    state.counters["dictionary_load_ms"] = loadMs;
}
BENCHMARK(BM_SpellCheckKoreanFile)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace verbanta

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
