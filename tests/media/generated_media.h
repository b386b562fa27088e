#pragma once

// Small media files made by the ffmpeg program while the tests run: tone bursts at known times
// on the player's timeline, in several containers and track layouts.

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "peak_pyramid.h"
#include "support/temp_folder.h"

namespace verbanta::test {

inline constexpr const char* kFfmpeg = "/usr/bin/ffmpeg";

/// Where the bursts of the tone files start on the player's timeline, and how loud they are.
/// The first frames of the shots of the shot clips, after frame 0.
inline const std::vector<int> kShotFrames{50, 100, 176, 251};
inline const std::vector<double> kToneOnsetsMs{1000.0, 3250.0, 6500.0};
inline constexpr double kToneAmplitude = 0.5;

namespace detail {

inline bool ffmpeg(const std::string& args)
{
    const std::string command =
        std::string(kFfmpeg) + " -nostdin -hide_banner -loglevel error -y " + args;
    return std::system(command.c_str()) == 0;
}

inline std::string burstExpression(const std::vector<double>& localOnsets)
{
    std::string sum;
    for (double at : localOnsets)
        sum += (sum.empty() ? "" : "+") + std::string("between(t,") + std::to_string(at) + "," +
               std::to_string(at + 0.2) + ")";
    return "'" + std::to_string(kToneAmplitude) + "*sin(2*PI*1000*t)*(" + sum + ")'";
}

inline std::string tones(const std::vector<double>& localOnsets, double seconds)
{
    const std::string e = burstExpression(localOnsets);
    return "-f lavfi -i \"aevalsrc=" + e + "|" + e + ":s=48000:d=" + std::to_string(seconds) +
           "\" ";
}

inline const std::string kVideo = "-f lavfi -i color=c=black:s=64x36:r=25:d=8 ";
inline const std::string kShots =
    "-f lavfi -i testsrc=s=320x180:r=25:d=2 -f lavfi -i smptebars=s=320x180:r=25:d=2 "
    "-f lavfi -i testsrc=s=960x180:r=25:d=3 -f lavfi -i rgbtestsrc=s=320x180:r=25:d=2 "
    "-f lavfi -i smptehdbars=s=320x180:r=25:d=2 -f lavfi -i testsrc2=s=320x180:r=25:d=2 "
    "-filter_complex \"[2]trim=end_frame=1,loop=loop=75:size=1,setpts=N/25/TB,"
    "crop=320:180:x='n*4':y=0[pan];[3][4]xfade=transition=fade:duration=1:offset=1[fade];"
    "[0][1][pan][fade][5]concat=n=5:v=1:a=0,format=yuv420p[v]\" -map [v] ";
inline const std::string kX264 = "-c:v libx264 -preset ultrafast -pix_fmt yuv420p ";

}  // namespace detail

/// The test files, each made by ffmpeg when first asked for (a test process makes only what
/// its test uses) and removed at exit. A path is empty when ffmpeg failed to make it.
class GeneratedMedia {
public:
    /// Video from 0 and the audio track from 500 ms, with bursts at kToneOnsetsMs.
    const std::string& tonesMp4() const
    {
        std::vector<double> local;
        for (double ms : kToneOnsetsMs) local.push_back(ms / 1000.0 - 0.5);
        return made("tones.mp4", detail::kVideo + "-itsoffset 0.5 " + detail::tones(local, 7.5) +
                                     "-map 0:v -map 1:a " + detail::kX264 + "-c:a aac");
    }
    /// The same in Matroska, its timestamps starting at 5 s.
    const std::string& tonesMkv() const { return copied("tones.mkv", "-output_ts_offset 5"); }
    /// The same in MPEG-TS, which starts at 1.4 s.
    const std::string& tonesTs() const { return copied("tones.ts", ""); }
    /// The MP4 with its timestamps starting at 5 s.
    const std::string& tonesMp4At5s() const { return copied("tones5.mp4", "-output_ts_offset 5"); }
    /// Video, then FLAC bursts at 1 s ("kor"), then FLAC bursts at 2 s ("eng").
    const std::string& twoTracks() const
    {
        return made("tracks.mkv", detail::kVideo + detail::tones({1.0}, 4) +
                                      detail::tones({2.0}, 4) + "-map 0:v -map 1:a -map 2:a " +
                                      detail::kX264 + "-c:a flac -metadata:s:a:0 language=kor " +
                                      "-metadata:s:a:1 language=eng");
    }
    /// 301 frames at 25 per second: cuts at frames 50, 100, 176 and 251, a slow pan over
    /// frames 100 to 175, and a one-second fade from frame 201 on (kShotFrames).
    const std::string& shotsMp4() const { return made("shots.mp4", detail::kShots + detail::kX264); }
    /// The same with every frame from frame 60 on half a second later: a variable frame rate.
    const std::string& shotsGapMkv() const
    {
        return made("shots-gap.mkv", "-i " + shotsMp4() +
                                         " -vf \"setpts=PTS+gte(N\\,60)*0.5/TB\" -fps_mode vfr -enc_time_base 1:1000 " +
                                         detail::kX264);
    }
    /// The clip in MPEG-TS, whose timestamps start at 1.4 s.
    const std::string& shotsTs() const { return made("shots.ts", "-i " + shotsMp4() + " -c copy"); }
    const std::string& videoOnly() const
    {
        return made("video.mp4", detail::kVideo + detail::kX264);
    }
    /// 30 s of noise in Matroska.
    const std::string& longSound() const
    {
        return made("long.mkv", "-f lavfi -i anoisesrc=d=30:r=48000:a=0.3 -c:a aac");
    }
    const std::string& notMedia() const
    {
        if (m_made.count("notes.txt") == 0) {
            TempFolder::write(m_folder.path("notes.txt"), "not a media file\n");
            m_made["notes.txt"] = m_folder.path("notes.txt");
        }
        return m_made["notes.txt"];
    }
    const TempFolder& folder() const { return m_folder; }

private:
    const std::string& made(const std::string& name, const std::string& args) const
    {
        if (m_made.count(name) == 0) {
            const std::string path = m_folder.path(name);
            m_made[name] = detail::ffmpeg(args + " " + path) ? path : "";
            if (m_made[name].empty())
                ADD_FAILURE() << "ffmpeg could not make " << name << " from: " << args;
        }
        return m_made[name];
    }
    const std::string& copied(const std::string& name, const std::string& args) const
    {
        return made(name, "-i " + tonesMp4() + " -c copy " + args);
    }

