#!/bin/bash
# cli_bench.sh: setradio-cli's figures in a private test network (Linux build).
#   find: 200 simulated radios (40 channels each) answer one FIND; prints how many were listed, how
#         many are distinct and right, and the time from the start of the command to the last line.
#   check: 100 addresses on the tool's loopback, 80 live (ICY) and 20 silent (accepted, never
#         answered, so each runs into the probe's time limit), at --jobs 8 and at --jobs 1.
# Usage (root): SR_BUILD=build bench/cli_bench.sh      (build/native built). Records nothing itself:
# copy the printed figures into bench/cli_results.md. SR_BENCH_DEVICES changes the number of radios.
set -u
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
: "${SR_BUILD:?SR_BUILD must name the build folder holding native/}"
TOOL="$SR_BUILD/native/setradio-cli"
SIM="$SR_BUILD/native/velmio_sim"
STREAM="$SR_BUILD/native/stream_server"
TESTNET="$ROOT/scripts/testnet.sh"
DEVICES=${SR_BENCH_DEVICES:-200}
NET="${SR_NS_TAG:-}clib$$"
WORK="$(mktemp -d /tmp/sr-cli-bench.XXXXXX)"
# The link asks for a 4 MB receive buffer; the kernel grants at most net.core.rmem_max.
RMEM_BEFORE=$(sysctl -n net.core.rmem_max)
if [ "$RMEM_BEFORE" -lt 4194304 ]; then sysctl -qw net.core.rmem_max=4194304; fi
trap '"$TESTNET" down "$NET" 2>/dev/null; sysctl -qw net.core.rmem_max="$RMEM_BEFORE"; rm -rf "$WORK"' EXIT
in_tool() { "$TESTNET" exec-tool "$NET" "$@"; }

"$TESTNET" up "$NET" "$DEVICES" || exit 1
"$TESTNET" exec-dev "$NET" "$SIM" --devices "$DEVICES" --address 10.77.0.11 --mac 02:00:00:00:10:00 --channels 40 \
    --title-pattern "Device %d channel %n" --ready "$WORK/sim.ready" &
for _ in $(seq 200); do [ -f "$WORK/sim.ready" ] && break; sleep 0.05; done

# Each line is stamped as it arrives; the command's own start is the reference.
in_tool bash -c 'start=$EPOCHREALTIME; "$1" find --json --wait 5 | while IFS= read -r line; do
    echo "$(( (${EPOCHREALTIME/./} - ${start/./}) / 1000 )) $line"; done' _ "$TOOL" >"$WORK/find.out"
LISTED=$(wc -l <"$WORK/find.out")
DISTINCT=$(awk '{print $2}' "$WORK/find.out" | sort -u | wc -l)
RIGHT=$(grep -c '"firmware":"VM-2.14.3".*"channels":40' "$WORK/find.out")
LAST=$(tail -1 "$WORK/find.out" | awk '{print $1}')
FIRST=$(head -1 "$WORK/find.out" | awk '{print $1}')
echo "find: $LISTED of $DEVICES radios listed ($DISTINCT distinct, $RIGHT with 40 channels and the firmware); first after $FIRST ms, last after $LAST ms (wait 5 s)"

printf 'ICY 200 OK\r\nicy-name: bench\r\n\r\n' >"$WORK/icy"
in_tool "$STREAM" 8000 "$WORK/icy" >"$WORK/stream.out" 2>&1 &
# Silent server: accepts connections into its backlog and never answers.
in_tool python3 -c 'import socket, time
s = socket.socket(); s.bind(("127.0.0.1", 8001)); s.listen(128); time.sleep(3600)' &
for _ in $(seq 100); do
    grep -q ready "$WORK/stream.out" && [ -n "$(in_tool ss -Htln 'sport = :8001')" ] && break
    sleep 0.05
done
URLS=()
for i in $(seq 1 100); do
    if [ $((i % 5)) = 0 ]; then URLS+=("http://127.0.0.1:8001/silent$i"); else URLS+=("http://127.0.0.1:8000/live$i"); fi
done
for jobs in 8 1; do
    start=$(date +%s%N)
    in_tool "$TOOL" check --json --jobs "$jobs" "${URLS[@]}" >"$WORK/check$jobs.out"
    rc=$?
    ms=$((($(date +%s%N) - start) / 1000000))
    echo "check --jobs $jobs: 100 addresses in $ms ms; $(grep -c '"live":true' "$WORK/check$jobs.out") live, $(grep -c '"live":false' "$WORK/check$jobs.out") not live (exit $rc)"
done
