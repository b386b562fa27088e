#!/usr/bin/env bash
# Whole-process time of `verbanta-cli resave` on a generated 1,000,000-byte two-language SAMI
# file, beside ffmpeg converting the same file to SubRip; prints both medians and their ratio.
# usage: bench/cli_vs_ffmpeg.sh PATH/TO/verbanta-cli [RUNS]
set -euo pipefail
cli="${1:?usage: bench/cli_vs_ffmpeg.sh PATH/TO/verbanta-cli [RUNS]}"
runs="${2:-20}"
ffmpeg="${FFMPEG:-ffmpeg}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
file="$work/big.smi"

python3 - "$file" <<'PY'
import sys
head = ("<SAMI>\r\n<HEAD>\r\n<TITLE></TITLE>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\n"
        "P { margin-left:8pt; margin-right:8pt; margin-bottom:2pt;\r\n"
        "    margin-top:2pt; font-size:14pt; text-align:center;\r\n"
        "    font-family:굴림, Arial; font-weight:normal; color:white;\r\n"
        "    background-color:black; }\r\n"
        ".KRCC { Name:한국어; lang:ko-KR; SAMIType:CC; }\r\n"
        ".ENCC { Name:English; lang:en-US; SAMIType:CC; }\r\n"
        "-->\r\n</STYLE>\r\n</HEAD>\r\n<BODY>\r\n").encode("cp949")
foot = b"</BODY>\r\n</SAMI>"
blocks = {"KRCC": [], "ENCC": []}
size = len(head) + len(foot) + 2
i = 0
while size < 1000000 - 400:
    for cls in ("KRCC", "ENCC"):
        text = (f"자막 번호 {i} 동영상을 재생하면서<br>\r\nF8 키로 싱크를 맞춥니다." if cls == "KRCC"
                else f"Caption number {i} of the English block")
        unit = (f"<SYNC Start={i * 3000}><P Class={cls}>\r\n{text}\r\n"
                f"<SYNC Start={i * 3000 + 2500}><P Class={cls}>&nbsp;\r\n").encode("cp949")
        blocks[cls].append(unit)
        size += len(unit)
    i += 1
data = head + b"".join(blocks["KRCC"]) + b"\r\n" + b"".join(blocks["ENCC"]) + foot
pad = 1000000 - len(data)
at = data.index("자막".encode("cp949"))
data = data[:at] + b"x" * pad + data[at:]
assert len(data) == 1000000
open(sys.argv[1], "wb").write(data)
PY

resave=("$cli" resave "$file" "$work/out.smi")
convert=("$ffmpeg" -nostdin -loglevel quiet -sub_charenc CP949 -i "$file" -f srt -y /dev/null)

if command -v hyperfine >/dev/null; then
    hyperfine --warmup 3 --runs "$runs" --export-json "$work/h.json" \
        "${resave[*]}" "${convert[*]}" >/dev/null
    python3 - "$work/h.json" <<'PY'
import json, sys
r = json.load(open(sys.argv[1]))["results"]
a, b = r[0]["median"] * 1000, r[1]["median"] * 1000
print(f"verbanta-cli resave: {a:.1f} ms median\nffmpeg -> srt:       {b:.1f} ms median")
print(f"ratio (cli / ffmpeg): {a / b:.3f}")
PY
    exit 0
fi

# No hyperfine: a loop with nanosecond clocks, median of the runs.
median_ms() {
    local times=() start end
    "$@" >/dev/null 2>&1 || true
    for _ in $(seq "$runs"); do
        start=$(date +%s%N)
        "$@" >/dev/null 2>&1
        end=$(date +%s%N)
        times+=($(( end - start )))
    done
    printf '%s\n' "${times[@]}" | sort -n | awk '{ a[NR] = $1 } END {
        m = (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2; printf "%.1f", m / 1e6 }'
}
cli_ms=$(median_ms "${resave[@]}")
ffmpeg_ms=$(median_ms "${convert[@]}")
echo "verbanta-cli resave: $cli_ms ms median ($runs runs)"
echo "ffmpeg -> srt:       $ffmpeg_ms ms median ($runs runs)"
awk -v a="$cli_ms" -v b="$ffmpeg_ms" 'BEGIN { printf "ratio (cli / ffmpeg): %.3f\n", a / b }'
