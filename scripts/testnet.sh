#!/bin/bash
# testnet.sh: a private test network of network namespaces where device broadcasts stay inside.
#
#   testnet.sh up [--no-default-route] PREFIX NDEV [NDEV2]
#                                      build the network (rebuilds it when it already exists)
#   testnet.sh down PREFIX             remove everything; safe when nothing exists (use it in a trap)
#   testnet.sh exec-tool PREFIX CMD... run CMD in the tool's namespace
#   testnet.sh exec-dev PREFIX CMD...  run CMD in the devices' namespace
#   testnet.sh exec-dev2 PREFIX CMD... run CMD in the second segment's devices' namespace
#   testnet.sh dev-address N           print the address of device N (0-based): 10.77.0.(11+N)
#   testnet.sh dev2-address N          the same on the second segment: 10.78.0.(11+N)
#
# Layout: PREFIX-tool holds vt0 = 10.77.0.1/24 (the tool); PREFIX-dev holds vd0 with one address per
# device, 10.77.0.11 upward (NDEV of them, at most 240); both veths end on bridge br0 in PREFIX-br.
# Each end namespace has lo up and a default route through its veth, so a send to 255.255.255.255
# leaves through the veth and reaches the other side, and never the machine's own network.
# Name lookups inside resolve through 127.0.0.1 only (/etc/netns/NAME/resolv.conf), so they fail
# at once instead of leaving the machine. Needs root.
#
# Second segment (only when NDEV2 is given): a PC with two networks, as with Ethernet beside a
# virtual machine program's switch. The tool's namespace gets a second link vt1 = 10.78.0.1/24 on
# bridge br1 (also in PREFIX-br), with no default route on it, so 255.255.255.255 still leaves only
# through vt0; PREFIX-dev2 holds vd1 with NDEV2 device addresses 10.78.0.11 upward and its own
# default route, so the devices there hear a send to 10.78.0.255 and their replies come back.
#
# --no-default-route: the tool's namespace gets no default route, as on a PC without a gateway:
# a send to 255.255.255.255 then fails ("Network is unreachable"), and only each link's own
# broadcast address (10.77.0.255, 10.78.0.255) reaches its devices.
#
# Wine in the tool namespace: the wineserver must run inside it, so use a Wine prefix that no
# server outside is using (or stop that server first), then: testnet.sh exec-tool P wine prog.exe
set -u
NET=10.77.0
NET2=10.78.0

die() { echo "testnet.sh: $*" >&2; exit 1; }

down() {
    local p=$1 ns
    for ns in "$p-tool" "$p-dev" "$p-dev2" "$p-br"; do
        if ip netns list 2>/dev/null | grep -qw -- "$ns"; then
            ip netns pids "$ns" 2>/dev/null | xargs -r kill 2>/dev/null
            ip netns del "$ns" 2>/dev/null
        fi
        rm -rf "/etc/netns/$ns"
    done
    return 0
}

quiet_ns() {  # no IPv6 chatter on the test links
    ip netns exec "$1" sysctl -qw net.ipv6.conf.all.disable_ipv6=1 >/dev/null 2>&1
    ip netns exec "$1" sysctl -qw net.ipv6.conf.default.disable_ipv6=1 >/dev/null 2>&1
    mkdir -p "/etc/netns/$1"
    echo "nameserver 127.0.0.1" >"/etc/netns/$1/resolv.conf"
}

