#!/bin/bash
# sim_wine.sh: the Windows build of the device simulator (velmio_sim.exe) under Wine, spoken to by
# unicast over loopback only (no broadcast): a listener on 127.0.0.1 and two devices on 127.0.0.2 and
# .3. Both answer a FIND to the listener, one a FIND to its own address, in slices, byte-exact; a SETT
# is stored (replacing the earlier state file) and answered with SETC. Under Wine 8 the replies leave
# from 127.0.0.1 (Wine rebinds the device sockets), so sources are checked by port only.
# Nothing is rebuilt.
# Needs SR_BUILD holding native/velmio_sim, native/velmio_sim_probe and win/velmio_sim.exe;
# SR_SIM_WINEPREFIX picks the Wine prefix [SR_BUILD/wineprefix-sim].
set -u
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
: "${SR_BUILD:?SR_BUILD must name the build folder holding native/ and win/}"
EXE="$SR_BUILD/win/velmio_sim.exe"
SIM="$SR_BUILD/native/velmio_sim"
PROBE="$SR_BUILD/native/velmio_sim_probe"
[ -f "$EXE" ] || { echo "missing $EXE"; exit 1; }
for f in "$SIM" "$PROBE"; do [ -x "$f" ] || { echo "missing $f"; exit 1; }; done
export SR_WINEPREFIX="${SR_SIM_WINEPREFIX:-$SR_BUILD/wineprefix-sim}"
. "$ROOT/scripts/wine-env.sh"
unset DISPLAY
WORK="$(mktemp -d /tmp/h7-simwine.XXXXXX)"
WINE_PID=""
FAILS=0