    TempFolder m_folder;
    mutable std::map<std::string, std::string> m_made;
};

inline const GeneratedMedia& Media()
{
    static const GeneratedMedia media;
    return media;
}

/// Where the sound rises past half the bursts' loudness after at least 100 ms below it, in ms.
inline std::vector<double> Onsets(const std::vector<media::Peak>& peaks, int resolutionMs)
{
    const double threshold = kToneAmplitude * 32767 / 2;
    std::vector<double> onsets;
    int quiet = 0;
    for (std::size_t i = 0; i < peaks.size(); ++i) {
        const bool loud = !peaks[i].empty() && peaks[i].max > threshold;
        if (loud && quiet * resolutionMs >= 100)
            onsets.push_back(double(i) * resolutionMs);
        quiet = loud ? 0 : quiet + 1;
    }
    return onsets;
}

/// Expects each onset within 5 ms of where it was generated, or within the width of the
/// peaks it was found in when they are wider.
inline void ExpectOnsetsNear(const std::vector<double>& found, const std::vector<double>& made,
                             const std::string& what, double tolerance = 5.0)
{
    ASSERT_EQ(found.size(), made.size()) << what;
    for (std::size_t i = 0; i < made.size(); ++i)
        EXPECT_NEAR(found[i], made[i], tolerance) << what << ", onset " << i;
}

#define VERBANTA_NEED_MEDIA()                                                           \
    do {                                                                                \
        if (!::verbanta::test::TempFolder::exists(::verbanta::test::kFfmpeg))           \
            GTEST_SKIP() << "the test media are made by " << ::verbanta::test::kFfmpeg; \
    } while (0)

}  // namespace verbanta::test
