#!/bin/bash
# check_all_bench.sh: the check of every channel (F5) of the real program with 100 channels: 80 live
# and 20 on a silent server, each of those running into its 5 s receive limit. In a private test
# network, SetRadio.exe under Wine. Prints and records (in $SR_BUILD/bench/check_all_bench.txt):
#   the total time from F5 to the result box; the same 100 addresses checked one at a time
#   (check_all_baseline.exe, same probe, same network) as the baseline; the longest time the window
#   did not answer during the check (WM_NULL every 20 ms).
# Usage (root): SR_BUILD=build bench/check_all_bench.sh     (build/native and build/win built)
# Goals: total at most 1/5 of the baseline; never unresponsive over 250 ms.
E2E_NAME=h6cb
. "$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/tests/e2e/program_env.bash"
OUT="$SR_BUILD/bench/check_all_bench.txt"
mkdir -p "$SR_BUILD/bench"
[ -f "$WINDIR/check_all_baseline.exe" ] || { echo "check_all_baseline.exe is missing (build first)"; exit 1; }
cp "$WINDIR/check_all_baseline.exe" "$WORK/"
SILENT_PORT=8002

start_network 1
spawn in_tool "$STREAM" "$SILENT_PORT" "$WORK/icy-answer" "$WORK/silent-requests.log" silent >"$WORK/silent.out"
# Every fifth channel is silent.
: >"$WORK/urls.txt"
for n in $(seq 1 100); do
    if [ $((n % 5)) = 0 ]; then echo "http://127.0.0.1:$SILENT_PORT/silent$n"; else echo "$LIVE/live$n"; fi
done >"$WORK/urls.txt"
{
    printf 'OpCode=SETT\r\nDhcpMode=1\r\nPlsUrl1=%s/pls1\r\nPlsUrl2=%s/pls2\r\nNumberOfEntries=100\r\n' "$LIVE" "$LIVE"
    n=0
    while read -r url; do n=$((n + 1)); printf 'File%d=%s\r\nTitle%d=Channel %d\r\n' "$n" "$url" "$n" "$n"; done <"$WORK/urls.txt"
} >"$WORK/state.0"
start_device 0 --mac 00:1A:2B:3C:4D:71 --state "$WORK/state"
start_program

drive check <<'EOF2'
window 30000
press 100
expect-rows 101 1 8000
sleep 10500
click-row 101 0
expect-rows 110 100
bench-box 2005 60000 figures.txt
dump-box box.txt
box-contains NO ""
expect-rows 110 100
EOF2
check "the check session" [ $? = 0 ]
total=$(sed -n 's/^box_after_ms //p' "$WORK/figures.txt")
longest=$(sed -n 's/^longest_unresponsive_ms //p' "$WORK/figures.txt")
not_live=$(tr -d '\r' <"$WORK/box.txt" | grep -c ' - 응답 없음$')
more=$(tr -d '\r' <"$WORK/box.txt" | grep -o '^외 [0-9]*개' || true)

(cd "$WORK" && in_tool wine check_all_baseline.exe urls.txt) 2>/dev/null | tr -d '\r' >"$WORK/baseline.txt"
baseline=$(sed -n 's/^baseline_ms //p' "$WORK/baseline.txt")
baseline_live=$(sed -n 's/^live //p' "$WORK/baseline.txt")
{
    echo "check_all_bench $(date -u +%Y-%m-%dT%H:%M:%SZ)"
    echo "channels:                         100 (80 live, 20 silent)"
    echo "check of every channel, F5 to box: ${total:-?} ms"
    echo "one at a time (baseline):         ${baseline:-?} ms (${baseline_live:-?} live)"
    echo "ratio total / baseline:           $(awk -v t="${total:-0}" -v b="${baseline:-1}" 'BEGIN { printf "%.3f", t / b }') (goal <= 0.2)"
    echo "longest unresponsive:             ${longest:-?} ms (goal <= 250)"
    echo "box: $not_live lines 'no answer', then '${more:-}'"
} | tee "$OUT"
check "the box lists 15 silent channels, then the 5 more" [ "$not_live" = 15 -a "$more" = "외 5개" ]
check "the baseline found the 80 live ones" [ "${baseline_live:-0}" = 80 ]
check "total at most 1/5 of the baseline" [ $((total * 5)) -le "${baseline:-0}" ]
check "never unresponsive over 250 ms" [ "$longest" -le 250 ]
finish
