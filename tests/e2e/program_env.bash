# program_env.bash: shared set-up of the end-to-end scripts program_*.sh (sourced, never run alone).
# Builds a private test network (namespaces PREFIX-tool, PREFIX-dev, PREFIX-br), starts simulated
# devices, a datagram capture and a stream server there, and runs SetRadio.exe and the window driver
# under Wine inside the tool namespace. Everything is torn down by the EXIT trap.
#
# Needs: SR_BUILD with native/ (velmio_sim, stream_server, driver_capture) and win/ (SetRadio.exe,
# e2e_driver.exe) built. Set E2E_NAME (namespace prefix and work folder) before sourcing.
# The programs run in the Korean locale (code page 949) unless SR_WINE_LANG names another; such a
# script also sets SR_E2E_WINEPREFIX, since a prefix keeps the code page its wineserver started with.
set -u
E2E_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
: "${SR_BUILD:?SR_BUILD must name the build folder holding native/ and win/}"
: "${E2E_NAME:?E2E_NAME must be set before sourcing program_env.bash}"
# Wine sees the build folder through Z:, which needs an absolute path.
SR_BUILD="$(cd "$SR_BUILD" 2>/dev/null && pwd)" || { echo "e2e: SR_BUILD is not a folder"; exit 1; }
NATIVE="$SR_BUILD/native"
WINDIR="$SR_BUILD/win"
SIM="$NATIVE/velmio_sim"
CAPTURE="$NATIVE/driver_capture"
STREAM="$NATIVE/stream_server"
WORK="$SR_BUILD/e2e/$E2E_NAME"
NET="${SR_NS_TAG:-}$E2E_NAME"   # SR_NS_TAG keeps parallel runs from different checkouts apart
TESTNET="$E2E_ROOT/scripts/testnet.sh"
LIVE_PORT=8000
DEAD_PORT=8001
E2E_PIDS=""
E2E_FAILS=0
E2E_CHECKS=0

for f in "$SIM" "$CAPTURE" "$STREAM" "$WINDIR/SetRadio.exe" "$WINDIR/e2e_driver.exe"; do
    [ -x "$f" ] || [ -f "$f" ] || { echo "e2e: $f is missing (build first)"; exit 1; }
done
if [ "$(id -u)" != 0 ]; then echo "e2e: needs root for network namespaces"; exit 1; fi

rm -rf "$WORK"
mkdir -p "$WORK"
# The program keeps its settings file beside itself: a private copy starts from no settings.
cp "$WINDIR/SetRadio.exe" "$WINDIR/e2e_driver.exe" "$WORK/"

export SR_WINEPREFIX="${SR_E2E_WINEPREFIX:-$SR_BUILD/e2e-wine}"
unset DISPLAY
. "$E2E_ROOT/scripts/wine-env.sh"

in_tool() { ip netns exec "$NET-tool" "$@"; }
in_dev() { ip netns exec "$NET-dev" "$@"; }
in_dev2() { ip netns exec "$NET-dev2" "$@"; }

e2e_cleanup() {
    in_tool wineserver -k >/dev/null 2>&1
    local p
    for p in $E2E_PIDS; do kill "$p" 2>/dev/null; done
    "$TESTNET" down "$NET"
    [ -n "${SR_XVFB_PID:-}" ] && kill "$SR_XVFB_PID" 2>/dev/null
    wait 2>/dev/null
    return 0
}
trap e2e_cleanup EXIT

# Starts a background process and remembers it for the cleanup.
spawn() {
    "$@" &
    E2E_PIDS="$E2E_PIDS $!"
}

wait_file() {  # wait_file PATH SECONDS
    local i
    for ((i = 0; i < $2 * 20; i++)); do [ -e "$1" ] && return 0; sleep 0.05; done
    echo "e2e: $1 did not appear"
    return 1
}

# wait_for WHAT SECONDS COMMAND...: runs COMMAND until it succeeds, at most SECONDS; names WHAT when
# the time is up. For evidence that another process writes without answering the tested program.
wait_for() {
    local what=$1 limit=$2 end=$((SECONDS + $2))
    shift 2
    until "$@"; do
        [ "$SECONDS" -lt "$end" ] || { echo "e2e: waited $limit s in vain for $what"; return 1; }
        sleep 0.05
    done
}

# The first argument of check is its description; the command follows.
check() {
    local what=$1
    shift
    E2E_CHECKS=$((E2E_CHECKS + 1))
    if "$@"; then echo "check ok: $what"; return 0; fi
    echo "CHECK FAILED: $what"
    E2E_FAILS=$((E2E_FAILS + 1))
    return 1
}

holds() { eval "$1"; }   # holds 'TEST && TEST': several conditions as one check

# start_stream PORT ANSWER-FILE REQUEST-LOG [MODE]: a stream server on the tool's loopback (see
# stream_server_main.cpp); returns once it listens. Its output goes to $WORK/stream-PORT.out.
start_stream() {
    local out="$WORK/stream-$1.out"
    spawn in_tool "$STREAM" "$@" >"$out"
    wait_for "the stream server on port $1 to print ready" 10 grep -q '^ready' "$out" || exit 1
}

