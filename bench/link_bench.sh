#!/bin/bash
# link_bench.sh [NATIVE_BUILD_DIR]: builds a private test network, plays 200 devices with 40 channels
# each (replies of 4 datagrams, spread over 50 ms), runs link_bench for one FIND and a 3000-byte SETT,
# prints the figures and the SETT's slices as the devices saw them, and tears the network down.
# Needs root. The build dir must hold velmio_sim and link_bench (default: build/native).
set -u
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${1:-$ROOT/build/native}"
DEVICES="${SR_BENCH_DEVICES:-200}"
NET="h2b$$"
WORK="$(mktemp -d /tmp/h2-bench.XXXXXX)"
SIM_PID=""
cleanup() {
    [ -n "$SIM_PID" ] && kill "$SIM_PID" 2>/dev/null && wait "$SIM_PID" 2>/dev/null
    "$ROOT/scripts/testnet.sh" down "$NET"
    rm -rf "$WORK"
}
trap cleanup EXIT
SIM_ARGS=(--devices "$DEVICES" --channels 40 --jitter 50 --slice-gap 2
    --url-pattern 'http://10.77.0.1:8000/stream/velmio/device%d/channel%n.mp3'
    --title-pattern 'Channel %n of device %d, test broadcast')

"$ROOT/scripts/testnet.sh" up "$NET" "$DEVICES" || exit 1
for ((i = 0; i < DEVICES; i++)); do "$BUILD/velmio_sim" "${SIM_ARGS[@]}" --print-imin "$i" >"$WORK/imin.$i"; done
echo "reply size: $(stat -c %s "$WORK/imin.0") bytes with NUL, $(( ($(stat -c %s "$WORK/imin.0") + 1471) / 1472 )) datagrams"
"$ROOT/scripts/testnet.sh" exec-dev "$NET" "$BUILD/velmio_sim" "${SIM_ARGS[@]}" --address 10.77.0.11 \
    --log "$WORK/sim.log" --ready "$WORK/ready" &
SIM_PID=$!
for i in $(seq 1 100); do [ -f "$WORK/ready" ] && break; sleep 0.05; done
{ printf 'OpCode=SETT\r\nDhcpMode=1\r\nMacAddr=00:00:00:00:00:00\r\nNumberOfEntries=1\r\nFile1=http://10.77.0.1/x\r\nTitle1='
  yes 'Bench title ' | tr -d '\n' | head -c 3000; } | head -c 3000 >"$WORK/sett"
"$ROOT/scripts/testnet.sh" exec-tool "$NET" "$BUILD/link_bench" "$WORK" "$DEVICES" "$WORK/sett"
rc=$?
sleep 0.2
echo "SETT slices seen by the devices: $("$BUILD/velmio_sim" --dump "$WORK/sim.log" | awk 'NR > 1 { sub("len=", "", $5); printf "%s ", $5 }')"
exit $rc
