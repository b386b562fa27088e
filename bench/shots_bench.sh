#!/usr/bin/env bash
# Shot changes on a generated 10-minute 1080p video: hard cuts at known frames between
# different scenes, a slow pan and a slow fade. Prints how many cuts `verbanta-cli shots`
# found at their exact frame, anything it reported inside the pan or the fade or elsewhere,
# and its whole-process time beside ffmpeg's scene filter in paired runs, the order inside a
# pair alternating so that a busy machine weighs on both sides alike.
# usage: bench/shots_bench.sh PATH/TO/verbanta-cli [RUNS] [MINUTES]
# SHOTS_BENCH_VIDEO=FILE keeps the generated video there and reuses it on the next run.
set -euo pipefail
cli="${1:?usage: bench/shots_bench.sh PATH/TO/verbanta-cli [RUNS] [MINUTES]}"
runs="${2:-3}"
minutes="${3:-10}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

python3 - "$cli" "$runs" "$minutes" "$work" <<'PY'
import json, os, statistics, subprocess, sys, time

cli, runs, minutes, work = sys.argv[1], int(sys.argv[2]), float(sys.argv[3]), sys.argv[4]
rate, size = 25, "1920x1080"
sources = ["testsrc", "smptehdbars", "testsrc2", "rgbtestsrc", "pal75bars", "yuvtestsrc"]
total = int(minutes * 60 * rate)

# Segments of 3 to 16 s in turn from different sources; one of them a 20 s pan over a still
# picture twice the screen's width, one pair joined by a 3 s fade instead of a cut.
inputs, chains, labels, cuts = [], [], [], []
pan_range = fade_range = None
frame, k = 0, 0
while frame < total:
    length = min((3 + (k * 7) % 14) * rate, total - frame)
    source = sources[k % len(sources)]
    if k == 5:  # the pan
        length = min(20 * rate, total - frame)
        inputs += ["-f", "lavfi", "-i", f"testsrc2=s=3840x1080:r={rate}:d=1"]
        chains.append(f"[{len(inputs) // 4 - 1}]trim=end_frame=1,loop=loop={length - 1}:size=1,"
                      f"setpts=N/{rate}/TB,crop=1920:1080:x='n*2':y=0[s{k}]")
        pan_range = (frame + 1, frame + length - 1)
    elif k == 9:  # the fade: two sources, 3 s crossfade, counted as one segment
        half = 6 * rate
        length = min(2 * half - 3 * rate, total - frame)
        inputs += ["-f", "lavfi", "-i", f"smptebars=s={size}:r={rate}:d={half / rate}"]
        inputs += ["-f", "lavfi", "-i", f"testsrc=s={size}:r={rate}:d={half / rate}"]
        n = len(inputs) // 4
        chains.append(f"[{n - 2}][{n - 1}]xfade=transition=fade:duration=3:offset={(half - 3 * rate) / rate},"
                      f"trim=end_frame={length}[s{k}]")
        fade_range = (frame + half - 3 * rate, frame + half)
    else:
        inputs += ["-f", "lavfi", "-i", f"{source}=s={size}:r={rate}:d={length / rate}"]
        chains.append(f"[{len(inputs) // 4 - 1}]null[s{k}]")
    if frame > 0:
        cuts.append(frame)
    labels.append(f"[s{k}]")
    frame += length
    k += 1

video = os.environ.get("SHOTS_BENCH_VIDEO") or os.path.join(work, "shots.mp4")
graph = ";".join(chains) + ";" + "".join(labels) + f"concat=n={len(labels)}:v=1:a=0,format=yuv420p[v]"
if os.path.exists(video):
    print(f"reusing {video}: {frame} frames, {len(cuts)} hard cuts")
else:
    started = time.perf_counter()
    subprocess.run(["ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "error", "-y", *inputs,
                    "-filter_complex", graph, "-map", "[v]", "-c:v", "libx264", "-preset",
                    "veryfast", "-g", "250", video + ".part.mp4"], check=True)
    os.replace(video + ".part.mp4", video)
    print(f"made {video}: {frame} frames, {len(cuts)} hard cuts, in {time.perf_counter() - started:.0f} s")

def timed(argv, env=None):
    t = time.perf_counter()
    out = subprocess.run(argv, check=True, capture_output=True, text=True, env=env)
    return time.perf_counter() - t, out.stdout

ours, theirs, found = [], [], None
def run_ours(i):
    global found
    env = dict(os.environ, XDG_CACHE_HOME=os.path.join(work, f"cache{i}"))  # no cache hit
    t, out = timed([cli, "shots", video, "--json"], env)
    ours.append(t)
    found = json.loads(out)
def run_theirs(i):
    t, _ = timed(["ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "error", "-i", video,
                  "-vf", "select='gt(scene,0.3)'", "-f", "null", "-"])
    theirs.append(t)
for i in range(runs):
    for run in ((run_ours, run_theirs) if i % 2 == 0 else (run_theirs, run_ours)):
        run(i)
    print(f"pair {i + 1}: shots {ours[-1]:.2f} s, ffmpeg {theirs[-1]:.2f} s, "
          f"ratio {ours[-1] / theirs[-1]:.3f}", flush=True)

ms_of = lambda f: f * 1000 // rate
expected = {ms_of(f) for f in cuts}
reported = set(found["shots_ms"])
inside = lambda r: [ms for ms in reported if ms_of(r[0]) <= ms <= ms_of(r[1])] if r else "(none made)"
print(f"frames in the video: {found['frame_count']} at {found['frame_rate']} per second")
print(f"hard cuts found at their exact frame: {len(expected & reported)} of {len(expected)}")
print(f"missed: {sorted(expected - reported)}")
print(f"reported where there is no cut: {sorted(reported - expected)}")
print(f"inside the pan: {inside(pan_range)}; inside the fade: {inside(fade_range)}")
a, b = statistics.median(ours), statistics.median(theirs)
ratios = [x / y for x, y in zip(ours, theirs)]
print(f"verbanta-cli shots: {a:.2f} s median of {runs}; ffmpeg scene filter: {b:.2f} s")
print(f"median paired ratio (shots / ffmpeg): {statistics.median(ratios):.3f}  "
      f"(pairs: {', '.join(f'{r:.3f}' for r in ratios)})")
PY
