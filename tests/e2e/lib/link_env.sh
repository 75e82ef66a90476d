# link_env.sh: sourced by the link e2e scripts: a private test network, the simulator and checks.
# Needs SR_BUILD (holding native/ and win/). Sets NET (namespace prefix), SIM, CLI, WORK.
set -u
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)"
: "${SR_BUILD:?SR_BUILD must name the build folder holding native/ and win/}"
SIM="$SR_BUILD/native/velmio_sim"
CLI="$SR_BUILD/native/devlink_cli"
STREAM="$SR_BUILD/native/stream_server"
TESTNET="$ROOT/scripts/testnet.sh"
NET="h2${1:-l}$$"
WORK="$(mktemp -d /tmp/h2-e2e.XXXXXX)"
SIM_PID=""
FAILS=0

link_cleanup() {
    [ -n "$SIM_PID" ] && kill "$SIM_PID" 2>/dev/null && wait "$SIM_PID" 2>/dev/null
    "$TESTNET" down "$NET"
    rm -rf "$WORK"
}
trap link_cleanup EXIT

for f in "$SIM" "$CLI"; do [ -x "$f" ] || { echo "missing $f"; exit 1; }; done

check() {  # check DESCRIPTION COMMAND...: runs a check, prints pass/FAIL, counts failures; returns its result
    local what=$1; shift
    if "$@"; then echo "pass: $what"; return 0; fi
    echo "FAIL: $what"; FAILS=$((FAILS + 1)); return 1
}

# wait_for WHAT SECONDS COMMAND...: runs COMMAND until it succeeds, at most SECONDS; names WHAT when
# the time is up. For evidence that another process writes without answering the tested program.
wait_for() {
    local what=$1 limit=$2 end=$((SECONDS + $2))
    shift 2
    until "$@"; do
        [ "$SECONDS" -lt "$end" ] || { echo "waited $limit s in vain for $what"; return 1; }
        sleep 0.05
    done
}

# start_sim ARGS...: runs the simulator in the device namespace with a fresh log; waits until bound.
start_sim() {
    stop_sim
    rm -f "$WORK/sim.log" "$WORK/sim.ready"
    "$TESTNET" exec-dev "$NET" "$SIM" --log "$WORK/sim.log" --ready "$WORK/sim.ready" "$@" &
    SIM_PID=$!
    local i
    for i in $(seq 1 100); do [ -f "$WORK/sim.ready" ] && return 0; sleep 0.05; done
    echo "simulator did not start"; exit 1
}
stop_sim() {
    if [ -n "$SIM_PID" ]; then kill "$SIM_PID" 2>/dev/null; wait "$SIM_PID" 2>/dev/null; SIM_PID=""; fi
}

# Datagram lengths logged by the simulator from record FIRST on, space separated.
logged_lengths() { "$SIM" --dump "$WORK/sim.log" | awk -v f="$1" '$1 >= f { sub("len=", "", $5); printf "%s ", $5 }' | sed 's/ $//'; }
logged_count() { "$SIM" --dump "$WORK/sim.log" | wc -l; }
# logged_at_least N: the simulator has logged N datagrams or more (for a bounded wait_for).
logged_at_least() { [ "$(logged_count)" -ge "$1" ]; }
# The bytes of logged records FIRST..LAST joined, into a file.
logged_bytes() {
    local i
    : >"$3"
    for ((i = $1; i <= $2; i++)); do "$SIM" --dump-bytes "$WORK/sim.log" "$i" >>"$3"; done
}

# A stream server in the tool namespace that answers every request with ANSWER-TEXT (printf format).
serve() {  # serve PORT ANSWER-TEXT: a stream server on the tool's loopback
    printf "$2" >"$WORK/answer.$1"
    "$TESTNET" exec-tool "$NET" "$STREAM" "$1" "$WORK/answer.$1" "$WORK/requests.$1" >"$WORK/server.$1" 2>&1 &
    local i
    for i in $(seq 100); do grep -q ready "$WORK/server.$1" && return 0; sleep 0.05; done
    echo "stream server on $1 did not start"; exit 1
}
