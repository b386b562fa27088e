// The waveform's time 0 is the player's: libmpv plays each burst where the analysis puts it.
// libmpv runs without picture or sound and reports where its own audio filter hears the
// bursts begin (FFmpeg's informative messages reach libmpv's log at its verbose level).
#include <gtest/gtest.h>
#include <mpv/client.h>

#include <clocale>
#include <cstdlib>
#include <cstring>

#include "generated_media.h"
#include "waveform_analysis.h"

namespace verbanta::media {
namespace {

/// Where libmpv's playback of the file hears each burst begin, in ms of its "time-pos".
std::vector<double> onsetsThePlayerHears(const std::string& path)
{
    std::setlocale(LC_NUMERIC, "C");
    mpv_handle* mpv = mpv_create();
    if (!mpv)
        return {};
    for (const auto& [name, value] : {std::pair{"vo", "null"},
                                      {"ao", "null"},
                                      {"ao-null-untimed", "yes"},
                                      {"untimed", "yes"},
                                      {"terminal", "no"},
                                      {"af", "lavfi=[silencedetect=n=-30dB:d=0.05]"}})
        mpv_set_option_string(mpv, name, value);
    std::vector<double> onsets;
    if (mpv_initialize(mpv) >= 0 && mpv_request_log_messages(mpv, "v") >= 0) {
        const char* load[] = {"loadfile", path.c_str(), nullptr};
        mpv_command(mpv, load);
        for (;;) {
            const mpv_event* event = mpv_wait_event(mpv, 10.0);
            if (event->event_id == MPV_EVENT_LOG_MESSAGE) {
                const auto* log = static_cast<const mpv_event_log_message*>(event->data);
                if (const char* end = std::strstr(log->text, "silence_end: "))
                    onsets.push_back(std::atof(end + std::strlen("silence_end: ")) * 1000.0);
            }
            if (event->event_id == MPV_EVENT_END_FILE || event->event_id == MPV_EVENT_NONE)
                break;
        }
    }
    mpv_terminate_destroy(mpv);
    // The end of the sound is heard as the end of a silence too.
    if (!onsets.empty())
        onsets.pop_back();
    return onsets;
}

TEST(PlayerTimeline, PlaysEachBurstWhereTheWaveformShowsIt)
{
    VERBANTA_NEED_MEDIA();
    for (const std::string& path : {test::Media().tonesMp4(), test::Media().tonesMkv(),
                                    test::Media().tonesTs(), test::Media().tonesMp4At5s()}) {
        WaveformAnalysis analysis(path, -1, nullptr);
        analysis.wait();
        const std::vector<double> shown =
            test::Onsets(analysis.peaks(PeakPyramid::kBaseMs), PeakPyramid::kBaseMs);
        test::ExpectOnsetsNear(onsetsThePlayerHears(path), shown, path);
    }
}

}  // namespace
}  // namespace verbanta::media
