#!/usr/bin/env bash
# The timing strip on a two-hour file with a 48 kHz stereo AAC track. First the whole peak
# pyramid built by `verbanta-cli waveform` with an empty cache (whole process, the cache file
# written) beside `ffmpeg -v quiet -i FILE -map 0:a:0 -f null -` on the same file, in paired
# runs whose order alternates; prints both medians and the median of the pairs' ratios. Then
# waveform_bench: opening again from the cache, the pyramid's memory, the data of one repaint.
# usage: bench/waveform_bench.sh BUILD_DIR [RUNS]     (MEDIA=FILE uses a file already made)
set -euo pipefail
build="${1:?usage: bench/waveform_bench.sh BUILD_DIR [RUNS]}"
runs="${2:-5}"
cli="$build/src/cli/verbanta-cli"
bench="$build/bench/waveform_bench"
ffmpeg="${FFMPEG:-ffmpeg}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

media="${MEDIA:-}"
if [ -z "$media" ]; then
    media="$work/two_hours.m4a"
    echo "making a two-hour 48 kHz stereo AAC file (several minutes)..."
    "$ffmpeg" -nostdin -hide_banner -loglevel error -y \
        -f lavfi -i "anoisesrc=d=7200:c=pink:r=48000:a=0.2" \
        -f lavfi -i "sine=f=220:r=48000:d=7200" \
        -filter_complex "[0][1]amerge=inputs=2[a]" -map "[a]" -c:a aac -b:a 128k "$media"
fi
cat "$media" >/dev/null  # both sides read it from memory

python3 - "$cli" "$ffmpeg" "$media" "$runs" "$work" <<'PY'
import os, shutil, statistics, subprocess, sys, time
cli, ffmpeg, media, runs, work = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4]), sys.argv[5]

def seconds(command, env=None):
    start = time.perf_counter()
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL, env=env)
    return time.perf_counter() - start

build_times, ffmpeg_times, ratios = [], [], []
for run in range(runs):
    cache = os.path.join(work, "cache")
    shutil.rmtree(cache, ignore_errors=True)
    env = dict(os.environ, XDG_CACHE_HOME=cache)
    build = [cli, "waveform", media, "--resolution-ms", "60000", "--json"]
    decode = [ffmpeg, "-v", "quiet", "-i", media, "-map", "0:a:0", "-f", "null", "-"]
    if run % 2 == 0:
        b, f = seconds(build, env), seconds(decode)
    else:
        f, b = seconds(decode), seconds(build, env)
    build_times.append(b)
    ffmpeg_times.append(f)
    ratios.append(b / f)
    print(f"  pair {run + 1}: build {b:.2f} s, ffmpeg {f:.2f} s, ratio {b / f:.3f}", flush=True)
print(f"whole pyramid (verbanta-cli waveform): {statistics.median(build_times):.2f} s median")
print(f"ffmpeg decoding the track to null:     {statistics.median(ffmpeg_times):.2f} s median")
print(f"ratio (build / ffmpeg), median of {runs} pairs: {statistics.median(ratios):.3f}")
PY

VERBANTA_WAVEFORM_MEDIA="$media" "$bench"