up() {
    local p=$1 n=$2 n2=${3:-0} i
    [ "$n" -ge 1 ] && [ "$n" -le 240 ] 2>/dev/null || die "NDEV must be 1..240"
    [ "$n2" -ge 0 ] && [ "$n2" -le 240 ] 2>/dev/null || die "NDEV2 must be 0..240"
    down "$p"
    set -e
    ip netns add "$p-br"
    ip netns add "$p-tool"
    ip netns add "$p-dev"
    for ns in "$p-br" "$p-tool" "$p-dev"; do quiet_ns "$ns"; ip -n "$ns" link set lo up; done
    ip -n "$p-br" link add br0 type bridge
    ip -n "$p-br" link set br0 type bridge stp_state 0 forward_delay 0 2>/dev/null || true
    ip -n "$p-br" link set br0 up
    ip link add vt0 netns "$p-tool" type veth peer name bt0 netns "$p-br"
    ip link add vd0 netns "$p-dev" type veth peer name bd0 netns "$p-br"
    ip -n "$p-br" link set bt0 master br0
    ip -n "$p-br" link set bd0 master br0
    ip -n "$p-br" link set bt0 up
    ip -n "$p-br" link set bd0 up
    ip -n "$p-tool" addr add "$NET.1/24" dev vt0
    for ((i = 0; i < n; i++)); do
        ip -n "$p-dev" addr add "$NET.$((11 + i))/24" dev vd0
    done
    ip -n "$p-tool" link set vt0 up
    ip -n "$p-dev" link set vd0 up
    [ "$NO_DEFAULT_ROUTE" = 1 ] || ip -n "$p-tool" route add default dev vt0
    ip -n "$p-dev" route add default dev vd0
    [ "$n2" -gt 0 ] && up_second "$p" "$n2"
    set +e
    # Wait until the links carry traffic (veth and bridge ports come up asynchronously).
    for i in $(seq 1 100); do
        if ip -n "$p-tool" link show vt0 | grep -q 'state UP' &&
            ip -n "$p-dev" link show vd0 | grep -q 'state UP' &&
            [ "$(ip -n "$p-br" -d link show master br0 | grep -c 'state forwarding')" = 2 ] &&
            { [ "$n2" = 0 ] || { ip -n "$p-tool" link show vt1 | grep -q 'state UP' &&
                ip -n "$p-dev2" link show vd1 | grep -q 'state UP' &&
                [ "$(ip -n "$p-br" -d link show master br1 | grep -c 'state forwarding')" = 2 ]; }; }; then
            return 0
        fi
        sleep 0.05
    done
    die "network $p did not come up"
}

up_second() {  # runs under set -e inside up
    local p=$1 n=$2 i port
    ip netns add "$p-dev2"
    quiet_ns "$p-dev2"
    ip -n "$p-dev2" link set lo up
    ip -n "$p-br" link add br1 type bridge
    ip -n "$p-br" link set br1 type bridge stp_state 0 forward_delay 0 2>/dev/null || true
    ip -n "$p-br" link set br1 up
    ip link add vt1 netns "$p-tool" type veth peer name bt1 netns "$p-br"
    ip link add vd1 netns "$p-dev2" type veth peer name bd1 netns "$p-br"
    for port in bt1 bd1; do
        ip -n "$p-br" link set "$port" master br1
        ip -n "$p-br" link set "$port" up
    done
    ip -n "$p-tool" addr add "$NET2.1/24" brd + dev vt1
    for ((i = 0; i < n; i++)); do
        ip -n "$p-dev2" addr add "$NET2.$((11 + i))/24" brd + dev vd1
    done
    ip -n "$p-tool" link set vt1 up
    ip -n "$p-dev2" link set vd1 up
    ip -n "$p-dev2" route add default dev vd1
}

[ $# -ge 1 ] || die "usage: up [--no-default-route] PREFIX NDEV [NDEV2] | down PREFIX | exec-tool PREFIX CMD... | exec-dev PREFIX CMD... | dev-address N"
cmd=$1
shift
NO_DEFAULT_ROUTE=0
case "$cmd" in
    up) if [ "${1:-}" = --no-default-route ]; then NO_DEFAULT_ROUTE=1; shift; fi
        [ $# -eq 2 ] || [ $# -eq 3 ] || die "usage: up [--no-default-route] PREFIX NDEV [NDEV2]"; up "$@" ;;
    down) [ $# -eq 1 ] || die "usage: down PREFIX"; down "$1" ;;
    exec-tool) [ $# -ge 2 ] || die "usage: exec-tool PREFIX CMD..."; p=$1; shift; exec ip netns exec "$p-tool" "$@" ;;
    exec-dev) [ $# -ge 2 ] || die "usage: exec-dev PREFIX CMD..."; p=$1; shift; exec ip netns exec "$p-dev" "$@" ;;
    exec-dev2) [ $# -ge 2 ] || die "usage: exec-dev2 PREFIX CMD..."; p=$1; shift; exec ip netns exec "$p-dev2" "$@" ;;
    dev-address) echo "$NET.$((11 + $1))" ;;
    dev2-address) echo "$NET2.$((11 + $1))" ;;
    *) die "unknown command $cmd" ;;
esac
