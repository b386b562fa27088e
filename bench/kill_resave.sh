#!/usr/bin/env bash
# Kills `verbanta-cli resave IN IN` at random moments of its run, 200 times, and prints how many
# times IN was afterwards neither the old file nor the new one whole (it must print 0).
#
#   bench/kill_resave.sh [path/to/verbanta-cli] [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
cli=${1:-build/rel/src/cli/verbanta-cli}
runs=${2:-200}
[ -x "$cli" ] || { echo "no verbanta-cli at $cli (build it, or give its path)" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A CP949 file of some megabytes, so that a run lasts long enough to be cut anywhere; the
# resave turns it into UTF-16, so the old and the new file differ everywhere.
awk 'BEGIN {
    printf "<SAMI>\r\n<HEAD>\r\n<TITLE>kill</TITLE>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\n";
    printf "P { font-size:14pt; }\r\n.KRCC { Name:Korean; lang:ko-KR; SAMIType:CC; }\r\n";
    printf "-->\r\n</STYLE>\r\n</HEAD>\r\n<BODY>\r\n";
    for (i = 0; i < 60000; i++)
        printf "<SYNC Start=%d><P Class=KRCC>\r\ncaption number %d<br>\r\nsecond line\r\n", i * 1000, i;
    printf "</BODY>\r\n</SAMI>";
}' > "$work/old.smi"
cp "$work/old.smi" "$work/new.smi"
"$cli" resave --encoding utf-16le "$work/new.smi" "$work/new.smi" 2>/dev/null

# One whole run's length in microseconds: the kills fall anywhere from its start to past its end.
cp "$work/old.smi" "$work/target.smi"
start=$(date +%s%N)
"$cli" resave --encoding utf-16le "$work/target.smi" "$work/target.smi" 2>/dev/null
span=$(( ($(date +%s%N) - start) / 1000 * 12 / 10 + 1 ))

broken=0 old=0 new=0
for ((run = 0; run < runs; run++)); do
    cp "$work/old.smi" "$work/target.smi"
    "$cli" resave --encoding utf-16le "$work/target.smi" "$work/target.smi" 2>/dev/null &
    pid=$!
    us=$(( (RANDOM * 32768 + RANDOM) % span ))
    sleep "$((us / 1000000)).$(printf '%06d' $((us % 1000000)))"
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    if cmp -s "$work/target.smi" "$work/old.smi"; then
        old=$((old + 1))
    elif cmp -s "$work/target.smi" "$work/new.smi"; then
        new=$((new + 1))
    else
        broken=$((broken + 1))
    fi
done
echo "targets neither old nor new whole: $broken of $runs runs" \
     "(old kept $old, new written $new; a run lasts $((span / 1200)) ms)"
