#!/bin/bash
# host_defaults.sh: the form's PC address, mask, gateway and DNS server in a private network
# whose values are known: a namespace with one interface 10.77.5.2/24, its default gateway
# 10.77.5.1 on a peer namespace and the name server 10.77.5.53. Runs the host defaults tests of
# win_tests.exe under Wine inside it; needs root. SR_BUILD holds win/.
set -u
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
BUILD="${SR_BUILD:?SR_BUILD must name the build folder}"
EXE="$BUILD/win/win_tests.exe"
[ -f "$EXE" ] || { echo "missing $EXE"; exit 1; }

NS=h1-host$$
PEER=h1-hgw$$
cleanup() {
    [ -n "${WINEPREFIX:-}" ] && ip netns exec "$NS" env WINEPREFIX="$WINEPREFIX" wineserver -k 2>/dev/null
    [ -n "${SR_XVFB_PID:-}" ] && kill "$SR_XVFB_PID" 2>/dev/null
    ip netns del "$NS" 2>/dev/null
    ip netns del "$PEER" 2>/dev/null
    rm -rf "/etc/netns/$NS"
}
trap cleanup EXIT

ip netns add "$NS" && ip netns add "$PEER" || exit 1
ip -n "$NS" link set lo up
ip -n "$PEER" link set lo up
ip link add h1h0 netns "$NS" type veth peer name h1g0 netns "$PEER" || exit 1
ip -n "$NS" addr add 10.77.5.2/24 dev h1h0
ip -n "$PEER" addr add 10.77.5.1/24 dev h1g0
ip -n "$NS" link set h1h0 up
ip -n "$PEER" link set h1g0 up
ip -n "$NS" route add default via 10.77.5.1 dev h1h0 || exit 1
# ip netns exec puts this file in place of /etc/resolv.conf inside the namespace.
mkdir -p "/etc/netns/$NS"
echo "nameserver 10.77.5.53" >"/etc/netns/$NS/resolv.conf"

# A prefix of its own: its wineserver must start inside the namespace to see its network.
export SR_WINEPREFIX="$BUILD/wineprefix-hostdefaults"
. "$ROOT/scripts/wine-env.sh"
unset DISPLAY
sr_display
ip netns exec "$NS" bash -c ". '$ROOT/scripts/wine-env.sh'; sr_wine_prefix"
ip netns exec "$NS" env SR_HOST_EXPECT="10.77.5.2 255.255.255.0 10.77.5.1 10.77.5.53" \
    wine "$EXE" --gtest_filter='HostDefaults.*' --gtest_brief=0 2>&1 | tr -d '\r' | tee "$BUILD/host_defaults.log"
rc=${PIPESTATUS[0]}
# The network test must really have run, not been skipped.
grep -q '^\[       OK \] HostDefaults.FillMatchesTheConfiguredNetwork' "$BUILD/host_defaults.log" || rc=1
exit $rc
