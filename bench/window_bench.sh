#!/usr/bin/env bash
# The editor window's benchmarks, the timing strip's on a video made here by ffmpeg: 10 minutes
# of 640 x 360 at 25 frames per second (x264) with a 48 kHz stereo AAC track (128 kb/s) of
# speech-like sound: phrases of 2.5 s every 3.5 s, syllables of voiced harmonics over a gliding
# pitch, and a faint noise floor. The strip's figures: the first waveform drawn after opening,
# the longest event-loop stall while the analysis runs, the second opening from the cache, and
# one repaint at 1920 pixels at several zooms, waveform and spectrogram; and the longest stall
# while the shot changes of a two-minute 1080p video are found (SHOTS_MEDIA=FILE uses one made).
# usage: bench/window_bench.sh BUILD_DIR [benchmark options]   (MEDIA=FILE uses a file already made)
set -euo pipefail
build="${1:?usage: bench/window_bench.sh BUILD_DIR [benchmark options]}"
shift
ffmpeg="${FFMPEG:-ffmpeg}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

media="${MEDIA:-}"
if [ -z "$media" ]; then
    media="$work/speech.mp4"
    seconds=600
    # The pitch's phase, integrated, so that the glide has no clicks.
    phase='(2*PI*140*t-(40/0.7)*cos(2*PI*0.7*t))'
    voice="sin($phase)+0.6*sin(2*$phase)+(0.3+0.3*sin(2*PI*1.7*t))*sin(3*$phase)"
    voice="$voice+(0.25-0.2*sin(2*PI*1.3*t))*sin(5*$phase)+0.12*sin(9*$phase)"
    envelope='0.3*(0.6+0.4*sin(2*PI*t/17))*lt(mod(t,3.5),2.5)*pow(abs(sin(PI*3.3*t)),1.5)'
    echo "making a $seconds s video with speech-like sound..."
    "$ffmpeg" -nostdin -hide_banner -loglevel error -y \
        -f lavfi -i "testsrc2=s=640x360:r=25:d=$seconds" \
        -f lavfi -i "aevalsrc='$envelope*($voice)+0.01*(2*random(0)-1)':s=48000:d=$seconds" \
        -ac 2 -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -b:a 128k -shortest \
        "$media"
fi
echo "media: $media ($(stat -c %s "$media") bytes)"
shots="${SHOTS_MEDIA:-}"
if [ -z "$shots" ]; then
    # Two minutes of 1080p in scenes of 10 s from six sources: eleven hard cuts.
    shots="$work/shots-1080p.mp4"
    echo "making a 1080p video with hard cuts..."
    inputs=() ; labels=""
    for i in $(seq 0 11); do
        sources=(testsrc smptehdbars testsrc2 rgbtestsrc pal75bars yuvtestsrc)
        inputs+=(-f lavfi -i "${sources[$((i % 6))]}=s=1920x1080:r=25:d=10")
        labels="$labels[$i]"
    done
    "$ffmpeg" -nostdin -hide_banner -loglevel error -y "${inputs[@]}" \
        -filter_complex "${labels}concat=n=12:v=1:a=0,format=yuv420p[v]" -map "[v]" \
        -c:v libx264 -preset veryfast -g 250 "$shots"
fi
echo "shots media: $shots"
VERBANTA_WINDOW_SHOTS_MEDIA="$shots" VERBANTA_WINDOW_MEDIA="$media" QT_QPA_PLATFORM=offscreen "$build/bench/window_bench" "$@"