cleanup() {
    [ -n "$WINE_PID" ] && kill "$WINE_PID" 2>/dev/null
    wineserver -k 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT

check() {  # check DESCRIPTION COMMAND...: runs a check, prints pass/FAIL, counts failures; returns its result
    local what=$1; shift
    if "$@"; then echo "pass: $what"; return 0; fi
    echo "FAIL: $what"; FAILS=$((FAILS + 1)); return 1
}

# A UDP port nobody uses, away from the device port.
PORT=""
for i in $(seq 1 20); do
    p=$((20000 + RANDOM % 20000))
    [ -z "$(ss -Hunl "sport = :$p")" ] && { PORT=$p; break; }
done
[ -n "$PORT" ] || { echo "no free port"; exit 1; }

sr_wine_prefix
SIM_ARGS=(--devices 2 --channels 4 --slice 100)
wine "$EXE" --print-imin 1 "${SIM_ARGS[@]}" >"$WORK/print.1"
check "--print-imin under Wine gives the native bytes (no CRLF translation)" \
    cmp -s "$WORK/print.1" <("$SIM" --print-imin 1 "${SIM_ARGS[@]}")

wine "$EXE" "${SIM_ARGS[@]}" --listen 127.0.0.1 --address 127.0.0.2 --port "$PORT" \
    --state "Z:$WORK/state" --log "Z:$WORK/sim.log" --ready "Z:$WORK/ready" &
WINE_PID=$!
for i in $(seq 1 200); do [ -s "$WORK/ready" ] && break; sleep 0.05; done
[ -s "$WORK/ready" ] || { echo "velmio_sim.exe did not start"; exit 1; }

# The client: each step sends one datagram from 127.0.0.1 and keeps the replies (velmio_sim_probe).
sett() {  # sett MAC DHCP TITLE: a SETT text without its NUL
    printf 'OpCode=SETT\r\nMacAddr=%s\r\nDhcpMode=%s\r\nLocalIP=10.1.2.3\r\nNumberOfEntries=1\r\n' "$1" "$2"
    printf 'File1=http://10.77.0.1/one\r\nTitle1=%s\r\n' "$3"
}
step() {  # step NAME TO WANT (--text TEXT | --file FILE): a failed probe is a failed check
    check "probe $1 ran" "$PROBE" --out "$WORK/$1" --to "$2" --port "$PORT" --want "$3" "${@:4}"
}
sett 00:1A:2B:3C:4D:00 1 First >"$WORK/sett1.text"
sett 00:1A:2B:3C:4D:00 0 Second >"$WORK/sett2.text"
sett 00:1A:2B:3C:4D:77 0 Other >"$WORK/settother.text"
step findall 127.0.0.1 2 --text OpCode=FIND
step findone 127.0.0.3 1 --text OpCode=FIND
step findnone 127.0.0.4 0 --text OpCode=FIND
for s in sett1 sett2 settother; do
    { cat "$WORK/$s.text"; printf '\0'; } >"$WORK/$s.dgram"
    step "$s" 127.0.0.2 "$([ $s = settother ] && echo 0 || echo 1)" --file "$WORK/$s.dgram"
done
step findafter 127.0.0.1 2 --text OpCode=FIND

for d in 0 1; do
    "$SIM" --print-imin "$d" "${SIM_ARGS[@]}" >"$WORK/imin.$d"
    check "FIND to the listener: device $d answers, byte-exact" cmp -s "$WORK/imin.$d" "$WORK/findall.dev$d"
done
check "IMIN comes in slices of at most 100 bytes, all from port $PORT" \
    awk -v p=":$PORT" 'index($1, p) == 0 || $2 > 100 { exit 1 } { n++ } END { exit n < 8 }' "$WORK/findall.sources"
check "FIND to 127.0.0.3 answered by device 1 alone" \
    bash -c '[ ! -e "$1/findone.dev0" ] && [ ! -e "$1/findone.other" ] && cmp -s "$1/imin.1" "$1/findone.dev1"' _ "$WORK"
# A probe writes its .sources file even when nothing came: the file must exist, and be empty.
check "FIND to an address of no device goes unanswered" bash -c '[ -e "$1" ] && [ ! -s "$1" ]' _ "$WORK/findnone.sources"
check "SETT answered with SETC + NUL" cmp -s "$WORK/sett1.other" <(printf 'OpCode=SETC\0')
check "second SETT answered too and replaces the stored state" \
    bash -c 'cmp -s "$1/sett2.other" <(printf "OpCode=SETC\0") && cmp -s "$1/sett2.text" "$1/state.0"' _ "$WORK"
check "SETT for another MAC gets no answer" bash -c '[ -e "$1" ] && [ ! -s "$1" ]' _ "$WORK/settother.sources"
check "device 1 stored nothing (device 0 did)" bash -c '[ -s "$1/state.0" ] && [ ! -e "$1/state.1" ]' _ "$WORK"
"$SIM" --print-imin 0 "${SIM_ARGS[@]}" --state "$WORK/state" >"$WORK/imin.stored"
check "IMIN after SETT carries the stored settings" grep -q 'Title1=Second' "$WORK/imin.stored"
check "IMIN after SETT equals what the native build makes of the state" \
    cmp -s "$WORK/imin.stored" "$WORK/findafter.dev0"
check "the other device's IMIN is unchanged" cmp -s "$WORK/imin.1" "$WORK/findafter.dev1"

# The log, read by the native build: destinations learnt from the datagrams themselves. The SETT for
# another MAC goes unanswered, so the log is waited for (up to 10 s) until it holds six datagrams.
for i in $(seq 1 200); do [ "$("$SIM" --dump "$WORK/sim.log" | wc -l)" -ge 6 ] && break; sleep 0.05; done
"$SIM" --dump "$WORK/sim.log" >"$WORK/dump"
[ "$(wc -l <"$WORK/dump")" -ge 6 ] || echo "waited 10 s in vain for six datagrams in the simulator's log"
cut -c1-120 "$WORK/dump"
check "log: FIND heard by the listener with its destination 127.0.0.1" \
    grep -q "^0 device=-1 from=127.0.0.1:[0-9]* to=127.0.0.1:$PORT len=12 ms=[0-9]* text=OpCode=FIND\\\\x00$" "$WORK/dump"
check "log: FIND to 127.0.0.3 is device 1's" grep -q "^1 device=1 from=127.0.0.1:[0-9]* to=127.0.0.3:$PORT len=12 " "$WORK/dump"
check "log: SETT to 127.0.0.2 is device 0's" grep -q "^2 device=0 from=127.0.0.1:[0-9]* to=127.0.0.2:$PORT len=1" "$WORK/dump"
check "log: six datagrams (none for 127.0.0.4)" [ "$(wc -l <"$WORK/dump")" = 6 ]
wine "$EXE" --dump-bytes "Z:$WORK/sim.log" 0 >"$WORK/bytes.0"
check "--dump-bytes under Wine gives the raw FIND" cmp -s "$WORK/bytes.0" <(printf 'OpCode=FIND\0')

echo "sim_wine: $FAILS failed"
[ "$FAILS" = 0 ]