# The network, the capture on the tool's link and the stream server on the tool's loopback.
# With NDEV2, a second segment too (testnet.sh) and a capture on its link, capture2.log.
# --no-default-route: the tool's namespace has none (testnet.sh).
start_network() {  # start_network [--no-default-route] NDEV [NDEV2]
    local route=()
    if [ "$1" = --no-default-route ]; then route=("$1"); shift; fi
    "$TESTNET" up "${route[@]}" "$NET" "$@" || exit 1
    spawn in_tool "$CAPTURE" vt0 "$WORK/capture.log" "$WORK/capture.ready"
    if [ $# -ge 2 ]; then
        spawn in_tool "$CAPTURE" vt1 "$WORK/capture2.log" "$WORK/capture2.ready"
        wait_file "$WORK/capture2.ready" 10 || exit 1
    fi
    printf 'ICY 200 OK\r\nicy-name: e2e\r\nicy-metaint: 8192\r\n\r\n' >"$WORK/icy-answer"
    start_stream "$LIVE_PORT" "$WORK/icy-answer" "$WORK/stream-requests.log"
    wait_file "$WORK/capture.ready" 10 || exit 1
}

# capture_sync [2]: the capture of the tool's link (2: the second link) has logged every datagram
# that crossed it so far (driver_capture catches up on SIGUSR1 and then makes LOG.synced).
capture_sync() {
    local log="$WORK/capture${1:-}.log"
    rm -f "$log.synced"
    kill -USR1 "$(cat "$WORK/capture${1:-}.ready")" || return 1
    wait_for "the capture to log everything up to now ($log.synced)" 10 test -e "$log.synced"
}

LIVE="http://127.0.0.1:$LIVE_PORT"
DEAD="http://127.0.0.1:$DEAD_PORT"

# start_device INDEX [velmio_sim options]: one simulated device answering from its own address.
start_device() { start_device_on "" "" "$@"; }
# start_device2 INDEX [velmio_sim options]: the same on the second segment (logs sim2-INDEX.log).
start_device2() { start_device_on 2 2- "$@"; }

# start_device_on SEGMENT LOG-TAG INDEX [velmio_sim options]: segment "" or 2.
start_device_on() {
    local seg=$1 tag=$2 i=$3
    shift 3
    spawn "in_dev$seg" "$SIM" --address "$("$TESTNET" "dev${seg}-address" "$i")" --pls1 "$LIVE/pls1" --pls2 "$LIVE/pls2" \
        --url-pattern "$LIVE/ch%n" --log "$WORK/sim$tag$i.log" --ready "$WORK/sim$tag$i.ready" "$@"
    wait_file "$WORK/sim$tag$i.ready" 10 || exit 1
}

# Wine prefix (shared by the e2e scripts, made once), display, and the program in the tool namespace.
# Arguments, when given, go to the program's command line.
start_program() {
    sr_display
    if [ ! -f "$WINEPREFIX/.setradio-ready" ]; then
        in_tool bash -c ". '$E2E_ROOT/scripts/wine-env.sh'; sr_wine_prefix"
    fi
    in_tool wineserver -k >/dev/null 2>&1
    # Wine's server stands in for the Windows kernel, which passes messages between processes ahead
    # of ordinary work; the driver is the measuring side. Both run at a raised priority, so that on a
    # loaded machine the times measured are the program's: the program itself runs at normal priority.
    in_tool nice -n -10 wineserver -p10 >/dev/null 2>&1
    rm -f "$WORK/program.rc"
    # program.rc: the program's exit status, there (whole) once the program has ended.
    (cd "$WORK" && in_tool wine "$WORK/SetRadio.exe" "$@" >"$WORK/program.out" 2>&1
     echo $? >"$WORK/program.rc~" && mv "$WORK/program.rc~" "$WORK/program.rc") &
    E2E_PIDS="$E2E_PIDS $!"
}

# drive NAME: runs the driver script $WORK/NAME.drv (lines from stdin) in the Wine session.
# Passes only when the driver exits with 0 and its last line reports every command of the script
# as run ("DONE n steps"); its error output is kept in $WORK/NAME.err.
drive() {
    cat >"$WORK/$1.drv"
    (cd "$WORK" && in_tool nice -n -10 wine "$WORK/e2e_driver.exe" "$1.drv") 2>"$WORK/$1.err" | tr -d '\r' | tee "$WORK/$1.out"
    local rc=${PIPESTATUS[0]}
    local steps
    steps=$(sed 's/^[ \t]*//' "$WORK/$1.drv" | grep -cv '^\(#\|$\)')
    if [ "$rc" != 0 ]; then
        echo "e2e: driver $1 exited with $rc"; tail -5 "$WORK/$1.err"; return 1
    fi
    if [ "$(tail -1 "$WORK/$1.out")" != "DONE $steps steps" ]; then
        echo "e2e: driver $1 did not report its $steps steps done"; tail -5 "$WORK/$1.err"; return 1
    fi
    return 0
}

# heard_slice LOG...: each simulator log holds a full 1472-byte slice (its device heard a long SETT).
# Another device's confirmation does not wait for this one: the slice is waited for, up to 10 s.
logged_slice() { "$SIM" --dump "$1" 2>/dev/null | grep -q ' len=1472 '; }
heard_slice() {
    local l
    for l in "$@"; do
        wait_for "a 1472-byte slice in $l" 10 logged_slice "$l" || return 1
    done
}

# need FILE...: every file exists and is not empty (evidence that the step making it ran).
need() {
    local f
    for f in "$@"; do
        [ -s "$f" ] || { echo "e2e: evidence missing: $f"; return 1; }
    done
}

# The whole messages seen on the tool's link so far: $WORK/messages/N.msg and the listing.
# "messages 2": those of the second segment's link, in $WORK/messages2/ and messages2.txt.
messages() {
    local n=${1:-}
    check "the capture${n:+ of link $n} holds every datagram so far" capture_sync "$n"
    rm -rf "$WORK/messages$n"
    mkdir -p "$WORK/messages$n"
    "$CAPTURE" --messages "$WORK/capture$n.log" "$WORK/messages$n" >"$WORK/messages$n.txt"
}

finish() {
    echo "e2e $E2E_NAME: $E2E_CHECKS checks, $E2E_FAILS failed"
    [ "$E2E_FAILS" = 0 ]
    exit $?
}
